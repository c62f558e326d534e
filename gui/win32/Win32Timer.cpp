#include "gui/win32/Win32Timer.h"

#include <algorithm>
#include <map>
#include <vector>

namespace VSTGUI {
namespace Win32 {

namespace {

class Win32Timer;

// Only the UI thread touches these.
std::vector<HWND>& lentWindows()
{
    static std::vector<HWND> windows;
    return windows;
}

std::map<UINT_PTR, Win32Timer*>& runningTimerTable()
{
    static std::map<UINT_PTR, Win32Timer*> timers;
    return timers;
}

UINT_PTR nextTimerId()
{
    static UINT_PTR id = 0;
    // Zero is no timer; the frame's own timers use none of these.
    if (++id == 0)
        ++id;
    return id;
}

class Win32Timer : public IPlatformTimer
{
public:
    explicit Win32Timer(IPlatformTimerCallback* callback) : callback(callback) {}
    ~Win32Timer() override { stop(); }

    bool start(uint32 intervalMilliseconds) override
    {
        if (id)
            return true;
        HWND current = TimerWindows::current();
        if (!current)
            return false;
        const UINT_PTR newId = nextTimerId();
        if (!SetTimer(current, newId, std::max<UINT>(intervalMilliseconds, USER_TIMER_MINIMUM), &onTimer))
            return false;
        window = current;
        id = newId;
        runningTimerTable()[id] = this;
        return true;
    }

    void stop() override
    {
        if (!id)
            return;
        // A window already destroyed took its timers with it.
        if (IsWindow(window))
            KillTimer(window, id);
        runningTimerTable().erase(id);
        id = 0;
        window = nullptr;
    }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR timerId, DWORD)
    {
        auto& table = runningTimerTable();
        auto it = table.find(timerId);
        // A message queued before the timer stopped reaches nobody.
        if (it != table.end())
            it->second->callback->fire();
    }

    IPlatformTimerCallback* callback;
    HWND window = nullptr;
    UINT_PTR id = 0;
};

} // namespace

void TimerWindows::lend(HWND window)
{
    if (window)
        lentWindows().push_back(window);
}

void TimerWindows::giveBack(HWND window)
{
    auto& windows = lentWindows();
    auto it = std::find(windows.rbegin(), windows.rend(), window);
    if (it != windows.rend())
        windows.erase(std::next(it).base());
}

HWND TimerWindows::current()
{
    const auto& windows = lentWindows();
    return windows.empty() ? nullptr : windows.back();
}

size_t TimerWindows::runningTimers()
{
    return runningTimerTable().size();
}

} // namespace Win32

std::unique_ptr<IPlatformTimer> IPlatformTimer::create(IPlatformTimerCallback* callback)
{
    return callback ? std::make_unique<Win32::Win32Timer>(callback) : nullptr;
}

} // namespace VSTGUI
