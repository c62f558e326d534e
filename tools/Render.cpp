#include "tools/Render.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;

namespace {

// The plug-in sends one scope block per 512 kept frames and keeps one frame
// in trunc(rate / 5120), about ten blocks a second.
uint64_t framesPerScopeBlock(double sampleRate)
{
    const uint64_t decimation = std::max<uint64_t>(1, static_cast<uint64_t>(sampleRate / 5120.0));
    return ScopeBlock::kFrames * decimation;
}

// Silence processed before the first frame: well beyond the 256 frames over
// which the crossover glides to new settings.
constexpr int64_t kWarmUpFrames = 4096;

// Longest wait for a scope block the plug-in should have sent; a plug-in
// that stays silent longer is no longer waited for.
constexpr int kScopeWaitMs = 2000;

int32_t pointCapacity(const RenderPlan& plan)
{
    size_t most = 0;
    for (const auto& [id, curve] : plan.automation)
        most = std::max(most, curve.points().size());
    return static_cast<int32_t>(2 * most + 4); // a knot before each step, the block's ends
}

int32_t queueCapacity(const RenderPlan& plan)
{
    return static_cast<int32_t>(std::max<size_t>(64, plan.values.size() + plan.automation.size() + 1));
}

// The channel storage of the harness's buffers in the sample type in use.
float* inputChannel(Hosting::ProcessBuffers& buffers, int32 channel, float*)
{
    return buffers.input32(channel);
}
double* inputChannel(Hosting::ProcessBuffers& buffers, int32 channel, double*)
{
    return buffers.input64(channel);
}
float* outputChannel(Hosting::ProcessBuffers& buffers, int32 channel, float*)
{
    return buffers.output32(channel);
}
double* outputChannel(Hosting::ProcessBuffers& buffers, int32 channel, double*)
{
    return buffers.output64(channel);
}

} // namespace

Renderer::Renderer(PluginSession& pluginSession, RenderPlan renderPlan)
    : session(pluginSession), plan(std::move(renderPlan)), inputChanges(queueCapacity(plan), pointCapacity(plan)),
      outputChanges(queueCapacity(plan) + 64, 4)
{
}

Renderer::~Renderer()
{
    stop();
}

bool Renderer::start(std::string& error)
{
    Hosting::PluginInstance& plugin = session.instance();
    const int32 sampleSize = plan.precision == 64 ? Vst::kSample64 : Vst::kSample32;
    if (plugin.setStereoArrangement() != kResultOk)
    {
        error = "the plug-in refused a stereo input and output";
        return false;
    }
    if (plugin.processor()->canProcessSampleSize(sampleSize) != kResultTrue)
    {
        error = "the plug-in refuses " + std::to_string(plan.precision) + "-bit processing here";
        return false;
    }
    if (plugin.setupProcessing(plan.sampleRate, plan.blockSize, sampleSize) != kResultOk)
    {
        error = "the plug-in refused to process " + std::to_string(plan.blockSize) + "-frame blocks at " +
                std::to_string(static_cast<long>(plan.sampleRate)) + " Hz";
        return false;
    }
    buffers.prepare(sampleSize, plan.blockSize);
    if (plugin.setActive(true) != kResultOk || plugin.setProcessing(true) != kResultOk)
    {
        error = "the plug-in could not be activated";
        return false;
    }
    running = true;
    if (!applyStartingState(error))
        return false;

    const ParameterDescription* scopeSwitch = session.scopeSwitch();
    scopeOn = plan.drawScope && scopeSwitch && plugin.controller()->getParamNormalized(scopeSwitch->id) >= 0.5;
    return true;
}

void Renderer::flush()
{
    // A call without audio: hosts hand parameters over this way, and the
    // plug-in applies them at once instead of ramping them over a block.
    outputChanges.clear();
    Vst::ProcessData& data = buffers.block(0, &inputChanges, &outputChanges);
    data.numInputs = 0;
    data.numOutputs = 0;
    session.instance().processor()->process(data);
    forwardOutputChanges();
    data.numInputs = 1;
    data.numOutputs = 1;
    inputChanges.clear();
}

bool Renderer::applyStartingState(std::string& error)
{
    // The program comes first, so the values given afterwards are set over it.
    inputChanges.clear();
    if (plan.program >= 0)
    {
        const ParameterDescription* selector = session.programParameter();
        if (!selector)
        {
            error = "the plug-in has no program parameter";
            return false;
        }
        const double value = session.programValue(plan.program);
        inputChanges.addChange(selector->id, 0, value);
        session.instance().controller()->setParamNormalized(selector->id, value);
        flush();
    }

    automationCurrent.clear();
    for (const auto& [id, value] : plan.values)
    {
        inputChanges.addChange(id, 0, value);
        session.instance().controller()->setParamNormalized(id, value);
    }
    for (const auto& [id, curve] : plan.automation)
    {
        const double start = curve.valueAt(0);
        inputChanges.addChange(id, 0, start);
        session.instance().controller()->setParamNormalized(id, start);
        automationCurrent.push_back(start);
    }
    if (inputChanges.getParameterCount() > 0)
        flush();
    warmUp();
    return true;
}

