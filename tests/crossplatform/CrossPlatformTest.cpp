// The module built for this platform against the reference rendered by the
// Linux build: the same signal through the same settings and automation must
// give the same output within the rounding of different maths libraries,
// every parameter text must read and parse the same, and the same settings
// must give the same component state.

#include "tests/crossplatform/PlatformRender.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace PlatformRender;

namespace {

std::string reference(const char* file)
{
    std::string bytes;
    EXPECT_TRUE(readFile(std::string(KALVIOR_PLATFORM_REFERENCE_DIR) + "/" + file, bytes)) << file;
    return bytes;
}

struct OutputCase
{
    const char* file;
    bool vst2, doublePrecision;
    double tolerance; // largest difference, relative to the reference's peak
};

void PrintTo(const OutputCase& c, std::ostream* out)
{
    *out << c.file;
}

class CrossPlatformOutput : public ::testing::TestWithParam<OutputCase>
{};

TEST_P(CrossPlatformOutput, MatchesTheLinuxRendering)
{
    const OutputCase& c = GetParam();
    const std::string bytes = reference(c.file);
    Samples expected(bytes.size() / sizeof(double));
    std::memcpy(expected.data(), bytes.data(), expected.size() * sizeof(double));
    const Rendering rendering =
        c.vst2 ? renderVst2(KALVIOR_VST2_MODULE, c.doublePrecision) : renderVst3(KALVIOR_BUNDLE_DIR, c.doublePrecision);
    ASSERT_TRUE(rendering.error.empty()) << rendering.error;
    ASSERT_EQ(rendering.output.size(), expected.size());
    double peak = 0.0, largest = 0.0;
    size_t worst = 0;
    for (size_t i = 0; i < expected.size(); ++i)
    {
        ASSERT_TRUE(std::isfinite(rendering.output[i])) << "sample " << i;
        peak = std::max(peak, std::fabs(expected[i]));
        const double difference = std::fabs(rendering.output[i] - expected[i]);
        if (difference > largest)
            largest = difference, worst = i;
    }
    ASSERT_GT(peak, 0.05) << "the reference is (nearly) silent: the comparison would prove nothing";
    RecordProperty("largest_relative_difference", std::to_string(largest / peak));
    EXPECT_LE(largest / peak, c.tolerance) << "frame " << worst / 2 << ", channel " << worst % 2;
}

INSTANTIATE_TEST_SUITE_P(
    Renderings, CrossPlatformOutput,
    ::testing::Values(OutputCase{kVst3Double, false, true, 1e-12}, OutputCase{kVst3Float, false, false, 1e-6},
                      OutputCase{kVst2Double, true, true, 1e-12}, OutputCase{kVst2Float, true, false, 1e-6}),
    [](const ::testing::TestParamInfo<OutputCase>& info)
    { return std::string(info.param.vst2 ? "Vst2" : "Vst3") + (info.param.doublePrecision ? "Double" : "Float"); });

// Number formatting and parsing go through each platform's C library.
TEST(CrossPlatformTexts, EveryParameterTextIsTheLinuxOne)
{
    std::string error;
    const std::string texts = describeTexts(KALVIOR_BUNDLE_DIR, error), expected = reference(kTexts);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_GT(expected.size(), 10000u);
    // The first line that differs, not two screens of text.
    const size_t at = std::mismatch(texts.begin(), texts.end(), expected.begin(), expected.end()).first - texts.begin();
    const size_t line = expected.rfind('\n', at) + 1; // npos + 1 is 0
    EXPECT_EQ(texts.substr(line, texts.find('\n', at) - line), expected.substr(line, expected.find('\n', at) - line));
    EXPECT_EQ(texts.size(), expected.size());
}

// The processor's own round trip is tested on every platform; here a state
// written by either platform must be the other's byte for byte.
TEST(CrossPlatformState, TheSameSettingsGiveTheSameBytes)
{
    const std::string expected = reference(kState);
    const Rendering rendering = renderVst3(KALVIOR_BUNDLE_DIR, 1);
    ASSERT_TRUE(rendering.error.empty()) << rendering.error;
    ASSERT_EQ(rendering.state.size(), KalviorTest::kStateBytes);
    EXPECT_EQ(rendering.state, KalviorTest::Bytes(expected.begin(), expected.end()));
}

} // namespace
