#include "tests/crossplatform/PlatformRender.h"

#include "tests/support/ProcessingHost.h"
#include "tests/support/Vst2HostCore.h"

#include "params/ParamId.h"
#include "sdk/Utf16.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/PluginModule.h"
#include "vst2/Vst2Abi.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <memory>

using namespace Steinberg;

namespace PlatformRender {

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int32 kFrames = 4096;
constexpr int32 kBlockSize = 512;
constexpr int kTextSteps = 40; // values k/40: every list entry and many rounding cases

struct Point
{
    uint32_t id;
    int32 frame;
    double value;
};

const Point kAutomation[] = {
    {kHpPan, 700, 0.8}, {kHpPan, 1000, 0.3}, {kLpWidth, 1800, 0.9}, {kCrossoverFreq, 2600, 0.7}};

} // namespace

const KalviorTest::ValueList& settings()
{
    static const KalviorTest::ValueList values = {
        {kLeftGain, 0.7},   {kRightGain, 0.8},  {kLeftPan, 0.35},      {kRightPan, 0.6},     {kBalance, 0.55},
        {kAsymmetry, 0.45}, {kAsymmCrush, 0.3}, {kHpGain, 0.72},       {kHpWidth, 0.65},     {kHpPan, 0.4},
        {kPanLaw, 0.5},     {kPanCrush, 0.2},   {kGainTrim, 0.6},      {kLpGain, 0.78},      {kLpWidth, 0.3},
        {kLpPan, 0.58},     {kCrossover, 1.0},  {kCrossoverFreq, 0.4}, {kOutputFormat, 1.0}, {kInvertRight, 1.0}};
    return values;
}

