#include "HeadlessFrame.h"

#include "gui/Animator.h"
#include "gui/CFrame.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

using namespace VSTGUI;
using namespace VSTGUI::Animation;
using namespace GuiTest;

namespace {

TEST(PowerTimingFunction, PositionIsTheFractionOfTheLengthRaisedToTheFactor)
{
    struct Case
    {
        uint32 length;
        float factor;
        uint32 at;
    };
    const Case cases[] = {{240, 2.0f, 0},  {240, 2.0f, 60},  {240, 2.0f, 120}, {240, 2.0f, 240}, {240, 2.0f, 400},
                          {240, 0.5f, 60}, {240, 0.5f, 120}, {240, 0.5f, 239}, {100, 1.0f, 37}};
    for (const Case& c : cases)
    {
        PowerTimingFunction timing(c.length, c.factor);
        const double fraction = std::min(1.0, static_cast<double>(c.at) / c.length);
        EXPECT_NEAR(std::pow(fraction, static_cast<double>(c.factor)), timing.getPosition(c.at), 1e-6)
            << c.length << " " << c.factor << " " << c.at;
        EXPECT_EQ(c.at >= c.length, timing.isDone(c.at));
    }
}

// Records the calls an animation target gets.
class RecordingTarget : public IAnimationTarget
{
public:
    explicit RecordingTarget(std::string* log) : log(log) {}
    void animationStart(CView*, IdStringPtr name) override { *log += std::string("start ") + name + ";"; }
    void animationTick(CView*, IdStringPtr, float pos) override { lastPosition = pos; }
    void animationFinished(CView*, IdStringPtr name, bool wasCanceled) override
    {
        *log += std::string(wasCanceled ? "canceled " : "finished ") + name + ";";
    }
    float lastPosition = -1;

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

TEST(Animator, CancelingWithoutForcingLeavesTheAlphaWhereItWas)
{
    LentRunLoop lent;
    auto view = owned(new CView(CRect(0, 0, 10, 10)));
    view->setAlphaValue(0.6f);
    auto animator = owned(new Animator);
    animator->addAnimation(view, "AlphaAnimation", new AlphaValueAnimation(0.f), new LinearTimingFunction(5000));
    animator->removeAnimation(view, "AlphaAnimation");
    EXPECT_EQ(0.6f, view->getAlphaValue());
    animator->addAnimation(view, "AlphaAnimation", new AlphaValueAnimation(0.f, true), new LinearTimingFunction(5000));
    animator->removeAll();
    EXPECT_EQ(0.f, view->getAlphaValue()) << "forced to the end value";
    EXPECT_EQ(0u, lent.host.timerCount());
}

// A target that, when done, takes its view out of the frame's modal slot.
class RemoveModal : public AlphaValueAnimation
{
public:
    RemoveModal() : AlphaValueAnimation(0.f) {}
    void animationFinished(CView* view, IdStringPtr name, bool wasCanceled) override
    {
        AlphaValueAnimation::animationFinished(view, name, wasCanceled);
        if (view->getFrame() && view->getFrame()->getModalView() == view)
            view->getFrame()->setModalView(nullptr);
    }
};

TEST(Frame, AModalViewTakesTheMouseAndIsReleasedWhenCleared)
{
    LentRunLoop lent;
    auto frame = owned(new CFrame(CRect(0, 0, 100, 100)));
    ASSERT_TRUE(frame->open(std::make_unique<RecordingPlatformFrame>()));
    auto* modal = new CViewContainer(CRect(10, 10, 90, 90));
    modal->remember(); // the test watches it
    ASSERT_TRUE(frame->setModalView(modal));
    EXPECT_EQ(modal, frame->getModalView());
    EXPECT_TRUE(modal->isAttached());
    CView* second = new CView(CRect());
    EXPECT_FALSE(frame->setModalView(second)) << "only one modal view at a time";
    second->forget();
    modal->forget(); // the creator's reference: the frame now holds the view
    EXPECT_EQ(2, modal->getNbReference()) << "the frame's and the test's";

    frame->getAnimator()->addAnimation(modal, "AlphaAnimation", new RemoveModal, new LinearTimingFunction(20));
    runAnimations(lent);
    EXPECT_EQ(nullptr, frame->getModalView());
    EXPECT_FALSE(modal->isAttached());
    EXPECT_EQ(1, modal->getNbReference()) << "only the test's is left";
    EXPECT_EQ(0.f, modal->getAlphaValue());
    modal->forget();
    frame->close();
}

} // namespace
