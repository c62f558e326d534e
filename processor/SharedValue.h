#pragma once

#include <atomic>

// A parameter value that the audio thread writes while the host's main thread
// may read it (a project saved during playback calls getState): a relaxed
// atomic, which on x86-64 is the plain load and store it replaces.
class SharedValue
{
public:
    SharedValue(double v = 0.0) : value(v) {}
    SharedValue& operator=(double v)
    {
        value.store(v, std::memory_order_relaxed);
        return *this;
    }
    SharedValue& operator=(const SharedValue& other) { return *this = double(other); }
    operator double() const { return value.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<double>::is_always_lock_free, "the audio thread must not lock");
    std::atomic<double> value;
};
