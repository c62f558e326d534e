// The ramps in AVX's 256-bit registers, taken only where the processor has
// it. Each lane runs the arithmetic of detail::DoubleRamp or detail::FloatRamp,
// so the bits are those of the baseline kernels.

#include "dsp/CpuFeatures.h"
#include "dsp/MatrixRamp.h"

#include <algorithm>
#include <immintrin.h>
#include <utility>

namespace MatrixRamp::detail {

namespace {

// The running matrix (m00, m01 | m10, m11) in one register, advanced after
// every frame; each frame's input pair is read as (l, l | r, r).
class WideDoubleRamp
{
public:
    static constexpr uint32_t kStepFrames = 1;
    uint32_t end; // frames

    KV_AVX explicit WideDoubleRamp(const Segment<double>& s)
        : end(s.n), m(_mm256_loadu_pd(&s.start.m00)), d(_mm256_loadu_pd(&s.step.m00)), inL(s.inL), inR(s.inR),
          outL(s.outL), outR(s.outR)
    {
    }

    KV_AVX void step(uint32_t i)
    {
        const __m256d lr = _mm256_blend_pd(_mm256_broadcast_sd(inL + i), _mm256_broadcast_sd(inR + i), 0b1100);
        const __m256d products = _mm256_mul_pd(lr, m);
        const __m128d out = _mm_add_pd(_mm256_castpd256_pd128(products), _mm256_extractf128_pd(products, 1));
        _mm_storel_pd(outL + i, out);
        _mm_storeh_pd(outR + i, out);
        m = _mm256_add_pd(m, d);
    }

    KV_AVX void finish(uint32_t i)
    {
        for (; i < end; ++i)
            step(i);
    }

private:
    __m256d m, d;
    const double* inL;
    const double* inR;
    double* outL;
    double* outR;
};

// The running matrix of four frames in two registers: a = (m00 of frames
// 0..3 | m01 of frames 0..3), b the same for m10 and m11. Frames 0 and 1 are
// the lanes the baseline kernel starts from; frames 2 and 3 are those lanes
// after one step, so that the frames of one parity form the baseline's chain.
// Four frames then go in one multiply-add, with the input read once into both
// halves and the output stored as a left and a right half.
class WideFloatRamp
{
public:
    static constexpr uint32_t kStepFrames = 4;
    uint32_t end; // frames of the even part: an odd first frame goes alone

    KV_AVX explicit WideFloatRamp(const Segment<float>& s)
    {
        const FloatLanes start = startFloatRamp(s);
        end = start.end;
        inL = start.inL, inR = start.inR, outL = start.outL, outR = start.outR;
        const __m128 a1 = _mm_add_ps(start.a, start.da), b1 = _mm_add_ps(start.b, start.db);
        a = _mm256_setr_m128(_mm_movelh_ps(start.a, a1), _mm_movehl_ps(a1, start.a));
        b = _mm256_setr_m128(_mm_movelh_ps(start.b, b1), _mm_movehl_ps(b1, start.b));
        da = _mm256_setr_m128(_mm_shuffle_ps(start.da, start.da, 0x00), _mm_shuffle_ps(start.da, start.da, 0xaa));
        db = _mm256_setr_m128(_mm_shuffle_ps(start.db, start.db, 0x00), _mm_shuffle_ps(start.db, start.db, 0xaa));
    }

    // Frames i to i + 3 of the even part: two baseline steps.
    KV_AVX void step(uint32_t i)
    {
        const __m256 l = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(inL + i));
        const __m256 r = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(inR + i));
        const __m256 out = _mm256_add_ps(_mm256_mul_ps(l, a), _mm256_mul_ps(r, b));
        _mm_storeu_ps(outL + i, _mm256_castps256_ps128(out));
        _mm_storeu_ps(outR + i, _mm256_extractf128_ps(out, 1));
        a = _mm256_add_ps(_mm256_add_ps(a, da), da);
        b = _mm256_add_ps(_mm256_add_ps(b, db), db);
    }

    // Frames i and i + 1, the last two: the first two frames' lanes only.
    KV_AVX void two(uint32_t i)
    {
        const __m128 a2 = _mm_movelh_ps(_mm256_castps256_ps128(a), _mm256_extractf128_ps(a, 1));
        const __m128 b2 = _mm_movelh_ps(_mm256_castps256_ps128(b), _mm256_extractf128_ps(b, 1));
        const __m128 out = _mm_add_ps(_mm_mul_ps(loadPairTwice(inL + i), a2), _mm_mul_ps(loadPairTwice(inR + i), b2));
        _mm_storel_pi(reinterpret_cast<__m64*>(outL + i), out);
        _mm_storeh_pi(reinterpret_cast<__m64*>(outR + i), out);
    }

    // Frames i..end-1.
    KV_AVX void finish(uint32_t i)
    {
        for (; i + 4 <= end; i += 4)
            step(i);
        if (i < end)
            two(i);
    }

private:
    __m256 a, b, da, db;
    const float* inL;
    const float* inR;
    float* outL;
    float* outR;
};

// Ramps side by side, a step each in turn while all have a step left: each
// frame waits for the running matrix of an earlier frame, and several
// segments keep several such chains in flight.
template <typename Ramp, typename Sample, uint32_t... K>
KV_AVX void interleave(const Segment<Sample>* segments, std::integer_sequence<uint32_t, K...>)
{
    Ramp ramps[] = {Ramp(segments[K])...};
    const uint32_t shortest = std::min({ramps[K].end...});
    constexpr uint32_t frames = Ramp::kStepFrames;
    uint32_t i = 0;
    for (; i + frames <= shortest; i += frames)
        (ramps[K].step(i), ...);
    (ramps[K].finish(i), ...);
}

// Four at a time, then the rest together; a lone segment keeps the steady
// path of ramp().
template <typename Ramp, typename Sample>
KV_AVX void rampWide(const Segment<Sample>* segments, uint32_t count)
{
    for (; count >= 4; segments += 4, count -= 4)
        interleave<Ramp>(segments, std::make_integer_sequence<uint32_t, 4>());
    if (count == 3)
        interleave<Ramp>(segments, std::make_integer_sequence<uint32_t, 3>());
    else if (count == 2)
        interleave<Ramp>(segments, std::make_integer_sequence<uint32_t, 2>());
    else if (count == 1)
        ramp(*segments);
}

} // namespace

KV_AVX void rampWide(const Segment<double>* segments, uint32_t count)
{
    rampWide<WideDoubleRamp>(segments, count);
}

KV_AVX void rampWide(const Segment<float>* segments, uint32_t count)
{
    rampWide<WideFloatRamp>(segments, count);
}

} // namespace MatrixRamp::detail
