#pragma once

// Rendering the same signal through the VST 2 entry and through the VST 3
// path of the built module, for sample-by-sample comparisons.

#include "tests/vst2/Vst2TestHost.h"

#include "pluginterfaces/base/ftypes.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace Vst2Test {

using Steinberg::int32;
using Changes = std::vector<std::pair<uint32_t, float>>; // parameter ID, value

struct Scenario
{
    const char* name;
    double sampleRate;
    int32 maxBlock;                // the block size the host announces
    std::vector<int32> hostBlocks; // frames per host call, repeated to fill the signal
    bool processorDouble;          // effSetProcessPrecision
    bool hostDouble;               // processDoubleReplacing instead of processReplacing
    bool inPlace = false;          // the host passes its input buffers as outputs
    bool accumulate = false;       // the 1.0 accumulating call
};

// Test output names the scenario instead of dumping its bytes.
inline void PrintTo(const Scenario& s, std::ostream* os)
{
    *os << s.name;
}

constexpr int32 kFrames = 6000;

struct Stereo
{
    std::vector<double> l, r;
};

// Reproducible noise in -1..1, exactly representable as float.
std::vector<float> noise(uint32_t seed);

// Parameter changes the host makes before some of its calls (by call index).
const std::map<size_t, Changes>& changesByCall();

// The VST 3 path: one processor through the host harness, each host call cut
// into slices of at most maxBlock frames, changes at offset 0 of a call's first slice.
Stereo renderVst3(const Scenario& s, const std::vector<float>& inL, const std::vector<float>& inR, int32 sampleSize);

// The VST 2 path: the same calls and changes through the VST 2 entry.
Stereo renderVst2(const Scenario& s, const std::vector<float>& inL, const std::vector<float>& inR);

// The samples the VST 2 host must get, from the VST 3 output: converted to the
// host's sample type, added to the prefilled output for the accumulating call.
double expectedSample(const Scenario& s, double vst3, int channel);

// Compares the two renderings of s; counts differing samples, reports the first few.
int countMismatches(const Scenario& s, const Stereo& vst2, const Stereo& vst3, double* energy);

} // namespace Vst2Test
