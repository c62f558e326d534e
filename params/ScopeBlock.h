#pragma once

#include <cstdint>

// The "Scope" message from the processor to the controller: one binary
// attribute holding 512 frames, oldest first, each a signed 8-bit mid value
// followed by a signed 8-bit side value.
namespace ScopeBlock {

constexpr const char* kMessageId = "Scope";
constexpr const char* kDataAttribute = "Data";
constexpr uint32_t kFrames = 512;
constexpr uint32_t kBytes = kFrames * 2;

} // namespace ScopeBlock
