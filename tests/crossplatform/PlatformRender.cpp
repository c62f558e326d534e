#include "tests/crossplatform/PlatformRender.h"

#include "params/ParamId.h"
#include "sdk/Utf16.h"
#include "sdk/hosting/ComponentHandler.h"
#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"
#include "sdk/hosting/ProcessBuffers.h"
#include "vst2/Vst2Abi.h"

#include "public.sdk/source/common/memorystream.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace Steinberg;

namespace PlatformRender {

namespace {

// A point of automation: id moves to value at frame (inside its block).
struct Point
{
    uint32_t id;
    int32_t frame;
    double value;
};

const std::vector<Point>& automation()
{
    static const std::vector<Point> points = {
        {kHpPan, 700, 0.8}, {kHpPan, 1000, 0.3}, {kLpWidth, 1800, 0.9}, {kCrossoverFreq, 2600, 0.7}};
    return points;
}

void appendBigEndian(std::vector<uint8_t>& bytes, uint64_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The component state format: 12-byte records, ID and value big-endian.
std::vector<uint8_t> stateOf(const std::vector<Setting>& values)
{
    std::vector<uint8_t> bytes;
    for (const Setting& setting : values)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &setting.value, sizeof bits);
        appendBigEndian(bytes, setting.id, 4);
        appendBigEndian(bytes, bits, 8);
    }
    return bytes;
}

std::vector<uint8_t> readState(Vst::IComponent* component)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    if (component->getState(stream) != kResultOk)
        return {};
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    return std::vector<uint8_t>(data, data + stream->getSize());
}

} // namespace

const std::vector<Setting>& settings()
{
    static const std::vector<Setting> values = {
        {kLeftGain, 0.7},   {kRightGain, 0.8},  {kLeftPan, 0.35},      {kRightPan, 0.6},     {kBalance, 0.55},
        {kAsymmetry, 0.45}, {kAsymmCrush, 0.3}, {kHpGain, 0.72},       {kHpWidth, 0.65},     {kHpPan, 0.4},
        {kPanLaw, 0.5},     {kPanCrush, 0.2},   {kGainTrim, 0.6},      {kLpGain, 0.78},      {kLpWidth, 0.3},
        {kLpPan, 0.58},     {kCrossover, 1.0},  {kCrossoverFreq, 0.4}, {kOutputFormat, 1.0}, {kInvertRight, 1.0}};
    return values;
}

Samples inputSignal()
{
    // Two rotating phasors and a linear congruential noise: only +, * and
    // sqrt, which IEEE 754 rounds the same everywhere, so every platform
    // feeds the plug-in the same bits (sin from different C libraries may not).
    struct Phasor
    {
        double c, s, x = 1.0, y = 0.0;
        explicit Phasor(double cosine) : c(cosine), s(std::sqrt(1.0 - cosine * cosine)) {}
        double next()
        {
            const double nx = c * x - s * y;
            y = s * x + c * y;
            x = nx;
            return y;
        }
    };
    Phasor low(0.9998), high(0.9919); // about 300 Hz and 1.9 kHz at 48 kHz
    Samples samples(static_cast<size_t>(kFrames) * 2);
    uint32_t noise = 12345;
    for (int32_t frame = 0; frame < kFrames; ++frame)
    {
        noise = noise * 1664525u + 1013904223u;
        const double random = static_cast<double>(noise >> 8) / 16777216.0 - 0.5;
        samples[2 * frame] = 0.5 * low.next() + 0.2 * random;
        samples[2 * frame + 1] = 0.4 * high.next() - 0.15 * random;
    }
    return samples;
}

