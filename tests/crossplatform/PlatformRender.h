#pragma once

// One fixed rendering of the built module, the same on every platform: a
// deterministic stereo signal through a setting that uses every stage (input
// gains and pans, the LR-4 crossover, both bands' width and pan, mid/side
// output), with automation inside a block. Linux writes it to files at build
// time; the Windows tests render again under Wine and compare.

#include <cstdint>
#include <string>
#include <vector>

namespace PlatformRender {

constexpr double kSampleRate = 48000.0;
constexpr int32_t kFrames = 4096;
constexpr int32_t kBlockSize = 512;

struct Setting
{
    uint32_t id;
    double value; // normalised
};

// The parameter values set before processing.
const std::vector<Setting>& settings();

// Channel samples, interleaved per frame (left, right, left, ...).
using Samples = std::vector<double>;

struct Rendering
{
    Samples output;
    std::vector<uint8_t> state; // the component state after the settings (VST 3 only)
    std::string error;          // empty on success
};

// Through GetPluginFactory of the bundle, as a VST 3 host: settings as a
// component state, then 32-bit (sampleSize 0) or 64-bit (1) blocks with
// sample-accurate automation.
Rendering renderVst3(const std::string& bundle, int32_t sampleSize);

// Through VSTPluginMain of the module binary, as a VST 2 host: settings with
// setParameter, then processReplacing or processDoubleReplacing.
Rendering renderVst2(const std::string& module, bool doublePrecision);

// Everything the module says in text, one item a line: the VST 3
// parameters' titles, units, steps and defaults with the display text of each
// at values k/40 and the value read back from that text; the VST 2 effect's
// identity and each parameter's name, label and display at the same values.
// Empty with `error` set when the module cannot be loaded.
std::string describeTexts(const std::string& bundle, const std::string& vst2Module, std::string& error);

// The input both renderings process.
Samples inputSignal();

// Little-endian files of doubles or bytes; false when the file cannot be
// written or read whole.
bool writeSamples(const std::string& path, const Samples& samples);
bool readSamples(const std::string& path, Samples& samples);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool readBytes(const std::string& path, std::vector<uint8_t>& bytes);

// The files a reference rendering consists of, inside its folder.
struct ReferenceFiles
{
    static constexpr const char* kVst3Double = "vst3-64.raw";
    static constexpr const char* kVst3Float = "vst3-32.raw";
    static constexpr const char* kVst2Double = "vst2-64.raw";
    static constexpr const char* kVst2Float = "vst2-32.raw";
    static constexpr const char* kState = "state.bin";
    static constexpr const char* kTexts = "texts.txt";
};

} // namespace PlatformRender
