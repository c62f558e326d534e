// What a user of `kalvior` meets beyond single options: the installed bundle
// found on its own, repeated settings, Ctrl-C in the middle of a render and a
// crossover swept by automation.
#include "tests/tools/CliRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <sndfile.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace KalviorCli;

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

TEST(CliSession, TheInstalledBundleIsFoundWithoutBeingNamed)
{
    ScratchDir home("installed-home");
    std::filesystem::create_directories(home.path(".vst3"));
    std::filesystem::create_directory_symlink(bundle(), home.path(".vst3/Kalvior.vst3"));
    const RunResult result = run({"info"}, {"HOME=" + home.dir()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Crossover Freq"), std::string::npos) << result.out;

    // Nothing installed: the message names where it looked and how to go on.
    for (const char* system : {"/usr/local/lib/vst3/Kalvior.vst3", "/usr/lib/vst3/Kalvior.vst3"})
        if (::access(system, F_OK) == 0)
            GTEST_SKIP() << "Kalvior is installed system-wide at " << system;
    ScratchDir empty("empty-home");
    const RunResult missing = run({"info"}, {"HOME=" + empty.dir()});
    EXPECT_EQ(missing.exitCode, 1);
    for (const std::string& part :
         {std::string("not installed"), empty.dir() + "/.vst3/Kalvior.vst3", std::string("--bundle")})
        EXPECT_NE(missing.err.find(part), std::string::npos) << missing.err;
}

// A later --set of the same parameter wins, as on any command line.
TEST(CliSession, ALaterSetOfAParameterWins)
{
    ScratchDir dir("later-set");
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), constantSignal(4800, 0.5, 0.5)));
    const RunResult result =
        run({"render", dir.path("in.wav"), dir.path("out.wav"), "--bundle", bundle(), "--set", "Gain Trim=6", "--set",
             "Mute Left=On", "--set", "Gain Trim=-6", "--set", "Mute Left=Off", "--sample-format", "double"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Audio output;
    ASSERT_TRUE(readAudio(dir.path("out.wav"), output));
    ASSERT_EQ(output.frames(), 4800u);
    // -6 dB of trim on both channels, the left one not muted.
    const double gain = std::pow(10.0, -6.0 / 20.0);
    EXPECT_NEAR(output.at(4799, 0), 0.5 * gain, 1e-6);
    EXPECT_NEAR(output.at(4799, 1), 0.5 * gain, 1e-6);
}

// Ctrl-C while a render runs: no output, no temporary file, a failure exit.
TEST(CliSession, AnInterruptedRenderLeavesNothingBehind)
{
    ScratchDir dir("interrupted");
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), constantSignal(48000 * 40, 0.25, -0.25)));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        const std::string in = dir.path("in.wav"), out = dir.path("out.wav"), plugin = bundle();
        execl(executable().c_str(), "kalvior", "render", in.c_str(), out.c_str(), "--bundle", plugin.c_str(), "--block",
              "1", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until the render writes (its temporary file exists), then interrupt.
    bool writing = false;
    for (int i = 0; i < 600 && !writing; ++i)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        writing = dir.list().size() > 1;
    }
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(writing) << "the render never started writing";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"in.wav"});
}

// The crossover frequency swept from 100 to 800 Hz (normalised 0 to 1, 100 x 8^v
// Hz) over a second, LR-4 with the low band soloed: a 400 Hz tone comes through
// as the low-pass magnitude of a Linkwitz-Riley filter of order 4 at the
// moment's cut-off, 1 / (1 + (f / fc)^4).
TEST(CliSession, CrossoverFrequencyAutomationSweepsTheLowBand)
{
    ScratchDir dir("crossover-sweep");
    Audio input{48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {}};
    for (size_t i = 0; i < 48000; ++i)
    {
        const double s = 0.5 * std::sin(2.0 * kPi * 400.0 * double(i) / 48000.0);
        input.samples.insert(input.samples.end(), {s, s});
    }
    ASSERT_TRUE(writeAudio(dir.path("in.wav"), input));
    const RunResult result =
        run({"render", dir.path("in.wav"), dir.path("out.wav"), "--bundle", bundle(), "--set", "Crossover=LR-4",
             "--set", "Solo=LOPASS", "--automate", "Crossover Freq=0:norm(0),1:norm(1)", "--sample-format", "double"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Audio output;
    ASSERT_TRUE(readAudio(dir.path("out.wav"), output));
    ASSERT_EQ(output.frames(), 48000u);
    for (double t : {0.1, 0.3, 0.5, 0.7, 0.9})
    {
        const size_t centre = size_t(t * 48000.0);
        double energy = 0.0;
        for (size_t i = centre - 1200; i < centre + 1200; ++i) // 20 periods
            energy += output.at(i, 0) * output.at(i, 0);
        const double magnitude = std::sqrt(energy / 2400.0) * std::sqrt(2.0) / 0.5;
        const double fc = 100.0 * std::pow(8.0, t);
        EXPECT_NEAR(magnitude, 1.0 / (1.0 + std::pow(400.0 / fc, 4.0)), 0.06) << "at " << t << " s, " << fc << " Hz";
    }
}
