#pragma once

// The robustness cases shared by the fuzz targets and the regular tests: each
// drives the real plug-in objects as a host would, from any byte string, and
// checks the invariants that must hold whatever the bytes are. A failed
// invariant goes to the failure handler: abort() in a fuzzer (libFuzzer then
// saves the input), a test failure in the test suite.

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/fst/fst.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace KalviorFuzz {

// Where the plug-in comes from: the linked objects (fuzzers) or the built
// bundle's exports (tests).
struct PluginEntry
{
    Steinberg::IPluginFactory* (*getFactory)() = nullptr; // returns a new reference
    AEffect* (*vst2Main)(audioMasterCallback) = nullptr;  // VSTPluginMain; may be null
};

using FailureHandler = void (*)(const char* file, int line, const std::string& what);
// Replaces the handler (the default aborts); returns the previous one.
FailureHandler setFailureHandler(FailureHandler handler);
void fail(const char* file, int line, const std::string& what);

#define KV_FUZZ_CHECK(condition, what)                                                                                 \
    do                                                                                                                 \
    {                                                                                                                  \
        if (!(condition))                                                                                              \
            ::KalviorFuzz::fail(__FILE__, __LINE__, std::string(#condition ": ") + (what));                            \
    } while (0)

// (a) processor setState with the bytes, getState, a state round trip and processing.
void processorStateCase(const PluginEntry& entry, const uint8_t* data, size_t size);
// (b) controller setComponentState with the bytes; texts of the values it took.
void controllerStateCase(const PluginEntry& entry, const uint8_t* data, size_t size);
// (c) setup, activation and blocks of audio and parameter changes decoded from the bytes.
void processCase(const PluginEntry& entry, const uint8_t* data, size_t size);
// (d) parameter texts: VST 3 string/value conversions and the VST 2 text queries.
void parameterTextCase(const PluginEntry& entry, const uint8_t* data, size_t size);
// (e) an editor description read from the bytes, and views built from its templates.
void uiDescriptionCase(const uint8_t* data, size_t size);

} // namespace KalviorFuzz
