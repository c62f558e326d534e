#include "dsp/Crossover.h"
#include "dsp/CpuFeatures.h"

#include <algorithm>
#include <immintrin.h> // SSE2, part of the x86-64 baseline; AVX where the processor has it
#include <new>

namespace Dsp {

namespace {

// One section's coefficients and the Direct Form II state of both channels:
// left in the low lane, right in the high lane.
struct StereoSection
{
    StereoSection(const SecondOrderSection& s, const DirectFormII (&state)[2])
        : a1(_mm_set1_pd(s.a1)), a2(_mm_set1_pd(s.a2)), b0(_mm_set1_pd(s.b0)), b1(_mm_set1_pd(s.b1)),
          b2(_mm_set1_pd(s.b2)), offset(_mm_setr_pd(state[0].offset, state[1].offset)),
          w1(_mm_setr_pd(state[0].w1, state[1].w1)), w2(_mm_setr_pd(state[0].w2, state[1].w2))
    {
    }

    // DirectFormII::process, lane by lane.
    __m128d process(__m128d x)
    {
        offset = _mm_xor_pd(offset, _mm_set1_pd(-0.0));
        const __m128d w = _mm_add_pd(_mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(a1, w1)), _mm_mul_pd(a2, w2)), offset);
        const __m128d y = _mm_add_pd(_mm_add_pd(_mm_mul_pd(b0, w), _mm_mul_pd(b1, w1)), _mm_mul_pd(b2, w2));
        w2 = w1;
        w1 = w;
        return y;
    }

    void save(DirectFormII (&state)[2]) const
    {
        _mm_storel_pd(&state[0].offset, offset);
        _mm_storeh_pd(&state[1].offset, offset);
        _mm_storel_pd(&state[0].w1, w1);
        _mm_storeh_pd(&state[1].w1, w1);
        _mm_storel_pd(&state[0].w2, w2);
        _mm_storeh_pd(&state[1].w2, w2);
    }

    __m128d a1, a2, b0, b1, b2;
    __m128d offset, w1, w2;
};

} // namespace

Crossover::Crossover()
{
    retune();
}

bool Crossover::prepare(uint32_t maxSamples, uint32_t newSampleRate)
{
    if (capacity < maxSamples)
    {
        // allocate all four before giving up the old ones, so a failure leaves
        // usable buffers behind
        std::unique_ptr<double[]> fresh[4];
        for (auto& buffer : fresh)
        {
            buffer.reset(new (std::nothrow) double[maxSamples]());
            if (!buffer)
                return false;
        }
        for (int i = 0; i < 4; ++i)
            buffers[i] = std::move(fresh[i]);
        lowBand[0] = buffers[0].get();
        highBand[0] = buffers[1].get();
        lowBand[1] = buffers[2].get();
        highBand[1] = buffers[3].get();
        capacity = maxSamples;
    }
    if (newSampleRate != sampleRate)
    {
        sampleRate = newSampleRate;
        retune();
    }
    return true;
}

void Crossover::setSlope(int slope)
{
    const int32_t flag = slope != 0 ? 1 : 0;
    if (flag == lr4)
        return;
    lr4 = flag;
    retune();
    // the old sections' states mean nothing to the new ones
    lowA.clearState();
    lowB.clearState();
    highA.clearState();
    highB.clearState();
}

void Crossover::retune()
{
    double params[Filter::kMaxParams] = {};
    params[Butterworth::kSampleRateSlot] = sampleRate;
    params[Butterworth::kOrderSlot] = lr4 == 1 ? 2.0 : 1.0;
    params[Butterworth::kCutoffSlot] = frequency;
    lowA.assignParams(params);
    lowB.assignParams(params);
    highA.assignParams(params);
    highB.assignParams(params);
}

int Crossover::split(int numSamples, const double* inL, const double* inR)
{
    return splitBlock(numSamples, inL, inR);
}

int Crossover::split(int numSamples, const float* inL, const float* inR)
{
    return splitBlock(numSamples, inL, inR);
}

