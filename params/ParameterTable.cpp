#include "ParameterTable.h"

#include <algorithm>

namespace {

using namespace ParamFlags;

// ln 3 / ln 8: 300 Hz on the 100 * 8^v frequency curve
constexpr double kCrossoverFreqDefault = 0.528320833573719;

struct Row
{
    uint32_t id;
    double defaultNormalized;
    int32_t flags;
    bool inPreset;
};

constexpr Row kRows[kNumParams] = {
    {kProgSel, 0.0, kIsProgramChange, false},
    {kBypass, 0.0, kCanAutomate | kIsBypass, false},
    {kScope, 1.0, 0, false},
    {kLeftGain, 0.75, kCanAutomate, true},
    {kRightGain, 0.75, kCanAutomate, true},
    {kMuteLeft, 0.0, kCanAutomate, true},
    {kMuteRight, 0.0, kCanAutomate, true},
    {kInvertLeft, 0.0, kCanAutomate, true},
    {kInvertRight, 0.0, kCanAutomate, true},
    {kLeftPan, 0.0, kCanAutomate, true},
    {kRightPan, 1.0, kCanAutomate, true},
    {kBalance, 0.5, kCanAutomate, true},
    {kAsymmetry, 0.5, kCanAutomate, true},
    {kAsymmCrush, 0.3, kCanAutomate, true},
    {kHpGain, 0.75, kCanAutomate, true},
    {kHpWidth, 0.5, kCanAutomate, true},
    {kHpPan, 0.5, kCanAutomate, true},
    {kPanLaw, 0.5, kCanAutomate, true},
    {kPanCrush, 0.3, kCanAutomate, true},
    {kGainTrim, 0.5, kCanAutomate, true},
    {kLpGain, 0.75, kCanAutomate, true},
    {kLpWidth, 0.5, kCanAutomate, true},
    {kLpPan, 0.5, kCanAutomate, true},
    {kCrossover, 0.0, 0, true},
    {kCrossoverFreq, kCrossoverFreqDefault, kCanAutomate, true},
    {kInputFormat, 0.0, 0, false},
    {kOutputFormat, 0.0, 0, false},
    {kSolo, 0.0, 0, true},
    {kMono, 0.0, 0, false},
};

} // namespace

ParameterTable::ParameterTable()
{
    ids.reserve(kNumParams);
    for (const Row& row : kRows)
    {
        ids.push_back(row.id);
        records[row.id] = ParameterRecord{row.defaultNormalized, row.flags, row.inPreset};
    }
}

bool ParameterTable::contains(uint32_t id) const
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}
