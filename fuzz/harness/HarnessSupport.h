#pragma once

// What the cases share: a host context, plug-in instances made through the
// factory, state streams, raw parameter change lists and the state model the
// invariants are checked against.

#include "fuzz/harness/Harness.h"

#include "tests/support/RawChanges.h"
#include "tests/support/StateRecords.h"

#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/PluginInstance.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KalviorFuzz {

using KalviorTest::Bytes;
using KalviorTest::getStateBytes;
using KalviorTest::kParameterCount;
using KalviorTest::kRecordBytes;
using KalviorTest::kStateBytes;
using KalviorTest::Point;
using KalviorTest::RawChanges;
using KalviorTest::RawQueue;
using KalviorTest::setComponentStateBytes;
using KalviorTest::setStateBytes;
using KalviorTest::Values;

// The host context every case hands to initialize(); lives as long as the process.
Steinberg::FUnknown* hostContext();

// Processor and controller of one plug-in instance, initialised (not connected).
std::unique_ptr<Steinberg::Hosting::PluginInstance> makeInstance(const PluginEntry& entry);

// Reads a 348-byte state written by getState; false (with a failure reported)
// when it is not 29 records with IDs 0..28 in order and values in 0..1.
bool decodeState(const Bytes& state, Values& values);

// What the documented state policy makes of `data` applied over `before`:
// complete records only; IDs outside 0..28 and non-finite values skipped;
// finite values limited to 0..1; a later record for an ID wins. `touched`,
// when given, tells which IDs a record set.
Values applyRecords(Values before, const uint8_t* data, size_t size,
                    std::array<bool, kParameterCount>* touched = nullptr);

// A double in full, for failure messages.
std::string num(double v);

inline bool isUnit(double v)
{
    return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

} // namespace KalviorFuzz
