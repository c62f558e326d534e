#pragma once

// A VST 3 processor and controller seen by a VST 2 host as one AEffect.
//
// The wrapper is the components' host: it initialises both with itself as the
// host context (which also answers IVst3ToVst2Wrapper), connects them, and is
// the controller's component handler. Host parameter changes reach the
// processor in the next process call and the controller at the next idle;
// the processor's output changes and the editor's edits reach the controller
// and the host (audioMasterAutomate) at the next idle. Parameters flagged kIsBypass or
// kIsProgramChange are not VST 2 parameters: bypass goes through effSetBypass
// and the program change parameter through the VST 2 programs.
//
// Chunks keep the layout projects expect: the component state size and the
// controller state size as little-endian 64-bit integers, then both states.
//
// Cockos hosts get longer parameter names, and every host the Cockos
// extensions: the capability "hasCockosExtensions" and the vendor-specific
// parameter queries. The host context also answers IWrapperInterface, through
// which the controller learns what the VST 2 host says about itself.

#include "sdk/IWrapperInterface.h"
#include "sdk/hosting/ParameterChanges.h"
#include "vst2/AudioEffectX.h"
#include "vst2/IdleRunLoop.h"
#include "vst2/ParameterTransfer.h"
#include "vst2/ProcessGuard.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Wrapper : public ::AudioEffectX,
                    public IHostApplication,
                    public IComponentHandler,
                    public IUnitHandler,
                    public IdleTimerHandler,
                    public IVst3ToVst2Wrapper,
                    public IWrapperInterface
{
public:
    static constexpr const char* kCockosVendor = "Cockos";
    static constexpr int32 kNameLength = 8;         // VST 2's parameter names
    static constexpr int32 kCockosNameLength = 255; // what Cockos hosts take
    // Answers of the Cockos extensions.
    static constexpr VstIntPtr kCockosAnswer = 0xBEEF;
    static constexpr VstIntPtr kCockosExtensionsAnswer = 0xBEEF0000;
    static constexpr VstInt32 kCockosParamRangeQuery = static_cast<VstInt32>(0xDEADBEF0u);

    // Takes over one reference each to processor and controller (the controller may be null) and
    // holds one of its own to factory. Asks the host for its vendor, to know a Cockos host.
    Vst2Wrapper(IAudioProcessor* processor, IEditController* controller, audioMasterCallback audioMaster,
                const TUID componentClassId, VstInt32 vst2UniqueId, IPluginFactory* factory);
    ~Vst2Wrapper() override;

    // Makes the effect for component class componentClassId of factory as a
    // Wrapper, constructed from (processor, controller, audioMaster,
    // componentClassId, factory), initialised and named as the factory
    // describes the class. Takes over the caller's reference to factory. Null
    // when anything fails.
    template <typename Wrapper>
    static Wrapper* create(IPluginFactory* factory, const TUID componentClassId, audioMasterCallback audioMaster)
    {
        const IPtr<IPluginFactory> callersReference = owned(factory);
        IPtr<IAudioProcessor> processor;
        IPtr<IEditController> controller;
        if (!createComponents(factory, componentClassId, processor, controller))
            return nullptr;
        auto* wrapper = new Wrapper(processor.take(), controller.take(), audioMaster, componentClassId, factory);
        if (!wrapper->init())
        {
            delete wrapper;
            return nullptr;
        }
        wrapper->describeClass(factory, componentClassId);
        return wrapper;
    }

    // Initialises and connects the components and sets up parameters, programs,
    // buses and processing. False: the wrapper is unusable and must be deleted.
    virtual bool init();

    // Idle calls from the host's editor thread also hand changes over to the controller and the host.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // AudioEffect
    // effClose: stops processing and ends the components before the effect is
    // deleted, since the processor's worker thread calls back into this object,
    // its host context.
    void close() override;
    void suspend() override;
    void resume() override;
    void setSampleRate(float newSampleRate) override;
    void setBlockSize(VstInt32 newBlockSize) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) override;
    void processAccumulating(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void setProgram(VstInt32 program) override;
    void getProgramName(char* name) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    // Title when it fits maxNameLength bytes, else the short title; cut to maxNameLength.
    void getParameterName(VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    // AudioEffectX
    bool canParameterBeAutomated(VstInt32 index) override;
    bool string2parameter(VstInt32 index, char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    bool getParameterProperties(VstInt32 index, Vst2Abi::ParameterProperties* properties) override;
    bool getInputProperties(VstInt32 index, VstPinProperties* properties) override;
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) override;
    VstInt32 getPlugCategory() override;
    bool setBypass(bool onOff) override;
    bool setProcessPrecision(VstInt32 precision) override;
    VstInt32 getGetTailSize() override;
    void idle() override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstIntPtr canDo(char* text) override;
    // Answers the query for the wrapped component's class ID ('stCA'/'stCa', 'FUID') and the Cockos queries.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // The Cockos parameter queries; kCockosAnswer on success, else 0.
    virtual VstIntPtr getParamDisplayForValue(VstInt32 index, char* text, float value);
    virtual VstIntPtr getParamValueForText(VstInt32 index, char* text);
    virtual VstIntPtr isParamStepped(VstInt32 index);
    virtual VstIntPtr getParamRange(VstInt32 index, void* ptr);

    // IHostApplication
    tresult PLUGIN_API getName(String128 name) override;
    tresult PLUGIN_API createInstance(TUID cid, TUID iid, void** obj) override;

    // IComponentHandler. Its beginEdit and endEdit share their names with the
    // VST 2 base's host notifications, which the wrapper calls by their class
    // name; neither is meant to hide the other.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Woverloaded-virtual"
#endif
    tresult PLUGIN_API beginEdit(ParamID id) override;
    tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) override;
    tresult PLUGIN_API endEdit(ParamID id) override;
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
    tresult PLUGIN_API restartComponent(int32 flags) override;

    // IUnitHandler
    tresult PLUGIN_API notifyUnitSelection(UnitID unitId) override;
    tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) override;

    // IdleTimerHandler: the idle-time work on the host's editor thread, run at
    // every effIdle and effEditIdle (VST 2 hosts have no timer to offer):
    // pending host changes go to the controller, the processor's output
    // changes to the controller and the host.
    void PLUGIN_API onTimer() override;

    // IWrapperInterface
    std::string PLUGIN_API getHostVendor() override;
    int32 PLUGIN_API getHostVendorVersion() override;

    // FUnknown: the wrapper lives until the host closes the effect.
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override
    {
        return 1;
    }
    uint32 PLUGIN_API release() override
    {
        return 1;
    }

    static constexpr ParamID kNoParamId = 0xFFFFFFFF;

