// The module built for this platform against the reference rendered by the
// Linux build: the same signal through the same settings and automation must
// give the same output within the rounding of different maths libraries, and
// a component state saved on either platform loads on the other unchanged.

#include "tests/crossplatform/PlatformRender.h"
#include "tests/support/KalviorBundle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace PlatformRender;

namespace {

std::string referencePath(const char* file)
{
    return std::string(KALVIOR_PLATFORM_REFERENCE_DIR) + "/" + file;
}

struct OutputCase
{
    const char* name;
    const char* referenceFile;
    bool vst2;
    bool doublePrecision;
    double tolerance; // largest difference, relative to the reference's peak
};

void PrintTo(const OutputCase& c, std::ostream* out)
{
    *out << c.name;
}

class CrossPlatformOutput : public ::testing::TestWithParam<OutputCase>
{};

TEST_P(CrossPlatformOutput, MatchesTheLinuxRendering)
{
    const OutputCase& c = GetParam();
    Samples reference;
    ASSERT_TRUE(readSamples(referencePath(c.referenceFile), reference)) << referencePath(c.referenceFile);
    const Rendering rendering =
        c.vst2 ? renderVst2(KALVIOR_VST2_MODULE, c.doublePrecision) : renderVst3(KALVIOR_BUNDLE_DIR, c.doublePrecision);
    ASSERT_TRUE(rendering.error.empty()) << rendering.error;
    ASSERT_EQ(rendering.output.size(), reference.size());

    double peak = 0.0, largest = 0.0;
    size_t worst = 0;
    for (size_t i = 0; i < reference.size(); ++i)
    {
        ASSERT_TRUE(std::isfinite(rendering.output[i])) << "sample " << i;
        peak = std::max(peak, std::fabs(reference[i]));
        const double difference = std::fabs(rendering.output[i] - reference[i]);
        if (difference > largest)
        {
            largest = difference;
            worst = i;
        }
    }
    ASSERT_GT(peak, 0.05) << "the reference is (nearly) silent: the comparison would prove nothing";
    const double relative = largest / peak;
    RecordProperty("largest_relative_difference", std::to_string(relative));
    std::printf("%s: largest difference %.3g (%.3g of the peak %.3f) at sample %zu\n", c.name, largest, relative, peak,
                worst);
    EXPECT_LE(relative, c.tolerance) << "frame " << worst / 2 << ", channel " << worst % 2;
}

INSTANTIATE_TEST_SUITE_P(Renderings, CrossPlatformOutput,
                         ::testing::Values(OutputCase{"Vst3Double", ReferenceFiles::kVst3Double, false, true, 1e-12},
                                           OutputCase{"Vst3Float", ReferenceFiles::kVst3Float, false, false, 1e-6},
                                           OutputCase{"Vst2Double", ReferenceFiles::kVst2Double, true, true, 1e-12},
                                           OutputCase{"Vst2Float", ReferenceFiles::kVst2Float, true, false, 1e-6}),
                         [](const ::testing::TestParamInfo<OutputCase>& info) { return std::string(info.param.name); });

TEST(CrossPlatformState, TheSameSettingsGiveTheSameBytes)
{
    std::vector<uint8_t> linuxState;
    ASSERT_TRUE(readBytes(referencePath(ReferenceFiles::kState), linuxState));
    const Rendering rendering = renderVst3(KALVIOR_BUNDLE_DIR, 1);
    ASSERT_TRUE(rendering.error.empty()) << rendering.error;
    ASSERT_EQ(rendering.state.size(), 29u * 12u);
    EXPECT_EQ(rendering.state, linuxState);
}

// Number formatting and parsing go through each platform's C library: every
// text must still read the same, and every text must parse back the same.
TEST(CrossPlatformTexts, EveryParameterTextIsTheLinuxOne)
{
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readBytes(referencePath(ReferenceFiles::kTexts), bytes));
    const std::string linuxTexts(bytes.begin(), bytes.end());
    std::string error;
    const std::string texts = describeTexts(KALVIOR_BUNDLE_DIR, KALVIOR_VST2_MODULE, error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_GT(texts.size(), 1000u);
    // Report the first line that differs, not two screens of text.
    size_t line = 1, start = 0;
    while (start < texts.size() && start < linuxTexts.size())
    {
        const size_t end = texts.find('\n', start), linuxEnd = linuxTexts.find('\n', start);
        const std::string here = texts.substr(start, end - start), there = linuxTexts.substr(start, linuxEnd - start);
        ASSERT_EQ(here, there) << "line " << line;
        start = end + 1;
        ++line;
    }
    EXPECT_EQ(texts.size(), linuxTexts.size());
}

class CrossPlatformStateLoad : public KalviorTest::PluginTest
{};

TEST_F(CrossPlatformStateLoad, ALinuxStateLoadsAndReadsBackUnchanged)
{
    std::vector<uint8_t> linuxState;
    ASSERT_TRUE(readBytes(referencePath(ReferenceFiles::kState), linuxState));
    ASSERT_NE(KalviorTest::getStateBytes(component()), linuxState) << "the reference holds only defaults";

    ASSERT_EQ(KalviorTest::setStateBytes(component(), linuxState), Steinberg::kResultOk);
    EXPECT_EQ(KalviorTest::getStateBytes(component()), linuxState);

    // The controller follows the loaded state value for value.
    ASSERT_TRUE(controller());
    ASSERT_EQ(instance->transferState(), Steinberg::kResultOk);
    for (const Setting& setting : settings())
        EXPECT_EQ(controller()->getParamNormalized(setting.id), setting.value) << "parameter " << setting.id;
}

} // namespace
