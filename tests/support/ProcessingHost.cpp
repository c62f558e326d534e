#include "tests/support/ProcessingHost.h"

#include <algorithm>

using namespace Steinberg;

namespace KalviorTest {

ProcessingHost::ProcessingHost(IPluginFactory* factory, bool connect)
{
    lastReports.reserve(kParameterCount * 2); // the audio thread only fills it
    if (!factory)
    {
        error = "no factory";
        return;
    }
    int32 audioClass = -1;
    for (int32 i = 0; i < factory->countClasses() && audioClass < 0; ++i)
    {
        PClassInfo info{};
        if (factory->getClassInfo(i, &info) == kResultOk && std::string(info.category) == kVstAudioEffectClass)
            audioClass = i;
    }
    instance = Hosting::PluginInstance::create(factory, audioClass, &context, error);
    if (!instance)
        return;
    if (!instance->controller())
        error = "the processor names no controller the factory makes";
    else if (connect && (!instance->connect() || instance->transferState() != kResultOk))
        error = "processor and controller do not connect";
}

ProcessingHost::~ProcessingHost()
{
    instance.reset(); // stops processing, deactivates, disconnects, terminates
}

tresult ProcessingHost::start(const HostSetup& wanted)
{
    stop();
    setup = wanted;
    tresult result = instance->setStereoArrangement();
    if (result == kResultOk)
        result = instance->setupProcessing(setup.sampleRate, setup.maxBlock, setup.sampleSize);
    if (result != kResultOk)
        return result;
    buffers.prepare(setup.sampleSize, std::max(setup.maxBlock, setup.bufferFrames));
    result = instance->setActive(true);
    active = result == kResultOk;
    if (active && setup.processing)
    {
        result = instance->setProcessing(true);
        processing = result == kResultOk;
    }
    return result;
}

void ProcessingHost::stop()
{
    if (processing)
        instance->setProcessing(false);
    if (active)
        instance->setActive(false);
    processing = active = false;
}

void ProcessingHost::fillNoise(int32 frames, Noise& noise)
{
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
            buffers.setInput(c, i, noise.next());
}

void ProcessingHost::fillInput(int32 frames, double left, double right)
{
    for (int32 i = 0; i < frames; ++i)
    {
        buffers.setInput(0, i, left);
        buffers.setInput(1, i, right);
    }
}

tresult ProcessingHost::process(int32 frames, Vst::IParameterChanges* input, bool forward)
{
    outputChanges.clear();
    const tresult result = instance->processor()->process(buffers.block(frames, input, &outputChanges));
    lastReports.clear();
    for (int32 q = 0; q < outputChanges.getParameterCount(); ++q)
    {
        Vst::IParamValueQueue* queue = outputChanges.getParameterData(q);
        int32 offset = 0;
        Vst::ParamValue value = 0.0;
        if (queue && queue->getPointCount() > 0 &&
            queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk)
            lastReports.emplace_back(queue->getParameterId(), value);
    }
    if (forward && instance->controller())
        for (const auto& [id, value] : lastReports)
            instance->controller()->setParamNormalized(id, value);
    return result;
}

tresult ProcessingHost::setValues(const ValueList& values)
{
    const tresult result = setStateBytes(component(), stateOf(values));
    return result == kResultOk && instance->controller() ? instance->transferState() : result;
}

Values ProcessingHost::values()
{
    Values values{};
    decodeState(getStateBytes(component()), values);
    return values;
}

} // namespace KalviorTest
