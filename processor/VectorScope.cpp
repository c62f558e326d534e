#include "processor/VectorScope.h"

VectorScope::VectorScope(ScopeSender& sender) : owner(sender) {}

VectorScope::~VectorScope()
{
    stop();
}

bool VectorScope::start()
{
    stop();
    {
        std::lock_guard<std::mutex> lock(mutex);
        dataReady = false;
        stopRequested = false;
    }
    try
    {
        worker = std::thread(&VectorScope::run, this);
    }
    catch (...)
    {
        return false; // no scope messages, processing goes on
    }
    return true;
}

void VectorScope::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopRequested = true;
    }
    condition.notify_one();
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id())
        worker.join();
}

bool VectorScope::tryHandOff(const uint8_t* block)
{
    // The worker holds the mutex only to test and clear its flags; rather than
    // wait for it, the audio thread tries again on its next stretch.
    if (!mutex.try_lock())
        return false;
    pendingBlock = block;
    dataReady = true;
    mutex.unlock();
    condition.notify_one();
    return true;
}

void VectorScope::run()
{
    for (;;)
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (stopRequested)
            return;
        while (!dataReady)
        {
            condition.wait(lock);
            if (stopRequested)
                break;
        }
        if (stopRequested)
            return;
        if (dataReady)
        {
            dataReady = false;
            const uint8_t* block = pendingBlock;
            blockInFlight.store(block, std::memory_order_relaxed);
            lock.unlock();
            owner.sendScopeData(block);
            blockInFlight.store(nullptr, std::memory_order_release);
        }
    }
}
