#pragma once

#include "dsp/filters/FilterDesign.h"

#include <algorithm>

namespace Dsp {

// A filter that glides linearly to new parameters over smoothingLength samples,
// redesigning a transition design for every sample of the glide.
template <class DesignClass, int Channels, class StateType>
class SmoothedFilterDesign : public FilterDesign<DesignClass, Channels, StateType>
{
public:
    void processBlock(int numSamples, double* const* channels) override { processSmoothed(numSamples, channels); }
    void processBlock(int numSamples, float* const* channels) override { processSmoothed(numSamples, channels); }

    bool isGliding() const { return smoothingLeft > 0; }

    int smoothingLength = 256; // samples
    int smoothingLeft = -1;    // samples of the glide still to run; -1 until parameters are first applied
    double smoothedParams[Filter::kMaxParams] = {};
    DesignClass transitionDesign;

protected:
    void applyParams(const double* newParams) override
    {
        if (smoothingLeft < 0)
        {
            // the first parameters take effect at once
            smoothingLeft = 0;
            std::copy(newParams, newParams + Filter::kMaxParams, smoothedParams);
        }
        else
        {
            smoothingLeft = smoothingLength;
        }
        this->design.setParams(newParams);
    }

private:
    template <typename Sample>
    void processSmoothed(int numSamples, Sample* const* channels)
    {
        if (numSamples <= 0)
            return;
        const int glideSamples = std::min(numSamples, smoothingLeft);
        if (glideSamples > 0)
        {
            const double scale = 1.0 / smoothingLeft;
            double step[DesignClass::kParamCount];
            for (int i = 0; i < DesignClass::kParamCount; ++i)
                step[i] = (this->params[i] - smoothedParams[i]) * scale;

            for (int n = 0; n < glideSamples; ++n)
            {
                for (int i = DesignClass::kParamCount; --i >= 0;)
                    smoothedParams[i] += step[i];
                transitionDesign.setParams(smoothedParams);
                for (int c = Channels; --c >= 0;)
                    this->processRange(transitionDesign.chain, this->channelState[c], channels[c], n, n + 1);
            }

            smoothingLeft -= glideSamples;
            if (smoothingLeft == 0)
                std::copy(this->params, this->params + Filter::kMaxParams, smoothedParams);
        }
        const int first = std::max(glideSamples, 0);
        for (int c = 0; c < Channels; ++c)
            this->processRange(this->design.chain, this->channelState[c], channels[c], first, numSamples);
        this->recoverNonFiniteState();
    }
};

} // namespace Dsp
