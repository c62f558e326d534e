#include "sdk/Timer.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Steinberg {

namespace {

std::mutex loopsMutex;
std::vector<Linux::IRunLoop*> lentLoops; // each holds one reference

Linux::IRunLoop* currentLoop()
{
    std::lock_guard<std::mutex> lock(loopsMutex);
    if (lentLoops.empty())
        return nullptr;
    Linux::IRunLoop* loop = lentLoops.back();
    loop->addRef();
    return loop;
}

// A timer registered as the host run loop's timer handler; it keeps the
// loop referenced until it has unregistered.
class RunLoopTimer : public Timer, public Linux::ITimerHandler
{
public:
    RunLoopTimer(ITimerCallback* callback) : callback(callback) {}
    ~RunLoopTimer() override { stop(); }

    bool start(Linux::IRunLoop* runLoop, uint32 intervalMilliseconds)
    {
        if (runLoop->registerTimer(this, std::max<uint32>(intervalMilliseconds, 1)) != kResultOk)
        {
            runLoop->release();
            return false;
        }
        loop = runLoop;
        return true;
    }

    void stop() override
    {
        if (!loop)
            return;
        Linux::IRunLoop* runLoop = loop;
        loop = nullptr;
        runLoop->unregisterTimer(this);
        runLoop->release();
    }

    void PLUGIN_API onTimer() override
    {
        if (!loop || !callback)
            return;
        // The callback may stop and release this timer.
        addRef();
        callback->onTimer(this);
        release();
    }

    OBJ_METHODS(RunLoopTimer, Timer)
    DEFINE_INTERFACES
    DEF_INTERFACE(Linux::ITimerHandler)
    END_DEFINE_INTERFACES(Timer)
    REFCOUNT_METHODS(Timer)

private:
    ITimerCallback* callback;
    Linux::IRunLoop* loop = nullptr;
};

} // namespace

Timer* Timer::create(ITimerCallback* callback, uint32 intervalMilliseconds)
{
    if (!callback)
        return nullptr;
    Linux::IRunLoop* loop = currentLoop();
    if (!loop)
        return nullptr;
    auto* timer = new RunLoopTimer(callback);
    if (!timer->start(loop, intervalMilliseconds))
    {
        timer->release();
        return nullptr;
    }
    return timer;
}

void Timer::useRunLoop(Linux::IRunLoop* loop)
{
    if (!loop)
        return;
    loop->addRef();
    std::lock_guard<std::mutex> lock(loopsMutex);
    lentLoops.push_back(loop);
}

void Timer::releaseRunLoop(Linux::IRunLoop* loop)
{
    Linux::IRunLoop* released = nullptr;
    {
        std::lock_guard<std::mutex> lock(loopsMutex);
        auto it = std::find(lentLoops.rbegin(), lentLoops.rend(), loop);
        if (it == lentLoops.rend())
            return;
        released = *it;
        lentLoops.erase(std::next(it).base());
    }
    released->release();
}

int32 Timer::lentRunLoops()
{
    std::lock_guard<std::mutex> lock(loopsMutex);
    return static_cast<int32>(lentLoops.size());
}

} // namespace Steinberg