int Crossover::splitStageByStage(int numSamples, const double* inL, const double* inR)
{
    const int count = usableLength(numSamples, inL, inR);
    if (count == 0)
        return 0;
    std::copy(inL, inL + count, lowBand[0]);
    std::copy(inR, inR + count, lowBand[1]);
    filterStageByStage(count);
    return count;
}

int Crossover::usableLength(int numSamples, const void* inL, const void* inR) const
{
    if (numSamples <= 0 || !inL || !inR || capacity == 0)
        return 0;
    return static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(numSamples), capacity));
}

bool Crossover::anyGliding() const
{
    return lowA.isGliding() || lowB.isGliding() || highA.isGliding() || highB.isGliding();
}

template <typename Sample>
int Crossover::splitBlock(int numSamples, const Sample* inL, const Sample* inR)
{
    const int count = usableLength(numSamples, inL, inR);
    if (count == 0)
        return 0;
    if (anyGliding())
    {
        // the glide redesigns per sample: run it filter by filter
        std::copy(inL, inL + count, lowBand[0]);
        std::copy(inR, inR + count, lowBand[1]);
        filterStageByStage(count);
    }
    else
    {
        splitFused(count, inL, inR);
    }
    return count;
}

void Crossover::filterStageByStage(int numSamples)
{
    std::copy(lowBand[0], lowBand[0] + numSamples, highBand[0]);
    std::copy(lowBand[1], lowBand[1] + numSamples, highBand[1]);
    highA.processBlock(numSamples, highBand);
    highB.processBlock(numSamples, highBand);
    lowA.processBlock(numSamples, lowBand);
    lowB.processBlock(numSamples, lowBand);
    if (lr4 == 0)
    {
        // the two order-1 high-pass sections are each inverted; restore the band's sign
        for (double* band : highBand)
            for (int i = 0; i < numSamples; ++i)
                band[i] = -band[i];
    }
}

template <typename Sample>
void Crossover::splitFused(int numSamples, const Sample* inL, const Sample* inR)
{
    if (wideVectors && Cpu::kHasAvx)
        splitFusedAvx(numSamples, inL, inR);
    else
        splitFusedSse2(numSamples, inL, inR);
}

// All four sections in one pass per sample, both channels side by side in
// the two lanes of a register (they share the coefficients). Each lane runs
// exactly the operations of DirectFormII::process in the same order, so the
// output bits are those of filterStageByStage.
template <typename Sample>
void Crossover::splitFusedSse2(int numSamples, const Sample* inL, const Sample* inR)
{
    StereoSection highFirst(highA.design.chain.sections[0], highA.channelState);
    StereoSection highSecond(highB.design.chain.sections[0], highB.channelState);
    StereoSection lowFirst(lowA.design.chain.sections[0], lowA.channelState);
    StereoSection lowSecond(lowB.design.chain.sections[0], lowB.channelState);
    // LR-2: the two inverted order-1 high-pass sections; the band's sign is restored
    const __m128d highSign = _mm_set1_pd(lr4 == 0 ? -0.0 : 0.0);

    for (int i = 0; i < numSamples; ++i)
    {
        const __m128d x = _mm_setr_pd(static_cast<double>(inL[i]), static_cast<double>(inR[i]));
        const __m128d high = _mm_xor_pd(highSecond.process(highFirst.process(x)), highSign);
        const __m128d low = lowSecond.process(lowFirst.process(x));
        _mm_storel_pd(highBand[0] + i, high);
        _mm_storeh_pd(highBand[1] + i, high);
        _mm_storel_pd(lowBand[0] + i, low);
        _mm_storeh_pd(lowBand[1] + i, low);
    }
    highFirst.save(highA.channelState);
    highSecond.save(highB.channelState);
    lowFirst.save(lowA.channelState);
    lowSecond.save(lowB.channelState);
    highA.recoverNonFiniteState();
    highB.recoverNonFiniteState();
    lowA.recoverNonFiniteState();
    lowB.recoverNonFiniteState();
}

// The wider path, compiled for AVX and taken only where the processor has it.

