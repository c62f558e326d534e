#include "sdk/AudioEffect.h"

namespace Steinberg {
namespace Vst {

AudioEffect::AudioEffect()
{
    processSetup.processMode = kRealtime;
    processSetup.symbolicSampleSize = kSample32;
    processSetup.maxSamplesPerBlock = 1024;
    processSetup.sampleRate = 44100.0;
}

AudioBus* AudioEffect::addAudioInput(const TChar* name, SpeakerArrangement arrangement, BusType busType, int32 flags)
{
    auto* bus = new AudioBus(name, busType, flags, arrangement);
    audioInputs.emplace_back(owned(bus));
    return bus;
}

AudioBus* AudioEffect::addAudioOutput(const TChar* name, SpeakerArrangement arrangement, BusType busType, int32 flags)
{
    auto* bus = new AudioBus(name, busType, flags, arrangement);
    audioOutputs.emplace_back(owned(bus));
    return bus;
}

EventBus* AudioEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    auto* bus = new EventBus(name, busType, flags, channels);
    eventInputs.emplace_back(owned(bus));
    return bus;
}

EventBus* AudioEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
    auto* bus = new EventBus(name, busType, flags, channels);
    eventOutputs.emplace_back(owned(bus));
    return bus;
}

AudioBus* AudioEffect::audioBusAt(BusList& list, int32 index)
{
    if (index < 0 || index >= static_cast<int32>(list.size()))
        return nullptr;
    return FCast<AudioBus>(list[static_cast<size_t>(index)].get());
}

EventBus* AudioEffect::eventBusAt(BusList& list, int32 index)
{
    if (index < 0 || index >= static_cast<int32>(list.size()))
        return nullptr;
    return FCast<EventBus>(list[static_cast<size_t>(index)].get());
}

AudioBus* AudioEffect::getAudioInput(int32 index)
{
    return audioBusAt(audioInputs, index);
}
AudioBus* AudioEffect::getAudioOutput(int32 index)
{
    return audioBusAt(audioOutputs, index);
}
EventBus* AudioEffect::getEventInput(int32 index)
{
    return eventBusAt(eventInputs, index);
}
EventBus* AudioEffect::getEventOutput(int32 index)
{
    return eventBusAt(eventOutputs, index);
}

bool AudioEffect::applyArrangements(BusList& buses, const SpeakerArrangement* arrangements, int32 count)
{
    for (int32 i = 0; i < count; ++i)
    {
        AudioBus* bus = audioBusAt(buses, i);
        if (!bus)
            return false;
        bus->setArrangement(arrangements[i]);
    }
    return true;
}

tresult PLUGIN_API AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts)
{
    if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
        return kInvalidArgument;
    // More arrangements than buses cannot be honoured; fewer leave the rest as they are.
    if (numIns > static_cast<int32>(audioInputs.size()) || numOuts > static_cast<int32>(audioOutputs.size()))
        return kResultFalse;
    if (!applyArrangements(audioInputs, inputs, numIns) || !applyArrangements(audioOutputs, outputs, numOuts))
        return kResultFalse;
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arrangement)
{
    BusList* list = getBusList(kAudio, dir);
    if (!list || index < 0 || index >= static_cast<int32>(list->size()))
        return kInvalidArgument;
    AudioBus* bus = audioBusAt(*list, index);
    if (!bus)
        return kResultFalse;
    arrangement = bus->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API AudioEffect::setupProcessing(ProcessSetup& setup)
{
    if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
        return kResultFalse;
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API AudioEffect::setProcessing(TBool /*state*/)
{
    return kNotImplemented;
}

tresult PLUGIN_API AudioEffect::process(ProcessData& /*data*/)
{
    return kNotImplemented;
}

} // namespace Vst
} // namespace Steinberg
