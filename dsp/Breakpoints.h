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
    // Merges ascending offsets (repeats allowed) into the inner cuts.
    void mergeAscending(const Breakpoint* points, uint32_t count);
    bool containsAll(const Breakpoint* points, uint32_t count) const;

    uint32_t size() const { return count; }
    uint32_t operator[](uint32_t k) const { return cuts[k]; }
    const uint32_t* data() const { return cuts; }

private:
    std::unique_ptr<uint32_t[]> storage[2];
    uint32_t* cuts = nullptr;  // the current list
    uint32_t* spare = nullptr; // merge target, then swapped in
    uint32_t cap = 0;
    uint32_t count = 0;
};

// The path of one automated parameter through a block, built from the host's
// points and then resampled onto the block's cuts. Offsets outside the block
// are clamped into it and never decrease; values are clamped into 0..1.
class BreakpointList
{
public:
    void attach(Breakpoint* storage, uint32_t capacity);

    // Starts the path at offset 0 with the value before this block.
    void begin(double previousValue, uint32_t numSamples);
    // Adds the host's point j in order; several points at one offset become a
    // jump: the path reaches the first of them and continues from the last one
    // that differs.
    void addPoint(uint32_t offset, double value);
    // A path whose points all sat at offset 0 ramps from the old value over the
    // whole block instead of jumping.
    void finish();

    // Replaces the path by one breakpoint per cut: straight lines between the
    // points, the last value held after the last point, jumps kept in place.
    // `scratch` must hold cuts.size() breakpoints.
    void resample(const SplitOffsets& cuts, Breakpoint* scratch);

    uint32_t size() const { return count; }
    const Breakpoint& operator[](uint32_t k) const { return points[k]; }
    const Breakpoint* data() const { return points; }

private:
    void append(const Breakpoint& point);

    Breakpoint* points = nullptr;
    uint32_t cap = 0;
    uint32_t count = 0;
    uint32_t blockLength = 0;     // samples
    uint32_t lastPointOffset = 0; // of the previous host point
};

inline void BreakpointList::append(const Breakpoint& point)
{
    if (count < cap)
        points[count++] = point;
    else if (cap > 1)
        points[count - 1] = point; // full (overlong block): thin out the inner points
}

inline void BreakpointList::addPoint(uint32_t offset, double value)
{
    if (count == 0)
        return;
    Breakpoint& last = points[count - 1];
    const double reached = last.effective();
    // Points past the block or going backwards would cut segments outside it.
    const uint32_t lastSample = blockLength > 0 ? blockLength - 1 : 0;
    offset = std::max(std::min(offset, lastSample), lastPointOffset);
    value = Curves::clampNormalized(value, reached); // also sound while denormals-are-zero is set

    if (offset == lastPointOffset)
    {
        if (value != reached)
            last.jump = value;
    }
    else
    {
        append({offset, value, Breakpoint::kNoJump});
    }
    lastPointOffset = offset;
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

    // Starts the list of `id` (< kMaxIds), replacing a list an earlier queue
    // of the same ID built; the ID is listed once, at its first queue.
    BreakpointList& beginList(uint32_t id, double previousValue);
    // Completes the list begun last and adds its offsets to the cuts.
    void endList(uint32_t id);

    // Resamples every automated list onto the cuts.
    void resample();

    uint32_t automatedCount() const { return numAutomated; }
    uint32_t automatedId(uint32_t k) const { return automated[k]; }
    const BreakpointList& list(uint32_t id) const { return lists[id]; }
    const SplitOffsets& splitOffsets() const { return cuts; }

private:
    BreakpointList lists[kMaxIds];
    std::unique_ptr<Breakpoint[]> storage; // kMaxIds lists, then the scratch
    uint32_t listCapacity = 0;             // breakpoints per list
    uint32_t samples = 0;
    uint32_t automated[kMaxIds] = {};
    uint32_t numAutomated = 0;
    uint32_t numSamples = 0;
    SplitOffsets cuts;
};
