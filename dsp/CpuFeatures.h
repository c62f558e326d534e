#pragma once

// What the processor offers beyond the x86-64 baseline, read once when the
// module loads: never a first-use guard on the audio thread.
namespace Cpu {

extern const bool kHasAvx;

} // namespace Cpu

// Compiles one function for AVX; call it only where Cpu::kHasAvx holds. Set
// function by function, because clang ignores GCC's target pragma.
#define KV_AVX __attribute__((target("avx")))
