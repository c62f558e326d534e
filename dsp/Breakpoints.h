#pragma once

#include "params/ParamId.h"
#include "params/curves.h"

#include <algorithm>
#include <cstdint>
#include <memory>

// One point on a parameter's path through a block: the value reached at
// `offset` and, optionally, the value the path continues from there.
struct Breakpoint
{
    static constexpr double kNoJump = -1.0; // never a normalised value

    uint32_t offset; // samples from the block start
    double value;    // normalised value reached at offset
    double jump;     // normalised value continued from at offset, or kNoJump

    bool hasJump() const { return jump != kNoJump; }
    double effective() const { return hasJump() ? jump : value; }
};

// The cut points of a block: 0, then every offset where some parameter has a
// point, then the block length; ascending without repeats (a block of 0
// samples is the single cut pair 0, 0). Fixed capacity: when more distinct
// offsets arrive than fit (only possible for a block longer than the capacity)
// the surplus inner ones are dropped and the path simply ramps across them.
class SplitOffsets
{
public:
    bool reserve(uint32_t maxCuts);
    uint32_t capacity() const { return cap; }

    void reset(uint32_t numSamples);
    // Merges ascending offsets (repeats allowed) into the inner cuts. True
    // when the points are then the first cuts, one to one.
    bool mergeAscending(const Breakpoint* points, uint32_t count);
    // Changes whenever the cuts do.
    uint64_t revision() const { return rev; }

    uint32_t size() const { return count; }
    uint32_t operator[](uint32_t k) const { return cuts[k]; }
    const uint32_t* data() const { return cuts; }

private:
    uint32_t firstCutsMatched(const Breakpoint* points, uint32_t count) const;
    bool containsFrom(const Breakpoint* points, uint32_t count, uint32_t from) const;

    std::unique_ptr<uint32_t[]> storage[2];
    uint32_t* cuts = nullptr;  // the current list
    uint32_t* spare = nullptr; // merge target, then swapped in
    uint32_t cap = 0;
    uint32_t count = 0;
    uint64_t rev = 0;
};

// The path of one automated parameter through a block, built from the host's
// points and then resampled onto the block's cuts. Offsets outside the block
// are clamped into it and never decrease; values are clamped into 0..1.
class BreakpointList
{
public:
    void attach(Breakpoint* storage, uint32_t capacity);

    // Builds the path of a block of numSamples from the value before it and
    // the host's points, read in order by `readPoint(j, offset, value)`, which
    // returns false for a point the host cannot give. Several points at one
    // offset become a jump: the path reaches the first of them and continues
    // from the last one that differs. A path whose points all sit at offset 0
    // ramps from the old value over the whole block instead of jumping.
    template <typename ReadPoint>
    void build(double previousValue, uint32_t numSamples, int32_t numPoints, ReadPoint&& readPoint);

    // Replaces the path by one breakpoint per cut: straight lines between the
    // points, the last value held after the last point, jumps kept in place.
    // `scratch` must hold cuts.size() breakpoints.
    void resample(const SplitOffsets& cuts, Breakpoint* scratch);
    // Notes that the points are the first cuts of the given revision, so
    // that resampling onto those cuts only extends the path to the end.
    void markOnCuts(uint64_t cutsRevision) { onCuts = cutsRevision; }

    uint32_t size() const { return count; }
    const Breakpoint& operator[](uint32_t k) const { return points[k]; }
    const Breakpoint* data() const { return points; }
    // One past the last offset where the built path jumps; 0 when it never does.
    uint32_t jumpsEnd() const { return jumpEnd; }

private:
    Breakpoint* points = nullptr;
    uint32_t cap = 0;
    uint32_t count = 0;
    uint32_t jumpEnd = 0;
    uint64_t onCuts = 0; // the cuts' revision the points are known to start, or 0
};

