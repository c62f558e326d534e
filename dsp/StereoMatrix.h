#pragma once

#include <emmintrin.h>

// A 2x2 map of a stereo sample pair, applied to the pair as a row vector:
// [outL outR] = [inL inR] * M, so outL = inL*m00 + inR*m10 and outR = inL*m01 + inR*m11.
// In a product A * B the map A acts first. Rows are 16-byte aligned so that
// each can be loaded as one pair of doubles.
struct alignas(16) StereoMatrix
{
    double m00 = 0.0, m01 = 0.0;
    double m10 = 0.0, m11 = 0.0;

    constexpr StereoMatrix() = default;
    constexpr StereoMatrix(double a00, double a01, double a10, double a11) : m00(a00), m01(a01), m10(a10), m11(a11) {}

    // Writes the entries a row at a time: a product that loads the rows soon
    // after is then served by these stores while they are still in flight.
    void setRows(double a00, double a01, double a10, double a11)
    {
        _mm_store_pd(&m00, _mm_setr_pd(a00, a01));
        _mm_store_pd(&m10, _mm_setr_pd(a10, a11));
    }

    static const StereoMatrix& identity();
    static const StereoMatrix& zero();
    // Left/right to mid/side: M = (L + R) / 2, S = (L - R) / 2.
    static const StereoMatrix& toMS();
    // Mid/side to left/right: L = M + S, R = M - S.
    static const StereoMatrix& toLR();

    friend StereoMatrix operator+(const StereoMatrix& a, const StereoMatrix& b)
    {
        return {a.m00 + b.m00, a.m01 + b.m01, a.m10 + b.m10, a.m11 + b.m11};
    }
    friend StereoMatrix operator-(const StereoMatrix& a, const StereoMatrix& b)
    {
        return {a.m00 - b.m00, a.m01 - b.m01, a.m10 - b.m10, a.m11 - b.m11};
    }
    friend StereoMatrix operator/(const StereoMatrix& a, double d)
    {
        return {a.m00 / d, a.m01 / d, a.m10 / d, a.m11 / d};
    }
    // Row by row on pairs of doubles: row i of the product is
    // a(i,0) * (b.m00, b.m01) + a(i,1) * (b.m10, b.m11), entry by entry the
    // same products and sums as the scalar formula.
    friend StereoMatrix operator*(const StereoMatrix& a, const StereoMatrix& b)
    {
        const __m128d b0 = _mm_load_pd(&b.m00), b1 = _mm_load_pd(&b.m10);
        StereoMatrix p;
        _mm_store_pd(&p.m00, _mm_add_pd(_mm_mul_pd(_mm_set1_pd(a.m00), b0), _mm_mul_pd(_mm_set1_pd(a.m01), b1)));
        _mm_store_pd(&p.m10, _mm_add_pd(_mm_mul_pd(_mm_set1_pd(a.m10), b0), _mm_mul_pd(_mm_set1_pd(a.m11), b1)));
        return p;
    }
    friend bool operator==(const StereoMatrix& a, const StereoMatrix& b)
    {
        return a.m00 == b.m00 && a.m01 == b.m01 && a.m10 == b.m10 && a.m11 == b.m11;
    }
    friend bool operator!=(const StereoMatrix& a, const StereoMatrix& b) { return !(a == b); }
};

inline const StereoMatrix& StereoMatrix::identity()
{
    static const StereoMatrix m(1.0, 0.0, 0.0, 1.0);
    return m;
}

inline const StereoMatrix& StereoMatrix::zero()
{
    static const StereoMatrix m;
    return m;
}

inline const StereoMatrix& StereoMatrix::toMS()
{
    static const StereoMatrix m(0.5, 0.5, 0.5, -0.5);
    return m;
}

inline const StereoMatrix& StereoMatrix::toLR()
{
    static const StereoMatrix m(1.0, 1.0, 1.0, -1.0);
    return m;
}
