#include "fuzz/harness/HarnessSupport.h"

#include <cstdio>
#include <cstdlib>

using namespace Steinberg;

namespace KalviorFuzz {

namespace {

void abortOnFailure(const char* file, int line, const std::string& what)
{
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, what.c_str());
    std::abort();
}

FailureHandler failureHandler = &abortOnFailure;

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

bool decodeState(const Bytes& state, Values& values)
{
    bool good = KalviorTest::decodeState(state, values);
    KV_FUZZ_CHECK(good, "a state of " + std::to_string(state.size()) + " bytes is not 29 records in ID order");
    for (uint32_t id = 0; good && id < kParameterCount; ++id)
    {
        KV_FUZZ_CHECK(isUnit(values[id]), "stored value of ID " + std::to_string(id) + " is " + num(values[id]));
        good = isUnit(values[id]);
    }
    return good;
}

Values applyRecords(Values values, const uint8_t* data, size_t size, std::array<bool, kParameterCount>* touched)
{
    if (touched)
        touched->fill(false);
    for (size_t at = 0; at + kRecordBytes <= size; at += kRecordBytes)
    {
        uint32_t id = 0;
        double value = 0.0;
        KalviorTest::readRecord(data + at, id, value);
        if (id >= kParameterCount || !std::isfinite(value))
            continue;
        values[id] = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
        if (touched)
            (*touched)[id] = true;
    }
    return values;
}

} // namespace KalviorFuzz
