// Bad input gets a clear message and a non-zero exit, and loses nothing: each
// case runs the real executable in a folder of its own and checks the exit
// code, the words of the message, and that every file there is unchanged and
// nothing (not even a temporary file) was added.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/tools/CliRunner.h"

using namespace KalviorCli;

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

void stereoInput(const ScratchDir& dir);

struct ErrorCase
{
    const char* name;
    int exitCode;
    // As typed, without quotes: words, then options each with its value up to
    // the next option. Options alone follow "render @in.wav @out.wav --bundle
    // {bundle}". "@name" stands for a file in the case's folder, "{bundle}"
    // for the built bundle.
    std::string command;
    std::string messageParts; // separated by '|'
    std::function<void(const ScratchDir&)> setup = stereoInput;
};

void PrintTo(const ErrorCase& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<std::string> split(const std::string& text, const std::string& separator)
{
    std::vector<std::string> parts;
    for (size_t start = 0, end = 0; start <= text.size(); start = end + separator.size())
    {
        end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
    }
    return parts;
}

void stereoInput(const ScratchDir& dir)
{
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), testSignal(48000, 4800, SF_FORMAT_WAV | SF_FORMAT_PCM_16)));
}

void audioWithChannels(const ScratchDir& dir, int channels)
{
    Audio audio;
    audio.sampleRate = 48000;
    audio.channels = channels;
    audio.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    audio.samples.assign(static_cast<size_t>(480 * channels), 0.25);
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), audio));
}

void textFile(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
}

void notAudio(const ScratchDir& dir)
{
    textFile(dir.path("in.wav"), "hello, not audio\n");
}

void directoryInput(const ScratchDir& dir)
{
    ::mkdir(dir.path("in.wav").c_str(), 0777);
}

void monoInput(const ScratchDir& dir)
{
    audioWithChannels(dir, 1);
}

void threeChannels(const ScratchDir& dir)
{
    audioWithChannels(dir, 3);
}

void fileNamedDemo(const ScratchDir& dir)
{
    textFile(dir.path("demo"), "a file, not a folder");
}

std::vector<ErrorCase> cases()
{
    const auto withExisting = [](const ScratchDir& dir)
    {
        stereoInput(dir);
        textFile(dir.path("out.wav"), "an earlier result that must survive");
    };
    const auto fakeBundle = [](const std::string& library)
    {
        return [library](const ScratchDir& dir)
        {
            stereoInput(dir);
            const std::string binary = dir.path("Fake.vst3/Contents/x86_64-linux");
            ::mkdir(dir.path("Fake.vst3").c_str(), 0777);
            ::mkdir(dir.path("Fake.vst3/Contents").c_str(), 0777);
            ::mkdir(binary.c_str(), 0777);
            textFile(binary + "/Fake.so", library.empty() ? "not a shared object" : fileBytes(library));
        };
    };
    const auto stereoAnd = [](void (*more)(const ScratchDir&))
    {
        return [more](const ScratchDir& dir)
        {
            stereoInput(dir);
            more(dir);
        };
    };
    return {
        {"MissingInput", kFailure, "render @nothere.wav @out.wav --bundle {bundle}",
         "cannot open|nothere.wav|No such file"},
        {"InputNotAudio", kFailure, "", "cannot read|in.wav", notAudio},
        {"InputIsDirectory", kFailure, "", "is a directory", directoryInput},
        {"MonoWithoutFlag", kFailure, "", "mono|--mono-to-stereo", monoInput},
        {"ThreeChannels", kFailure, "--mono-to-stereo", "3 channels|stereo", threeChannels},
        {"OutputIsInput", kFailure, "render @in.wav @in.wav --bundle {bundle} --force", "is the input"},
        {"OutputIsInputSpelledOtherwise", kFailure, "render @in.wav @sub/../in.wav --bundle {bundle} --force",
         "is the input", stereoAnd([](const ScratchDir& d) { ::mkdir(d.path("sub").c_str(), 0777); })},
        {"OutputIsInputThroughSymlink", kFailure, "render @in.wav @link.wav --bundle {bundle} --force", "is the input",
         stereoAnd([](const ScratchDir& d) { ASSERT_EQ(::symlink("in.wav", d.path("link.wav").c_str()), 0); })},
        {"OutputIsInputThroughHardLink", kFailure, "render @in.wav @hard.wav --bundle {bundle} --force", "is the input",
         stereoAnd([](const ScratchDir& d)
                   { ASSERT_EQ(::link(d.path("in.wav").c_str(), d.path("hard.wav").c_str()), 0); })},
        {"ScopePictureIsInput", kFailure, "--scope @in.wav --force", "is the input"},
        {"ExistingOutput", kFailure, "", "exists|--force", withExisting},
        {"MissingOutputDirectory", kFailure, "render @in.wav @no/such/dir/out.wav --bundle {bundle}", "does not exist"},
        {"UnsupportedOutputType", kUsage, "render @in.wav @out.mp3 --bundle {bundle}", ".wav|.flac|.aiff"},
        {"FloatIntoFlac", kUsage, "render @in.wav @out.flac --bundle {bundle} --sample-format float", "FLAC|integer"},
        {"UnknownParameter", kUsage, "--set Left Gian=-6", "Left Gian|did you mean 'Left Gain'"},
        {"UnknownProgram", kUsage, "--program Stereo Rotaton", "Stereo Rotaton|did you mean 'Stereo Rotation'"},
        {"UnparsableNumber", kUsage, "--set Left Gain=loud", "'loud' is not a value of Left Gain|norm(x)"},
        {"MisspeltListEntry", kUsage, "--set Crossover=LR4", "did you mean 'LR-4'"},
        {"NormalisedOutOfRange", kUsage, "--set Balance=norm(1.5)", "norm(1.5)|0 <= x <= 1"},
        {"AutomatingAListParameter", kUsage, "--automate Mono=0:Off,1:On", "Mono cannot be automated|--set"},
        {"SetAndAutomated", kUsage, "--set Balance=10 --automate Balance=0:-10,0.05:10", "both set and automated"},
        {"AutomationBadTime", kUsage, "--automate Balance=0:-45,soon:45", "soon:45|seconds"},
        {"AutomationTimesGoBack", kUsage, "--automate Balance=1:-45,0.5:45", "must not decrease"},
        {"ProgramThroughSet", kUsage, "--set ProgSel=Bass Squeeze", "--program"},
        {"ScopeNeedsScopeOn", kUsage, "--scope @s.png --set Scope=Off", "Scope on"},
        {"UnknownOption", kUsage, "render @in.wav @out.wav --blok 64", "--blok|did you mean --block"},
        {"BlockOutOfRange", kUsage, "render @in.wav @out.wav --block 0", "--block"},
        {"PrecisionNot32Or64", kUsage, "render @in.wav @out.wav --precision 16", "--precision|32 or 64"},
        {"OneFileOnly", kUsage, "render @in.wav", "input and an output"},
        {"UnknownCommand", kUsage, "rendr @in.wav @out.wav", "did you mean render"},
        {"MissingBundle", kFailure, "render @in.wav @out.wav --bundle @Nothing.vst3", "no plug-in bundle|Nothing.vst3"},
        {"BundleNotASharedObject", kFailure, "render @in.wav @out.wav --bundle @Fake.vst3", "failed to load|Fake.so",
         fakeBundle("")},
        {"BundleWithoutEntryPoints", kFailure, "render @in.wav @out.wav --bundle @Fake.vst3",
         "failed to load|ModuleEntry", fakeBundle(SNDFILE_LIBRARY)},
        {"InfoWithMissingBundle", kFailure, "info --bundle @Nothing.vst3", "no plug-in bundle"},
        {"DemoIntoAFile", kFailure, "demo @demo --bundle {bundle}", "not a directory", fileNamedDemo},
    };
}

