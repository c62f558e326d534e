#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The left/right correlation of the scope blocks of the last ~300 ms. A block
// holds 512 signed mid/side pairs; left = mid + side and right = mid - side,
// up to the scope's common scale, which the correlation does not see.
class CorrelationEstimate
{
public:
    // A block is 512 kept frames at one kept in trunc(rate / 5120), that is
    // 512 * trunc(rate / 5120) / rate seconds: 100 ms at multiples of 5120 Hz,
    // 93 ms at 44.1 kHz, 96 ms at 48 and 96 kHz. Three blocks span ~300 ms.
    static constexpr size_t kWindowBlocks = 3;

    // Takes a block of ScopeBlock::kBytes bytes in place of the oldest one.
    void addBlock(const uint8_t* block);
    // A block time that brought no block: the oldest one goes, nothing comes.
    void addGap();
    void clear();

    // -1..+1; none while either channel is silent over the whole window.
    std::optional<double> reading() const;

private:
    // Exact integer sums: a block adds at most 512 * 256^2 to each.
    struct Sums
    {
        int64_t lr = 0, ll = 0, rr = 0;
    };
    void push(const Sums& sums);

    std::array<Sums, kWindowBlocks> window{};
    Sums total;
    size_t oldest = 0;
};
