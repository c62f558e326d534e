#include "tests/processor/ChainHost.h"

using namespace Steinberg;

namespace ChainTestSupport {

ChainHost::ChainHost(Hosting::PluginModule& module, const HostSetup& chosen, std::string& error) : setup(chosen)
{
    const int32 processorClass = module.findClass(KalviorTest::kAudioModuleClass);
    if (processorClass < 0)
    {
        error = "no audio module class";
        return;
    }
    instance = Hosting::PluginInstance::create(module.factory(), processorClass, &host, error);
    if (!instance)
        return;
    if (instance->setStereoArrangement() != kResultOk)
        error = "stereo arrangement refused";
    else if (instance->setupProcessing(setup.sampleRate, setup.maxBlock, setup.sampleSize) != kResultOk)
        error = "setupProcessing refused";
    else if (instance->setActive(true) != kResultOk)
        error = "setActive refused";
    else if (instance->setProcessing(true) != kResultOk)
        error = "setProcessing refused";
    buffers.prepare(setup.sampleSize, setup.bufferFrames > 0 ? setup.bufferFrames : setup.maxBlock);
}

ChainHost::~ChainHost() = default;

void ChainHost::setValues(const std::vector<std::pair<uint32_t, double>>& newValues)
{
    KalviorTest::Bytes bytes;
    for (const auto& [id, value] : newValues)
        KalviorTest::appendRecord(bytes, id, value);
    KalviorTest::setStateBytes(component(), bytes);
}

ChainReference::Values ChainHost::values()
{
    ChainReference::Values result{};
    const KalviorTest::Bytes bytes = KalviorTest::getStateBytes(component());
    uint32_t id = 0;
    double value = 0.0;
    for (size_t i = 0; KalviorTest::readRecord(bytes, i, id, value); ++i)
        if (id < kNumParams)
            result[id] = value;
    return result;
}

void ChainHost::fillNoise(int32 frames, uint32_t seed)
{
    uint32_t state = seed * 2654435761u + 1u;
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
        {
            state = state * 1664525u + 1013904223u;
            buffers.setInput(c, i, static_cast<double>(state >> 8) / double(1u << 23) - 1.0);
        }
}

void ChainHost::fillOutput(int32 frames, double value)
{
    for (int32 c = 0; c < 2; ++c)
        for (int32 i = 0; i < frames; ++i)
        {
            if (setup.sampleSize == Vst::kSample64)
                buffers.output64(c)[i] = value;
            else
                buffers.output32(c)[i] = static_cast<float>(value);
        }
}

tresult ChainHost::process(int32 frames, Vst::IParameterChanges* input, Vst::IParameterChanges* output)
{
    return processor()->process(buffers.block(frames, input, output));
}

} // namespace ChainTestSupport