// Every file in the folder with its bytes (folders and links by their kind).
std::map<std::string, std::string> snapshot(const ScratchDir& dir)
{
    std::map<std::string, std::string> files;
    for (const std::string& name : dir.list())
    {
        struct stat status
        {};
        ::lstat(dir.path(name).c_str(), &status);
        files[name] = S_ISDIR(status.st_mode)   ? "<dir>"
                      : S_ISLNK(status.st_mode) ? "<link>"
                                                : fileBytes(dir.path(name));
    }
    return files;
}

class CliErrors : public ::testing::TestWithParam<ErrorCase>
{};

TEST_P(CliErrors, ClearMessageNonZeroExitNothingLost)
{
    const ErrorCase& c = GetParam();
    ScratchDir dir(std::string("error-") + c.name);
    c.setup(dir);
    const auto before = snapshot(dir);

    const std::string render = "render @in.wav @out.wav --bundle {bundle}";
    const std::string command = c.command.empty()               ? render
                                : c.command.rfind("--", 0) == 0 ? render + " " + c.command
                                                                : c.command;
    const std::vector<std::string> options = split(command, " --");
    std::vector<std::string> words = split(options[0], " ");
    for (size_t i = 1; i < options.size(); ++i)
    {
        const size_t space = options[i].find(' ');
        words.push_back("--" + options[i].substr(0, space));
        if (space != std::string::npos)
            words.push_back(options[i].substr(space + 1));
    }
    std::vector<std::string> arguments;
    for (const std::string& word : words)
        arguments.push_back(word == "{bundle}" ? bundle() : word[0] == '@' ? dir.path(word.substr(1)) : word);
    const RunResult result = run(arguments);

    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.rfind("kalvior: ", 0), 0u) << result.err;
    for (const std::string& part : split(c.messageParts, "|"))
        EXPECT_NE(result.err.find(part), std::string::npos) << "'" << part << "' missing from: " << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(snapshot(dir), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CliErrors, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST(CliErrors, ForceReplacesAnExistingOutputAndLeavesNoTemporaryFile)
{
    ScratchDir dir("error-force");
    stereoInput(dir);
    textFile(dir.path("out.wav"), "old");
    const RunResult result = run({"render", dir.path("in.wav"), dir.path("out.wav"), "--bundle", bundle(), "--force"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Audio out;
    EXPECT_TRUE(readAudio(dir.path("out.wav"), out));
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

} // namespace
