#pragma once

#include "dsp/filters/Filter.h"

#include <algorithm>

namespace Dsp {

// A filter with one digital design of the current parameters.
template <class DesignClass>
class FilterDesignBase : public Filter
{
public:
    FilterDesignBase()
    {
        for (int i = 0; i < DesignClass::kParamCount; ++i)
            params[i] = DesignClass::describeParam(i).defaultValue;
        design.setParams(params);
    }

    int filterKind() const override { return DesignClass::kKind; }
    std::string filterName() const override { return DesignClass::name(); }
    int paramCount() const override { return DesignClass::kParamCount; }
    ParamInfo describeParam(int index) const override { return DesignClass::describeParam(index); }

    std::vector<RootPair> poleZeroList() const override
    {
        const RootSet& roots = design.digital;
        return std::vector<RootPair>(roots.pairs, roots.pairs + roots.numPairs());
    }

    Complex frequencyResponse(double normalizedFrequency) const override
    {
        return design.chain.response(normalizedFrequency);
    }

    DesignClass design;

protected:
    void applyParams(const double* newParams) override { design.setParams(newParams); }
};

// The design with a state per channel. A block that leaves a state non-finite
// (a NaN or infinite input) clears that state, so the next block recovers.
template <class DesignClass, int Channels, class StateType>
class FilterDesign : public FilterDesignBase<DesignClass>
{
public:
    int channelCount() const override { return Channels; }

    void clearState() override
    {
        for (StateType& state : channelState)
            state.clear();
    }

    void processBlock(int numSamples, double* const* channels) override { processAll(numSamples, channels); }
    void processBlock(int numSamples, float* const* channels) override { processAll(numSamples, channels); }

    // Clears every state that a block left non-finite (after a NaN or infinite input).
    void recoverNonFiniteState()
    {
        for (StateType& state : channelState)
            if (!state.isFinite())
                state.clear();
    }

    StateType channelState[Channels];

protected:
    // Filters samples [begin, end) of one channel with the given sections.
    template <typename Sample>
    void processRange(const SectionChain& chain, StateType& state, Sample* samples, int begin, int end)
    {
        for (int i = begin; i < end; ++i)
            samples[i] = static_cast<Sample>(state.process(static_cast<double>(samples[i]), chain));
    }

private:
    template <typename Sample>
    void processAll(int numSamples, Sample* const* channels)
    {
        for (int c = 0; c < Channels; ++c)
            processRange(this->design.chain, channelState[c], channels[c], 0, numSamples);
        recoverNonFiniteState();
    }
};

} // namespace Dsp
