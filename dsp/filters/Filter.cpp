#include "dsp/filters/Filter.h"

#include <algorithm>

namespace Dsp {

Filter::~Filter() = default;

void Filter::assignParams(const double* newParams)
{
    std::copy(newParams, newParams + kMaxParams, params);
    applyParams(params);
}

} // namespace Dsp
