#pragma once

// Long double reference maths for the operator tests.

#include "dsp/StereoMatrix.h"

#include <cmath>

struct RefMatrix
{
    long double m00, m01, m10, m11;
};

inline RefMatrix ref(const StereoMatrix& m)
{
    return {m.m00, m.m01, m.m10, m.m11};
}

inline RefMatrix operator*(const RefMatrix& a, const RefMatrix& b)
{
    return {a.m00 * b.m00 + a.m01 * b.m10, a.m00 * b.m01 + a.m01 * b.m11, a.m10 * b.m00 + a.m11 * b.m10,
            a.m10 * b.m01 + a.m11 * b.m11};
}

const RefMatrix kRefIdentity{1, 0, 0, 1};
const RefMatrix kRefToMS{0.5L, 0.5L, 0.5L, -0.5L};
const RefMatrix kRefToLR{1, 1, 1, -1};
const long double kRefPi = 3.141592653589793238462643383279502884L;
const long double kRefSqrt2 = 1.414213562373095048801688724209698079L;

// The law blend: 0 at the constant-power law (3 dB), 1 at the constant-sum law.
inline long double refBlend(long double lawDb)
{
    return (std::pow(10.0L, (lawDb - 3.0L) / 20.0L) - 1.0L) / (kRefSqrt2 - 1.0L);
}

#define EXPECT_MATRIX_NEAR(actual, expected, tolerance)                                                                \
    do                                                                                                                 \
    {                                                                                                                  \
        const StereoMatrix a_ = (actual);                                                                              \
        const RefMatrix e_ = (expected);                                                                               \
        EXPECT_NEAR(a_.m00, static_cast<double>(e_.m00), tolerance) << "m00";                                          \
        EXPECT_NEAR(a_.m01, static_cast<double>(e_.m01), tolerance) << "m01";                                          \
        EXPECT_NEAR(a_.m10, static_cast<double>(e_.m10), tolerance) << "m10";                                          \
        EXPECT_NEAR(a_.m11, static_cast<double>(e_.m11), tolerance) << "m11";                                          \
    } while (0)
