#include "vst2/IdleRunLoop.h"

#include <algorithm>
#include <poll.h>

namespace Steinberg {
namespace Vst {

namespace {

// Marks every live entry of handler dead; the entries themselves go once no
// pump is walking the list. False when the handler has no live entry.
template <typename Entry, typename Handler>
bool markDead(std::vector<Entry>& entries, Handler* handler)
{
    bool found = false;
    for (auto& entry : entries)
    {
        if (entry.live && entry.handler == handler)
        {
            entry.live = false;
            found = true;
        }
    }
    return found;
}

template <typename Entry>
void eraseDead(std::vector<Entry>& entries)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const Entry& e) { return !e.live; }),
                  entries.end());
}

} // namespace

IdleRunLoop::~IdleRunLoop()
{
    events.clear();
    timers.clear();
}

tresult PLUGIN_API IdleRunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler || fd < 0)
        return kInvalidArgument;
    events.push_back(EventEntry{IPtr<Linux::IEventHandler>(handler), fd, true});
    return kResultTrue;
}

tresult PLUGIN_API IdleRunLoop::unregisterEventHandler(Linux::IEventHandler* handler)
{
    const bool found = markDead(events, handler);
    removeDeadEntries();
    return found ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API IdleRunLoop::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (!handler || milliseconds == 0)
        return kInvalidArgument;
    const auto interval = std::chrono::milliseconds(milliseconds);
    timers.push_back(TimerEntry{IPtr<Linux::ITimerHandler>(handler), interval, Clock::now() + interval, true});
    return kResultTrue;
}

tresult PLUGIN_API IdleRunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
    const bool found = markDead(timers, handler);
    removeDeadEntries();
    return found ? kResultTrue : kResultFalse;
}

void IdleRunLoop::pump()
{
    ++pumpDepth;
    pumpEvents();
    pumpTimers();
    --pumpDepth;
    removeDeadEntries();
}

void IdleRunLoop::pumpEvents()
{
    if (events.empty())
        return;
    std::vector<pollfd> descriptors;
    descriptors.reserve(events.size());
    for (const auto& entry : events)
        descriptors.push_back(pollfd{entry.fd, POLLIN, 0});
    if (poll(descriptors.data(), descriptors.size(), 0) <= 0)
        return;

    // Entries registered by a handler are only looked at from the next pump on.
    const size_t count = descriptors.size();
    for (size_t i = 0; i < count; ++i)
    {
        if (!(descriptors[i].revents & (POLLIN | POLLERR | POLLHUP)))
            continue;
        if (!events[i].live)
            continue;
        IPtr<Linux::IEventHandler> handler = events[i].handler; // stays alive through the call
        handler->onFDIsSet(descriptors[i].fd);
    }
}

void IdleRunLoop::pumpTimers()
{
    const size_t count = timers.size();
    for (size_t i = 0; i < count; ++i)
    {
        const Clock::time_point now = Clock::now();
        if (!timers[i].live || now < timers[i].due)
            continue;
        // Late calls are not made up: a host that idles rarely gets one call per pump.
        timers[i].due = now + timers[i].interval;
        IPtr<Linux::ITimerHandler> handler = timers[i].handler;
        handler->onTimer();
    }
}

void IdleRunLoop::removeDeadEntries()
{
    if (pumpDepth > 0)
        return; // indices are in use by the pump
    eraseDead(events);
    eraseDead(timers);
}

tresult PLUGIN_API IdleRunLoop::queryInterface(const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
