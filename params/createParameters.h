#pragma once

#include "params/MyParameter.h"

#include <vector>

namespace Steinberg {
namespace Vst {

using ParameterList = std::vector<IPtr<MyParameter>>;

// The 29 parameter objects the host sees, element i holding ID i, each with
// its title, short title, units, range, default, step count, precision, flags
// and list entries. Each element holds the object's only reference; a caller
// that keeps an object takes the reference over (IPtr::take).
ParameterList createParameters();

} // namespace Vst
} // namespace Steinberg
