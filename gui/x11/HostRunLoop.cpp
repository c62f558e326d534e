#include "gui/x11/HostRunLoop.h"

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

namespace {

// Registers handler with the host through a new adapter, at most once per
// handler; the adapter is dropped when the host refuses it.
template <typename Adapter, typename Handler, typename RegisterWithHost>
bool addRegistration(std::map<Handler*, Adapter*>& registry, Handler* handler, RegisterWithHost registerWithHost)
{
    if (!handler || registry.count(handler))
        return false;
    auto* adapter = new Adapter(handler);
    if (registerWithHost(adapter) != kResultOk)
    {
        adapter->release();
        return false;
    }
    registry[handler] = adapter;
    return true;
}

// Detaches handler's adapter before the host lets it go, so a call the host
// still makes on it reaches nobody.
template <typename Adapter, typename Handler, typename UnregisterFromHost>
bool removeRegistration(std::map<Handler*, Adapter*>& registry, Handler* handler, UnregisterFromHost unregisterFromHost)
{
    auto it = registry.find(handler);
    if (it == registry.end())
        return false;
    Adapter* adapter = it->second;
    registry.erase(it);
    adapter->detach();
    unregisterFromHost(adapter);
    adapter->release();
    return true;
}

} // namespace

bool HostRunLoop::registerEventHandler(int fd, X11::IEventHandler* handler)
{
    return addRegistration(eventHandlers, handler,
                           [&](EventAdapter* adapter) { return hostLoop->registerEventHandler(adapter, fd); });
}

bool HostRunLoop::unregisterEventHandler(X11::IEventHandler* handler)
{
    return removeRegistration(eventHandlers, handler,
                              [&](EventAdapter* adapter) { hostLoop->unregisterEventHandler(adapter); });
}

bool HostRunLoop::registerTimer(uint64_t intervalMilliseconds, X11::ITimerHandler* handler)
{
    return addRegistration(
        timers, handler, [&](TimerAdapter* adapter) { return hostLoop->registerTimer(adapter, intervalMilliseconds); });
}

bool HostRunLoop::unregisterTimer(X11::ITimerHandler* handler)
{
    return removeRegistration(timers, handler, [&](TimerAdapter* adapter) { hostLoop->unregisterTimer(adapter); });
}

} // namespace VSTGUI
