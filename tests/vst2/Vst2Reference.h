#pragma once

// What a VST 2 host must see of the plug-in, written down from the product's
// parameter table by hand (not read from the code under test): the 27 VST 2
// parameters are the VST 3 parameters without ProgSel (program change) and
// Bypass (bypass), so VST 2 index i is parameter ID i + 2.

#include <cstdint>

namespace Vst2Test {

struct ParameterFacts
{
    uint32_t id;
    const char* title;
    const char* shortTitle;
    const char* units;
    int32_t steps;
    bool automatable;
    double defaultValue; // what the processor starts from
};

constexpr int32_t kVst2ParameterCount = 27;

constexpr ParameterFacts kParameters[kVst2ParameterCount] = {
    {2, "Scope", "Scope", "", 1, false, 1.0},
    {3, "Left Gain", "L Gain", "dB", 0, true, 0.75},
    {4, "Right Gain", "R Gain", "dB", 0, true, 0.75},
    {5, "Mute Left", "L Mute", "", 1, true, 0.0},
    {6, "Mute Right", "R Mute", "", 1, true, 0.0},
    {7, "Invert Left", "L Phase", "", 1, true, 0.0},
    {8, "Invert Right", "R Phase", "", 1, true, 0.0},
    {9, "Left Pan", "L Pan", "degs", 0, true, 0.0},
    {10, "Right Pan", "R Pan", "degs", 0, true, 1.0},
    {11, "Balance", "Balance", "degs", 0, true, 0.5},
    {12, "Asymmetry", "Asymm", "degs", 0, true, 0.5},
    {13, "Asymm Crush", "ACrush", "%", 0, true, 0.3},
    {14, "HP Gain", "HPGain", "dB", 0, true, 0.75},
    {15, "HP Width", "HPWidth", "", 0, true, 0.5},
    {16, "HP Pan", "HPPan", "degs", 0, true, 0.5},
    {17, "Pan Law", "PanLaw", "", 0, true, 0.5},
    {18, "Pan Crush", "PCrush", "%", 0, true, 0.3},
    {19, "Gain Trim", "O Trim", "", 0, true, 0.5},
    {20, "LP Gain", "LPGain", "dB", 0, true, 0.75},
    {21, "LP Width", "LPWidth", "", 0, true, 0.5},
    {22, "LP Pan", "LPPan", "degs", 0, true, 0.5},
    {23, "Crossover", "Xover", "", 2, false, 0.0},
    {24, "Crossover Freq", "XFreq", "", 0, true, 0.528320833573719}, // log base 8 of 3: 300 Hz
    {25, "Input Format", "InFormat", "", 1, false, 0.0},
    {26, "Output Format", "OutFormat", "", 1, false, 0.0},
    {27, "Solo", "Solo", "", 2, false, 0.0},
    {28, "Mono", "Mono", "", 1, false, 0.0},
};

constexpr int32_t indexOf(uint32_t id)
{
    return static_cast<int32_t>(id) - 2;
}

constexpr const char* kProgramNames[6] = {"Default",         "Bass Squeeze",    "Top and Bottom Pan",
                                          "Mono Compat Pan", "Stereo Rotation", "Stereosonic Shuffle"};

constexpr int32_t kUniqueId = static_cast<int32_t>(0xFE9E97D5u);
constexpr int32_t kComponentStateSize = 29 * 12;

} // namespace Vst2Test
