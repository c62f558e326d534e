#pragma once

// One fixed rendering of the built module, the same on every platform: a
// deterministic stereo signal through a setting that uses every stage (input
// gains and pans, the LR-4 crossover, both bands' width and pan, mid/side
// output), with automation inside a block. Linux writes it to files at build
// time; the Windows tests render again under Wine and compare.

#include "tests/support/StateRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace PlatformRender {

using Samples = std::vector<double>; // interleaved per frame (left, right, left, ...)

struct Rendering
{
    Samples output;
    KalviorTest::Bytes state; // the component state after the settings (VST 3 only)
    std::string error;        // empty on success
};

// The parameter values set before processing.
const KalviorTest::ValueList& settings();

// Through GetPluginFactory of the bundle, as a VST 3 host: settings as a
// component state, then blocks of sampleSize (0: 32-bit, 1: 64-bit) with
// sample-accurate automation.
Rendering renderVst3(const std::string& bundle, int32_t sampleSize);

// Through VSTPluginMain of the module binary, as a VST 2 host: settings with
// setParameter, then processReplacing or processDoubleReplacing.
Rendering renderVst2(const std::string& module, bool doublePrecision);

// Everything the parameters say in text, one item a line: each one's info
// and its display text at values k/40 with the value read back from that
// text (the VST 2 entry shows the same texts). Empty with `error` set when
// the module cannot be loaded.
std::string describeTexts(const std::string& bundle, std::string& error);

// Whole files of raw bytes (samples in the machine's order: both platforms
// are little-endian); false when the file cannot be written or read.
bool writeFile(const std::string& path, const void* data, size_t size);
bool readFile(const std::string& path, std::string& bytes);

// The files a reference rendering consists of, inside its folder.
constexpr const char* kVst3Double = "vst3-64.raw";
constexpr const char* kVst3Float = "vst3-32.raw";
constexpr const char* kVst2Double = "vst2-64.raw";
constexpr const char* kVst2Float = "vst2-32.raw";
constexpr const char* kState = "state.bin";
constexpr const char* kTexts = "texts.txt";

} // namespace PlatformRender
