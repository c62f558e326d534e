#include "tests/tools/CliRunner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sndfile.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace KalviorCli {

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string bundle()
{
    return KALVIOR_BUNDLE_DIR;
}

std::string executable()
{
    return KALVIOR_CLI;
}

RunResult run(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    static int counter = 0;
    const std::string base =
        std::string(KALVIOR_TEST_SCRATCH) + "/run-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const std::string outPath = base + ".out", errPath = base + ".err";
    std::filesystem::create_directories(KALVIOR_TEST_SCRATCH);

    // Through env(1): the given variables replace those of the same name.
    std::vector<std::string> texts{"/usr/bin/env"};
    texts.insert(texts.end(), environment.begin(), environment.end());
    texts.push_back(executable());
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    RunResult result;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readAll(outPath);
    result.err = readAll(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return result;
}

ScratchDir::ScratchDir(const std::string& name)
    : root(std::string(KALVIOR_TEST_SCRATCH) + "/" + name + "-" + std::to_string(::getpid()))
{
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::vector<std::string> ScratchDir::list() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool writeAudio(const std::string& path, const Audio& audio)
{
    SF_INFO info{};
    info.samplerate = audio.sampleRate;
    info.channels = audio.channels;
    info.format = audio.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(audio.frames());
    const bool ok = sf_writef_double(file, audio.samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

bool readAudio(const std::string& path, Audio& audio)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return false;
    audio.sampleRate = info.samplerate;
    audio.channels = info.channels;
    audio.format = info.format;
    audio.samples.assign(static_cast<size_t>(info.frames * info.channels), 0.0);
    const bool ok = sf_readf_double(file, audio.samples.data(), info.frames) == info.frames;
    sf_close(file);
    return ok;
}

std::string fileBytes(const std::string& path)
{
    return readAll(path);
}

Audio testSignal(int sampleRate, size_t frames, int format)
{
    Audio audio;
    audio.sampleRate = sampleRate;
    audio.channels = 2;
    audio.format = format;
    audio.samples.resize(frames * 2);
    uint32_t seed = 2024u;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / sampleRate;
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
        audio.samples[2 * i] = 0.4 * std::sin(2.0 * M_PI * 233.0 * t) + 0.1 * noise;
        audio.samples[2 * i + 1] =
            0.3 * std::sin(2.0 * M_PI * 1021.0 * t + 0.5) - 0.2 * std::sin(2.0 * M_PI * 233.0 * t);
    }
    // 16- and 24-bit files hold the nearest step; keep the signal on the grid
    // so reading it back gives exactly these values.
    const int type = format & SF_FORMAT_SUBMASK;
    const double steps = type == SF_FORMAT_PCM_16 ? 32768.0 : type == SF_FORMAT_PCM_24 ? 8388608.0 : 0.0;
    if (steps > 0)
        for (double& sample : audio.samples)
            sample = std::nearbyint(sample * steps) / steps;
    else if (type == SF_FORMAT_FLOAT)
        for (double& sample : audio.samples)
            sample = static_cast<float>(sample);
    return audio;
}

Audio constantSignal(size_t frames, double left, double right)
{
    Audio audio{48000, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, {}};
    for (size_t i = 0; i < frames; ++i)
        audio.samples.insert(audio.samples.end(), {left, right});
    return audio;
}

} // namespace KalviorCli
