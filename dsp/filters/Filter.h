#pragma once

#include "dsp/filters/RootSet.h"

#include <string>
#include <vector>

namespace Dsp {

// Metadata of one filter parameter.
struct ParamInfo
{
    int id;
    const char* shortName;
    const char* name;
    double minimum;
    double maximum;
    double defaultValue;
};

// A multichannel filter run through a uniform interface. Parameters are eight
// doubles; their meaning belongs to the design (slot 0 is the sample rate).
class Filter
{
public:
    static constexpr int kMaxParams = 8;

    virtual ~Filter();
    virtual int filterKind() const = 0;
    virtual std::string filterName() const = 0;
    virtual int paramCount() const = 0;
    virtual ParamInfo describeParam(int index) const = 0;
    virtual std::vector<RootPair> poleZeroList() const = 0;
    virtual Complex frequencyResponse(double normalizedFrequency) const = 0;
    virtual int channelCount() const = 0;
    virtual void clearState() = 0;
    virtual void processBlock(int numSamples, double* const* channels) = 0;
    virtual void processBlock(int numSamples, float* const* channels) = 0;

    // Copies all eight values, then designs for them.
    void assignParams(const double* newParams);

    double params[kMaxParams] = {};

protected:
    virtual void applyParams(const double* newParams) = 0;
};

} // namespace Dsp
