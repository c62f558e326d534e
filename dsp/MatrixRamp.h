#pragma once

#include "dsp/CpuFeatures.h"
#include "dsp/StereoMatrix.h"

#include <cstdint>
#include <cstring>
#include <emmintrin.h> // SSE2: part of the x86-64 baseline
#include <type_traits>

// The per-sample kernels of the processing chain. A ramp multiplies each sample
// pair by a matrix that starts at M and grows by D after every sample:
//   outL[i] = inL[i]*M.m00 + inR[i]*M.m10,  outR[i] = inL[i]*M.m01 + inR[i]*M.m11,  M += D.
// Outputs may be the inputs. Every kernel keeps the bits of that sequential
// arithmetic: loops may be fused and laid out in lanes, never reassociated.
// When D is zero (steady settings), M + D + D equals M + D bit for bit: every
// frame after the first uses M + D and no running matrix is kept.
namespace MatrixRamp {

inline bool isZero(const StereoMatrix& d)
{
    return d.m00 == 0.0 && d.m01 == 0.0 && d.m10 == 0.0 && d.m11 == 0.0;
}

namespace detail {

// One sample pair times the rows r0 = (m00, m01), r1 = (m10, m11): (outL, outR).
inline __m128d apply(double l, double r, __m128d r0, __m128d r1)
{
    return _mm_add_pd(_mm_mul_pd(_mm_set1_pd(l), r0), _mm_mul_pd(_mm_set1_pd(r), r1));
}

inline void store(__m128d lr, double* outL, double* outR)
{
    _mm_storel_pd(outL, lr);
    _mm_storeh_pd(outR, lr);
}

// Two sample pairs of doubles: rows per lane pair as in apply(), lane sums
// stored as (outL[0], outL[1]) and (outR[0], outR[1]).
inline void store2(__m128d lr0, __m128d lr1, double* outL, double* outR)
{
    _mm_storeu_pd(outL, _mm_unpacklo_pd(lr0, lr1));
    _mm_storeu_pd(outR, _mm_unpackhi_pd(lr0, lr1));
}

// (x[0], x[1], x[0], x[1]) from two floats at any alignment.
inline __m128 loadPairTwice(const float* x)
{
    const __m128 pair = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(x)));
    return _mm_movelh_ps(pair, pair);
}

} // namespace detail

// One full-band ramp: a segment's start matrix, its step and its samples.
template <typename Sample>
struct Segment
{
    StereoMatrix start, step;
    uint32_t n;
    const Sample* inL;
    const Sample* inR;
    Sample* outL;
    Sample* outR;
};

namespace detail {

// A 64-bit ramp in progress: the running matrix as rows r0 and r1, advanced
// after every frame.
class DoubleRamp
{
public:
    const uint32_t end; // frames

    explicit DoubleRamp(const Segment<double>& s)
        : end(s.n), r0(_mm_load_pd(&s.start.m00)), r1(_mm_load_pd(&s.start.m10)), d0(_mm_load_pd(&s.step.m00)),
          d1(_mm_load_pd(&s.step.m10)), inL(s.inL), inR(s.inR), outL(s.outL), outR(s.outR)
    {
    }

    // Takes the frames that go before the steps; returns the first frame left.
    uint32_t begin()
    {
        one(0);
        return 1;
    }

    // The first frame, or a last odd one.
    void one(uint32_t i) { store(next(i), outL + i, outR + i); }
    void two(uint32_t i)
    {
        const __m128d a = next(i);
        const __m128d b = next(i + 1);
        store2(a, b, outL + i, outR + i);
    }
    // Frames i..end-1 of a ramp whose step is zero, after its first step: the
    // matrix no longer changes, so two frames go per step with the frames in
    // the lanes.
    void steady(uint32_t i)
    {
        const __m128d m00 = _mm_unpacklo_pd(r0, r0), m01 = _mm_unpackhi_pd(r0, r0);
        const __m128d m10 = _mm_unpacklo_pd(r1, r1), m11 = _mm_unpackhi_pd(r1, r1);
        for (; i + 2 <= end; i += 2)
        {
            const __m128d l = _mm_loadu_pd(inL + i), r = _mm_loadu_pd(inR + i);
            _mm_storeu_pd(outL + i, _mm_add_pd(_mm_mul_pd(l, m00), _mm_mul_pd(r, m10)));
            _mm_storeu_pd(outR + i, _mm_add_pd(_mm_mul_pd(l, m01), _mm_mul_pd(r, m11)));
        }
        if (i < end)
            one(i);
    }
    // Frames i..end-1.
    void finish(uint32_t i)
    {
        for (; i + 2 <= end; i += 2)
            two(i);
        if (i < end)
            one(i);
    }

