#pragma once

// Parameter values handed from any thread to one consumer, without locks or
// allocation: one slot per parameter holds the latest value and a pending
// flag. VST 2 changes carry no sample offset, so only the latest value of
// each parameter matters between two hand-overs. Any number of threads may
// push; one thread at a time drains.

#include <atomic>
#include <cstdint>
#include <memory>

class ParameterTransfer
{
public:
    // Allocates the slots; call before any push or drain, never concurrently.
    void resize(int32_t slotCount)
    {
        slots.reset(slotCount > 0 ? new Slot[slotCount] : nullptr);
        count = slotCount > 0 ? slotCount : 0;
    }

    int32_t size() const { return count; }

    void push(int32_t slot, double value)
    {
        if (slot < 0 || slot >= count)
            return;
        slots[slot].value.store(value, std::memory_order_relaxed);
        slots[slot].pending.store(true, std::memory_order_release);
    }

    // Calls take(slot, value) for every slot with a pending value, in slot order.
    template <typename Take>
    void drain(Take&& take)
    {
        for (int32_t slot = 0; slot < count; ++slot)
            if (slots[slot].pending.exchange(false, std::memory_order_acq_rel))
                take(slot, slots[slot].value.load(std::memory_order_relaxed));
    }

    // The value waiting in slot, if any.
    bool pendingValue(int32_t slot, double& value) const
    {
        if (slot < 0 || slot >= count || !slots[slot].pending.load(std::memory_order_acquire))
            return false;
        value = slots[slot].value.load(std::memory_order_relaxed);
        return true;
    }

    bool hasPending() const
    {
        for (int32_t slot = 0; slot < count; ++slot)
            if (slots[slot].pending.load(std::memory_order_acquire))
                return true;
        return false;
    }

    void discard()
    {
        for (int32_t slot = 0; slot < count; ++slot)
            slots[slot].pending.store(false, std::memory_order_release);
    }

private:
    struct Slot
    {
        std::atomic<double> value{0.0};
        std::atomic<bool> pending{false};
    };
    static_assert(std::atomic<double>::is_always_lock_free, "parameter slots must be lock-free");

    std::unique_ptr<Slot[]> slots;
    int32_t count = 0;
};
