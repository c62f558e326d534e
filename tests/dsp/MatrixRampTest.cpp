// The ramp kernels ramp linearly; 64-bit samples keep the bits of the plain
// sequential arithmetic; and segments ramped side by side, whatever the lane
// layout, keep the bits of each segment ramped alone.

#include "dsp/MatrixRamp.h"
#include "dsp/CpuFeatures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

namespace {

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

StereoMatrix randomMatrix(std::mt19937& rng, double scale)
{
    std::uniform_real_distribution<double> d(-scale, scale);
    return {d(rng), d(rng), d(rng), d(rng)};
}

template <typename Sample>
std::vector<Sample> noise(std::mt19937& rng, size_t n)
{
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    std::vector<Sample> v(n);
    for (Sample& x : v)
        x = static_cast<Sample>(d(rng));
    return v;
}

// The definition, one sample at a time in double precision.
void plainRamp(StereoMatrix m, const StereoMatrix& d, uint32_t n, const double* inL, const double* inR, double* outL,
               double* outR)
{
    for (uint32_t i = 0; i < n; ++i)
    {
        const double l = inL[i], r = inR[i];
        outL[i] = l * m.m00 + r * m.m10;
        outR[i] = l * m.m01 + r * m.m11;
        m = m + d;
    }
}

const uint32_t kLengths[] = {1, 2, 3, 4, 7, 64, 100, 513};

enum class Entry
{
    Alone,      // ramp
    Two,        // rampTwo
    SideBySide, // rampSideBySide
};

// Neighbouring segments of the given lengths through one entry point: each
// keeps the bits of the segment ramped alone (and, in 64-bit, of the
// sequential definition). Bit k of `steady` makes segment k steady, with
// negative zeros in its matrix (M + 0 turns them positive after the first
// sample).
template <typename Sample>
void expectOwnBits(std::mt19937& rng, const std::vector<uint32_t>& lengths, uint32_t steady, Entry entry)
{
    uint32_t n = 0;
    for (uint32_t length : lengths)
        n += length;
    const auto inL = noise<Sample>(rng, n), inR = noise<Sample>(rng, n);
    std::vector<Sample> outL(n), outR(n), wantL(n), wantR(n);
    std::vector<MatrixRamp::Segment<Sample>> segments;
    for (uint32_t k = 0, at = 0; k < lengths.size(); at += lengths[k], ++k)
    {
        StereoMatrix m = randomMatrix(rng, 3.0);
        StereoMatrix d = randomMatrix(rng, 0.01);
        if (steady & (1u << k))
        {
            m = StereoMatrix(-0.0, m.m01, -0.0, m.m11);
            d = StereoMatrix();
        }
        MatrixRamp::ramp(m, d, lengths[k], inL.data() + at, inR.data() + at, wantL.data() + at, wantR.data() + at);
        if constexpr (sizeof(Sample) == sizeof(double))
        {
            std::vector<double> plainL(lengths[k]), plainR(lengths[k]);
            plainRamp(m, d, lengths[k], inL.data() + at, inR.data() + at, plainL.data(), plainR.data());
            for (uint32_t i = 0; i < lengths[k]; ++i)
                ASSERT_TRUE(sameBits(plainL[i], wantL[at + i]) && sameBits(plainR[i], wantR[at + i])) << "alone " << i;
        }
        segments.push_back({m, d, lengths[k], inL.data() + at, inR.data() + at, outL.data() + at, outR.data() + at});
    }
    if (entry == Entry::Alone)
        return;
    if (entry == Entry::Two)
        MatrixRamp::rampTwo(segments[0], segments[1]);
    else
        MatrixRamp::rampSideBySide(segments.data(), static_cast<uint32_t>(segments.size()));
    for (uint32_t i = 0; i < n; ++i)
    {
        ASSERT_TRUE(sameBits(outL[i], wantL[i])) << "left " << i;
        ASSERT_TRUE(sameBits(outR[i], wantR[i])) << "right " << i;
    }
}

template <typename Sample>
void expectOwnBitsEverywhere(std::mt19937& rng)
{
    // One segment alone: sequential doubles for 64-bit samples.
    if constexpr (sizeof(Sample) == sizeof(double))
        for (uint32_t n : kLengths)
            for (uint32_t steady : {0, 1})
            {
                SCOPED_TRACE(testing::Message() << n << " alone, steady " << steady);
                expectOwnBits<Sample>(rng, {n}, steady, Entry::Alone);
            }
    // Two side by side: odd, unequal, empty, either steady.
    const std::pair<uint32_t, uint32_t> pairs[] = {{64, 64}, {1, 1},  {3, 8},  {8, 3},   {0, 5},
                                                   {5, 0},   {7, 64}, {64, 7}, {2, 513}, {100, 99}};
    for (const auto& [nx, ny] : pairs)
        for (uint32_t steady : {0, 1, 2})
        {
            SCOPED_TRACE(testing::Message() << nx << "+" << ny << ", steady " << steady);
            expectOwnBits<Sample>(rng, {nx, ny}, steady, Entry::Two);
        }
    // Groups of every size up to a full queue; with AVX they take the wide path.
    const uint32_t lengths[] = {64, 63, 0, 1, 2, 3, 7, 100, 64, 5, 4, 513};
    for (uint32_t count = 1; count <= 8; ++count)
        for (uint32_t first = 0; first + count <= std::size(lengths); first += 3)
        {
            SCOPED_TRACE(testing::Message() << count << " segments from " << first);
            expectOwnBits<Sample>(rng, std::vector<uint32_t>(lengths + first, lengths + first + count), 0x88,
                                  Entry::SideBySide);
        }
}

} // namespace

TEST(MatrixRamp, EveryEntryKeepsTheBitsOfItsDefinition)
{
    if (!Cpu::kHasAvx)
        std::printf("this processor has no AVX: only the baseline ramps are checked\n");
    std::mt19937 rng(1);
    expectOwnBitsEverywhere<double>(rng);
    expectOwnBitsEverywhere<float>(rng);
}

template <typename Sample>
void checkInPlace(std::mt19937& rng)
{
    const uint32_t n = 99;
    const StereoMatrix m = randomMatrix(rng, 2.0), d = randomMatrix(rng, 0.02);
    auto l = noise<Sample>(rng, n), r = noise<Sample>(rng, n);
    std::vector<Sample> wantL(n), wantR(n);
    MatrixRamp::ramp(m, d, n, l.data(), r.data(), wantL.data(), wantR.data());
    MatrixRamp::ramp(m, d, n, l.data(), r.data(), l.data(), r.data());
    EXPECT_EQ(l, wantL);
    EXPECT_EQ(r, wantR);
}

TEST(MatrixRamp, RampsWorkInPlace)
{
    std::mt19937 rng(4);
    checkInPlace<double>(rng);
    checkInPlace<float>(rng);
}