    static constexpr uint32_t kStepFrames = 2;
    void step(uint32_t i) { two(i); }

private:
    __m128d next(uint32_t i)
    {
        const __m128d lr = apply(inL[i], inR[i], r0, r1);
        r0 = _mm_add_pd(r0, d0);
        r1 = _mm_add_pd(r1, d1);
        return lr;
    }

    __m128d r0, r1;
    const __m128d d0, d1;
    const double* inL;
    const double* inR;
    double* outL;
    double* outR;
};

// Where a 32-bit ramp's steps begin. An odd first frame goes alone, in double
// precision; then two frames per step in four single-precision lanes
// a = (m00, m00', m01, m01') and b = (m10, m10', m11, m11'), where ' is the
// next frame's matrix, and each step adds 2*D rounded to single precision.
struct FloatLanes
{
    uint32_t end; // frames of the even part
    const float* inL;
    const float* inR;
    float* outL;
    float* outR;
    __m128 a, b, da, db;
};

inline FloatLanes startFloatRamp(const Segment<float>& s)
{
    FloatLanes lanes{s.n & ~1u, s.inL, s.inR, s.outL, s.outR, {}, {}, {}, {}};
    StereoMatrix m = s.start;
    if (s.n & 1)
    {
        const double l = lanes.inL[0], r = lanes.inR[0];
        lanes.outL[0] = float(l * m.m00 + r * m.m10);
        lanes.outR[0] = float(l * m.m01 + r * m.m11);
        m = m + s.step;
        ++lanes.inL, ++lanes.inR, ++lanes.outL, ++lanes.outR;
    }
    const StereoMatrix next = m + s.step;
    lanes.a = _mm_setr_ps(float(m.m00), float(next.m00), float(m.m01), float(next.m01));
    lanes.b = _mm_setr_ps(float(m.m10), float(next.m10), float(m.m11), float(next.m11));
    const float s00 = float(2.0 * s.step.m00), s01 = float(2.0 * s.step.m01);
    const float s10 = float(2.0 * s.step.m10), s11 = float(2.0 * s.step.m11);
    lanes.da = _mm_setr_ps(s00, s00, s01, s01);
    lanes.db = _mm_setr_ps(s10, s10, s11, s11);
    return lanes;
}

// A 32-bit ramp in progress, in the lanes above.
class FloatRamp : private FloatLanes
{
public:
    using FloatLanes::end;

    explicit FloatRamp(const Segment<float>& s) : FloatLanes(startFloatRamp(s)) {}

    // The odd frame went when the ramp started: the steps begin at frame 0.
    uint32_t begin() { return 0; }

    // Frames i and i + 1 of the even part.
    void two(uint32_t i)
    {
        const __m128 l = loadPairTwice(inL + i);
        const __m128 r = loadPairTwice(inR + i);
        const __m128 out = _mm_add_ps(_mm_mul_ps(l, a), _mm_mul_ps(r, b));
        _mm_storel_pi(reinterpret_cast<__m64*>(outL + i), out);
        _mm_storeh_pi(reinterpret_cast<__m64*>(outR + i), out);
        a = _mm_add_ps(a, da);
        b = _mm_add_ps(b, db);
    }
    // Frames i..end-1 of the even part after the first step of a zero step:
    // both lanes of each entry now hold the same value, so four frames go per
    // step with the frames in the lanes.
    void steady(uint32_t i)
    {
        const __m128 m00 = _mm_shuffle_ps(a, a, 0x00), m01 = _mm_shuffle_ps(a, a, 0xaa);
        const __m128 m10 = _mm_shuffle_ps(b, b, 0x00), m11 = _mm_shuffle_ps(b, b, 0xaa);
        for (; i + 4 <= end; i += 4)
        {
            const __m128 l = _mm_loadu_ps(inL + i), r = _mm_loadu_ps(inR + i);
            _mm_storeu_ps(outL + i, _mm_add_ps(_mm_mul_ps(l, m00), _mm_mul_ps(r, m10)));
            _mm_storeu_ps(outR + i, _mm_add_ps(_mm_mul_ps(l, m01), _mm_mul_ps(r, m11)));
        }
        if (i < end)
            two(i);
    }
    // Frames i to i + 3: two steps, loaded and stored four frames at a time.
    void four(uint32_t i)
    {
        const __m128 l = _mm_loadu_ps(inL + i), r = _mm_loadu_ps(inR + i);
        const __m128 first = _mm_add_ps(_mm_mul_ps(_mm_movelh_ps(l, l), a), _mm_mul_ps(_mm_movelh_ps(r, r), b));
        a = _mm_add_ps(a, da);
        b = _mm_add_ps(b, db);
        const __m128 second = _mm_add_ps(_mm_mul_ps(_mm_movehl_ps(l, l), a), _mm_mul_ps(_mm_movehl_ps(r, r), b));
        a = _mm_add_ps(a, da);
        b = _mm_add_ps(b, db);
        // first = (L0, L1, R0, R1), second = (L2, L3, R2, R3)
        _mm_storeu_ps(outL + i, _mm_movelh_ps(first, second));
        _mm_storeu_ps(outR + i, _mm_movehl_ps(second, first));
    }
    // Frames i..end-1.
    void finish(uint32_t i)
    {
        for (; i + 4 <= end; i += 4)
            four(i);
        if (i < end)
            two(i);
    }

