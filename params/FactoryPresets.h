#pragma once

#include "params/OutputChange.h"
#include "params/ParameterTable.h"

#include <cstdint>

constexpr int kNumPrograms = 6;
extern const char* const kProgramNames[kNumPrograms]; // "Default", "Bass Squeeze", ...

// The program selected by a normalised program-change value: trunc(value * 6),
// capped at the last program; values outside 0..1 (or NaN) are clamped first.
int programIndex(double value);

// Fills `out` (room for kNumParams entries) in ascending ID order: every
// program parameter except programParamId at its default, overridden by the
// program's own values. Returns the count (23 for ProgSel).
int programChanges(const ParameterTable& table, uint32_t programParamId, double value, OutputChange* out);
