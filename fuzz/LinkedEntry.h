#pragma once

#include "fuzz/harness/Harness.h"

namespace KalviorFuzz {

// The plug-in linked into the fuzzer itself: its factory and its VST 2 entry,
// instrumented for coverage like the rest of the tree.
const PluginEntry& linkedEntry();

} // namespace KalviorFuzz
