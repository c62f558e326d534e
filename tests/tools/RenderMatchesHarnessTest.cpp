// `kalvior render` must hand the plug-in exactly what a host would, and write
// exactly what the plug-in produced in the type asked for: its output file is
// compared bit for bit with the bundle driven directly through the host
// harness, also across file types (with every control neutral the plug-in
// passes integer samples through unchanged, so they fit any output type). The harness gets
// normalised values worked out here from the parameters' published ranges
// (fader: -12 dB at 0.5 and 48 dB per unit above; scaled: (p - min) / span;
// lists: i / (n - 1)), so the command line's text parsing is checked too.
#include <gtest/gtest.h>

#include <sndfile.h>

#include "tests/tools/CliRunner.h"
#include "tests/tools/HarnessRender.h"

using namespace KalviorCli;

namespace {

struct MatchCase
{
    const char* name;
    std::vector<std::string> arguments; // after IN OUT
    HarnessSettings harness;
    int inputFormat;
    bool monoInput = false;
    const char* output = "out.wav";
    int outputFormat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
};

double scaled(double plain, double minimum, double span)
{
    return (plain - minimum) / span;
}

double faderAboveKnee(double decibels)
{
    return (decibels - -12.0) / 48.0 + 0.5;
}

std::vector<MatchCase> cases()
{
    const int wavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT, wavDouble = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
    const int wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16, wav24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    const int flac16 = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, flac24 = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    const HarnessSettings neutral{512, 32, -1.0, {}};
    return {
        {"Defaults", {}, neutral, wavFloat},
        {"ProgramByName", {"--program", "Stereosonic Shuffle", "--block", "480"}, {480, 32, 1.0, {}}, wav24},
        {"DisplayTexts64Bit",
         {"--set", "HP Width=1.40", "--set", "Crossover=LR-4", "--set", "Left Gain=-6", "--precision", "64", "--block",
          "1000", "--sample-format", "double"},
         {1000, 64, -1.0, {{15, scaled(1.40, 0.0, 2.0)}, {23, 1.0}, {3, faderAboveKnee(-6.0)}}},
         wavFloat,
         false,
         "out.wav",
         wavDouble},
        {"ProgramThenValues",
         {"--program", "bass squeeze", "--set", "LP Width=0.50", "--set", "Mono=On", "--block", "333"},
         {333, 32, 0.2, {{21, scaled(0.50, 0.0, 2.0)}, {28, 1.0}}},
         wavFloat},
        {"ShortTitlesAndFormats",
         {"--set", "InFormat=M/S", "--set", "OutFormat=M/S", "--set", "R Phase=On", "--set", "Balance=-20",
          "--precision", "64", "--block", "64", "--sample-format", "double"},
         {64, 64, -1.0, {{25, 1.0}, {26, 1.0}, {8, 1.0}, {11, scaled(-20.0, -45.0, 90.0)}}},
         flac16,
         false,
         "out.wav",
         wavDouble},
        {"NormalisedValues",
         {"--set", "Gain Trim=norm(0.8)", "--set", "Solo=HIPASS", "--set", "Crossover=LR-2", "--set",
          "Crossover Freq=norm(0.25)", "--block", "4096"},
         {4096, 32, -1.0, {{19, 0.8}, {27, 0.5}, {23, 0.5}, {24, 0.25}}},
         wavFloat},
        {"MonoToStereo",
         {"--mono-to-stereo", "--set", "Right Pan=-45", "--block", "100"},
         {100, 32, -1.0, {{10, scaled(-45.0, -45.0, 90.0)}}},
         wavFloat,
         true},
        {"Pcm16ToFlac", {}, neutral, wav16, false, "out.flac", flac16},
        {"Pcm24KeepsItsType", {"--sample-format", "input"}, neutral, wav24, false, "out.wav", wav24},
        {"FlacToFloatAiff", {}, neutral, flac24, false, "out.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
        {"AiffToFloatWav", {}, neutral, SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"Pcm16To64BitDouble",
         {"--precision", "64", "--sample-format", "double"},
         {512, 64, -1.0, {}},
         wav16,
         false,
         "out.wav",
         wavDouble},
    };
}

class RenderMatchesHarness : public ::testing::TestWithParam<MatchCase>
{};

TEST_P(RenderMatchesHarness, BitForBit)
{
    const MatchCase& c = GetParam();
    ScratchDir scratch(std::string("match-") + c.name);
    const int type = c.inputFormat & SF_FORMAT_TYPEMASK;
    const std::string extension = type == SF_FORMAT_FLAC ? ".flac" : type == SF_FORMAT_AIFF ? ".aiff" : ".wav";
    const std::string in = scratch.path("in" + extension), out = scratch.path(c.output);

    // 1.3 s at 44.1 kHz: not a whole number of blocks of any size used here.
    Audio stereo = testSignal(44100, 57331, c.inputFormat);
    Audio written = stereo;
    if (c.monoInput)
    {
        written.channels = 1;
        written.samples.clear();
        for (size_t i = 0; i < stereo.frames(); ++i)
            written.samples.push_back(stereo.at(i, 0));
    }
    ASSERT_TRUE(writeAudio(in, written));
    Audio input;
    ASSERT_TRUE(readAudio(in, input)); // the samples as any reader sees them
    if (c.monoInput)
    {
        Audio both = input;
        both.channels = 2;
        both.samples.clear();
        for (double sample : input.samples)
            both.samples.insert(both.samples.end(), {sample, sample});
        input = both;
    }

    std::vector<std::string> arguments{"render", in, out, "--bundle", bundle()};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const RunResult result = run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err; // no progress bar without a terminal

    Audio rendered;
    ASSERT_TRUE(readAudio(out, rendered));
    EXPECT_EQ(rendered.sampleRate, 44100);
    EXPECT_EQ(rendered.channels, 2);
    EXPECT_EQ(rendered.format, c.outputFormat);
    ASSERT_EQ(rendered.frames(), input.frames());

    const std::vector<double> expected = harnessRender(input, c.harness);
    ASSERT_EQ(expected.size(), rendered.samples.size());
    size_t differing = 0, first = expected.size();
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] != rendered.samples[i])
        {
            ++differing;
            first = std::min(first, i);
        }
    EXPECT_EQ(differing, 0u) << "first difference at frame " << first / 2 << " channel " << first % 2 << ": "
                             << rendered.samples[first] << " instead of " << expected[first];
    // The settings did something; neutral ones in 32 bits nothing at all.
    const bool neutral = c.harness.values.empty() && c.harness.programValue < 0.0;
    if (!neutral || c.harness.precision == 32)
    {
        EXPECT_EQ(expected != input.samples, !neutral);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderMatchesHarness, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<MatchCase>& info) { return info.param.name; });

} // namespace