Rendering renderVst3(const std::string& bundle, int32_t sampleSize)
{
    Rendering result;
    auto module = Hosting::PluginModule::load(bundle, result.error);
    if (!module)
        return result;
    const int32 processorClass = module->findClass("Audio Module Class");
    Hosting::HostContext host{"Kalvior Platform Render"};
    auto instance = Hosting::PluginInstance::create(module->factory(), processorClass, &host, result.error);
    if (!instance)
        return result;

    {
        const std::vector<uint8_t> bytes = stateOf(settings());
        IPtr<MemoryStream> stream = owned(new MemoryStream());
        int32 written = 0;
        stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
        stream->seek(0, IBStream::kIBSeekSet, nullptr);
        if (instance->component()->setState(stream) != kResultOk)
        {
            result.error = "setState refused the settings";
            return result;
        }
    }
    result.state = readState(instance->component());

    if (instance->setStereoArrangement() != kResultOk ||
        instance->setupProcessing(kSampleRate, kBlockSize, sampleSize) != kResultOk ||
        instance->setActive(true) != kResultOk || instance->setProcessing(true) != kResultOk)
    {
        result.error = "the processor refused the setup";
        return result;
    }

    const Samples input = inputSignal();
    Hosting::ProcessBuffers buffers(2);
    buffers.prepare(sampleSize, kBlockSize);
    Hosting::ParameterChanges changes(8, 8);
    result.output.resize(input.size());
    for (int32_t start = 0; start < kFrames; start += kBlockSize)
    {
        changes.clear();
        for (const Point& point : automation())
        {
            if (point.frame >= start && point.frame < start + kBlockSize)
                changes.addChange(point.id, point.frame - start, point.value);
        }
        for (int32_t i = 0; i < kBlockSize; ++i)
        {
            buffers.setInput(0, i, input[2 * (start + i)]);
            buffers.setInput(1, i, input[2 * (start + i) + 1]);
        }
        instance->processor()->process(buffers.block(kBlockSize, &changes));
        for (int32_t i = 0; i < kBlockSize; ++i)
        {
            result.output[2 * (start + i)] = buffers.output(0, i);
            result.output[2 * (start + i) + 1] = buffers.output(1, i);
        }
    }
    instance->setProcessing(false);
    instance->setActive(false);
    return result;
}

namespace {

// VST 2 has programs and effSetBypass of its own, so the program change and
// bypass parameters (IDs 0 and 1) are not VST 2 parameters: index = ID - 2.
VstInt32 vst2Index(uint32_t id)
{
    return static_cast<VstInt32>(id) - 2;
}

VstIntPtr hostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/, void* /*ptr*/,
                       float /*opt*/)
{
    return opcode == Vst2Abi::audioMasterVersion ? Vst2Abi::kVstVersionNumber : 0;
}

template <typename Sample>
void processVst2(AEffect* effect, const Samples& input, Samples& output)
{
    std::vector<Sample> in[2], out[2];
    for (int c = 0; c < 2; ++c)
    {
        in[c].resize(kBlockSize);
        out[c].resize(kBlockSize);
    }
    Sample* inputs[2] = {in[0].data(), in[1].data()};
    Sample* outputs[2] = {out[0].data(), out[1].data()};
    size_t nextPoint = 0;
    for (int32_t start = 0; start < kFrames; start += kBlockSize)
    {
        // VST 2 has no sample offsets: a point takes effect from its block's start.
        while (nextPoint < automation().size() && automation()[nextPoint].frame < start + kBlockSize)
        {
            const Point& point = automation()[nextPoint++];
            effect->setParameter(effect, vst2Index(point.id), static_cast<float>(point.value));
        }
        for (int32_t i = 0; i < kBlockSize; ++i)
        {
            in[0][i] = static_cast<Sample>(input[2 * (start + i)]);
            in[1][i] = static_cast<Sample>(input[2 * (start + i) + 1]);
        }
        if constexpr (sizeof(Sample) == sizeof(double))
            effect->processDoubleReplacing(effect, inputs, outputs, kBlockSize);
        else
            effect->processReplacing(effect, inputs, outputs, kBlockSize);
        for (int32_t i = 0; i < kBlockSize; ++i)
        {
            output[2 * (start + i)] = out[0][i];
            output[2 * (start + i) + 1] = out[1][i];
        }
    }
}

} // namespace

