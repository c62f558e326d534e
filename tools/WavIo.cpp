#include "tools/WavIo.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

int container(int format)
{
    return format & SF_FORMAT_TYPEMASK;
}
int sampleType(int format)
{
    return format & SF_FORMAT_SUBMASK;
}

// Bits of a linear PCM sample type, 0 for anything else.
int pcmBits(int type)
{
    switch (type)
    {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32: return 32;
    default: return 0;
    }
}

std::string lowerExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

} // namespace

std::string describeFormat(int format)
{
    std::string text;
    switch (container(format))
    {
    case SF_FORMAT_WAV: text = "WAV"; break;
    case SF_FORMAT_WAVEX: text = "WAVE_FORMAT_EXTENSIBLE"; break;
    case SF_FORMAT_AIFF: text = "AIFF"; break;
    case SF_FORMAT_FLAC: text = "FLAC"; break;
    case SF_FORMAT_W64: text = "Wave64"; break;
    case SF_FORMAT_RF64: text = "RF64"; break;
    default: text = "audio"; break;
    }
    const int type = sampleType(format);
    if (pcmBits(type) != 0)
        return text + " " + std::to_string(pcmBits(type)) + "-bit PCM";
    if (type == SF_FORMAT_FLOAT)
        return text + " 32-bit float";
    if (type == SF_FORMAT_DOUBLE)
        return text + " 64-bit float";
    return text + " (sample type 0x" +
           [&]
    {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", type);
        return std::string(hex);
    }() + ")";
}

// ---------------------------------------------------------------------------
// Reading

AudioFileReader::~AudioFileReader()
{
    if (file)
        sf_close(file);
}

bool AudioFileReader::open(const std::string& path, std::string& error)
{
    struct stat status
    {};
    if (::stat(path.c_str(), &status) != 0)
    {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode))
    {
        error = "'" + path + "' is a directory, not an audio file";
        return false;
    }
    SF_INFO sfInfo{};
    file = sf_open(path.c_str(), SFM_READ, &sfInfo);
    if (!file)
    {
        error = "cannot read '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    fileInfo.sampleRate = sfInfo.samplerate;
    fileInfo.channels = sfInfo.channels;
    fileInfo.format = sfInfo.format;
    fileInfo.frames = sfInfo.frames;
    return true;
}

template <typename Sample>
size_t AudioFileReader::readInto(Sample* left, Sample* right, size_t frames)
{
    const size_t channels = static_cast<size_t>(fileInfo.channels);
    std::vector<Sample>& samples = buffer(left);
    samples.resize(frames * channels);
    sf_count_t got;
    if constexpr (sizeof(Sample) == sizeof(float))
        got = sf_readf_float(file, samples.data(), static_cast<sf_count_t>(frames));
    else
        got = sf_readf_double(file, samples.data(), static_cast<sf_count_t>(frames));
    if (got <= 0)
        return 0;
    const size_t count = static_cast<size_t>(got);
    for (size_t i = 0; i < count; ++i)
    {
        left[i] = samples[i * channels];
        right[i] = samples[i * channels + (channels > 1 ? 1 : 0)];
    }
    return count;
}

size_t AudioFileReader::readStereo(float* left, float* right, size_t frames)
{
    return readInto(left, right, frames);
}

size_t AudioFileReader::readStereo(double* left, double* right, size_t frames)
{
    return readInto(left, right, frames);
}

// ---------------------------------------------------------------------------
// Choosing the output format

bool parseSampleFormat(const std::string& text, SampleFormat& format)
{
    static const struct
    {
        const char* name;
        SampleFormat format;
    } names[] = {
        {"float", SampleFormat::Float}, {"double", SampleFormat::Double}, {"input", SampleFormat::Input},
        {"pcm16", SampleFormat::Pcm16}, {"pcm24", SampleFormat::Pcm24},
    };
    for (const auto& entry : names)
        if (text == entry.name)
        {
            format = entry.format;
            return true;
        }
    return false;
}

