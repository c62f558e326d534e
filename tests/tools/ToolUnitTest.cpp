// The tool's pure helpers on their own: name suggestions, the statistics of
// the demo's table and the syntax of --set and --automate.
#include "tools/Automation.h"
#include "tools/NameMatch.h"
#include "tools/StereoStats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
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

// The demo table's cells for sines of whole periods, whose statistics have
// closed forms: peak and RMS (a / sqrt 2) in dBFS, the correlation, and mid
// over side energy in dB (equal channels: all mid; opposite: all side; one
// channel alone: mid = side, no correlation; L = s, R = s / 2: ratio 9).
TEST(StereoStats, TableOfSinesShowsTheirClosedForms)
{
    const struct
    {
        const char* name;
        double left, right;
        const char* cells;
    } cases[] = {{"mono", 1.0, 1.0, "0.0 0.0 -3.0 -3.0 +1.000 +inf"},
                 {"antiphase", 1.0, -1.0, "0.0 0.0 -3.0 -3.0 -1.000 -inf"},
                 {"half-left", 0.5, 0.0, "-6.0 -inf -9.0 -inf n/a +0.0"},
                 {"half-right", 1.0, 0.5, "0.0 -6.0 -3.0 -9.0 +1.000 +9.5"}};
    for (const auto& c : cases)
    {
        TwoSines signal(c.left, c.right, 0.0);
        StereoStats stats;
        stats.add(signal.left.data(), signal.right.data(), signal.left.size());
        std::istringstream table(formatStatsTable({{c.name, stats}}));
        std::string line, cells;
        while (std::getline(table, line) && line.rfind(c.name, 0) != 0)
            ;
        std::istringstream words(line.substr(std::min(line.size(), std::strlen(c.name))));
        for (std::string word; words >> word;)
            cells += (cells.empty() ? "" : " ") + word;
        EXPECT_EQ(cells, c.cells) << c.name;
    }
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