    static constexpr uint32_t kStepFrames = 4;
    void step(uint32_t i) { four(i); }
};

template <typename Sample>
using RampOf = std::conditional_t<sizeof(Sample) == sizeof(double), DoubleRamp, FloatRamp>;

} // namespace detail

// Outputs may be the inputs. The 64-bit ramp uses paired doubles one frame
// at a time; the 32-bit ramp is described at detail::FloatRamp.
template <typename Sample>
inline void ramp(const Segment<Sample>& s)
{
    if (s.n == 0)
        return;
    detail::RampOf<Sample> r(s);
    if (isZero(s.step) && r.end >= 2)
    {
        // The first step leaves the matrix at its final value; the frames
        // after it go in steady steps, from a frame 16-byte aligned as the
        // host's buffers are.
        constexpr uint32_t kAlignedFrame = 16 / sizeof(Sample);
        uint32_t i = 0;
        do
        {
            r.two(i);
            i += 2;
        } while (i < kAlignedFrame && i + 2 <= r.end);
        r.steady(i);
        return;
    }
    r.finish(r.begin());
}

// Two independent ramps, each with the bits it has alone. Each frame waits
// for the running matrix of the frame before it; interleaving two segments
// keeps two such chains in flight.
template <typename Sample>
inline void rampTwo(const Segment<Sample>& x, const Segment<Sample>& y)
{
    if (x.n == 0 || y.n == 0 || isZero(x.step) || isZero(y.step))
    {
        ramp(x);
        ramp(y);
        return;
    }
    detail::RampOf<Sample> rx(x), ry(y);
    uint32_t i = rx.begin(), j = ry.begin();
    constexpr uint32_t k = detail::RampOf<Sample>::kStepFrames;
    for (; i + k <= rx.end && j + k <= ry.end; i += k, j += k)
    {
        rx.step(i);
        ry.step(j);
    }
    rx.finish(i);
    ry.finish(j);
}

namespace detail {
// Ramps segments side by side in 256-bit registers; AVX only.
void rampWide(const Segment<double>* segments, uint32_t count);
void rampWide(const Segment<float>* segments, uint32_t count);
} // namespace detail

// Ramps of neighbouring segments, each with the bits it has alone. Where the
// processor has AVX, they go up to four at a time in its wider registers, the
// 32-bit ones four frames a step; otherwise two by two. A lone segment keeps
// the steady path of ramp().
template <typename Sample>
inline void rampSideBySide(const Segment<Sample>* segments, uint32_t count)
{
    if (count == 1)
    {
        ramp(segments[0]);
        return;
    }
    if (Cpu::kHasAvx)
    {
        detail::rampWide(segments, count);
        return;
    }
    for (; count >= 2; segments += 2, count -= 2)
        rampTwo(segments[0], segments[1]);
    if (count == 1)
        ramp(segments[0]);
}

inline void ramp(const StereoMatrix& m, const StereoMatrix& d, uint32_t n, const double* inL, const double* inR,
                 double* outL, double* outR)
{
    ramp(Segment<double>{m, d, n, inL, inR, outL, outR});
}

inline void ramp(const StereoMatrix& m, const StereoMatrix& d, uint32_t n, const float* inL, const float* inR,
                 float* outL, float* outR)
{
    ramp(Segment<float>{m, d, n, inL, inR, outL, outR});
}

