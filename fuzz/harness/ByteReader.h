#pragma once

// Turns a fuzzer's byte string into decisions. Every read succeeds: past the
// end it yields zeros, so any input, however short, decodes to one case.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace KalviorFuzz {

class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : data(data), size(size) {}

    bool empty() const { return position >= size; }
    size_t remaining() const { return position < size ? size - position : 0; }

    uint8_t byte() { return position < size ? data[position++] : 0; }

    template <typename T>
    T raw()
    {
        uint8_t bytes[sizeof(T)] = {}; // zeros past the end of the input
        const size_t count = std::min(sizeof(T), remaining());
        if (count > 0)
            std::memcpy(bytes, data + position, count);
        position += count;
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    uint16_t u16() { return raw<uint16_t>(); }
    uint32_t u32() { return raw<uint32_t>(); }
    uint64_t u64() { return raw<uint64_t>(); }

    // 0 .. bound-1 (bound > 0).
    uint32_t below(uint32_t bound) { return bound > 256 ? u32() % bound : byte() % bound; }
    bool flag() { return byte() & 1; }

    // A value between 0 and 1 with 16 bits of resolution.
    double unit() { return u16() / 65535.0; }

    // The rest of the input.
    const uint8_t* rest(size_t& length)
    {
        length = remaining();
        const uint8_t* begin = data + (position < size ? position : size);
        position = size;
        return begin;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

// Values hosts, damaged projects and careless automation can deliver.
inline double specialDouble(ByteReader& in)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    switch (in.below(16))
    {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return kInf;
    case 2: return -kInf;
    case 3: return -0.5;
    case 4: return 1.5;
    case 5: return 0.0;
    case 6: return 1.0;
    case 7: return -0.0;
    case 8: return std::numeric_limits<double>::denorm_min();
    case 9: return std::numeric_limits<double>::max();
    case 10: return -std::numeric_limits<double>::max();
    case 11: return 1.0 + std::numeric_limits<double>::epsilon();
    case 12: return in.raw<double>(); // any bit pattern
    default: return in.unit();
    }
}

// The same for a float parameter: finite doubles beyond its range saturate.
inline float specialFloat(ByteReader& in)
{
    const double v = specialDouble(in);
    const double largest = std::numeric_limits<float>::max();
    if (std::isfinite(v) && std::fabs(v) > largest)
        return static_cast<float>(std::copysign(largest, v));
    return static_cast<float>(v);
}

} // namespace KalviorFuzz
