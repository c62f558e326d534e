#pragma once

// The two class IDs, as the 16 bytes hosts store and compare. They are written
// out byte by byte because the SDK's four-word macro lays the words out in a
// different byte order on this platform.

#include "pluginterfaces/base/funknown.h"

namespace KalviorIds {

// clang-format off
#define KV_UID_BYTE(b) static_cast<char>(b)

// {F4355313-8C24-4A44-BBAC-E6FFD10A4C8A}
constexpr Steinberg::TUID kProcessorUID = {
    KV_UID_BYTE(0x13), KV_UID_BYTE(0x53), KV_UID_BYTE(0x35), KV_UID_BYTE(0xF4),
    KV_UID_BYTE(0x24), KV_UID_BYTE(0x8C), KV_UID_BYTE(0x44), KV_UID_BYTE(0x4A),
    KV_UID_BYTE(0xBB), KV_UID_BYTE(0xAC), KV_UID_BYTE(0xE6), KV_UID_BYTE(0xFF),
    KV_UID_BYTE(0xD1), KV_UID_BYTE(0x0A), KV_UID_BYTE(0x4C), KV_UID_BYTE(0x8A)};

// {E363945F-8758-4400-9B3E-9C0452EFF417}
constexpr Steinberg::TUID kControllerUID = {
    KV_UID_BYTE(0x5F), KV_UID_BYTE(0x94), KV_UID_BYTE(0x63), KV_UID_BYTE(0xE3),
    KV_UID_BYTE(0x58), KV_UID_BYTE(0x87), KV_UID_BYTE(0x00), KV_UID_BYTE(0x44),
    KV_UID_BYTE(0x9B), KV_UID_BYTE(0x3E), KV_UID_BYTE(0x9C), KV_UID_BYTE(0x04),
    KV_UID_BYTE(0x52), KV_UID_BYTE(0xEF), KV_UID_BYTE(0xF4), KV_UID_BYTE(0x17)};

#undef KV_UID_BYTE
// clang-format on

} // namespace KalviorIds
