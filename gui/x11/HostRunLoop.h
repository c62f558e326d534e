#pragma once

#include "gui/x11/IRunLoop.h"

#include "pluginterfaces/gui/iplugview.h"

#include <map>

namespace VSTGUI {

// The library's run loop on top of a VST 3 host's Linux::IRunLoop. Each
// registration gets a host-side handler object; all are unregistered and
// released by the time the adapter goes away.
class HostRunLoop : public X11::IRunLoop
{
public:
    explicit HostRunLoop(Steinberg::Linux::IRunLoop* hostLoop);
    ~HostRunLoop() override;
    HostRunLoop(const HostRunLoop&) = delete;
    HostRunLoop& operator=(const HostRunLoop&) = delete;

    bool registerEventHandler(int fd, X11::IEventHandler* handler) override;
    bool unregisterEventHandler(X11::IEventHandler* handler) override;
    bool registerTimer(uint64_t intervalMilliseconds, X11::ITimerHandler* handler) override;
    bool unregisterTimer(X11::ITimerHandler* handler) override;

private:
    class EventAdapter;
    class TimerAdapter;

    Steinberg::Linux::IRunLoop* hostLoop; // referenced
    std::map<X11::IEventHandler*, EventAdapter*> eventHandlers;
    std::map<X11::ITimerHandler*, TimerAdapter*> timers;
};

} // namespace VSTGUI
