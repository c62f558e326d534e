#pragma once

#include "tools/ReplacingFile.h"

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

// Audio file input and output through libsndfile (WAV, FLAC, AIFF).
// Reading de-interleaves into the two channel buffers the plug-in wants;
// writing goes to a temporary file beside the target, renamed into place only
// when everything was written, so a failed run never leaves half a file.

struct AudioFileInfo
{
    int sampleRate = 0;
    int channels = 0;
    int format = 0; // libsndfile SF_FORMAT_* (container | sample type)
    int64_t frames = 0;
};

// Text for a libsndfile format, e.g. "WAV 24-bit PCM".
std::string describeFormat(int format);

class AudioFileReader
{
public:
    AudioFileReader() = default;
    ~AudioFileReader();
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    // False with a message in `error` when the file is missing, unreadable or
    // not an audio file libsndfile knows.
    bool open(const std::string& path, std::string& error);
    const AudioFileInfo& info() const { return fileInfo; }

    // Reads up to `frames` frames into the two channel buffers; a mono file
    // fills both with the same samples. Returns the frames read (0 at the end).
    size_t readStereo(float* left, float* right, size_t frames);
    size_t readStereo(double* left, double* right, size_t frames);

private:
    template <typename Sample>
    size_t readInto(Sample* left, Sample* right, size_t frames);

    std::vector<float>& buffer(float*) { return floatSamples; }
    std::vector<double>& buffer(double*) { return doubleSamples; }

    SNDFILE* file = nullptr;
    AudioFileInfo fileInfo;
    std::vector<float> floatSamples;
    std::vector<double> doubleSamples;
};

// How the output stores its samples.
enum class SampleFormat
{
    Automatic, // float for WAV and AIFF; the input's PCM depth (or 24-bit) for FLAC
    Float,
    Double,
    Input, // the input's sample type
    Pcm16,
    Pcm24,
};

// Parses "float", "double", "input", "pcm16", "pcm24"; false otherwise.
bool parseSampleFormat(const std::string& text, SampleFormat& format);

// The libsndfile format for writing `path` (container from its extension),
// or 0 with a message in `error` when the combination cannot be written.
int chooseOutputFormat(const std::string& path, int inputFormat, SampleFormat requested, std::string& error);

class AudioFileWriter
{
public:
    AudioFileWriter() = default;
    ~AudioFileWriter(); // an uncommitted temporary file is removed
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Creates the temporary file in the directory of `path`.
    bool open(const std::string& path, int format, int sampleRate, int channels, std::string& error);

    bool writeStereo(const float* left, const float* right, size_t frames, std::string& error);
    bool writeStereo(const double* left, const double* right, size_t frames, std::string& error);

    // Samples beyond full scale that an integer format had to clip.
    uint64_t clippedSamples() const { return clipped; }

    // Closes the temporary file and renames it over `path`.
    bool commit(std::string& error);

private:
    template <typename Sample>
    bool writeFrom(const Sample* left, const Sample* right, size_t frames, std::string& error);
    void discard();

    SNDFILE* file = nullptr;
    ReplacingFile output;
    int integerBits = 0; // PCM depth of the output, 0 for floating point
    uint64_t clipped = 0;
    std::vector<float> floatSamples;
    std::vector<double> doubleSamples;
    std::vector<int> intSamples;
};
