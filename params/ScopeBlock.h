#pragma once

#include <cstdint>

// The "Scope" message the processor's scope worker sends to the controller:
// one binary attribute holding 512 (mid, side) pairs of signed 8-bit values,
// oldest first, mid at even and side at odd byte offsets.
namespace ScopeBlock {
constexpr const char* kMessageId = "Scope";
constexpr const char* kDataAttribute = "Data";
constexpr uint32_t kPairs = 512;
constexpr uint32_t kBytes = 2 * kPairs; // 1024
} // namespace ScopeBlock
