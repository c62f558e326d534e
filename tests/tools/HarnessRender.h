#pragma once

// The reference a render must match: the built bundle driven directly through
// the host harness as a DAW drives it (values handed over in calls without
// audio, a stretch of silence before playback, then block by block), with
// values given as normalised numbers the test works out itself.

#include <cstdint>
#include <utility>
#include <vector>

#include "tests/tools/CliRunner.h"

namespace KalviorCli {

struct HarnessSettings
{
    int blockSize = 512;
    int precision = 32;
    double programValue = -1.0;                      // ProgSel value, or -1 for no program change
    std::vector<std::pair<uint32_t, double>> values; // handed over before the first block
};

// Processes `input` (stereo) and returns the output, interleaved, each sample
// as the plug-in wrote it (32-bit samples widened exactly). Empty on failure.
std::vector<double> harnessRender(const Audio& input, const HarnessSettings& settings);

} // namespace KalviorCli
