#include "dsp/Crossover.h"
#include "dsp/CpuFeatures.h"
#include "tests/dsp/ChainReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

using Dsp::Crossover;

namespace {

// Amplitude of the sinusoid at w radians per sample in x, by a least-squares
// fit of a sin + b cos (exact for a pure tone whatever the window length).
long double toneAmplitude(const std::vector<double>& x, long double w, long start)
{
    // e^{jwn} by rotation, from e^{jw start}
    const long double stepC = std::cos(w), stepS = std::sin(w);
    long double c = std::cos(w * start), s = std::sin(w * start);
    long double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
    for (double v : x)
    {
        ss += s * s;
        sc += s * c;
        cc += c * c;
        xs += v * s;
        xc += v * c;
        const long double nextC = c * stepC - s * stepS;
        s = s * stepC + c * stepS;
        c = nextC;
    }
    const long double det = ss * cc - sc * sc;
    const long double a = (xs * cc - xc * sc) / det;
    const long double b = (xc * ss - xs * sc) / det;
    return std::sqrt(a * a + b * b);
}

long double toDb(long double amplitude)
{
    return 20.0L * std::log10(amplitude);
}

struct Measured
{
    long double low, high, sum; // amplitudes of a unit sine
};

// Runs a unit sine of `hz` through the crossover until its transients have
// died away, then measures the bands and their sum.
Measured measure(Crossover& x, uint32_t sampleRate, double hz)
{
    const int block = static_cast<int>(x.capacity);
    const long settle = std::max(2048L, static_cast<long>(0.25 * sampleRate)); // past any glide
    const long window = static_cast<long>(0.1 * sampleRate + 4.0 * sampleRate / hz);
    const long double w = 2 * kRefPi * hz / sampleRate;
    std::vector<double> in(block), low, high, sum;
    low.reserve(window);
    high.reserve(window);
    sum.reserve(window);
    for (long n = 0; n < settle + window; n += block)
    {
        const int count = static_cast<int>(std::min<long>(block, settle + window - n));
        for (int i = 0; i < count; ++i)
            in[i] = std::sin(static_cast<double>(w * (n + i)));
        EXPECT_EQ(x.split(count, in.data(), in.data()), count);
        for (int i = 0; i < count; ++i)
            if (n + i >= settle)
            {
                low.push_back(x.lowBand[1][i]);
                high.push_back(x.highBand[1][i]);
                sum.push_back(x.lowBand[1][i] + x.highBand[1][i]);
            }
    }
    return {toneAmplitude(low, w, settle), toneAmplitude(high, w, settle), toneAmplitude(sum, w, settle)};
}

void configure(Crossover& x, uint32_t sampleRate, uint32_t frequency, int lr4)
{
    x.frequency = frequency;
    x.setSlope(lr4);
    ASSERT_TRUE(x.prepare(1024, sampleRate));
    x.retune();
}

std::vector<double> thirdOctaves()
{
    std::vector<double> f;
    for (int k = -17; k <= 13; ++k) // 20 Hz .. 20 kHz
        f.push_back(1000.0 * std::pow(2.0, k / 3.0));
    f.front() = 20.0;
    f.back() = 20000.0;
    return f;
}

bool sameBits(const double* a, const double* b, int n)
{
    return std::memcmp(a, b, sizeof(double) * static_cast<size_t>(n)) == 0;
}

} // namespace

// Sum of the bands is flat and each band is -6 dB at the crossover frequency,
// measured on sines for both slopes, several frequencies and sample rates.
class CrossoverResponse : public testing::TestWithParam<std::tuple<uint32_t, uint32_t, int>>
{};

TEST_P(CrossoverResponse, AllPassSumAndHalfAmplitudeAtCrossover)
{
    const auto [sampleRate, frequency, lr4] = GetParam();
    Crossover x;
    configure(x, sampleRate, frequency, lr4);

    const Measured atCrossover = measure(x, sampleRate, frequency);
    EXPECT_NEAR(double(toDb(atCrossover.low)), -6.0206, 0.01);
    EXPECT_NEAR(double(toDb(atCrossover.high)), -6.0206, 0.01);

    const int order = lr4 ? 2 : 1;
    for (double hz : thirdOctaves())
    {
        if (hz >= 0.45 * sampleRate)
            continue;
        const Measured m = measure(x, sampleRate, hz);
        EXPECT_NEAR(double(toDb(m.sum)), 0.0, 0.01) << hz << " Hz";
        // each band is a squared pre-warped Butterworth magnitude
        const long double lowExpected = ChainReference::lowBandMagnitude(hz, frequency, sampleRate, order);
        const long double highExpected = ChainReference::highBandMagnitude(hz, frequency, sampleRate, order);
        if (lowExpected > 1e-2L)
        {
            EXPECT_NEAR(double(toDb(m.low)), double(toDb(lowExpected)), 0.01) << hz << " Hz low";
        }
        if (highExpected > 1e-2L)
        {
            EXPECT_NEAR(double(toDb(m.high)), double(toDb(highExpected)), 0.01) << hz << " Hz high";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RatesFrequenciesSlopes, CrossoverResponse,
                         testing::Combine(testing::Values(44100u, 48000u, 96000u, 192000u),
                                          testing::Values(100u, 300u, 800u), testing::Values(0, 1)));

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

TEST(Crossover, RecoversFromNonFiniteInput)
{
    for (double bad : {std::nan(""), HUGE_VAL})
        for (int lr4 : {0, 1})
        {
            Crossover x;
            ASSERT_TRUE(x.prepare(512, 44100));
            x.setSlope(lr4);
            std::vector<double> left(512, 0.2), right(512, 0.2);
            left[17] = bad;
            x.split(512, left.data(), right.data());
            const long double w = 2 * kRefPi * 1000 / 44100;
            std::vector<double> tail;
            for (int block = 0; block < 8; ++block)
            {
                for (int i = 0; i < 512; ++i)
                    left[i] = right[i] = static_cast<double>(std::sin(w * (block * 512 + i)));
                x.split(512, left.data(), right.data());
                for (int i = 0; i < 512; ++i)
                {
                    ASSERT_TRUE(std::isfinite(x.lowBand[0][i]) && std::isfinite(x.highBand[0][i]))
                        << "block " << block << " sample " << i;
                    if (block >= 4)
                        tail.push_back(x.lowBand[0][i] + x.highBand[0][i]);
                }
            }
            // the split works as before: the sum of the bands is the unit sine again
            EXPECT_NEAR(double(toDb(toneAmplitude(tail, w, 4 * 512))), 0.0, 0.01);
        }
}

TEST(Crossover, StaysStableWhenTheCutoffWouldPassNyquist)
{
    // 800 Hz at a 1 kHz sample rate: the sections are kept below Nyquist, stable and complementary
    for (int lr4 : {0, 1})
    {
        Crossover x;
        x.frequency = 800;
        x.setSlope(lr4);
        ASSERT_TRUE(x.prepare(1024, 1000));
        for (double hz : {30.0, 200.0, 420.0})
        {
            const Measured m = measure(x, 1000, hz);
            EXPECT_NEAR(double(toDb(m.sum)), 0.0, 0.01) << hz;
            EXPECT_LE(m.low, 1.0001L);
            EXPECT_LE(m.high, 1.0001L);
        }
    }
}