// Crossover path: ramps the high and the low band (double buffers) with their
// own matrices and stores high + low, added in double precision. The band
// buffers are read only. hm and lm advance by n steps, so that a ramp can go
// on in a later call.
template <typename Sample>
inline void rampAndSum(StereoMatrix& hm, const StereoMatrix& hd, StereoMatrix& lm, const StereoMatrix& ld, uint32_t n,
                       const double* hiL, const double* hiR, const double* loL, const double* loR, Sample* outL,
                       Sample* outR)
{
    if (n == 0)
        return;
    __m128d h0 = _mm_load_pd(&hm.m00), h1 = _mm_load_pd(&hm.m10);
    __m128d l0 = _mm_load_pd(&lm.m00), l1 = _mm_load_pd(&lm.m10);
    const __m128d hd0 = _mm_load_pd(&hd.m00), hd1 = _mm_load_pd(&hd.m10);
    const __m128d ld0 = _mm_load_pd(&ld.m00), ld1 = _mm_load_pd(&ld.m10);

    auto sum = [&](uint32_t i)
    {
        return _mm_add_pd(detail::apply(hiL[i], hiR[i], h0, h1), detail::apply(loL[i], loR[i], l0, l1));
    };
    auto put = [&](uint32_t i, __m128d lr)
    {
        if constexpr (sizeof(Sample) == sizeof(double))
        {
            detail::store(lr, outL + i, outR + i);
        }
        else
        {
            const __m128 f = _mm_cvtpd_ps(lr);
            _mm_store_ss(outL + i, f);
            _mm_store_ss(outR + i, _mm_shuffle_ps(f, f, 1));
        }
    };
    auto advance = [&]
    {
        h0 = _mm_add_pd(h0, hd0);
        h1 = _mm_add_pd(h1, hd1);
        l0 = _mm_add_pd(l0, ld0);
        l1 = _mm_add_pd(l1, ld1);
    };

    put(0, sum(0));
    advance();
    uint32_t i = 1;
    if (isZero(hd) && isZero(ld))
    {
        // Steady: two frames per step with the frames in the lanes.
        const __m128d h00 = _mm_unpacklo_pd(h0, h0), h01 = _mm_unpackhi_pd(h0, h0);
        const __m128d h10 = _mm_unpacklo_pd(h1, h1), h11 = _mm_unpackhi_pd(h1, h1);
        const __m128d l00 = _mm_unpacklo_pd(l0, l0), l01 = _mm_unpackhi_pd(l0, l0);
        const __m128d l10 = _mm_unpacklo_pd(l1, l1), l11 = _mm_unpackhi_pd(l1, l1);
        for (; i + 2 <= n; i += 2)
        {
            const __m128d hl = _mm_loadu_pd(hiL + i), hr = _mm_loadu_pd(hiR + i);
            const __m128d ll = _mm_loadu_pd(loL + i), lr = _mm_loadu_pd(loR + i);
            const __m128d left = _mm_add_pd(_mm_add_pd(_mm_mul_pd(hl, h00), _mm_mul_pd(hr, h10)),
                                            _mm_add_pd(_mm_mul_pd(ll, l00), _mm_mul_pd(lr, l10)));
            const __m128d right = _mm_add_pd(_mm_add_pd(_mm_mul_pd(hl, h01), _mm_mul_pd(hr, h11)),
                                             _mm_add_pd(_mm_mul_pd(ll, l01), _mm_mul_pd(lr, l11)));
            if constexpr (sizeof(Sample) == sizeof(double))
            {
                _mm_storeu_pd(outL + i, left);
                _mm_storeu_pd(outR + i, right);
            }
            else
            {
                _mm_storel_pi(reinterpret_cast<__m64*>(outL + i), _mm_cvtpd_ps(left));
                _mm_storel_pi(reinterpret_cast<__m64*>(outR + i), _mm_cvtpd_ps(right));
            }
        }
        if (i < n)
            put(i, sum(i));
    }
    else
    {
        for (; i < n; ++i)
        {
            put(i, sum(i));
            advance();
        }
    }
    _mm_store_pd(&hm.m00, h0);
    _mm_store_pd(&hm.m10, h1);
    _mm_store_pd(&lm.m00, l0);
    _mm_store_pd(&lm.m10, l1);
}

// Bypass: the input copied to the output, converted between left/right and
// mid/side when only one side is mid/side. 32-bit sums are formed in double
// precision and rounded once.
template <typename Sample>
inline void bypassCopy(bool inputMS, bool outputMS, uint32_t n, const Sample* inL, const Sample* inR, Sample* outL,
                       Sample* outR)
{
    if (inputMS == outputMS)
    {
        if (outL != inL)
            std::memmove(outL, inL, n * sizeof(Sample));
        if (outR != inR)
            std::memmove(outR, inR, n * sizeof(Sample));
        return;
    }
    const double scale = inputMS ? 1.0 : 0.5; // mid/side read as left/right, or written as it
    for (uint32_t i = 0; i < n; ++i)
    {
        const double l = inL[i], r = inR[i];
        if (inputMS)
        {
            outL[i] = Sample(l + r);
            outR[i] = Sample(l - r);
        }
        else
        {
            outL[i] = Sample((l + r) * scale);
            outR[i] = Sample((l - r) * scale);
        }
    }
}

} // namespace MatrixRamp
