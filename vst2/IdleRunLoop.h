#pragma once

// The run loop a VST 3 editor expects from its host on Linux, for hosts that
// speak VST 2 and have none: file-descriptor handlers and timers, dispatched
// when the host gives the plug-in idle time (effEditIdle, effIdle). Everything
// runs on the thread that calls pump, the host's editor thread.

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <vector>

namespace Steinberg {
namespace Vst {

#if SMTG_OS_LINUX

// The wrapper's idle-time work is a timer of the run loop it lends.
using IdleTimerHandler = Linux::ITimerHandler;

class IdleRunLoop : public Linux::IRunLoop
{
public:
    IdleRunLoop() = default;
    ~IdleRunLoop();
    IdleRunLoop(const IdleRunLoop&) = delete;
    IdleRunLoop& operator=(const IdleRunLoop&) = delete;

    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override;
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override;
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) override;
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override;

    // Calls the handlers whose descriptor is readable and the timers that are
    // due. Handlers may register and unregister handlers while called.
    void pump();

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    // Owned by the effect, which outlives every editor that uses it.
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    using Clock = std::chrono::steady_clock;

    struct EventEntry
    {
        IPtr<Linux::IEventHandler> handler;
        Linux::FileDescriptor fd;
        bool live;
    };
    struct TimerEntry
    {
        IPtr<Linux::ITimerHandler> handler;
        Clock::duration interval;
        Clock::time_point due;
        bool live;
    };

    void pumpEvents();
    void pumpTimers();
    void removeDeadEntries();

    std::vector<EventEntry> events;
    std::vector<TimerEntry> timers;
    int pumpDepth = 0;
};

#else

// Windows editors keep their timers on their own window (SetTimer), served by
// the host's message loop: there is nothing for idle time to pump.
class IdleTimerHandler
{
public:
    virtual ~IdleTimerHandler() = default;
    virtual void PLUGIN_API onTimer() = 0;
};

class IdleRunLoop
{
public:
    void pump() {}
};

#endif

} // namespace Vst
} // namespace Steinberg