Rendering renderVst2(const std::string& modulePath, bool doublePrecision)
{
    using EntryPoint = AEffect* (*)(audioMasterCallback);
    Rendering result;
    auto module = Hosting::PluginModule::load(modulePath, result.error);
    if (!module)
        return result;
    auto entry = reinterpret_cast<EntryPoint>(module->symbol("VSTPluginMain"));
    if (!entry)
    {
        result.error = "the module exports no VSTPluginMain";
        return result;
    }
    AEffect* effect = entry(hostCallback);
    if (!effect || effect->magic != Vst2Abi::kEffectMagicNumber)
    {
        result.error = "VSTPluginMain returned no effect";
        return result;
    }
    auto dispatch = [effect](VstInt32 opcode, VstIntPtr value = 0, float opt = 0.f)
    {
        return effect->dispatcher(effect, opcode, 0, value, nullptr, opt);
    };
    dispatch(Vst2Abi::effOpen);
    for (const Setting& setting : settings())
        effect->setParameter(effect, vst2Index(setting.id), static_cast<float>(setting.value));
    dispatch(Vst2Abi::effSetSampleRate, 0, static_cast<float>(kSampleRate));
    dispatch(Vst2Abi::effSetBlockSize, kBlockSize);
    dispatch(Vst2Abi::effSetProcessPrecision,
             doublePrecision ? Vst2Abi::kProcessPrecision64 : Vst2Abi::kProcessPrecision32);
    dispatch(Vst2Abi::effMainsChanged, 1);
    dispatch(Vst2Abi::effStartProcess);

    const Samples input = inputSignal();
    result.output.resize(input.size());
    if (doublePrecision)
        processVst2<double>(effect, input, result.output);
    else
        processVst2<float>(effect, input, result.output);

    dispatch(Vst2Abi::effStopProcess);
    dispatch(Vst2Abi::effMainsChanged, 0);
    dispatch(Vst2Abi::effClose);
    return result;
}

