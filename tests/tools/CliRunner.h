#pragma once

// Runs the built `kalvior` executable as a user would and captures what it
// says, plus helpers for the scratch folders and audio files the tests use.

#include <cstdint>
#include <string>
#include <vector>

namespace KalviorCli {

struct RunResult
{
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs kalvior with `arguments` (no shell involved); `environment` entries
// ("NAME=value") replace or extend the current environment.
RunResult run(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {});

// The built bundle and the executable.
std::string bundle();
std::string executable();

// A fresh empty folder below the build tree, removed by the destructor.
class ScratchDir
{
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    std::string path(const std::string& file) const { return root + "/" + file; }
    const std::string& dir() const { return root; }
    // File names in the folder, sorted, hidden ones included.
    std::vector<std::string> list() const;

private:
    std::string root;
};

struct Audio
{
    int sampleRate = 0;
    int channels = 0;
    int format = 0;              // libsndfile SF_FORMAT_*
    std::vector<double> samples; // interleaved

    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
    double at(size_t frame, int channel) const
    {
        return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)];
    }
};

// Through libsndfile directly, independent of the tool's own file code.
bool writeAudio(const std::string& path, const Audio& audio);
bool readAudio(const std::string& path, Audio& audio);

// Raw bytes of a file, empty when it cannot be read.
std::string fileBytes(const std::string& path);

// A stereo test signal: two incommensurate sines and fixed-seed noise, below
// full scale, of `frames` frames.
Audio testSignal(int sampleRate, size_t frames, int format);

// A constant stereo frame, `frames` times, at 48 kHz in 32-bit float WAV.
Audio constantSignal(size_t frames, double left, double right);

} // namespace KalviorCli
