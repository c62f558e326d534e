#pragma once

#include <cstdint>

// The parameter IDs: the VST 3 parameter IDs seen by hosts, the index of each
// parameter in every list, and the control tags of the editor description.
enum ParamId : uint32_t
{
    kProgSel = 0,
    kBypass,
    kScope,
    kLeftGain,
    kRightGain,
    kMuteLeft,
    kMuteRight,
    kInvertLeft,
    kInvertRight,
    kLeftPan,
    kRightPan,
    kBalance,
    kAsymmetry,
    kAsymmCrush,
    kHpGain,
    kHpWidth,
    kHpPan,
    kPanLaw,
    kPanCrush,
    kGainTrim,
    kLpGain,
    kLpWidth,
    kLpPan,
    kCrossover,
    kCrossoverFreq,
    kInputFormat,
    kOutputFormat,
    kSolo,
    kMono,
    kNumParams
};

// ParameterInfo flag bits, as hosts read them.
namespace ParamFlags {
constexpr int32_t kCanAutomate = 0x1;
constexpr int32_t kIsProgramChange = 0x8000;
constexpr int32_t kIsBypass = 0x10000;
} // namespace ParamFlags
