#include "dsp/Crossover.h"
#include "dsp/CpuFeatures.h"
#include "tests/dsp/StereoReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using Dsp::Crossover;

namespace {

bool sameBits(const double* a, const double* b, int n)
{
    return std::memcmp(a, b, sizeof(double) * static_cast<size_t>(n)) == 0;
}

} // namespace

TEST(Crossover, SplitNeverRunsPastItsBuffers)
{
    Crossover x;
    std::vector<double> in(100, 0.5);
    EXPECT_EQ(x.split(100, in.data(), in.data()), 0); // before prepare there is nowhere to write
    ASSERT_TRUE(x.prepare(64, 44100));
    EXPECT_EQ(x.split(100, in.data(), in.data()), 64);
    EXPECT_EQ(x.split(-3, in.data(), in.data()), 0);
    EXPECT_EQ(x.split(10, nullptr, in.data()), 0);
    EXPECT_EQ(x.split(0, in.data(), in.data()), 0);
    std::vector<float> f(100, 0.5f);
    EXPECT_EQ(x.split(100, f.data(), f.data()), 64);
}

// The per-frame path must give exactly the bits of filtering band by band, and
// float input exactly the bits of the same samples as doubles, with the
// baseline registers and with AVX's wider ones alike.
TEST(Crossover, FusedSplitEqualsStageByStageAndFloatInputBitForBit)
{
    if (!Cpu::kHasAvx)
        std::printf("this processor has no AVX: only the baseline split is checked\n");
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    struct Variant
    {
        bool wide;
        int lr4;
    };
    for (const Variant variant : {Variant{true, 0}, Variant{true, 1}, Variant{false, 0}, Variant{false, 1}})
    {
        const bool wide = variant.wide;
        const int lr4 = variant.lr4;
        SCOPED_TRACE(wide ? "wide vectors" : "baseline vectors");
        Crossover fused, layered, narrow;
        for (Crossover* x : {&fused, &layered, &narrow})
        {
            ASSERT_TRUE(x->prepare(4096, 48000));
            x->setSlope(lr4);
            x->wideVectors = wide;
        }
        std::vector<double> left(4096), right(4096);
        std::vector<float> leftF(4096), rightF(4096);
        const int sizes[] = {1, 7, 512, 4096, 100, 300, 33};
        for (int round = 0; round < 3; ++round)
            for (int n : sizes)
            {
                for (int i = 0; i < n; ++i)
                {
                    left[i] = leftF[i] = noise(rng);
                    right[i] = rightF[i] = noise(rng);
                }
                if (n == 100) // glide mid-stream
                    for (Crossover* x : {&fused, &layered, &narrow})
                    {
                        x->frequency = 200 + 100 * static_cast<uint32_t>(round);
                        x->retune();
                    }
                ASSERT_EQ(fused.split(n, left.data(), right.data()), n);
                ASSERT_EQ(layered.splitStageByStage(n, left.data(), right.data()), n);
                ASSERT_EQ(narrow.split(n, leftF.data(), rightF.data()), n);
                for (int c = 0; c < 2; ++c)
                    for (const Crossover* other : {&layered, &narrow})
                    {
                        EXPECT_TRUE(sameBits(fused.lowBand[c], other->lowBand[c], n)) << lr4 << " " << n;
                        EXPECT_TRUE(sameBits(fused.highBand[c], other->highBand[c], n)) << lr4 << " " << n;
                    }
            }
    }
}

TEST(Crossover, StaysStableWhenTheCutoffWouldPassNyquist)
{
    // 800 Hz at a 1 kHz sample rate: the sections are kept below Nyquist,
    // stable and complementary. Bin-centred tones over one second, after one
    // second of settling; amplitudes from the DFT bin.
    constexpr int kRate = 1000;
    for (int lr4 : {0, 1})
        for (int hz : {30, 200, 420})
        {
            SCOPED_TRACE(testing::Message() << "LR-" << (lr4 ? 4 : 2) << ", " << hz << " Hz");
            Crossover x;
            x.frequency = 800;
            x.setSlope(lr4);
            ASSERT_TRUE(x.prepare(kRate, kRate));
            std::vector<double> in(kRate);
            std::complex<long double> low = 0, high = 0;
            for (int second = 0; second < 2; ++second)
            {
                for (int i = 0; i < kRate; ++i)
                    in[i] = std::sin(2 * M_PI * hz * i / kRate);
                ASSERT_EQ(x.split(kRate, in.data(), in.data()), kRate);
                for (int i = 0; second == 1 && i < kRate; ++i)
                {
                    const std::complex<long double> turn = std::polar(2.0L / kRate, -2 * kRefPi * hz * i / kRate);
                    low += static_cast<long double>(x.lowBand[1][i]) * turn;
                    high += static_cast<long double>(x.highBand[1][i]) * turn;
                }
            }
            EXPECT_NEAR(double(std::abs(low + high)), 1.0, 1e-3);
            EXPECT_LE(std::abs(low), 1.0001L);
            EXPECT_LE(std::abs(high), 1.0001L);
        }
}
