#include "dsp/CpuFeatures.h"

namespace Cpu {

const bool kHasAvx = []
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

} // namespace Cpu
