#include "sdk/hosting/PluginModule.h"
#include "tools/BundleLocation.h"
#include "tools/Commands.h"
#include "tools/DemoSignal.h"
#include "tools/PluginSession.h"
#include "tools/Render.h"
#include "tools/ReplacingFile.h"
#include "tools/StereoStats.h"
#include "tools/WavIo.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kDemoRate = 48000;
constexpr double kDemoSeconds = 4.0;

// "Top and Bottom Pan" -> "top-and-bottom-pan"
std::string fileStem(const std::string& name)
{
    std::string stem;
    for (char c : name)
    {
        if (std::isalnum(static_cast<unsigned char>(c)))
            stem += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!stem.empty() && stem.back() != '-')
            stem += '-';
    }
    while (!stem.empty() && stem.back() == '-')
        stem.pop_back();
    return stem.empty() ? "program" : stem;
}

bool makeDirectory(const std::string& path, std::string& error)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) == 0)
    {
        if (S_ISDIR(status.st_mode))
            return true;
        error = "'" + path + "' exists and is not a directory";
        return false;
    }
    if (::mkdir(path.c_str(), 0777) != 0)
    {
        error = "cannot create the directory '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

template <typename Sample>
bool writeWav(const std::string& path, const std::vector<Sample>& left, const std::vector<Sample>& right,
              std::string& error)
{
    AudioFileWriter writer;
    return writer.open(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, kDemoRate, 2, error) &&
           writer.writeStereo(left.data(), right.data(), left.size(), error) && writer.commit(error);
}

struct ProgramFiles
{
    std::string name;
    std::string wav;
    std::string png;
};

// Renders the signal through one program in a fresh instance and writes its
// files; `stats` describes the output.
template <typename Sample>
bool renderProgram(Steinberg::Hosting::PluginModule& module, const DemoRequest& request, int program,
                   const ProgramFiles& files, const std::vector<Sample>& left, const std::vector<Sample>& right,
                   StereoStats& stats, std::string& error)
{
    auto session = PluginSession::create(module, error);
    if (!session)
        return false;
    RenderPlan plan;
    plan.sampleRate = kDemoRate;
    plan.blockSize = request.blockSize;
    plan.precision = request.precision;
    plan.program = program;
    plan.drawScope = true;
    Renderer renderer(*session, plan);
    if (!renderer.start(error))
        return false;
    std::vector<Sample> outLeft(left.size()), outRight(right.size());
    renderer.process(left.data(), right.data(), outLeft.data(), outRight.data(), static_cast<int64_t>(left.size()));
    renderer.stop();
    stats.add(outLeft.data(), outRight.data(), outLeft.size());
    return writeWav(files.wav, outLeft, outRight, error) &&
           renderer.scope().writePng(files.png, "Kalvior demo: " + files.name, error);
}

template <typename Sample>
int runPrograms(Steinberg::Hosting::PluginModule& module, const DemoRequest& request,
                const std::vector<ProgramFiles>& files, const std::string& inputPath)
{
    std::vector<double> left64, right64;
    synthesiseDemoSignal(kDemoRate, kDemoSeconds, left64, right64);
    const std::vector<Sample> left(left64.begin(), left64.end()), right(right64.begin(), right64.end());
    std::string error;
    if (!writeWav(inputPath, left, right, error))
        return fail(kExitFailure, error);

    std::vector<std::pair<std::string, StereoStats>> rows;
    StereoStats inputStats;
    inputStats.add(left.data(), right.data(), left.size());
    rows.emplace_back("(input)", inputStats);
    for (size_t program = 0; program < files.size(); ++program)
    {
        if (interruptRequested())
            return fail(kExitInterrupted, "interrupted");
        StereoStats stats;
        if (!renderProgram(module, request, static_cast<int>(program), files[program], left, right, stats, error))
            return fail(kExitFailure, files[program].name + ": " + error);
        rows.emplace_back(files[program].name, stats);
        std::printf("  %-22s -> %s, %s\n", files[program].name.c_str(), files[program].wav.c_str(),
                    files[program].png.c_str());
    }
    std::printf("\nA %.0f s test signal at %d Hz through each factory program (%d-bit, %d-frame blocks):\n"
                "centred 55 Hz bass, 440 Hz left of centre, 660 Hz right of centre, 1 kHz sweeping\n"
                "left to right, quiet uncorrelated noise. M/S: mid energy over side energy.\n\n%s",
                kDemoSeconds, kDemoRate, request.precision, request.blockSize, formatStatsTable(rows).c_str());
    return kExitSuccess;
}

} // namespace

int runDemo(const CommandLine& commandLine)
{
    const DemoRequest& request = commandLine.demo;
    std::string error;
    auto module = loadBundle(commandLine.bundle, error);
    if (!module)
        return fail(kExitFailure, error);
    auto probe = PluginSession::create(*module, error);
    if (!probe)
        return fail(kExitFailure, error);
    const std::vector<std::string> programs = probe->programs();
    probe.reset();
    if (programs.empty())
        return fail(kExitFailure, "the plug-in offers no factory programs");

    if (!makeDirectory(request.directory, error))
        return fail(kExitFailure, error);
    const std::string inputPath = request.directory + "/input.wav";
    std::vector<ProgramFiles> files;
    std::vector<std::string> paths{inputPath};
    for (size_t i = 0; i < programs.size(); ++i)
    {
        const std::string stem = request.directory + "/" + std::to_string(i) + "-" + fileStem(programs[i]);
        files.push_back({programs[i], stem + ".wav", stem + ".png"});
        paths.push_back(files.back().wav);
        paths.push_back(files.back().png);
    }
    for (const std::string& path : paths)
        if (!checkOutputPath("", path, request.force, error))
            return fail(kExitFailure, error);

    installInterruptHandler();
    std::printf("Kalvior demo: writing into %s/\n", request.directory.c_str());
    return request.precision == 64 ? runPrograms<double>(*module, request, files, inputPath)
                                   : runPrograms<float>(*module, request, files, inputPath);
}