namespace {

// Two sections side by side for both channels: lanes (left, right) of the
// first section, then (left, right) of the second, each with its own
// coefficients. Every lane runs DirectFormII::process as StereoSection does.
struct SectionPair
{
    KV_AVX SectionPair(const SecondOrderSection& s, const DirectFormII (&state)[2], const SecondOrderSection& t,
                       const DirectFormII (&tState)[2])
        : a1(_mm256_setr_pd(s.a1, s.a1, t.a1, t.a1)), a2(_mm256_setr_pd(s.a2, s.a2, t.a2, t.a2)),
          b0(_mm256_setr_pd(s.b0, s.b0, t.b0, t.b0)), b1(_mm256_setr_pd(s.b1, s.b1, t.b1, t.b1)),
          b2(_mm256_setr_pd(s.b2, s.b2, t.b2, t.b2)),
          offset(_mm256_setr_pd(state[0].offset, state[1].offset, tState[0].offset, tState[1].offset)),
          w1(_mm256_setr_pd(state[0].w1, state[1].w1, tState[0].w1, tState[1].w1)),
          w2(_mm256_setr_pd(state[0].w2, state[1].w2, tState[0].w2, tState[1].w2))
    {
    }

    KV_AVX __m256d process(__m256d x)
    {
        offset = _mm256_xor_pd(offset, _mm256_set1_pd(-0.0));
        const __m256d w =
            _mm256_add_pd(_mm256_sub_pd(_mm256_sub_pd(x, _mm256_mul_pd(a1, w1)), _mm256_mul_pd(a2, w2)), offset);
        const __m256d y =
            _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(b0, w), _mm256_mul_pd(b1, w1)), _mm256_mul_pd(b2, w2));
        w2 = w1;
        w1 = w;
        return y;
    }

    KV_AVX void save(DirectFormII (&state)[2], DirectFormII (&tState)[2]) const
    {
        alignas(32) double lanes[3][4];
        _mm256_store_pd(lanes[0], offset);
        _mm256_store_pd(lanes[1], w1);
        _mm256_store_pd(lanes[2], w2);
        DirectFormII* const all[4] = {&state[0], &state[1], &tState[0], &tState[1]};
        for (int lane = 0; lane < 4; ++lane)
        {
            all[lane]->offset = lanes[0][lane];
            all[lane]->w1 = lanes[1][lane];
            all[lane]->w2 = lanes[2][lane];
        }
    }

    __m256d a1, a2, b0, b1, b2;
    __m256d offset, w1, w2;
};

} // namespace

// The same with the high and the low band side by side as well: the first
// sections of both bands in one register of four lanes, the second sections
// in another, which halves the arithmetic per sample. Bits as above.
template <typename Sample>
KV_AVX void Crossover::splitFusedAvx(int numSamples, const Sample* inL, const Sample* inR)
{
    SectionPair first(highA.design.chain.sections[0], highA.channelState, lowA.design.chain.sections[0],
                      lowA.channelState);
    SectionPair second(highB.design.chain.sections[0], highB.channelState, lowB.design.chain.sections[0],
                       lowB.channelState);
    // LR-2: the two inverted order-1 high-pass sections; the band's sign is restored
    const double highSign = lr4 == 0 ? -0.0 : 0.0;
    const __m256d sign = _mm256_setr_pd(highSign, highSign, 0.0, 0.0);

    for (int i = 0; i < numSamples; ++i)
    {
        const __m128d pair = _mm_setr_pd(static_cast<double>(inL[i]), static_cast<double>(inR[i]));
        const __m256d x = _mm256_insertf128_pd(_mm256_castpd128_pd256(pair), pair, 1);
        const __m256d bands = _mm256_xor_pd(second.process(first.process(x)), sign); // high L, R, low L, R
        const __m128d high = _mm256_castpd256_pd128(bands);
        const __m128d low = _mm256_extractf128_pd(bands, 1);
        _mm_storel_pd(highBand[0] + i, high);
        _mm_storeh_pd(highBand[1] + i, high);
        _mm_storel_pd(lowBand[0] + i, low);
        _mm_storeh_pd(lowBand[1] + i, low);
    }
    first.save(highA.channelState, lowA.channelState);
    second.save(highB.channelState, lowB.channelState);
    highA.recoverNonFiniteState();
    highB.recoverNonFiniteState();
    lowA.recoverNonFiniteState();
    lowB.recoverNonFiniteState();
}

} // namespace Dsp
