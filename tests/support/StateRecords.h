#pragma once

// The component state as a host stores it, encoded and decoded by hand: a
// sequence of 12-byte records, the parameter ID as a big-endian uint32 and the
// normalised value as the big-endian bytes of its IEEE 754 double.

#include "tests/support/ParameterContract.h"

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace KalviorTest {

using Bytes = std::vector<uint8_t>;
using Values = std::array<double, kParameterCount>; // by ID
using ValueList = std::vector<std::pair<uint32_t, double>>;

constexpr size_t kRecordBytes = 12;
constexpr size_t kStateBytes = kParameterCount * kRecordBytes;

void appendRecord(Bytes& bytes, uint32_t id, double value);
Bytes stateRecord(uint32_t id, double value);
Bytes stateOf(const ValueList& values);
Bytes stateOf(const Values& values); // all 29 records, in ID order
// Record i (ID and value) of a state; false beyond the end.
bool readRecord(const Bytes& bytes, size_t index, uint32_t& id, double& value);
bool readRecord(const uint8_t* record, uint32_t& id, double& value); // 12 bytes
// A whole state as written by getState: 29 records with IDs 0..28 in order.
bool decodeState(const Bytes& bytes, Values& values);
Values defaultValues(); // the processor's start values

// The state through the host's streams, each holding its own copy of the bytes.
Bytes getStateBytes(Steinberg::Vst::IComponent* component, Steinberg::tresult* result = nullptr);
Steinberg::tresult setStateBytes(Steinberg::Vst::IComponent* component, const Bytes& bytes);
Steinberg::tresult setStateBytes(Steinberg::Vst::IComponent* component, const uint8_t* data, size_t size);
Steinberg::tresult setComponentStateBytes(Steinberg::Vst::IEditController* controller, const uint8_t* data,
                                          size_t size);

} // namespace KalviorTest
