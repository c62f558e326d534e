#pragma once

// Counting versions of the C allocator and the pthread lock functions, for
// proving that the audio thread allocates nothing and takes no lock. A test
// executable linking this library (with ENABLE_EXPORTS, so the dlopen'ed
// bundle and the C++ runtime's operator new resolve to them) counts only on
// the thread that armed the counters. Sanitizer builds own the allocator:
// there the sanitizer's allocation hooks count instead, and locks go uncounted.

namespace RealtimeCounting {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kCountsLocks = false;
#else
constexpr bool kCountsLocks = true;
#endif

struct Counts
{
    long allocations = 0, releases = 0, locks = 0;
};

// Zeroes the counters and counts on this thread until disarm().
void arm();
Counts disarm();

// What `calls` did on this thread.
template <typename Calls>
Counts count(Calls&& calls)
{
    arm();
    calls();
    return disarm();
}

} // namespace RealtimeCounting