int chooseOutputFormat(const std::string& path, int inputFormat, SampleFormat requested, std::string& error)
{
    const std::string extension = lowerExtension(path);
    int type;
    if (extension == "wav" || extension == "wave")
        type = SF_FORMAT_WAV;
    else if (extension == "flac")
        type = SF_FORMAT_FLAC;
    else if (extension == "aif" || extension == "aiff" || extension == "aifc")
        type = SF_FORMAT_AIFF;
    else
    {
        error = "cannot tell the output type of '" + path + "': name it .wav, .flac or .aiff";
        return 0;
    }

    const int inputType = sampleType(inputFormat);
    const bool inputIsPcm = pcmBits(inputType) >= 16; // 8-bit and companded inputs get 24-bit
    int subtype = 0;
    switch (requested)
    {
    case SampleFormat::Automatic:
        if (type == SF_FORMAT_FLAC)
            subtype = inputIsPcm && inputType != SF_FORMAT_PCM_32 ? inputType : SF_FORMAT_PCM_24;
        else
            subtype = SF_FORMAT_FLOAT;
        break;
    case SampleFormat::Float: subtype = SF_FORMAT_FLOAT; break;
    case SampleFormat::Double: subtype = SF_FORMAT_DOUBLE; break;
    case SampleFormat::Pcm16: subtype = SF_FORMAT_PCM_16; break;
    case SampleFormat::Pcm24: subtype = SF_FORMAT_PCM_24; break;
    case SampleFormat::Input:
        if (inputType == SF_FORMAT_FLOAT || inputType == SF_FORMAT_DOUBLE || pcmBits(inputType) != 0)
            subtype = inputType;
        else
        {
            error = "the input's sample type (" + describeFormat(inputFormat) +
                    ") cannot be written; use --sample-format float or pcm24";
            return 0;
        }
        break;
    }
    // WAV stores 8-bit samples unsigned, AIFF signed.
    if (subtype == SF_FORMAT_PCM_S8 || subtype == SF_FORMAT_PCM_U8)
        subtype = type == SF_FORMAT_WAV ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_S8;

    const int format = type | subtype;
    SF_INFO probe{};
    probe.samplerate = 48000;
    probe.channels = 2;
    probe.format = format;
    if (!sf_format_check(&probe))
    {
        error = "cannot write " + describeFormat(format) + " to '" + path + "'" +
                (type == SF_FORMAT_FLAC ? ": FLAC holds 8- to 24-bit integer samples only" : "");
        return 0;
    }
    return format;
}

// ---------------------------------------------------------------------------
// Writing

AudioFileWriter::~AudioFileWriter()
{
    discard();
}

void AudioFileWriter::discard()
{
    if (file)
    {
        sf_close(file);
        file = nullptr;
    }
    output.discard();
}

bool AudioFileWriter::open(const std::string& path, int format, int sampleRate, int channels, std::string& error)
{
    discard();
    if (!output.open(path, error))
        return false;
    SF_INFO sfInfo{};
    sfInfo.samplerate = sampleRate;
    sfInfo.channels = channels;
    sfInfo.format = format;
    file = sf_open_fd(output.descriptor(), SFM_WRITE, &sfInfo, SF_FALSE);
    if (!file)
    {
        error = "cannot write '" + path + "': " + sf_strerror(nullptr);
        discard();
        return false;
    }
    integerBits = pcmBits(sampleType(format));
    clipped = 0;
    return true;
}

template <typename Sample>
bool AudioFileWriter::writeFrom(const Sample* left, const Sample* right, size_t frames, std::string& error)
{
    if (!file)
    {
        error = "no output file is open";
        return false;
    }
    sf_count_t written;
    if (integerBits != 0)
    {
        // Round at the file's own depth, so a full-scale 16-bit input read as
        // s / 32768 comes back as s, and count what had to be clipped.
        const double scale = std::ldexp(1.0, integerBits - 1);
        const double largest = scale - 1.0;
        const int shift = 32 - integerBits;
        intSamples.resize(frames * 2);
        for (size_t i = 0; i < frames * 2; ++i)
        {
            const double x = static_cast<double>(i % 2 == 0 ? left[i / 2] : right[i / 2]);
            double scaled = std::nearbyint(x * scale);
            // written so that NaN is caught as well
            if (!(scaled <= largest))
            {
                scaled = std::isnan(scaled) ? 0.0 : largest;
                ++clipped;
            }
            else if (scaled < -scale)
            {
                scaled = -scale;
                ++clipped;
            }
            const int64_t value = static_cast<int64_t>(scaled);
            intSamples[i] = static_cast<int>(static_cast<uint32_t>(value) << shift);
        }
        written = sf_writef_int(file, intSamples.data(), static_cast<sf_count_t>(frames));
    }
    else if constexpr (sizeof(Sample) == sizeof(float))
    {
        floatSamples.resize(frames * 2);
        for (size_t i = 0; i < frames; ++i)
        {
            floatSamples[2 * i] = left[i];
            floatSamples[2 * i + 1] = right[i];
        }
        written = sf_writef_float(file, floatSamples.data(), static_cast<sf_count_t>(frames));
    }
    else
    {
        doubleSamples.resize(frames * 2);
        for (size_t i = 0; i < frames; ++i)
        {
            doubleSamples[2 * i] = left[i];
            doubleSamples[2 * i + 1] = right[i];
        }
        written = sf_writef_double(file, doubleSamples.data(), static_cast<sf_count_t>(frames));
    }
    if (written != static_cast<sf_count_t>(frames))
    {
        error = "writing '" + output.target() + "' failed: " + sf_strerror(file);
        return false;
    }
    return true;
}

bool AudioFileWriter::writeStereo(const float* left, const float* right, size_t frames, std::string& error)
{
    return writeFrom(left, right, frames, error);
}

bool AudioFileWriter::writeStereo(const double* left, const double* right, size_t frames, std::string& error)
{
    return writeFrom(left, right, frames, error);
}

bool AudioFileWriter::commit(std::string& error)
{
    if (!file)
    {
        error = "no output file is open";
        return false;
    }
    const int closeResult = sf_close(file);
    file = nullptr;
    if (closeResult != 0)
    {
        error = "finishing '" + output.target() + "' failed: " + sf_error_number(closeResult);
        discard();
        return false;
    }
    return output.commit(error);
}