private:
    struct ParameterMapEntry
    {
        ParamID id;
        int32 vst3Index;
    };

    // The processor of component class componentClassId and its controller:
    // the processor itself when it is one, else the class it names. False when
    // there is no processor.
    static bool createComponents(IPluginFactory* factory, const TUID componentClassId, IPtr<IAudioProcessor>& processor,
                                 IPtr<IEditController>& controller);
    // Name, vendor, version and category as the factory describes the class.
    void describeClass(IPluginFactory* factory, const TUID componentClassId);
    void setVendorName(const char* name);
    void setEffectName(const char* name);
    void setSubCategories(const char* categories);
    void setEffectVersion(const char* version);

    // The ParameterInfo of VST 2 parameter index; false when the index is out
    // of range or the controller fails.
    bool getParameterInfo(VstInt32 index, ParameterInfo& info);
    // The value the host last set for VST 2 parameter index, or else the
    // value the processor last had.
    double currentValue(VstInt32 index) const;
    // The controller's text for parameter index at normalized, cut to the
    // host's parameter text size; text is left empty and false returned when
    // there is none.
    bool writeParameterDisplay(VstInt32 index, ParamValue normalized, char* text);
    // The normalised value, in 0..1, that text (UTF-8) stands for in parameter
    // index; false when the controller cannot read it.
    bool parseParameterText(VstInt32 index, const char* text, ParamValue& normalized);
    // Tells the host that an edit of parameter id begins or ends (opcode), when it is a VST 2 parameter.
    tresult notifyHostEdit(ParamID id, VstInt32 opcode);
    static bool isCockosQuery(VstInt32 index);
    VstIntPtr answerCockosQuery(VstInt32 index, VstIntPtr value, void* ptr, float opt);
    static double clampNormalized(double value)
    {
        return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
    }

    template <typename HostSample>
    void processHostBlock(HostSample** inputs, HostSample** outputs, int32 frames, bool accumulate);
    template <typename HostSample, typename ProcessorSample>
    void processConverted(HostSample** inputs, HostSample** outputs, int32 offset, int32 frames, bool accumulate,
                          bool firstSlice, std::vector<ProcessorSample>* scratch, ProcessorSample** pointers);
    // Points the processor's buses at pointers: the input channels, then the outputs.
    template <typename Sample>
    void attachBuses(Sample** pointers);
    template <typename Sample>
    void processDirect(Sample** inputs, Sample** outputs, int32 offset, int32 frames, bool firstSlice,
                       Sample** pointers);
    void callProcessor(int32 frames, bool firstSlice);
    // Takes the host's pending changes into inputChanges; the values the processor gets are its current ones.
    void deliverPendingChanges();
    void collectOutputChanges();
    bool hasInputChange(ParamID id);
    void updateProcessContext();
    template <typename HostSample>
    void clearOutputs(HostSample** outputs, int32 frames);

    // Editor closed, processing stopped, components disconnected and terminated; idempotent.
    void shutDown();
    void setupParameters();
    void setupPrograms();
    bool setupBuses();
    bool setupProcessing();
    // Runs change with processing stopped and the audio thread kept out.
    template <typename Change>
    void reconfigure(Change&& change);
    void activate();
    void deactivate();
    // Hands pending host changes to the processor outside process, so a saved
    // chunk contains them even when the host is not processing.
    void flushPendingChanges();
    void readValuesFromController();
    int32 slotOf(ParamID id) const;
    int32 programOfValue(double normalized) const;
    void queueChange(int32 slot, double value);
    bool getPinProperties(BusDirection direction, VstInt32 index, VstPinProperties* properties);

    IPtr<IAudioProcessor> processor;
    IPtr<IComponent> component;
    IPtr<IEditController> controller;
    IPtr<IUnitInfo> unitInfo;
    IPtr<IPluginFactory> factory;
    TUID componentClassId{};
    bool componentInitialized = false;
    bool controllerInitialized = false;
    bool componentsConnected = false;

    char effectName[64] = {};
    char vendorName[64] = {};
    char subCategories[128] = {};
    VstInt32 vendorVersion = 0;

    // Parameters: slots are the controller's parameter indices.
    std::vector<ParameterMapEntry> parameterMap;      // by VST 2 index
    std::vector<std::pair<ParamID, int32>> slotsById; // sorted by ID
    std::vector<ParamID> idBySlot;
    std::vector<int32> vst2IndexBySlot; // -1: not a VST 2 parameter
    // By slot: what the processor was last given or reported; a change still
    // queued for it (toProcessor) is newer.
    std::unique_ptr<std::atomic<double>[]> currentValues;
    ParamID bypassParameterId = kNoParamId;
    ParamID programParameterId = kNoParamId;
    int32 programParameterSteps = 0;
    ProgramListID programListId = kNoProgramListId;
    ParameterTransfer toProcessor;   // drained by process
    ParameterTransfer toController;  // host changes, drained at idle
    ParameterTransfer fromProcessor; // output changes, drained at idle

    // Processing.
    ProcessGuard guard;
    Hosting::ParameterChanges inputChanges{1, 1}; // sized by setupParameters
    Hosting::ParameterChanges outputChanges{1, 1};
    ProcessData processData;
    ProcessContext processContext{};
    AudioBusBuffers inputBus{};
    AudioBusBuffers outputBus{};
    int32 inputChannels = 0;
    int32 outputChannels = 0;
    std::vector<float*> pointers32; // input channels, then output channels
    std::vector<double*> pointers64;
    std::vector<float> scratch32[2]; // per direction, channels one after another
    std::vector<double> scratch64[2];
    int32 scratchFrames = 0;
    int32 vst3SampleSize = kSample32;
    bool active = false;
    bool setupValid = false;

    Vst2Abi::SpeakerArrangement8 inputArrangement{};
    Vst2Abi::SpeakerArrangement8 outputArrangement{};

    IdleRunLoop runLoop;
    std::vector<uint8_t> chunk;

    int32 cockosHost = 0; // 1 when the host's vendor text is exactly "Cockos"
    int32 maxNameLength = kNameLength;
};

} // namespace Vst
} // namespace Steinberg