namespace {

Samples inputSignal()
{
    // Two noises, one shared by both channels: only + and * on values a
    // float holds exactly, so every platform feeds the plug-in the same bits.
    KalviorTest::Noise shared(12345), own(678);
    Samples samples(static_cast<size_t>(kFrames) * 2);
    for (size_t frame = 0; frame < static_cast<size_t>(kFrames); ++frame)
    {
        const double x = shared.next();
        samples[2 * frame] = 0.5 * x;
        samples[2 * frame + 1] = 0.25 * x + 0.3 * own.next();
    }
    return samples;
}

// Shortest round-trip spelling: the same digits on every platform and locale.
std::string number(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Through VSTPluginMain, with processReplacing or processDoubleReplacing.
template <typename Sample>
Rendering renderVst2As(const std::string& path)
{
    using EntryPoint = AEffect* (*)(audioMasterCallback);
    Rendering result;
    KalviorTest::Vst2Host host;
    auto module = Hosting::PluginModule::load(path, result.error);
    auto entry = module ? reinterpret_cast<EntryPoint>(module->symbol("VSTPluginMain")) : nullptr;
    AEffect* effect = entry ? entry(&KalviorTest::Vst2Host::callback) : nullptr;
    if (!effect)
    {
        result.error += " (no VST 2 effect)";
        return result;
    }
    auto dispatch = [effect](VstInt32 opcode, VstIntPtr value = 0, float opt = 0.f)
    {
        return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
    };
    // VST 2 shows neither ProgSel nor Bypass: index = ID - 2.
    auto set = [effect](uint32_t id, double value)
    {
        effect->setParameter(effect, VstInt32(id) - 2, static_cast<float>(value));
    };
    const bool isDouble = sizeof(Sample) == sizeof(double);
    dispatch(Vst2Abi::effOpen);
    for (const auto& [id, value] : settings())
        set(id, value);
    dispatch(Vst2Abi::effSetSampleRate, 0, static_cast<float>(kSampleRate));
    dispatch(Vst2Abi::effSetBlockSize, kBlockSize);
    dispatch(Vst2Abi::effSetProcessPrecision, isDouble ? Vst2Abi::kProcessPrecision64 : Vst2Abi::kProcessPrecision32);
    dispatch(Vst2Abi::effMainsChanged, 1);

    const Samples input = inputSignal();
    result.output.resize(input.size());
    std::vector<Sample> in[2] = {std::vector<Sample>(kBlockSize), std::vector<Sample>(kBlockSize)},
                        out[2] = {in[0], in[1]};
    Sample* inputs[2] = {in[0].data(), in[1].data()};
    Sample* outputs[2] = {out[0].data(), out[1].data()};
    const Point* next = std::begin(kAutomation);
    for (int32 start = 0; start < kFrames; start += kBlockSize)
    {
        // VST 2 has no sample offsets: a point takes effect from its block's start.
        for (; next != std::end(kAutomation) && next->frame < start + kBlockSize; ++next)
            set(next->id, next->value);
        for (size_t i = 0; i < size_t(kBlockSize); ++i)
            for (size_t c = 0; c < 2; ++c)
                in[c][i] = static_cast<Sample>(input[2 * (size_t(start) + i) + c]);
        if constexpr (isDouble)
            effect->processDoubleReplacing(effect, inputs, outputs, kBlockSize);
        else
            effect->processReplacing(effect, inputs, outputs, kBlockSize);
        for (size_t i = 0; i < size_t(kBlockSize); ++i)
            for (size_t c = 0; c < 2; ++c)
                result.output[2 * (size_t(start) + i) + c] = out[c][i];
    }
    dispatch(Vst2Abi::effMainsChanged, 0);
    dispatch(Vst2Abi::effClose);
    return result;
}

} // namespace

Rendering renderVst3(const std::string& bundle, int32_t sampleSize)
{
    Rendering result;
    auto module = Hosting::PluginModule::load(bundle, result.error);
    if (!module)
        return result;
    KalviorTest::ProcessingHost host(module->factory(), false);
    if (!host.ok() || host.setValues(settings()) != kResultOk ||
        host.start({kSampleRate, kBlockSize, sampleSize, true}) != kResultOk)
    {
        result.error = host.ok() ? "the processor refused the settings or the setup" : host.error;
        return result;
    }
    result.state = KalviorTest::getStateBytes(host.component());
    const Samples input = inputSignal();
    Hosting::ParameterChanges changes(8, 8);
    result.output.resize(input.size());
    for (int32 start = 0; start < kFrames; start += kBlockSize)
    {
        changes.clear();
        for (const Point& point : kAutomation)
            if (point.frame >= start && point.frame < start + kBlockSize)
                changes.addChange(point.id, point.frame - start, point.value);
        for (int32 i = 0; i < kBlockSize; ++i)
            for (int32 c = 0; c < 2; ++c)
                host.buffers.setInput(c, i, input[size_t(2 * (start + i) + c)]);
        host.process(kBlockSize, &changes, false);
        for (int32 i = 0; i < kBlockSize; ++i)
            for (int32 c = 0; c < 2; ++c)
                result.output[size_t(2 * (start + i) + c)] = host.out(c, i);
    }
    return result;
}

Rendering renderVst2(const std::string& modulePath, bool doublePrecision)
{
    return doublePrecision ? renderVst2As<double>(modulePath) : renderVst2As<float>(modulePath);
}

std::string describeTexts(const std::string& bundle, std::string& error)
{
    std::string out;
    auto module = Hosting::PluginModule::load(bundle, error);
    KalviorTest::ProcessingHost host(module ? module->factory() : nullptr, false);
    if (!host.ok())
    {
        error = error.empty() ? host.error : error;
        return {};
    }
    Vst::IEditController* controller = host.controller();
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info{};
        controller->getParameterInfo(i, info);
        out += "vst3 " + std::to_string(info.id) + " \"" + utf16ToUtf8(info.title) + "\" \"" +
               utf16ToUtf8(info.shortTitle) + "\" \"" + utf16ToUtf8(info.units) + "\" steps " +
               std::to_string(info.stepCount) + " default " + number(info.defaultNormalizedValue) + " flags " +
               std::to_string(info.flags) + "\n";
        for (int k = 0; k <= kTextSteps; ++k)
        {
            const double value = double(k) / kTextSteps;
            Vst::String128 text{};
            Vst::ParamValue back = -1.0;
            const bool shown = controller->getParamStringByValue(info.id, value, text) == kResultOk;
            const bool parsed = shown && controller->getParamValueByString(info.id, text, back) == kResultOk;
            out += "  " + number(value) + " -> \"" + utf16ToUtf8(text) + "\" -> " +
                   (parsed ? number(back) : "(refused)") + "\n";
        }
    }
    return out;
}

bool writeFile(const std::string& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

bool readFile(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return static_cast<bool>(file) || file.eof();
}

} // namespace PlatformRender
