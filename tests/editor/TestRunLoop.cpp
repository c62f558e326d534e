#include "TestRunLoop.h"

#include <algorithm>
#include <poll.h>

using namespace Steinberg;

namespace EditorTest {

namespace {

template <typename List, typename Handler>
bool registered(const List& list, const Handler* handler)
{
    return std::any_of(list.begin(), list.end(), [&](const auto& entry) { return entry.handler == handler; });
}

// Takes a handler off its list and drops the reference the list held.
template <typename List, typename Handler>
tresult unregister(List& list, Handler* handler)
{
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& entry) { return entry.handler == handler; });
    if (it == list.end())
        return kInvalidArgument;
    list.erase(it);
    handler->release();
    return kResultTrue;
}

} // namespace

TestRunLoop::~TestRunLoop()
{
    for (Handler& h : handlers)
        h.handler->release();
    for (Timer& t : timers)
        t.handler->release();
}

tresult PLUGIN_API TestRunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
    if (!handler || registered(handlers, handler))
        return kInvalidArgument;
    handler->addRef();
    handlers.push_back({handler, fd});
    return kResultTrue;
}

tresult PLUGIN_API TestRunLoop::unregisterEventHandler(Linux::IEventHandler* handler)
{
    return unregister(handlers, handler);
}

tresult PLUGIN_API TestRunLoop::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
    if (!handler || milliseconds == 0 || registered(timers, handler))
        return kInvalidArgument;
    handler->addRef();
    timers.push_back({handler, milliseconds, Clock::now() + std::chrono::milliseconds(milliseconds)});
    return kResultTrue;
}

tresult PLUGIN_API TestRunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
    return unregister(timers, handler);
}

tresult PLUGIN_API TestRunLoop::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (!view || !newSize)
        return kInvalidArgument;
    if (onResizeRequest)
        onResizeRequest(newSize->getWidth(), newSize->getHeight());
    return view->onSize(newSize);
}

tresult PLUGIN_API TestRunLoop::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
    {
        *obj = static_cast<IPlugFrame*>(this);
        return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid))
    {
        *obj = static_cast<Linux::IRunLoop*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

std::vector<Linux::TimerInterval> TestRunLoop::timerIntervals() const
{
    std::vector<Linux::TimerInterval> intervals;
    for (const Timer& t : timers)
        intervals.push_back(t.interval);
    std::sort(intervals.begin(), intervals.end());
    return intervals;
}

void TestRunLoop::dispatchReadable(int timeoutMs)
{
    std::vector<pollfd> fds;
    for (const Handler& h : handlers)
        fds.push_back({h.fd, POLLIN, 0});
    const std::vector<Handler> snapshot = handlers;
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0)
        return;
    for (size_t i = 0; i < fds.size(); ++i)
    {
        // A callback may unregister others; only those still registered are called.
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) && registered(handlers, snapshot[i].handler))
            snapshot[i].handler->onFDIsSet(snapshot[i].fd);
    }
}

void TestRunLoop::pumpEvents()
{
    dispatchReadable(0);
}

void TestRunLoop::runFor(std::chrono::milliseconds duration)
{
    const Clock::time_point end = Clock::now() + duration;
    while (true)
    {
        const Clock::time_point now = Clock::now();
        if (now >= end)
            break;
        Clock::time_point next = end;
        for (const Timer& t : timers)
            next = std::min(next, t.due);
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
        dispatchReadable(static_cast<int>(std::max<long long>(0, wait)));
        const std::vector<Timer> snapshot = timers;
        for (const Timer& t : snapshot)
        {
            auto it =
                std::find_if(timers.begin(), timers.end(), [&](const Timer& x) { return x.handler == t.handler; });
            if (it == timers.end() || it->due > Clock::now())
                continue;
            it->due = Clock::now() + std::chrono::milliseconds(it->interval);
            t.handler->onTimer();
        }
    }
}

void TestRunLoop::fireTimers(Linux::TimerInterval milliseconds)
{
    const std::vector<Timer> snapshot = timers;
    for (const Timer& t : snapshot)
    {
        if (t.interval == milliseconds && registered(timers, t.handler))
            t.handler->onTimer();
    }
}

} // namespace EditorTest
