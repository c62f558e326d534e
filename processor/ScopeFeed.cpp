#include "processor/ScopeFeed.h"

#include "processor/VectorScope.h"

#include <algorithm>
#include <cmath>

namespace
{

// 127 * 0.707106781: full-scale mid or side maps to 89 out of 127.
constexpr double kScale = 89.802561187;
constexpr float kScaleSingle = 89.80256f;

// trunc(x), limited; `halve` divides the truncated value by two (towards zero).
// The pre-limit keeps the integer conversion defined for any finite x without
// changing the limited result.
template <typename Real> int8_t toByte(Real x, bool halve)
{
    const Real limited = std::min(std::max(x, Real(-1024)), Real(1024));
    int value = static_cast<int>(limited);
    if (halve)
        value /= 2;
    return static_cast<int8_t>(std::min(std::max(value, -128), 127));
}

template <typename Real> void scale(Real channel0, Real channel1, bool outputIsMS, Real k, int8_t& mid, int8_t& side)
{
    const bool finite0 = std::isfinite(channel0), finite1 = std::isfinite(channel1);
    if (outputIsMS)
    {
        mid = finite0 ? toByte(channel0 * k, false) : 0;
        side = finite1 ? toByte(channel1 * k, false) : 0;
    }
    else if (finite0 && finite1)
    {
        mid = toByte((channel0 + channel1) * k, true);
        side = toByte((channel0 - channel1) * k, true);
    }
    else
    {
        mid = side = 0;
    }
}

} // namespace

ScopeFeed::ScopeFeed(VectorScope& target) : scope(target) {}

void ScopeFeed::scaleFrame(double channel0, double channel1, bool outputIsMS, int8_t& mid, int8_t& side)
{
    scale(channel0, channel1, outputIsMS, kScale, mid, side);
}

void ScopeFeed::scaleFrame(float channel0, float channel1, bool outputIsMS, int8_t& mid, int8_t& side)
{
    scale(channel0, channel1, outputIsMS, kScaleSingle, mid, side);
}

void ScopeFeed::feed(const double* channel0, const double* channel1, uint32_t count, bool outputIsMS)
{
    feedFrames(channel0, channel1, count, outputIsMS);
}

void ScopeFeed::feed(const float* channel0, const float* channel1, uint32_t count, bool outputIsMS)
{
    feedFrames(channel0, channel1, count, outputIsMS);
}

template <typename Sample>
void ScopeFeed::feedFrames(const Sample* channel0, const Sample* channel1, uint32_t count, bool outputIsMS)
{
    if (count == 0)
        return;
    offerUnsent();
    uint32_t i = 0;
    for (;;)
    {
        // frames still to skip before the next kept one
        const uint32_t skip = counter + 1 < decimation ? decimation - counter - 1 : 0;
        if (skip >= count - i)
        {
            counter += count - i;
            return;
        }
        i += skip;
        counter = 0;
        int8_t mid, side;
        scaleFrame(channel0[i], channel1[i], outputIsMS, mid, side);
        writePosition[0] = static_cast<uint8_t>(mid);
        writePosition[1] = static_cast<uint8_t>(side);
        writePosition += 2;
        if (writePosition == end)
            completeBlock();
        ++i;
    }
}

void ScopeFeed::completeBlock()
{
    // A newer block replaces one the scope has not taken yet.
    unsentBlock = current;
    current = current == bufferA ? bufferB : bufferA;
    writePosition = current;
    end = current + ScopeBlock::kBytes;
    offerUnsent();
}

void ScopeFeed::offerUnsent()
{
    if (unsentBlock && scope.tryHandOff(unsentBlock))
        unsentBlock = nullptr;
}
