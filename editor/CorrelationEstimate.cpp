#include "editor/CorrelationEstimate.h"

#include "params/ScopeBlock.h"

#include <algorithm>
#include <cmath>

void CorrelationEstimate::addBlock(const uint8_t* block)
{
    Sums sums;
    for (uint32_t i = 0; i < ScopeBlock::kFrames; ++i)
    {
        const int64_t mid = static_cast<int8_t>(block[2 * i]);
        const int64_t side = static_cast<int8_t>(block[2 * i + 1]);
        const int64_t left = mid + side;
        const int64_t right = mid - side;
        sums.lr += left * right;
        sums.ll += left * left;
        sums.rr += right * right;
    }
    push(sums);
}

void CorrelationEstimate::addGap()
{
    push(Sums{});
}

void CorrelationEstimate::clear()
{
    window.fill(Sums{});
    total = Sums{};
    oldest = 0;
}

void CorrelationEstimate::push(const Sums& sums)
{
    Sums& slot = window[oldest];
    total.lr += sums.lr - slot.lr;
    total.ll += sums.ll - slot.ll;
    total.rr += sums.rr - slot.rr;
    slot = sums;
    oldest = (oldest + 1) % kWindowBlocks;
}

std::optional<double> CorrelationEstimate::reading() const
{
    if (total.ll == 0 || total.rr == 0)
        return std::nullopt;
    const double r = static_cast<double>(total.lr) / std::sqrt(static_cast<double>(total.ll) * total.rr);
    return std::clamp(r, -1.0, 1.0);
}
