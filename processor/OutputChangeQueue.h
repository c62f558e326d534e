#pragma once

#include "params/OutputChange.h"

#include <cstddef>
#include <cstdint>

// First-in first-out queue of parameter values to report to the host, in fixed
// storage: the audio thread fills and empties it and it never allocates.
//
// When it is full, a push first drops the oldest entry that a later entry (or
// the pushed one) supersedes: the host only needs the last value of each ID,
// so every ID's final value still reaches it. Only when all entries have
// distinct IDs, which a capacity above the number of parameters rules out for
// this plug-in, is the push refused.
template <size_t Capacity>
class OutputChangeQueue
{
public:
    static constexpr size_t capacity = Capacity;

    bool empty() const { return count == 0; }
    size_t size() const { return count; }
    void clear() { head = count = 0; }

    // The oldest entry; only valid when not empty.
    const OutputChange& front() const { return slots[head]; }

    bool push(const OutputChange& change)
    {
        if (count == Capacity && !dropOldestSuperseded(change.id))
            return false;
        slots[(head + count) % Capacity] = change;
        ++count;
        return true;
    }

    bool pop(OutputChange& change)
    {
        if (count == 0)
            return false;
        change = slots[head];
        pop();
        return true;
    }

    void pop()
    {
        if (count == 0)
            return;
        head = (head + 1) % Capacity;
        --count;
    }

    // The entry `index` places after the oldest; only valid below size().
    const OutputChange& at(size_t index) const { return slots[(head + index) % Capacity]; }

private:
    bool dropOldestSuperseded(uint32_t incomingId)
    {
        for (size_t i = 0; i < count; ++i)
        {
            bool superseded = at(i).id == incomingId;
            for (size_t j = i + 1; j < count && !superseded; ++j)
                superseded = at(j).id == at(i).id;
            if (superseded)
            {
                removeAt(i);
                return true;
            }
        }
        return false;
    }

    void removeAt(size_t index)
    {
        for (size_t i = index; i + 1 < count; ++i)
            slots[(head + i) % Capacity] = slots[(head + i + 1) % Capacity];
        --count;
    }

    OutputChange slots[Capacity] = {};
    size_t head = 0;
    size_t count = 0;
};
