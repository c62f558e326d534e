// Sample-accurate automation from breakpoints, through the real executable.
// "HP Width" up to its centre (normalised 0..0.5, shown 0.00..1.00) scales the
// side signal by 2v and leaves the mid alone, so with the crossover off a
// constant input L = 0.5, R = -0.25 (mid 0.125, side 0.375) comes out as
// L = 0.125 + 0.75 v(t), R = 0.125 - 0.75 v(t): the output traces the
// automation curve itself, frame by frame, whatever the block size.
#include <gtest/gtest.h>

#include <cmath>

#include <sndfile.h>

#include "tests/tools/CliRunner.h"

using namespace KalviorCli;

namespace {

constexpr size_t kFrames = 28800; // 0.6 s

// The curve of the breakpoints below, worked out by hand: 0 until 0.1 s,
// rising to 0.5 at 0.3 s, a step down to 0.1 there, rising to 0.25 at 0.5 s,
// held afterwards.
double expectedWidth(size_t frame)
{
    const double x = static_cast<double>(frame);
    if (x <= 4800.0)
        return 0.0;
    if (x < 14400.0)
        return 0.5 * (x - 4800.0) / 9600.0;
    if (x < 24000.0)
        return 0.1 + 0.15 * (x - 14400.0) / 9600.0;
    return 0.25;
}

struct AutomationCase
{
    int blockSize;
    int precision;
    const char* breakpoints;
    double tolerance;
};

class Automation : public ::testing::TestWithParam<AutomationCase>
{};

TEST_P(Automation, OutputFollowsTheCurveFrameByFrame)
{
    const AutomationCase& c = GetParam();
    ScratchDir dir("automation-" + std::to_string(c.blockSize) + "-" + std::to_string(c.precision));
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), constantSignal(kFrames, 0.5, -0.25)));

    const RunResult result = run({"render", dir.path("in.wav"), dir.path("out.wav"), "--bundle", bundle(), "--block",
                                  std::to_string(c.blockSize), "--precision", std::to_string(c.precision),
                                  "--sample-format", "double", "--automate", std::string("HP Width=") + c.breakpoints});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Audio output;
    ASSERT_TRUE(readAudio(dir.path("out.wav"), output));
    ASSERT_EQ(output.frames(), kFrames);

    double worst = 0.0;
    size_t worstFrame = 0;
    for (size_t i = 0; i < kFrames; ++i)
    {
        const double v = expectedWidth(i);
        const double error =
            std::max(std::fabs(output.at(i, 0) - (0.125 + 0.75 * v)), std::fabs(output.at(i, 1) - (0.125 - 0.75 * v)));
        if (error > worst)
        {
            worst = error;
            worstFrame = i;
        }
    }
    EXPECT_LE(worst, c.tolerance) << "worst at frame " << worstFrame;
}

// Display texts (width 0.00..2.00 is normalised v = width / 2) and norm(x)
// describe the same curve. 64-bit processing is exact to rounding. The 32-bit
// kernel ramps its matrix in single precision, two frames a step, so across a
// block of B frames it can lose up to half an ulp of a value near 1 (2^-24)
// per step: B / 2 * 2^-24, about 3e-8 B.
INSTANTIATE_TEST_SUITE_P(
    BlockSizes, Automation,
    ::testing::Values(AutomationCase{1, 64, "0.1:0.00,0.3:1.00,0.3:0.20,0.5:0.50", 1e-12},
                      AutomationCase{7, 64, "0.1:0.00,0.3:1.00,0.3:0.20,0.5:0.50", 1e-12},
                      AutomationCase{64, 64, "0.1:norm(0),0.3:norm(0.5),0.3:norm(0.1),0.5:norm(0.25)", 1e-12},
                      AutomationCase{512, 64, "0.1:0.00,0.3:1.00,0.3:0.20,0.5:0.50", 1e-12},
                      AutomationCase{4096, 64, "0.1:0.00,0.3:1.00,0.3:0.20,0.5:0.50", 1e-12},
                      AutomationCase{512, 32, "0.1:0.00,0.3:1.00,0.3:0.20,0.5:0.50", 512 * 3e-8},
                      AutomationCase{4800, 32, "0.1:norm(0),0.3:norm(0.5),0.3:norm(0.1),0.5:norm(0.25)", 4800 * 3e-8}),
    [](const ::testing::TestParamInfo<AutomationCase>& info)
    { return "Block" + std::to_string(info.param.blockSize) + "_" + std::to_string(info.param.precision) + "bit"; });

} // namespace