template <typename ReadPoint>
void BreakpointList::build(double previousValue, uint32_t numSamples, int32_t numPoints, ReadPoint&& readPoint)
{
    count = 0;
    jumpEnd = 0;
    onCuts = 0;
    if (cap == 0)
        return;
    // Kept in locals: reading a point is a call into the host, which would
    // otherwise make every member a reload.
    Breakpoint* const path = points;
    const uint32_t capacity = cap;
    path[0] = {0, previousValue, Breakpoint::kNoJump};
    uint32_t size = 1;
    double reached = previousValue; // the last breakpoint's effective value
    uint32_t lastOffset = 0;        // of the previous host point
    uint32_t jumpsUpTo = 0;         // one past the last offset with a jump
    // Points past the block or going backwards would cut segments outside it.
    const uint32_t lastSample = numSamples > 0 ? numSamples - 1 : 0;

    for (int32_t j = 0; j < numPoints; ++j)
    {
        uint32_t offset = 0;
        double value = 0.0;
        if (!readPoint(j, offset, value))
            continue;
        offset = std::max(std::min(offset, lastSample), lastOffset);
        value = Curves::clampNormalized(value, reached); // also sound while denormals-are-zero is set
        if (offset == lastOffset)
        {
            if (value != reached)
            {
                path[size - 1].jump = value;
                jumpsUpTo = offset + 1;
            }
        }
        else if (size < capacity)
        {
            path[size++] = {offset, value, Breakpoint::kNoJump};
        }
        else if (capacity > 1)
        {
            path[size - 1] = {offset, value, Breakpoint::kNoJump}; // full (overlong block): thin out the inner points
        }
        reached = value;
        lastOffset = offset;
    }

    if (size == 1 && capacity > 1)
    {
        // Only points at offset 0: ramp from the old value to the one reached.
        path[0].jump = Breakpoint::kNoJump;
        path[size++] = {numSamples, reached, Breakpoint::kNoJump};
        jumpsUpTo = 0;
    }
    count = size;
    jumpEnd = jumpsUpTo;
}

// The automation working data of one process call: a breakpoint list per
// parameter, the IDs automated in this call and the cut points. Everything is
// sized by reserve() before processing; filling and emptying never allocate.
class BlockAutomation
{
public:
    static constexpr uint32_t kMaxIds = kNumParams;

    // Sizes the lists for blocks of up to maxSamples samples (they never
    // shrink). False when memory is short; the previous sizes are kept.
    bool reserve(uint32_t maxSamples);
    uint32_t sampleCapacity() const { return samples; }
    bool ready() const { return samples > 0; }

    // Step 1 of a call: no automated IDs, cuts 0 and numSamples.
    void reset(uint32_t numSamples);

    // Builds the list of `id` (< kMaxIds) from a host queue (see
    // BreakpointList::build) and adds its offsets to the cuts. It replaces a
    // list an earlier queue of the same ID built; the ID is listed once, at
    // its first queue.
    template <typename ReadPoint>
    void addList(uint32_t id, double previousValue, int32_t numPoints, ReadPoint&& readPoint)
    {
        listOnce(id);
        BreakpointList& path = lists[id];
        path.build(previousValue, numSamples, numPoints, readPoint);
        if (cuts.mergeAscending(path.data(), path.size()))
            path.markOnCuts(cuts.revision());
        jumpEnd = std::max(jumpEnd, path.jumpsEnd());
    }

    // Resamples every automated list onto the cuts.
    void resample();

    // Whether some list may jump at cut k: none does past the last offset
    // where one jumps.
    bool mayJumpAt(uint32_t k) const { return cuts[k] < jumpEnd; }
    uint32_t automatedCount() const { return numAutomated; }
    uint32_t automatedId(uint32_t k) const { return automated[k]; }
    const BreakpointList& list(uint32_t id) const { return lists[id]; }
    const SplitOffsets& splitOffsets() const { return cuts; }

private:
    void listOnce(uint32_t id);

    BreakpointList lists[kMaxIds];
    std::unique_ptr<Breakpoint[]> storage; // kMaxIds lists, then the scratch
    uint32_t listCapacity = 0;             // breakpoints per list
    uint32_t samples = 0;
    uint32_t automated[kMaxIds] = {};
    uint32_t numAutomated = 0;
    uint32_t numSamples = 0;
    uint32_t jumpEnd = 0; // one past the last offset where any list jumps
    SplitOffsets cuts;
};
