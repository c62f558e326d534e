#pragma once

// The host side of a Linux editor: the IPlugFrame handed to the view, which
// also is the IRunLoop (as real hosts do it). Timers fire either in real time
// (runFor) or only when the test says so (fireTimers), for exact redraw counts.

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <functional>
#include <vector>

namespace EditorTest {

class TestRunLoop : public Steinberg::IPlugFrame, public Steinberg::Linux::IRunLoop
{
public:
    ~TestRunLoop();

    // IRunLoop
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                       Steinberg::Linux::FileDescriptor fd) override;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::Linux::TimerInterval milliseconds) override;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

    // IPlugFrame
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    // Handles readable descriptors and due timers for the given time.
    void runFor(std::chrono::milliseconds duration);
    // Handles readable descriptors only, without waiting.
    void pumpEvents();
    // Fires, once, every timer registered with this interval.
    void fireTimers(Steinberg::Linux::TimerInterval milliseconds);

    size_t eventHandlerCount() const { return handlers.size(); }
    size_t timerCount() const { return timers.size(); }
    std::vector<Steinberg::Linux::TimerInterval> timerIntervals() const;
    // Called for each resizeView with the size asked for; the view is then
    // given that size through onSize, as hosts do.
    std::function<void(int width, int height)> onResizeRequest;

private:
    using Clock = std::chrono::steady_clock;
    struct Handler
    {
        Steinberg::Linux::IEventHandler* handler;
        int fd;
    };
    struct Timer
    {
        Steinberg::Linux::ITimerHandler* handler;
        Steinberg::Linux::TimerInterval interval;
        Clock::time_point due;
    };

    void dispatchReadable(int timeoutMs);

    std::vector<Handler> handlers;
    std::vector<Timer> timers;
};

} // namespace EditorTest