void Renderer::warmUp()
{
    // The scope is switched off meanwhile, so the silence is not drawn.
    const ParameterDescription* scopeSwitch = session.scopeSwitch();
    const double scopeValue = scopeSwitch ? session.instance().controller()->getParamNormalized(scopeSwitch->id) : 0.0;
    if (scopeSwitch)
    {
        inputChanges.addChange(scopeSwitch->id, 0, 0.0);
        flush();
    }
    Vst::IAudioProcessor* processor = session.instance().processor();
    for (int64_t done = 0; done < kWarmUpFrames; done += plan.blockSize)
    {
        const int32_t n = static_cast<int32_t>(std::min<int64_t>(plan.blockSize, kWarmUpFrames - done));
        for (int32 channel = 0; channel < 2; ++channel)
        {
            if (plan.precision == 64)
                std::fill_n(buffers.input64(channel), n, 0.0);
            else
                std::fill_n(buffers.input32(channel), n, 0.0f);
        }
        inputChanges.clear();
        outputChanges.clear();
        buffers.inputBus.silenceFlags = 0;
        processor->process(buffers.block(n, &inputChanges, &outputChanges));
        forwardOutputChanges();
    }
    if (scopeSwitch)
    {
        inputChanges.addChange(scopeSwitch->id, 0, scopeValue);
        flush();
    }
}

void Renderer::prepareChanges(int32_t frames)
{
    inputChanges.clear();
    outputChanges.clear();
    for (size_t i = 0; i < plan.automation.size(); ++i)
    {
        points.clear();
        queuePointsForBlock(plan.automation[i].second, position, frames, automationCurrent[i], points);
        if (points.empty())
            continue;
        int32 queueIndex = 0;
        Vst::IParamValueQueue* queue = inputChanges.addParameterData(plan.automation[i].first, queueIndex);
        for (const QueuePoint& point : points)
        {
            int32 pointIndex = 0;
            if (queue)
                queue->addPoint(point.offset, point.value, pointIndex);
        }
    }
}

void Renderer::forwardOutputChanges()
{
    // What the processor reports (after a program change) the controller follows.
    Vst::IEditController* controller = session.instance().controller();
    for (int32 i = 0; i < outputChanges.getParameterCount(); ++i)
    {
        Vst::IParamValueQueue* queue = outputChanges.getParameterData(i);
        if (!queue || queue->getPointCount() < 1)
            continue;
        int32 offset = 0;
        Vst::ParamValue value = 0.0;
        if (queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk)
            controller->setParamNormalized(queue->getParameterId(), value);
    }
}

void Renderer::collectScope(int32_t frames)
{
    if (!scopeOn)
        return;
    ScopeTap& tap = session.scopeTap();
    scopeFrames += static_cast<uint64_t>(frames);
    expectedScopeBlocks = scopeFrames / framesPerScopeBlock(plan.sampleRate);
    // The plug-in keeps only the newest unsent block, so give its scope
    // thread the time to send each one before rendering on.
    if (!scopeStalled && tap.received() < expectedScopeBlocks)
        scopeStalled = !tap.waitFor(expectedScopeBlocks, kScopeWaitMs);
    for (const ScopeTap::Block& block : tap.takeBlocks())
        picture.addBlock(block.data(), block.size());
}

template <typename Sample>
void Renderer::processBlocks(const Sample* inLeft, const Sample* inRight, Sample* outLeft, Sample* outRight,
                             int64_t frames)
{
    Vst::IAudioProcessor* processor = session.instance().processor();
    Sample* const type = nullptr;
    Sample* left = inputChannel(buffers, 0, type);
    Sample* right = inputChannel(buffers, 1, type);
    const Sample* resultLeft = outputChannel(buffers, 0, type);
    const Sample* resultRight = outputChannel(buffers, 1, type);
    for (int64_t done = 0; done < frames;)
    {
        const int32_t n = static_cast<int32_t>(std::min<int64_t>(plan.blockSize, frames - done));
        prepareChanges(n);
        std::copy(inLeft + done, inLeft + done + n, left);
        std::copy(inRight + done, inRight + done + n, right);
        Vst::ProcessData& data = buffers.block(n, &inputChanges, &outputChanges);
        buffers.inputBus.silenceFlags = 0;
        buffers.outputBus.silenceFlags = 0;
        processor->process(data);
        std::copy(resultLeft, resultLeft + n, outLeft + done);
        std::copy(resultRight, resultRight + n, outRight + done);
        forwardOutputChanges();
        collectScope(n);
        position += n;
        done += n;
    }
}

void Renderer::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int64_t frames)
{
    if (running && plan.precision == 32)
        processBlocks(inLeft, inRight, outLeft, outRight, frames);
}

void Renderer::process(const double* inLeft, const double* inRight, double* outLeft, double* outRight, int64_t frames)
{
    if (running && plan.precision == 64)
        processBlocks(inLeft, inRight, outLeft, outRight, frames);
}

void Renderer::stop()
{
    if (!running)
        return;
    running = false;
    session.instance().setProcessing(false); // joins the plug-in's scope thread
    session.instance().setActive(false);
    for (const ScopeTap::Block& block : session.scopeTap().takeBlocks())
        picture.addBlock(block.data(), block.size());
}
