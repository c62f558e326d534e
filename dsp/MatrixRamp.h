#pragma once

#include "dsp/StereoMatrix.h"

#include <cstdint>
#include <cstring>
#include <emmintrin.h> // SSE2: part of the x86-64 baseline

// The per-sample kernels of the processing chain. A ramp multiplies each sample
// pair by a matrix that starts at M and grows by D after every sample:
//   outL[i] = inL[i]*M.m00 + inR[i]*M.m10,  outR[i] = inL[i]*M.m01 + inR[i]*M.m11,  M += D.
// Outputs may be the inputs. Every kernel keeps the bits of that sequential
// arithmetic: loops may be fused and laid out in lanes, never reassociated.
// When D is zero (steady settings), M + D + D equals M + D bit for bit: every
// frame after the first uses M + D and no running matrix is kept.
namespace MatrixRamp
{

inline bool isZero(const StereoMatrix& d)
{
    return d.m00 == 0.0 && d.m01 == 0.0 && d.m10 == 0.0 && d.m11 == 0.0;
}

namespace detail
{

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

// 64-bit samples: paired doubles, one sample per step.
inline void ramp(const StereoMatrix& m, const StereoMatrix& d, uint32_t n, const double* inL, const double* inR,
                 double* outL, double* outR)
{
    if (n == 0)
        return;
    __m128d r0 = _mm_load_pd(&m.m00);
    __m128d r1 = _mm_load_pd(&m.m10);
    const __m128d d0 = _mm_load_pd(&d.m00);
    const __m128d d1 = _mm_load_pd(&d.m10);

    detail::store(detail::apply(inL[0], inR[0], r0, r1), outL, outR);
    r0 = _mm_add_pd(r0, d0);
    r1 = _mm_add_pd(r1, d1);
    uint32_t i = 1;
    if (isZero(d))
    {
        // Steady: two frames per step with the frames in the lanes.
        const __m128d m00 = _mm_unpacklo_pd(r0, r0), m01 = _mm_unpackhi_pd(r0, r0);
        const __m128d m10 = _mm_unpacklo_pd(r1, r1), m11 = _mm_unpackhi_pd(r1, r1);
        for (; i + 2 <= n; i += 2)
        {
            const __m128d l = _mm_loadu_pd(inL + i), r = _mm_loadu_pd(inR + i);
            _mm_storeu_pd(outL + i, _mm_add_pd(_mm_mul_pd(l, m00), _mm_mul_pd(r, m10)));
            _mm_storeu_pd(outR + i, _mm_add_pd(_mm_mul_pd(l, m01), _mm_mul_pd(r, m11)));
        }
    }
    else
    {
        for (; i + 2 <= n; i += 2)
        {
            const __m128d a = detail::apply(inL[i], inR[i], r0, r1);
            r0 = _mm_add_pd(r0, d0);
            r1 = _mm_add_pd(r1, d1);
            const __m128d b = detail::apply(inL[i + 1], inR[i + 1], r0, r1);
            r0 = _mm_add_pd(r0, d0);
            r1 = _mm_add_pd(r1, d1);
            detail::store2(a, b, outL + i, outR + i);
        }
    }
    if (i < n)
        detail::store(detail::apply(inL[i], inR[i], r0, r1), outL + i, outR + i);
}

// 32-bit samples: an odd first sample in double precision, then two samples per
// step in four single-precision lanes (m00, m00', m01, m01') and
// (m10, m10', m11, m11'), where ' is the next sample's matrix; each step adds
// 2*D rounded to single precision.
inline void ramp(const StereoMatrix& start, const StereoMatrix& d, uint32_t n, const float* inL, const float* inR,
                 float* outL, float* outR)
{
    if (n == 0)
        return;
    StereoMatrix m = start;
    if (n & 1)
    {
        const double l = inL[0], r = inR[0];
        outL[0] = float(l * m.m00 + r * m.m10);
        outR[0] = float(l * m.m01 + r * m.m11);
        m = m + d;
        ++inL, ++inR, ++outL, ++outR;
        --n;
    }
    if (n == 0)
        return;
    const StereoMatrix next = m + d;
    __m128 a = _mm_setr_ps(float(m.m00), float(next.m00), float(m.m01), float(next.m01));
    __m128 b = _mm_setr_ps(float(m.m10), float(next.m10), float(m.m11), float(next.m11));
    const float s00 = float(2.0 * d.m00), s01 = float(2.0 * d.m01);
    const float s10 = float(2.0 * d.m10), s11 = float(2.0 * d.m11);
    const __m128 da = _mm_setr_ps(s00, s00, s01, s01);
    const __m128 db = _mm_setr_ps(s10, s10, s11, s11);

    auto step = [&](uint32_t i)
    {
        const __m128 l = detail::loadPairTwice(inL + i);
        const __m128 r = detail::loadPairTwice(inR + i);
        const __m128 out = _mm_add_ps(_mm_mul_ps(l, a), _mm_mul_ps(r, b));
        _mm_storel_pi(reinterpret_cast<__m64*>(outL + i), out);
        _mm_storeh_pi(reinterpret_cast<__m64*>(outR + i), out);
    };
    step(0);
    a = _mm_add_ps(a, da);
    b = _mm_add_ps(b, db);
    if (isZero(d))
    {
        // Steady: both lanes of each entry now hold the same value; four
        // frames per step with the frames in the lanes.
        const __m128 m00 = _mm_shuffle_ps(a, a, 0x00), m01 = _mm_shuffle_ps(a, a, 0xaa);
        const __m128 m10 = _mm_shuffle_ps(b, b, 0x00), m11 = _mm_shuffle_ps(b, b, 0xaa);
        uint32_t i = 2;
        for (; i + 4 <= n; i += 4)
        {
            const __m128 l = _mm_loadu_ps(inL + i), r = _mm_loadu_ps(inR + i);
            _mm_storeu_ps(outL + i, _mm_add_ps(_mm_mul_ps(l, m00), _mm_mul_ps(r, m10)));
            _mm_storeu_ps(outR + i, _mm_add_ps(_mm_mul_ps(l, m01), _mm_mul_ps(r, m11)));
        }
        if (i < n)
            step(i);
    }
    else
    {
        for (uint32_t i = 2; i < n; i += 2)
        {
            step(i);
            a = _mm_add_ps(a, da);
            b = _mm_add_ps(b, db);
        }
    }
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
    { return _mm_add_pd(detail::apply(hiL[i], hiR[i], h0, h1), detail::apply(loL[i], loR[i], l0, l1)); };
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
