// The tool's pure helpers on their own: name suggestions, the statistics of
// the demo's table and the syntax of --set and --automate.
#include "tools/Automation.h"
#include "tools/NameMatch.h"
#include "tools/StereoStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(NameMatch, SuggestsOnlyWhatIsClose)
{
    const std::vector<std::string> names = {"Left Gain", "Right Gain", "Balance", "Mono"};
    EXPECT_EQ(NameMatch::nearest("Left Gian", names), "Left Gain");
    EXPECT_EQ(NameMatch::nearest("balanse", names), "Balance");
    EXPECT_EQ(NameMatch::nearest("left gain", names), "Left Gain");
    EXPECT_EQ(NameMatch::nearest("Reverb Time", names), "");
    EXPECT_EQ(NameMatch::nearest("x", {}), "");
}

// Whole periods of sines, so the sums have closed forms.
struct TwoSines
{
    std::vector<double> left, right;
    TwoSines(double leftGain, double rightGain, double rightPhase)
    {
        for (int i = 0; i < 48000; ++i)
        {
            const double a = 2.0 * M_PI * 100.0 * i / 48000.0;
            left.push_back(leftGain * std::sin(a));
            right.push_back(rightGain * std::sin(a + rightPhase));
        }
    }
};

TEST(StereoStats, ClosedFormsOfSines)
{
    struct Case
    {
        const char* name;
        double left, right, phase, correlation, midSideDb;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        // Equal channels: all mid. Opposite: all side. Left only: mid = side.
        {"mono", 1.0, 1.0, 0.0, 1.0, inf},
        {"antiphase", 1.0, -1.0, 0.0, -1.0, -inf},
        {"left only", 1.0, 0.0, 0.0, NAN, 0.0},
        // Quadrature: uncorrelated, mid and side of equal energy.
        {"quadrature", 1.0, 1.0, M_PI / 2, 0.0, 0.0},
        // L = s, R = 0.5 s: mid 0.75 s, side 0.25 s, energy ratio 9.
        {"half right", 1.0, 0.5, 0.0, 1.0, 10.0 * std::log10(9.0)},
    };
    for (const Case& c : cases)
    {
        TwoSines signal(c.left, c.right, c.phase);
        StereoStats stats;
        stats.add(signal.left.data(), signal.right.data(), signal.left.size());
        EXPECT_NEAR(stats.peakLeft(), c.left, 1e-6) << c.name;
        EXPECT_NEAR(stats.rmsLeft(), c.left / std::sqrt(2.0), 1e-9) << c.name;
        EXPECT_NEAR(stats.rmsRight(), std::fabs(c.right) / std::sqrt(2.0), 1e-9) << c.name;
        if (std::isnan(c.correlation))
            EXPECT_TRUE(std::isnan(stats.correlation())) << c.name;
        else
            EXPECT_NEAR(stats.correlation(), c.correlation, 1e-9) << c.name;
        if (std::isinf(c.midSideDb))
            EXPECT_TRUE(std::isinf(stats.midSideDb()) && (stats.midSideDb() > 0) == (c.midSideDb > 0)) << c.name;
        else
            EXPECT_NEAR(stats.midSideDb(), c.midSideDb, 1e-9) << c.name;
    }
}

TEST(StereoStats, TableShowsDecibelsAndSilence)
{
    TwoSines signal(0.5, 0.0, 0.0);
    StereoStats stats;
    stats.add(signal.left.data(), signal.right.data(), signal.left.size());
    const std::string table = formatStatsTable({{"half left", stats}});
    // Peak 0.5 is -6.0 dBFS, RMS 0.5 / sqrt 2 is -9.0; the right channel is silent.
    EXPECT_NE(table.find("half left"), std::string::npos);
    EXPECT_NE(table.find("-6.0"), std::string::npos) << table;
    EXPECT_NE(table.find("-9.0"), std::string::npos) << table;
    EXPECT_NE(table.find("-inf"), std::string::npos) << table;
    EXPECT_NE(table.find("n/a"), std::string::npos) << table;
}

TEST(AutomationText, SplitsTitleTimesAndValues)
{
    AutomationText parsed;
    std::string error;
    ASSERT_TRUE(parseAutomationText("HP Width = 0:0.50, 1.5:norm(0.25),1.5:LR-4", parsed, error)) << error;
    EXPECT_EQ(parsed.parameter, "HP Width");
    ASSERT_EQ(parsed.points.size(), 3u);
    EXPECT_EQ(parsed.points[0].seconds, 0.0);
    EXPECT_EQ(parsed.points[0].value, "0.50");
    EXPECT_EQ(parsed.points[1].seconds, 1.5);
    EXPECT_EQ(parsed.points[1].value, "norm(0.25)");
    EXPECT_EQ(parsed.points[2].value, "LR-4");

    for (const char* bad : {"HP Width", "=0:1", "HP Width=", "HP Width=1", "HP Width=a:1", "HP Width=-1:0",
                            "HP Width=1:", "HP Width=2:1,1:1", "HP Width=0:1,,1:1", "HP Width=inf:1"})
        EXPECT_FALSE(parseAutomationText(bad, parsed, error)) << bad;
}

// "norm(x)" for 0 <= x <= 1; other texts are left to the controller, bad
// norm() forms are refused with a reason.
TEST(AutomationText, NormalisedValues)
{
    const struct
    {
        const char* text;
        double value; // -1: refused
        bool reason;
    } cases[] = {{"norm(0.25)", 0.25, false}, {"norm( 1 )", 1.0, false}, {"0.25", -1, false},
                 {"norm(1.5)", -1, true},     {"norm(-0.1)", -1, true},  {"norm(x)", -1, true},
                 {"norm(0.5", -1, true},      {"norm()", -1, true}};
    for (const auto& c : cases)
    {
        double value = -1.0;
        std::string error;
        EXPECT_EQ(parseNormalizedText(c.text, value, error), c.value >= 0) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(error.empty(), !c.reason) << c.text;
    }
}

} // namespace
