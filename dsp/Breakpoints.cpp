#include "dsp/Breakpoints.h"

#include "params/curves.h"

#include <algorithm>
#include <cmath>
#include <new>

// ---------------------------------------------------------------------------
// SplitOffsets

bool SplitOffsets::reserve(uint32_t maxCuts)
{
    if (maxCuts <= cap)
        return true;
    std::unique_ptr<uint32_t[]> a(new (std::nothrow) uint32_t[maxCuts]);
    std::unique_ptr<uint32_t[]> b(new (std::nothrow) uint32_t[maxCuts]);
    if (!a || !b)
        return false;
    storage[0] = std::move(a);
    storage[1] = std::move(b);
    cuts = storage[0].get();
    spare = storage[1].get();
    cap = maxCuts;
    count = 0;
    return true;
}

void SplitOffsets::reset(uint32_t numSamples)
{
    ++rev;
    count = 0;
    if (cap < 2)
        return;
    cuts[0] = 0;
    cuts[1] = numSamples;
    count = 2;
}

// Whether the points from `from` on are all cuts (or the fixed first and last);
// the points before it are known to be the first cuts.
bool SplitOffsets::containsFrom(const Breakpoint* points, uint32_t numPoints, uint32_t from) const
{
    const uint32_t end = cuts[count - 1];
    uint32_t a = from;
    for (uint32_t b = from; b < numPoints; ++b)
    {
        const uint32_t offset = points[b].offset;
        if (offset == 0 || offset >= end)
            continue;
        while (a < count - 1 && cuts[a] < offset)
            ++a;
        if (a == count - 1 || cuts[a] != offset)
            return false;
    }
    return true;
}

// How many of the points, from the first, sit on the inner cuts from the first.
uint32_t SplitOffsets::firstCutsMatched(const Breakpoint* points, uint32_t numPoints) const
{
    uint32_t same = 0;
    while (same < numPoints && same < count - 1 && points[same].offset == cuts[same])
        ++same;
    return same;
}

bool SplitOffsets::mergeAscending(const Breakpoint* points, uint32_t numPoints)
{
    if (count < 2)
        return false;
    // Automated parameters mostly share their offsets: then there is nothing
    // to add. The usual case first: the points are the first cuts, in order.
    const uint32_t same = firstCutsMatched(points, numPoints);
    if (same == numPoints)
        return true;
    if (containsFrom(points, numPoints, same))
        return false;
    const uint32_t end = cuts[count - 1];
    const uint32_t innerRoom = cap - 2; // the first and last cut are fixed
    ++rev;

    if (count == 2 && numPoints <= innerRoom)
    {
        // No inner cuts yet (the first automated parameter): its offsets
        // become the cuts as they are. Built paths start at 0 and ascend, so
        // each point then sits on its own cut.
        uint32_t out = 1;
        for (uint32_t b = 0; b < numPoints; ++b)
        {
            const uint32_t offset = points[b].offset;
            if (offset > cuts[out - 1] && offset < end)
                cuts[out++] = offset;
        }
        // One to one when the first point is at 0 and every later one made a cut.
        const bool oneToOne = points[0].offset == 0 && out == numPoints;
        cuts[out++] = end;
        count = out;
        return oneToOne;
    }

    uint32_t out = 0;
    spare[out++] = 0;
    uint32_t a = 1; // next inner cut
    const uint32_t aEnd = count - 1;
    uint32_t b = 0;    // next point
    uint32_t last = 0; // last value written
    while (out - 1 < innerRoom)
    {
        // the smallest remaining inner offset of either list
        while (b < numPoints && (points[b].offset == 0 || points[b].offset >= end))
            ++b;
        uint32_t next;
        if (a < aEnd && (b >= numPoints || cuts[a] <= points[b].offset))
            next = cuts[a++];
        else if (b < numPoints)
            next = points[b++].offset;
        else
            break;
        if (next != last)
            spare[out++] = last = next;
    }
    spare[out++] = end;
    std::swap(cuts, spare);
    count = out;
    return false;
}

// ---------------------------------------------------------------------------
// BreakpointList

void BreakpointList::attach(Breakpoint* storage, uint32_t capacity)
{
    points = storage;
    cap = capacity;
    count = 0;
}

void BreakpointList::resample(const SplitOffsets& cuts, Breakpoint* scratch)
{
    if (count == 0)
        return;
    uint32_t previous = 0; // P
    uint32_t target = 0;   // T
    bool atEnd = false;    // E
    const uint32_t numCuts = std::min(cuts.size(), cap);

    // Points that sit on the first cuts (every parameter with the same offsets,
    // the usual case) stay as they are; the last value holds on the rest.
    uint32_t same = 0;
    if (onCuts == cuts.revision())
        same = count;
    while (same < count && same < numCuts && points[same].offset == cuts[same])
        ++same;
    if (same == count)
    {
        const double held = points[count - 1].effective();
        for (uint32_t k = count; k < numCuts; ++k)
            points[k] = {cuts[k], held, Breakpoint::kNoJump};
        count = numCuts;
        return;
    }

    for (uint32_t k = 0; k < numCuts; ++k)
    {
        const uint32_t s = cuts[k];
        // Only a thinned cut list can step over a point; move on past it.
        while (!atEnd && s > points[target].offset)
        {
            if (target + 1 < count)
            {
                previous = target;
                ++target;
            }
            else
            {
                atEnd = true;
            }
        }
        const Breakpoint& t = points[target];
        if (atEnd)
        {
            scratch[k] = {s, t.effective(), Breakpoint::kNoJump};
        }
        else if (s != t.offset)
        {
            const Breakpoint& p = points[previous];
            const double b = p.effective();
            const double v = b + (t.value - b) * double(s - p.offset) / double(t.offset - p.offset);
            scratch[k] = {s, v, Breakpoint::kNoJump};
        }
        else
        {
            scratch[k] = t;
            if (target + 1 < count)
            {
                previous = target;
                ++target;
            }
            else
            {
                atEnd = true;
            }
        }
    }
    std::copy(scratch, scratch + numCuts, points);
    count = numCuts;
}

// ---------------------------------------------------------------------------
// BlockAutomation

bool BlockAutomation::reserve(uint32_t maxSamples)
{
    if (maxSamples <= samples && samples > 0)
        return true;
    maxSamples = std::max(maxSamples, samples);
    // A path has at most one breakpoint per sample offset, plus the block end.
    const uint32_t perList = maxSamples + 2;
    const size_t total = size_t(perList) * (kMaxIds + 1);
    // Left uninitialised: pages of lists that are never automated stay untouched.
    std::unique_ptr<Breakpoint[]> block(new (std::nothrow) Breakpoint[total]);
    if (!block || !cuts.reserve(perList))
        return false;
    storage = std::move(block);
    listCapacity = perList;
    samples = maxSamples;
    for (uint32_t id = 0; id < kMaxIds; ++id)
        lists[id].attach(storage.get() + size_t(id) * perList, perList);
    numAutomated = 0;
    return true;
}

void BlockAutomation::reset(uint32_t blockSamples)
{
    numAutomated = 0;
    numSamples = blockSamples;
    jumpEnd = 0;
    cuts.reset(blockSamples);
}

void BlockAutomation::listOnce(uint32_t id)
{
    if (std::find(automated, automated + numAutomated, id) == automated + numAutomated)
        automated[numAutomated++] = id;
}

void BlockAutomation::resample()
{
    Breakpoint* scratch = storage.get() + size_t(kMaxIds) * listCapacity;
    for (uint32_t k = 0; k < numAutomated; ++k)
        lists[automated[k]].resample(cuts, scratch);
}
