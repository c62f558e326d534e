#pragma once

// What the processor offers beyond the x86-64 baseline, read once when the
// module loads: never a first-use guard on the audio thread.
namespace Cpu {

extern const bool kHasAvx;

} // namespace Cpu
