#pragma once

// What a host must see of the 29 parameters and the six factory programs,
// written down once by hand from the product's published tables (never read
// from the code under test). Every test that needs a title, a step count, a
// flag, a default or a program name takes it from here.

#include <cstdint>

namespace KalviorTest {

constexpr uint32_t kParameterCount = 29; // IDs 0..28, dense

// ParameterInfo flag bits.
constexpr int32_t kAutomatable = 0x1;
constexpr int32_t kProgramChange = 0x8000;
constexpr int32_t kBypassFlag = 0x10000;

// log base 8 of 3: 300 Hz on the 100 x 8^v curve, the processor's start value.
constexpr double kCrossoverFreqDefault = 0.528320833573719;

struct ParameterRow
{
    uint32_t id;
    const char* title;
    const char* shortTitle;
    const char* units;
    int32_t steps;            // ParameterInfo step count, 0 when continuous
    int32_t flags;            // ParameterInfo flags
    double defaultNormalized; // the processor's start value and every program's base
    bool inPreset;            // reset by a program change
    // The default the controller's object reports; only Crossover Freq differs (100 Hz).
    double objectDefault() const { return id == 24 ? 0.0 : defaultNormalized; }
    bool automatable() const { return (flags & kAutomatable) != 0; }
};

inline constexpr ParameterRow kParameters[kParameterCount] = {
    {0, "ProgSel", "ProgSel", "", 5, kProgramChange, 0.0, false},
    {1, "Bypass", "Bypass", "", 1, kAutomatable | kBypassFlag, 0.0, false},
    {2, "Scope", "Scope", "", 1, 0, 1.0, false},
    {3, "Left Gain", "L Gain", "dB", 0, kAutomatable, 0.75, true},
    {4, "Right Gain", "R Gain", "dB", 0, kAutomatable, 0.75, true},
    {5, "Mute Left", "L Mute", "", 1, kAutomatable, 0.0, true},
    {6, "Mute Right", "R Mute", "", 1, kAutomatable, 0.0, true},
    {7, "Invert Left", "L Phase", "", 1, kAutomatable, 0.0, true},
    {8, "Invert Right", "R Phase", "", 1, kAutomatable, 0.0, true},
    {9, "Left Pan", "L Pan", "degs", 0, kAutomatable, 0.0, true},
    {10, "Right Pan", "R Pan", "degs", 0, kAutomatable, 1.0, true},
    {11, "Balance", "Balance", "degs", 0, kAutomatable, 0.5, true},
    {12, "Asymmetry", "Asymm", "degs", 0, kAutomatable, 0.5, true},
    {13, "Asymm Crush", "ACrush", "%", 0, kAutomatable, 0.3, true},
    {14, "HP Gain", "HPGain", "dB", 0, kAutomatable, 0.75, true},
    {15, "HP Width", "HPWidth", "", 0, kAutomatable, 0.5, true},
    {16, "HP Pan", "HPPan", "degs", 0, kAutomatable, 0.5, true},
    {17, "Pan Law", "PanLaw", "", 0, kAutomatable, 0.5, true},
    {18, "Pan Crush", "PCrush", "%", 0, kAutomatable, 0.3, true},
    {19, "Gain Trim", "O Trim", "", 0, kAutomatable, 0.5, true},
    {20, "LP Gain", "LPGain", "dB", 0, kAutomatable, 0.75, true},
    {21, "LP Width", "LPWidth", "", 0, kAutomatable, 0.5, true},
    {22, "LP Pan", "LPPan", "degs", 0, kAutomatable, 0.5, true},
    {23, "Crossover", "Xover", "", 2, 0, 0.0, true},
    {24, "Crossover Freq", "XFreq", "", 0, kAutomatable, kCrossoverFreqDefault, true},
    {25, "Input Format", "InFormat", "", 1, 0, 0.0, false},
    {26, "Output Format", "OutFormat", "", 1, 0, 0.0, false},
    {27, "Solo", "Solo", "", 2, 0, 0.0, true},
    {28, "Mono", "Mono", "", 1, 0, 0.0, false},
};

constexpr int32_t kProgramCount = 6;
inline constexpr const char* kProgramNames[kProgramCount] = {
    "Default", "Bass Squeeze", "Top and Bottom Pan", "Mono Compat Pan", "Stereo Rotation", "Stereosonic Shuffle"};

// VST 2 shows every parameter but ProgSel and Bypass: index i is ID i + 2.
constexpr int32_t kVst2ParameterCount = 27;
constexpr uint32_t kFirstVst2Id = 2;

} // namespace KalviorTest
