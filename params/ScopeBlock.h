#pragma once

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstdint>

// The "Scope" message from the processor to the controller: one binary
// attribute holding 512 frames, oldest first, each a signed 8-bit mid value
// followed by a signed 8-bit side value.
namespace ScopeBlock {

constexpr const char* kMessageId = "Scope";
constexpr const char* kDataAttribute = "Data";
constexpr uint32_t kFrames = 512;
constexpr uint32_t kBytes = kFrames * 2;

// Makes `message` a "Scope" message carrying the kBytes at `block`.
void write(Steinberg::Vst::IMessage& message, const uint8_t* block);

// The kBytes a "Scope" message carries; null for any other message, or one
// whose data is missing or not a whole block.
const uint8_t* read(Steinberg::Vst::IMessage& message);

} // namespace ScopeBlock
