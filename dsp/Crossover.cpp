#include "dsp/Crossover.h"

#include <algorithm>
#include <new>

namespace Dsp {

Crossover::Crossover()
{
    retune();
}

bool Crossover::prepare(uint32_t maxSamples, uint32_t newSampleRate)
{
    if (capacity < maxSamples)
    {
        // allocate all four before giving up the old ones, so a failure leaves
        // usable buffers behind
        std::unique_ptr<double[]> fresh[4];
        for (auto& buffer : fresh)
        {
            buffer.reset(new (std::nothrow) double[maxSamples]());
            if (!buffer)
                return false;
        }
        for (int i = 0; i < 4; ++i)
            buffers[i] = std::move(fresh[i]);
        lowBand[0] = buffers[0].get();
        highBand[0] = buffers[1].get();
        lowBand[1] = buffers[2].get();
        highBand[1] = buffers[3].get();
        capacity = maxSamples;
    }
    if (newSampleRate != sampleRate)
    {
        sampleRate = newSampleRate;
        retune();
    }
    return true;
}

void Crossover::setSlope(int slope)
{
    const int32_t flag = slope != 0 ? 1 : 0;
    if (flag == lr4)
        return;
    lr4 = flag;
    retune();
    // the old sections' states mean nothing to the new ones
    lowA.clearState();
    lowB.clearState();
    highA.clearState();
    highB.clearState();
}

void Crossover::retune()
{
    double params[Filter::kMaxParams] = {};
    params[Butterworth::kSampleRateSlot] = sampleRate;
    params[Butterworth::kOrderSlot] = lr4 == 1 ? 2.0 : 1.0;
    params[Butterworth::kCutoffSlot] = frequency;
    lowA.assignParams(params);
    lowB.assignParams(params);
    highA.assignParams(params);
    highB.assignParams(params);
}

int Crossover::split(int numSamples, const double* inL, const double* inR)
{
    return splitBlock(numSamples, inL, inR);
}

int Crossover::split(int numSamples, const float* inL, const float* inR)
{
    return splitBlock(numSamples, inL, inR);
}

int Crossover::splitStageByStage(int numSamples, const double* inL, const double* inR)
{
    const int count = usableLength(numSamples, inL, inR);
    if (count == 0)
        return 0;
    std::copy(inL, inL + count, lowBand[0]);
    std::copy(inR, inR + count, lowBand[1]);
    filterStageByStage(count);
    return count;
}

int Crossover::usableLength(int numSamples, const void* inL, const void* inR) const
{
    if (numSamples <= 0 || !inL || !inR || capacity == 0)
        return 0;
    return static_cast<int>(std::min<uint32_t>(static_cast<uint32_t>(numSamples), capacity));
}

bool Crossover::anyGliding() const
{
    return lowA.isGliding() || lowB.isGliding() || highA.isGliding() || highB.isGliding();
}

template <typename Sample>
int Crossover::splitBlock(int numSamples, const Sample* inL, const Sample* inR)
{
    const int count = usableLength(numSamples, inL, inR);
    if (count == 0)
        return 0;
    if (anyGliding())
    {
        // the glide redesigns per sample: run it filter by filter
        std::copy(inL, inL + count, lowBand[0]);
        std::copy(inR, inR + count, lowBand[1]);
        filterStageByStage(count);
    }
    else
    {
        splitFused(count, inL, inR);
    }
    return count;
}

void Crossover::filterStageByStage(int numSamples)
{
    std::copy(lowBand[0], lowBand[0] + numSamples, highBand[0]);
    std::copy(lowBand[1], lowBand[1] + numSamples, highBand[1]);
    highA.processBlock(numSamples, highBand);
    highB.processBlock(numSamples, highBand);
    lowA.processBlock(numSamples, lowBand);
    lowB.processBlock(numSamples, lowBand);
    if (lr4 == 0)
    {
        // the two order-1 high-pass sections are each inverted; restore the band's sign
        for (double* band : highBand)
            for (int i = 0; i < numSamples; ++i)
                band[i] = -band[i];
    }
}

// All four sections of a channel in one pass per sample. Each section keeps
// its own state and sees exactly the samples it sees filter by filter, so the
// output bits are those of filterStageByStage.
template <typename Sample>
void Crossover::splitFused(int numSamples, const Sample* inL, const Sample* inR)
{
    const SecondOrderSection sectionHighA = highA.design.chain.sections[0];
    const SecondOrderSection sectionHighB = highB.design.chain.sections[0];
    const SecondOrderSection sectionLowA = lowA.design.chain.sections[0];
    const SecondOrderSection sectionLowB = lowB.design.chain.sections[0];
    const bool invertHigh = lr4 == 0;
    const Sample* inputs[2] = {inL, inR};

    for (int c = 0; c < 2; ++c)
    {
        DirectFormII stateHighA = highA.channelState[c];
        DirectFormII stateHighB = highB.channelState[c];
        DirectFormII stateLowA = lowA.channelState[c];
        DirectFormII stateLowB = lowB.channelState[c];
        const Sample* in = inputs[c];
        double* low = lowBand[c];
        double* high = highBand[c];
        for (int i = 0; i < numSamples; ++i)
        {
            const double x = static_cast<double>(in[i]);
            const double h = stateHighB.process(stateHighA.process(x, sectionHighA), sectionHighB);
            high[i] = invertHigh ? -h : h;
            low[i] = stateLowB.process(stateLowA.process(x, sectionLowA), sectionLowB);
        }
        highA.channelState[c] = stateHighA;
        highB.channelState[c] = stateHighB;
        lowA.channelState[c] = stateLowA;
        lowB.channelState[c] = stateLowB;
    }
    highA.recoverNonFiniteState();
    highB.recoverNonFiniteState();
    lowA.recoverNonFiniteState();
    lowB.recoverNonFiniteState();
}

} // namespace Dsp
