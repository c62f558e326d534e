#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// A vector-scope (goniometer) picture built from the plug-in's own "Scope"
// blocks: each block holds pairs of signed 8-bit (mid, side) values. Mid points
// up and the left channel to the upper left, as on a hardware goniometer; the
// brightness of a point grows with the logarithm of how often it was hit.
class ScopePicture
{
public:
    static constexpr int kSize = 512; // pixels, square

    // Adds the (mid, side) pairs of one block; a trailing odd byte is ignored.
    void addBlock(const uint8_t* data, size_t bytes);

    size_t blocks() const { return blockCount; }
    uint64_t pairs() const { return pairCount; }

    // Writes the picture as a PNG, replacing `path` only when complete.
    bool writePng(const std::string& path, const std::string& caption, std::string& error) const;

private:
    // hits[(mid + 128) * 256 + (side + 128)]
    std::array<uint32_t, 256 * 256> hits{};
    size_t blockCount = 0;
    uint64_t pairCount = 0;
};
