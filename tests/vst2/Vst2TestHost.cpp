#include "tests/vst2/Vst2TestHost.h"

#include "tests/support/KalviorBundle.h"

#include "sdk/hosting/PluginModule.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <dlfcn.h>

namespace Vst2Test {

const Module& Module::get()
{
    static const Module module = []
    {
        Module m;
        const std::string path = Steinberg::Hosting::PluginModule::libraryInBundle(KalviorTest::bundlePath());
        m.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m.handle)
        {
            m.error = dlerror();
            return m;
        }
        m.vstPluginMain = reinterpret_cast<EntryPoint>(dlsym(m.handle, "VSTPluginMain"));
        m.main = reinterpret_cast<EntryPoint>(dlsym(m.handle, "main"));
        m.MAIN = reinterpret_cast<EntryPoint>(dlsym(m.handle, "MAIN"));
        m.initDll = reinterpret_cast<bool (*)()>(dlsym(m.handle, "InitDll"));
        m.exitDll = reinterpret_cast<bool (*)()>(dlsym(m.handle, "ExitDll"));
        return m;
    }();
    return module;
}

bool untouched(const char* buffer, size_t size)
{
    return std::all_of(buffer, buffer + size, [](char c) { return static_cast<unsigned char>(c) == kUntouched; });
}

std::string Effect::text(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt, VstIntPtr* result)
{
    char buffer[kTextBufferSize];
    std::memset(buffer, kUntouched, sizeof(buffer));
    const VstIntPtr answer = dispatch(opcode, index, value, buffer, opt);
    if (result)
        *result = answer;
    const size_t length = strnlen(buffer, sizeof(buffer));
    if (length == sizeof(buffer))
    {
        ADD_FAILURE() << "opcode " << opcode << " left no terminated text";
        return std::string();
    }
    EXPECT_TRUE(untouched(buffer + length + 1, sizeof(buffer) - length - 1))
        << "opcode " << opcode << " wrote past its text";
    return std::string(buffer, length);
}

void Effect::processSilence(VstInt32 frames)
{
    std::vector<float> in(static_cast<size_t>(frames), 0.f), out(static_cast<size_t>(frames));
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {out.data(), out.data()};
    effect->processReplacing(effect, inputs, outputs, frames);
}

std::vector<uint8_t> Effect::chunk()
{
    void* data = nullptr;
    const VstIntPtr size = dispatch(Vst2Abi::effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

double Effect::stored(uint32_t id)
{
    const std::vector<uint8_t> bytes = chunk();
    const size_t at = 16 + KalviorTest::kRecordBytes * id; // after the two sizes
    uint32_t storedId = 0;
    double value = NAN;
    if (bytes.size() < at + KalviorTest::kRecordBytes || !KalviorTest::readRecord(bytes.data() + at, storedId, value) ||
        storedId != id)
        return NAN;
    return value;
}

void Effect::start(float sampleRate, VstInt32 blockSize, bool doublePrecision)
{
    dispatch(Vst2Abi::effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(Vst2Abi::effSetBlockSize, 0, blockSize);
    dispatch(Vst2Abi::effSetProcessPrecision, 0,
             doublePrecision ? Vst2Abi::kProcessPrecision64 : Vst2Abi::kProcessPrecision32);
    dispatch(Vst2Abi::effMainsChanged, 0, 1);
}

std::unique_ptr<Effect> open(Host& /*host*/)
{
    const Module& module = Module::get();
    AEffect* effect = module.vstPluginMain ? module.vstPluginMain(&Host::callback) : nullptr;
    if (!effect)
        return nullptr;
    auto result = std::make_unique<Effect>(effect);
    result->dispatch(Vst2Abi::effOpen);
    return result;
}

} // namespace Vst2Test
