#pragma once

// The audio component base the plug-in SDK ships as AudioEffect: a Component
// that also is an IAudioProcessor, with audio/event bus helpers and the
// current ProcessSetup.

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vstcomponent.h"

namespace Steinberg {
namespace Vst {

class AudioEffect : public Component, public IAudioProcessor, public IProcessContextRequirements
{
public:
    AudioEffect();

    // Bus helpers; the component keeps the buses, the returned pointers stay
    // valid until the buses are removed.
    AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arrangement, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arrangement, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    AudioBus* getAudioInput(int32 index);
    AudioBus* getAudioOutput(int32 index);
    EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                            int32 flags = BusInfo::kDefaultActive);
    EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                             int32 flags = BusInfo::kDefaultActive);
    EventBus* getEventInput(int32 index);
    EventBus* getEventOutput(int32 index);

    // IAudioProcessor
    tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                          int32 numOuts) SMTG_OVERRIDE;
    tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arrangement) SMTG_OVERRIDE;
    tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) SMTG_OVERRIDE;
    uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
    tresult PLUGIN_API setupProcessing(ProcessSetup& setup) SMTG_OVERRIDE;
    tresult PLUGIN_API setProcessing(TBool state) SMTG_OVERRIDE;
    tresult PLUGIN_API process(ProcessData& data) SMTG_OVERRIDE;
    uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE { return kNoTail; }

    // IProcessContextRequirements: no transport information needed by default.
    uint32 PLUGIN_API getProcessContextRequirements() SMTG_OVERRIDE { return 0; }

    OBJ_METHODS(AudioEffect, Component)
    DEFINE_INTERFACES
    DEF_INTERFACE(IAudioProcessor)
    DEF_INTERFACE(IProcessContextRequirements)
    END_DEFINE_INTERFACES(Component)
    REFCOUNT_METHODS(Component)

protected:
    ProcessSetup processSetup;

private:
    static AudioBus* audioBusAt(BusList& list, int32 index);
    static EventBus* eventBusAt(BusList& list, int32 index);
    static bool applyArrangements(BusList& buses, const SpeakerArrangement* arrangements, int32 count);
};

} // namespace Vst
} // namespace Steinberg
