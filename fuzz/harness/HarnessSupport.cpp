#include "fuzz/harness/HarnessSupport.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Steinberg;

namespace KalviorFuzz {

namespace {

void abortOnFailure(const char* file, int line, const std::string& what)
{
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, what.c_str());
    std::abort();
}

FailureHandler failureHandler = &abortOnFailure;

uint32_t bigEndian32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

double bigEndianDouble(const uint8_t* p)
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The host's stream holds its own copy, as a project file's chunk would.
IPtr<MemoryStream> streamOf(const uint8_t* data, size_t size)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    int32 written = 0;
    if (size > 0)
        stream->write(const_cast<uint8_t*>(data), static_cast<int32>(size), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

} // namespace

FailureHandler setFailureHandler(FailureHandler handler)
{
    FailureHandler previous = failureHandler;
    failureHandler = handler ? handler : &abortOnFailure;
    return previous;
}

void fail(const char* file, int line, const std::string& what)
{
    failureHandler(file, line, what);
}

std::string num(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

FUnknown* hostContext()
{
    static Hosting::HostContext* context =
        new Hosting::HostContext("Kalvior Robustness Host"); // never freed: outlives every instance
    return context;
}

std::unique_ptr<Hosting::PluginInstance> makeInstance(const PluginEntry& entry)
{
    IPtr<IPluginFactory> factory = owned(entry.getFactory());
    std::string error;
    auto instance = Hosting::PluginInstance::create(factory, 0, hostContext(), error);
    KV_FUZZ_CHECK(instance != nullptr, error);
    if (instance)
        KV_FUZZ_CHECK(instance->controller() != nullptr, "the processor names no controller the factory makes");
    return instance;
}

tresult setState(Vst::IComponent* component, const uint8_t* data, size_t size)
{
    return component->setState(streamOf(data, size));
}

tresult setComponentState(Vst::IEditController* controller, const uint8_t* data, size_t size)
{
    return controller->setComponentState(streamOf(data, size));
}

Bytes getState(Vst::IComponent* component, tresult* result)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    const tresult r = component->getState(stream);
    if (result)
        *result = r;
    const auto* begin = reinterpret_cast<const uint8_t*>(stream->getData());
    return Bytes(begin, begin + stream->getSize());
}

bool decodeState(const Bytes& state, Values& values)
{
    KV_FUZZ_CHECK(state.size() == kStateBytes, "a state of " + std::to_string(state.size()) + " bytes");
    if (state.size() != kStateBytes)
        return false;
    bool good = true;
    for (uint32_t id = 0; id < kParameterCount; ++id)
    {
        const uint8_t* record = state.data() + id * kRecordBytes;
        const uint32_t storedId = bigEndian32(record);
        values[id] = bigEndianDouble(record + 4);
        KV_FUZZ_CHECK(storedId == id, "record " + std::to_string(id) + " has ID " + std::to_string(storedId));
        KV_FUZZ_CHECK(isUnit(values[id]), "stored value of ID " + std::to_string(id) + " is " + num(values[id]));
        good = good && storedId == id && isUnit(values[id]);
    }
    return good;
}

Values applyRecords(Values values, const uint8_t* data, size_t size, std::array<bool, kParameterCount>* touched)
{
    if (touched)
        touched->fill(false);
    for (size_t at = 0; at + kRecordBytes <= size; at += kRecordBytes)
    {
        const uint32_t id = bigEndian32(data + at);
        const double value = bigEndianDouble(data + at + 4);
        if (id >= kParameterCount || !std::isfinite(value))
            continue;
        values[id] = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
        if (touched)
            (*touched)[id] = true;
    }
    return values;
}

tresult PLUGIN_API RawQueue::getPoint(int32 index, int32& offset, Vst::ParamValue& value)
{
    if (index < 0 || index >= getPointCount())
        return kInvalidArgument;
    offset = points[static_cast<size_t>(index)].offset;
    value = points[static_cast<size_t>(index)].value;
    return kResultOk;
}

tresult PLUGIN_API RawQueue::queryInterface(const TUID, void** obj)
{
    *obj = nullptr;
    return kNoInterface;
}

Vst::IParamValueQueue* PLUGIN_API RawChanges::getParameterData(int32 index)
{
    return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
}

tresult PLUGIN_API RawChanges::queryInterface(const TUID, void** obj)
{
    *obj = nullptr;
    return kNoInterface;
}

} // namespace KalviorFuzz
