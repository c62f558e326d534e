#pragma once

// Keeps the audio thread and the host's other threads from working on the
// processor at the same time, without ever making the audio thread wait.
//
// The audio thread announces each block; a block that starts while another
// thread holds the processor is skipped (the caller outputs silence). A thread
// that wants the processor (state load, sample-rate change) announces itself
// and waits until the block in flight has ended. Both sides store their flag
// before reading the other's, with sequentially consistent order, so at least
// one of them sees the other.

#include <atomic>
#include <mutex>
#include <thread>

class ProcessGuard
{
public:
    // Audio thread. True: process this block and call leaveProcess after it.
    bool enterProcess()
    {
        inProcess.store(true, std::memory_order_seq_cst);
        if (exclusive.load(std::memory_order_seq_cst))
        {
            inProcess.store(false, std::memory_order_release);
            return false;
        }
        return true;
    }

    void leaveProcess() { inProcess.store(false, std::memory_order_release); }

    // Any other thread; may wait for one block.
    void lock()
    {
        owners.lock();
        exclusive.store(true, std::memory_order_seq_cst);
        while (inProcess.load(std::memory_order_seq_cst))
            std::this_thread::yield();
    }

    void unlock()
    {
        exclusive.store(false, std::memory_order_release);
        owners.unlock();
    }

private:
    std::atomic<bool> inProcess{false};
    std::atomic<bool> exclusive{false};
    std::mutex owners; // orders the non-audio threads among themselves
};
