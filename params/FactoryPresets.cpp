#include "params/FactoryPresets.h"

#include "params/curves.h"

#include <cmath>

const char* const kProgramNames[kNumPrograms] = {
    "Default", "Bass Squeeze", "Top and Bottom Pan", "Mono Compat Pan", "Stereo Rotation", "Stereosonic Shuffle",
};

namespace {

struct ProgramValue
{
    uint32_t id;
    double value; // normalised
};

// What each program sets on top of the defaults.
constexpr ProgramValue kBassSqueeze[] = {
    {kLpWidth, 0.0},       // width 0.00: mono lows
    {kCrossover, 0.5},     // "LR-2"
    {kCrossoverFreq, 0.2}, // about 151.6 Hz
};
constexpr ProgramValue kTopAndBottomPan[] = {
    {kCrossover, 1.0}, // "LR-4"
};
constexpr ProgramValue kMonoCompatPan[] = {
    {kPanLaw, 1.0},   // 6.0 dB: constant sum
    {kPanCrush, 1.0}, // 100 %
};
constexpr ProgramValue kStereoRotation[] = {
    {kPanLaw, 0.0},   // 3.0 dB: constant power
    {kPanCrush, 0.0}, // 0 %
};
constexpr ProgramValue kStereosonicShuffle[] = {
    {kHpWidth, 0.35},           // width 0.70
    {kCrossover, 0.5},          // "LR-2"
    {kCrossoverFreq, 0.935785}, // 700 Hz
};

struct Program
{
    const ProgramValue* values;
    int count;
};

template <int N>
constexpr Program program(const ProgramValue (&values)[N])
{
    return {values, N};
}

const Program kPrograms[kNumPrograms] = {
    {nullptr, 0},
    program(kBassSqueeze),
    program(kTopAndBottomPan),
    program(kMonoCompatPan),
    program(kStereoRotation),
    program(kStereosonicShuffle),
};

} // namespace

int programIndex(double value)
{
    const double v = Curves::clampNormalized(value, 0.0);
    const int index = static_cast<int>(std::trunc(v * kNumPrograms));
    return index < kNumPrograms - 1 ? index : kNumPrograms - 1;
}

int programChanges(const ParameterTable& table, uint32_t programParamId, double value, OutputChange* out)
{
    double values[kNumParams] = {};
    bool changed[kNumParams] = {};

    for (uint32_t id : table.ids)
    {
        if (id >= kNumParams || id == programParamId || !table.record(id).inPreset)
            continue;
        values[id] = table.record(id).defaultNormalized;
        changed[id] = true;
    }

    const Program& selected = kPrograms[programIndex(value)];
    for (int i = 0; i < selected.count; ++i)
    {
        values[selected.values[i].id] = selected.values[i].value;
        changed[selected.values[i].id] = true;
    }

    int count = 0;
    for (uint32_t id = 0; id < kNumParams; ++id)
        if (changed[id])
            out[count++] = OutputChange{id, values[id]};
    return count;
}
