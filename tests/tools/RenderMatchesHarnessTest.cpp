// `kalvior render` must hand the plug-in exactly what a host would, and write
// exactly what the plug-in produced in the type asked for: its output file is
// compared bit for bit with the bundle driven directly through the host
// harness, also across file types (with every control neutral the plug-in
// passes integer samples through unchanged, so they fit any output type).
// The harness gets normalised values worked out here from the published ranges
// (fader: -12 dB at 0.5 and 48 dB per unit above; scaled: (p - min) / span;
// lists: i / (n - 1)), so the command line's text parsing is checked too.
#include <gtest/gtest.h>

#include <algorithm>

#include <sndfile.h>

#include "tests/support/ProcessingHost.h"
#include "tests/tools/CliRunner.h"

#include "sdk/hosting/PluginModule.h"

using namespace KalviorCli;
using namespace Steinberg;

namespace {

struct HarnessSettings
{
    int blockSize = 512;
    int precision = 32;
    double programValue = -1.0;                      // ProgSel value, or -1 for no program change
    std::vector<std::pair<uint32_t, double>> values; // handed over before the first block
};
// Hands parameter values over in a call without audio, as hosts flush them.
void flush(KalviorTest::ProcessingHost& host, Hosting::ParameterChanges& changes)
{
    Vst::ProcessData& data = host.buffers.block(0, &changes, &host.outputChanges);
    data.numInputs = 0;
    data.numOutputs = 0;
    host.processor()->process(data);
    data.numInputs = 1;
    data.numOutputs = 1;
    changes.clear();
}

// The reference a render must match: the bundle driven directly through the
// host harness as a DAW drives it (values handed over in calls without audio,
// a stretch of silence before playback, then block by block). Returns the
// output, interleaved, each sample as the plug-in wrote it; empty on failure.
std::vector<double> harnessRender(const Audio& input, const HarnessSettings& settings)
{
    std::string error;
    auto module = Hosting::PluginModule::load(bundle(), error);
    if (!module)
        return {};
    KalviorTest::ProcessingHost host(module->factory());
    const int32 sampleSize = settings.precision == 64 ? Vst::kSample64 : Vst::kSample32;
    if (!host.ok() || host.start({double(input.sampleRate), settings.blockSize, sampleSize, true}) != kResultOk)
        return {};

    Hosting::ParameterChanges changes;
    if (settings.programValue >= 0.0)
    {
        changes.addChange(0, 0, settings.programValue);
        flush(host, changes);
    }
    for (const auto& [id, value] : settings.values)
        changes.addChange(id, 0, value);
    if (!settings.values.empty())
        flush(host, changes);

    // 4096 frames of silence with the scope off, as a host's stopped
    // transport gives before playback, so the crossover's glide is over.
    double scope = 1.0; // "Scope" (ID 2) is on by default
    for (const auto& [id, value] : settings.values)
        if (id == 2)
            scope = value;
    changes.addChange(2, 0, 0.0);
    flush(host, changes);
    for (int32 done = 0; done < 4096; done += settings.blockSize)
    {
        const int32 n = std::min<int32>(settings.blockSize, 4096 - done);
        host.fillInput(n, 0.0, 0.0);
        host.process(n, nullptr, false);
    }
    changes.addChange(2, 0, scope);
    flush(host, changes);

    const size_t frames = input.frames();
    std::vector<double> output(frames * 2);
    for (size_t start = 0; start < frames; start += static_cast<size_t>(settings.blockSize))
    {
        const int32 n = static_cast<int32>(std::min<size_t>(static_cast<size_t>(settings.blockSize), frames - start));
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                host.buffers.setInput(channel, i, input.at(start + static_cast<size_t>(i), channel));
        host.process(n, nullptr, false);
        for (int32 i = 0; i < n; ++i)
            for (int32 channel = 0; channel < 2; ++channel)
                output[(start + static_cast<size_t>(i)) * 2 + static_cast<size_t>(channel)] = host.out(channel, i);
    }
    host.stop();
    return output;
}

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
    // The settings did something; neutral ones nothing at all.
    const bool neutral = c.harness.values.empty() && c.harness.programValue < 0.0;
    EXPECT_EQ(expected != input.samples, !neutral);
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderMatchesHarness, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<MatchCase>& info) { return info.param.name; });

} // namespace
