// What the command line prints and writes when all goes well: info from the
// controller, the demo's files and table, and clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include <sndfile.h>

#include "tests/support/ParameterContract.h"
#include "tests/tools/CliRunner.h"

using namespace KalviorCli;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The line of `text` that starts with `start` (after leading blanks).
std::string lineStarting(const std::string& text, const std::string& start)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, start.size(), start) == 0)
            return line;
    }
    return {};
}

// Every parameter's row shows its title, short title, units and flags; some
// rows also their default and range texts; then the programs.
TEST(CliOutput, InfoListsParametersAndProgramsFromTheController)
{
    const RunResult info = run({"info", "--bundle", bundle()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "Kalvior 1.0.0.1 by Tarnwick Audio"));
    for (const KalviorTest::ParameterRow& row : KalviorTest::kParameters)
    {
        const std::string line = lineStarting(info.out, std::to_string(row.id) + " ");
        ASSERT_FALSE(line.empty()) << "no row for " << row.title;
        for (const std::string part : {row.title, row.shortTitle, *row.units ? row.units : "-"})
            EXPECT_TRUE(contains(line, part)) << "'" << part << "' missing from: " << line;
        EXPECT_EQ(contains(line, "automatable"), row.automatable()) << line;
        EXPECT_EQ(contains(line, "bypass"), (row.flags & KalviorTest::kBypassFlag) != 0) << line;
        EXPECT_EQ(contains(line, "program-change"), (row.flags & KalviorTest::kProgramChange) != 0) << line;
    }
    const std::pair<const char*, const char*> texts[] = {{"3 ", "0.0      -inf .. 12.0"},
                                                         {"13 ", "30       0 .. 100"},
                                                         {"15 ", "1.00     0.00 .. 2.00"},
                                                         {"23 ", "OFF      OFF | LR-2 | LR-4"},
                                                         {"24 ", "100      100 .. 800"}};
    for (const auto& [id, text] : texts)
        EXPECT_TRUE(contains(lineStarting(info.out, id), text)) << lineStarting(info.out, id);
    for (int i = 0; i < KalviorTest::kProgramCount; ++i)
        EXPECT_TRUE(contains(info.out, std::to_string(i) + "  " + KalviorTest::kProgramNames[i]));
}

double decibels(double linear)
{
    return 20.0 * std::log10(linear);
}

TEST(CliOutput, DemoWritesEveryProgramAndATableOfItsSignals)
{
    ScratchDir dir("demo");
    const std::string target = dir.path("out");
    const RunResult demo = run({"demo", target, "--bundle", bundle()});
    ASSERT_EQ(demo.exitCode, 0) << demo.err;

    // Files named by program number and name: "1-bass-squeeze".
    std::vector<std::string> stems;
    for (int i = 0; i < KalviorTest::kProgramCount; ++i)
    {
        std::string stem = std::to_string(i) + "-" + KalviorTest::kProgramNames[i];
        for (char& c : stem)
            c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        stems.push_back(stem);
    }
    Audio input;
    ASSERT_TRUE(readAudio(target + "/input.wav", input));
    EXPECT_EQ(input.channels, 2);
    EXPECT_EQ(input.sampleRate, 48000);
    EXPECT_EQ(input.frames(), 4u * 48000u);
    for (const std::string& stem : stems)
    {
        Audio rendered;
        ASSERT_TRUE(readAudio(target + "/" + stem + ".wav", rendered)) << stem;
        EXPECT_EQ(rendered.frames(), input.frames());
        EXPECT_EQ(fileBytes(target + "/" + stem + ".png").substr(0, 8), "\x89PNG\r\n\x1a\n") << stem;
    }
    // "Default" leaves every control at its neutral setting: the output is the input.
    Audio neutral;
    ASSERT_TRUE(readAudio(target + "/0-default.wav", neutral));
    EXPECT_EQ(neutral.samples, input.samples);

    // The table's input row, against the input file's own peak, RMS and correlation.
    double peak[2] = {0, 0}, energy[2] = {0, 0}, cross = 0, mid = 0, side = 0;
    for (size_t i = 0; i < input.frames(); ++i)
    {
        for (int c = 0; c < 2; ++c)
        {
            peak[c] = std::max(peak[c], std::fabs(input.at(i, c)));
            energy[c] += input.at(i, c) * input.at(i, c);
        }
        cross += input.at(i, 0) * input.at(i, 1);
        mid += std::pow(input.at(i, 0) + input.at(i, 1), 2);
        side += std::pow(input.at(i, 0) - input.at(i, 1), 2);
    }
    const double rms0 = std::sqrt(energy[0] / input.frames()), rms1 = std::sqrt(energy[1] / input.frames());
    char expected[128];
    std::snprintf(expected, sizeof expected, "%.1f %.1f %.1f %.1f %+.3f %+.1f", decibels(peak[0]), decibels(peak[1]),
                  decibels(rms0), decibels(rms1), cross / std::sqrt(energy[0] * energy[1]),
                  10.0 * std::log10(mid / side));
    std::istringstream row(lineStarting(demo.out, "(input)"));
    std::string name, cells[6];
    row >> name >> cells[0] >> cells[1] >> cells[2] >> cells[3] >> cells[4] >> cells[5];
    EXPECT_EQ(cells[0] + " " + cells[1] + " " + cells[2] + " " + cells[3] + " " + cells[4] + " " + cells[5], expected);
    for (const char* program : KalviorTest::kProgramNames)
        EXPECT_FALSE(lineStarting(demo.out, program).empty()) << program;

    // A second run does not overwrite without --force.
    const RunResult again = run({"demo", target, "--bundle", bundle()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(contains(again.err, "--force"));
    EXPECT_EQ(run({"demo", target, "--bundle", bundle(), "--force"}).exitCode, 0);
}

TEST(CliOutput, IntegerOutputClipsAndSaysSo)
{
    ScratchDir dir("clip");
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), constantSignal(100, 0.9, -0.9)));
    // +12 dB on the left: 0.9 becomes 3.58, beyond what 16 bits can hold.
    const RunResult result = run({"render", dir.path("in.wav"), dir.path("out.wav"), "--bundle", bundle(), "--set",
                                  "Left Gain=12", "--sample-format", "pcm16"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(result.err, "100 samples beyond full scale were clipped")) << result.err;
    Audio output;
    ASSERT_TRUE(readAudio(dir.path("out.wav"), output));
    for (size_t i = 0; i < output.frames(); ++i)
    {
        EXPECT_EQ(output.at(i, 0), 32767.0 / 32768.0);
        EXPECT_EQ(output.at(i, 1), std::nearbyint(-0.9 * 32768.0) / 32768.0);
    }
}

} // namespace
