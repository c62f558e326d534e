#include "TestRunLoop.h"

#include "gui/Animator.h"
#include "gui/x11/HostRunLoop.h"
#include "gui/x11/LentRunLoops.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace VSTGUI;
using namespace VSTGUI::Animation;

namespace {

// Lends the library a run loop for one test: the product's adapter over a
// host run loop whose timers the test fires by hand.
struct LentRunLoop
{
    LentRunLoop() { X11::LentRunLoops::lend(loop); }
    ~LentRunLoop() { X11::LentRunLoops::giveBack(loop); }

    void fireAll()
    {
        for (auto interval : host.timerIntervals())
            host.fireTimers(interval);
    }

    EditorTest::TestRunLoop host;
    SharedPointer<HostRunLoop> loop = owned(new HostRunLoop(&host));
};

// Records the calls an animation target gets.
class RecordingTarget : public IAnimationTarget
{
public:
    explicit RecordingTarget(std::string* log) : log(log) {}
    void animationStart(CView*, IdStringPtr name) override { *log += std::string("start ") + name + ";"; }
    void animationTick(CView*, IdStringPtr, float) override {}
    void animationFinished(CView*, IdStringPtr name, bool wasCanceled) override
    {
        *log += std::string(wasCanceled ? "canceled " : "finished ") + name + ";";
    }

private:
    std::string* log;
};

// Fires the animator's timer until it stops; at most about two seconds.
void runAnimations(LentRunLoop& loop)
{
    for (int i = 0; i < 400 && loop.host.timerCount() > 0; ++i)
    {
        loop.fireAll();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The fade itself is the about box's (its fade in and out are tested there).
TEST(Animator, ASecondAnimationOfTheSameNameCancelsTheFirst)
{
    LentRunLoop lent;
    std::string log;
    auto view = owned(new CView(CRect(0, 0, 10, 10)));
    auto animator = owned(new Animator);
    animator->addAnimation(view, "A", new RecordingTarget(&log), new LinearTimingFunction(1000));
    lent.fireAll();
    animator->addAnimation(view, "A", new RecordingTarget(&log), new LinearTimingFunction(10));
    animator->addAnimation(view, "B", new RecordingTarget(&log), new LinearTimingFunction(10));
    runAnimations(lent);
    EXPECT_EQ("start A;canceled A;start A;start B;finished A;finished B;", log);
}

} // namespace