namespace {

constexpr int kTextSteps = 40; // values k/40: every list entry and many rounding cases

// Shortest round-trip spelling: the same digits on every platform and locale.
std::string number(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string utf8(const Vst::TChar* text)
{
    return utf16ToUtf8(text);
}

void describeVst3(IPluginFactory* factory, int32 processorClass, std::string& out, std::string& error)
{
    Hosting::HostContext host{"Kalvior Platform Texts"};
    auto instance = Hosting::PluginInstance::create(factory, processorClass, &host, error);
    if (!instance)
        return;
    Vst::IEditController* controller = instance->controller();
    if (!controller)
    {
        error = "no edit controller";
        return;
    }
    for (int32 i = 0; i < controller->getParameterCount(); ++i)
    {
        Vst::ParameterInfo info{};
        if (controller->getParameterInfo(i, info) != kResultOk)
            continue;
        out += "vst3 " + std::to_string(info.id) + " \"" + utf8(info.title) + "\" \"" + utf8(info.shortTitle) +
               "\" \"" + utf8(info.units) + "\" steps " + std::to_string(info.stepCount) + " default " +
               number(info.defaultNormalizedValue) + " flags " + std::to_string(info.flags) + "\n";
        for (int k = 0; k <= kTextSteps; ++k)
        {
            const double value = static_cast<double>(k) / kTextSteps;
            Vst::String128 text{};
            if (controller->getParamStringByValue(info.id, value, text) != kResultOk)
            {
                out += "  " + number(value) + " -> (refused)\n";
                continue;
            }
            Vst::ParamValue back = -1.0;
            const bool parsed = controller->getParamValueByString(info.id, text, back) == kResultOk;
            out +=
                "  " + number(value) + " -> \"" + utf8(text) + "\" -> " + (parsed ? number(back) : "(refused)") + "\n";
        }
    }
}

std::string vst2Text(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0)
{
    char text[256] = {};
    effect->dispatcher(effect, opcode, index, value, text, 0.f);
    text[sizeof text - 1] = 0;
    return text;
}

void describeVst2(const std::string& modulePath, std::string& out, std::string& error)
{
    using EntryPoint = AEffect* (*)(audioMasterCallback);
    auto module = Hosting::PluginModule::load(modulePath, error);
    if (!module)
        return;
    auto entry = reinterpret_cast<EntryPoint>(module->symbol("VSTPluginMain"));
    AEffect* effect = entry ? entry(hostCallback) : nullptr;
    if (!effect)
    {
        error = "VSTPluginMain returned no effect";
        return;
    }
    effect->dispatcher(effect, Vst2Abi::effOpen, 0, 0, nullptr, 0.f);
    char cockos[] = "hasCockosExtensions";
    out += "vst2 magic " + std::to_string(effect->magic) + " id " + std::to_string(effect->uniqueID) + " params " +
           std::to_string(effect->numParams) + " programs " + std::to_string(effect->numPrograms) + " in " +
           std::to_string(effect->numInputs) + " out " + std::to_string(effect->numOutputs) + " flags " +
           std::to_string(effect->flags) + " name \"" + vst2Text(effect, Vst2Abi::effGetEffectName) + "\" vendor \"" +
           vst2Text(effect, Vst2Abi::effGetVendorString) + "\" product \"" +
           vst2Text(effect, Vst2Abi::effGetProductString) + "\" version " +
           std::to_string(effect->dispatcher(effect, Vst2Abi::effGetVendorVersion, 0, 0, nullptr, 0.f)) + " cockos " +
           std::to_string(effect->dispatcher(effect, Vst2Abi::effCanDo, 0, 0, cockos, 0.f)) + "\n";
    for (VstInt32 p = 0; p < effect->numPrograms; ++p)
        out +=
            "  program " + std::to_string(p) + " \"" + vst2Text(effect, Vst2Abi::effGetProgramNameIndexed, p) + "\"\n";
    for (VstInt32 i = 0; i < effect->numParams; ++i)
    {
        out += "vst2 " + std::to_string(i) + " \"" + vst2Text(effect, Vst2Abi::effGetParamName, i) + "\" \"" +
               vst2Text(effect, Vst2Abi::effGetParamLabel, i) + "\"\n";
        const float before = effect->getParameter(effect, i);
        for (int k = 0; k <= kTextSteps; ++k)
        {
            const float value = static_cast<float>(k) / kTextSteps;
            effect->setParameter(effect, i, value);
            out += "  " + number(value) + " -> \"" + vst2Text(effect, Vst2Abi::effGetParamDisplay, i) + "\" read " +
                   number(effect->getParameter(effect, i)) + "\n";
        }
        effect->setParameter(effect, i, before);
    }
    effect->dispatcher(effect, Vst2Abi::effClose, 0, 0, nullptr, 0.f);
}

} // namespace

std::string describeTexts(const std::string& bundle, const std::string& vst2Module, std::string& error)
{
    std::string out;
    {
        auto module = Hosting::PluginModule::load(bundle, error);
        if (!module)
            return {};
        describeVst3(module->factory(), module->findClass("Audio Module Class"), out, error);
    }
    if (error.empty())
        describeVst2(vst2Module, out, error);
    return error.empty() ? out : std::string();
}

bool writeSamples(const std::string& path, const Samples& samples)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(samples.size() * 8);
    for (double sample : samples)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &sample, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }
    return writeBytes(path, bytes);
}

bool readSamples(const std::string& path, Samples& samples)
{
    std::vector<uint8_t> bytes;
    if (!readBytes(path, bytes) || bytes.size() % 8 != 0)
        return false;
    samples.resize(bytes.size() / 8);
    for (size_t s = 0; s < samples.size(); ++s)
    {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= static_cast<uint64_t>(bytes[8 * s + i]) << (8 * i);
        std::memcpy(&samples[s], &bits, sizeof bits);
    }
    return true;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool readBytes(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

} // namespace PlatformRender
