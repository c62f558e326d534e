#include "gui/HostRunLoop.h"

#include "base/source/fobject.h"

namespace VSTGUI {

using namespace Steinberg;

// The host calls these; they pass the call on until detached.
class HostRunLoop::EventAdapter : public FObject, public Linux::IEventHandler
{
public:
    explicit EventAdapter(X11::IEventHandler* handler) : handler(handler) {}
    void detach() { handler = nullptr; }
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override
    {
        if (handler)
            handler->onEvent();
    }

    OBJ_METHODS(EventAdapter, FObject)
    DEFINE_INTERFACES
        DEF_INTERFACE(Linux::IEventHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    X11::IEventHandler* handler;
};

class HostRunLoop::TimerAdapter : public FObject, public Linux::ITimerHandler
{
public:
    explicit TimerAdapter(X11::ITimerHandler* handler) : handler(handler) {}
    void detach() { handler = nullptr; }
    void PLUGIN_API onTimer() override
    {
        if (handler)
            handler->onTimer();
    }

    OBJ_METHODS(TimerAdapter, FObject)
    DEFINE_INTERFACES
        DEF_INTERFACE(Linux::ITimerHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    X11::ITimerHandler* handler;
};

HostRunLoop::HostRunLoop(Linux::IRunLoop* loop) : hostLoop(loop)
{
    hostLoop->addRef();
}

HostRunLoop::~HostRunLoop()
{
    while (!eventHandlers.empty())
        unregisterEventHandler(eventHandlers.begin()->first);
    while (!timers.empty())
        unregisterTimer(timers.begin()->first);
    hostLoop->release();
}

bool HostRunLoop::registerEventHandler(int fd, X11::IEventHandler* handler)
{
    if (!handler || eventHandlers.count(handler))
        return false;
    auto* adapter = new EventAdapter(handler);
    if (hostLoop->registerEventHandler(adapter, fd) != kResultOk)
    {
        adapter->release();
        return false;
    }
    eventHandlers[handler] = adapter;
    return true;
}

bool HostRunLoop::unregisterEventHandler(X11::IEventHandler* handler)
{
    auto it = eventHandlers.find(handler);
    if (it == eventHandlers.end())
        return false;
    EventAdapter* adapter = it->second;
    eventHandlers.erase(it);
    adapter->detach();
    hostLoop->unregisterEventHandler(adapter);
    adapter->release();
    return true;
}

bool HostRunLoop::registerTimer(uint64_t intervalMilliseconds, X11::ITimerHandler* handler)
{
    if (!handler || timers.count(handler))
        return false;
    auto* adapter = new TimerAdapter(handler);
    if (hostLoop->registerTimer(adapter, intervalMilliseconds) != kResultOk)
    {
        adapter->release();
        return false;
    }
    timers[handler] = adapter;
    return true;
}

bool HostRunLoop::unregisterTimer(X11::ITimerHandler* handler)
{
    auto it = timers.find(handler);
    if (it == timers.end())
        return false;
    TimerAdapter* adapter = it->second;
    timers.erase(it);
    adapter->detach();
    hostLoop->unregisterTimer(adapter);
    adapter->release();
    return true;
}

} // namespace VSTGUI
