#include "tests/vst2/Vst2TestHost.h"

#include "tests/support/KalviorBundle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <dlfcn.h>

namespace Vst2Test {

namespace {

template <typename T>
T symbolOf(void* handle, const char* name)
{
    return reinterpret_cast<T>(dlsym(handle, name));
}

} // namespace

std::string libraryPath()
{
    return std::string(KALVIOR_BUNDLE_DIR) + "/Contents/x86_64-linux/Kalvior.so";
}

const Module& Module::get()
{
    static const Module module = []
    {
        Module m;
        m.handle = dlopen(libraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!m.handle)
        {
            const char* reason = dlerror();
            m.error = reason ? reason : "dlopen failed";
            return m;
        }
        m.vstPluginMain = symbolOf<EntryPoint>(m.handle, "VSTPluginMain");
        m.main = symbolOf<EntryPoint>(m.handle, "main");
        m.MAIN = symbolOf<EntryPoint>(m.handle, "MAIN");
        m.initDll = symbolOf<bool (*)()>(m.handle, "InitDll");
        m.exitDll = symbolOf<bool (*)()>(m.handle, "ExitDll");
        return m;
    }();
    return module;
}

Effect::~Effect()
{
    if (effect)
        effect->dispatcher(effect, Vst2Abi::effClose, 0, 0, nullptr, 0.f);
}

VstIntPtr Effect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

bool untouched(const char* buffer, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (static_cast<unsigned char>(buffer[i]) != kUntouched)
            return false;
    return true;
}

std::string Effect::text(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt, VstIntPtr* result)
{
    char buffer[kTextBufferSize];
    std::memset(buffer, kUntouched, sizeof(buffer));
    const VstIntPtr answer = dispatch(opcode, index, value, buffer, opt);
    if (result)
        *result = answer;
    const void* end = std::memchr(buffer, 0, sizeof(buffer));
    if (!end)
    {
        ADD_FAILURE() << "opcode " << opcode << " left no terminated text";
        return std::string();
    }
    const size_t length = static_cast<const char*>(end) - buffer;
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
    if (size <= 0 || !data)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

double Effect::stored(uint32_t id)
{
    const std::vector<uint8_t> bytes = chunk();
    uint32_t storedId = 0;
    double value = NAN;
    if (bytes.size() < 16 ||
        !KalviorTest::readRecord(std::vector<uint8_t>(bytes.begin() + 16, bytes.end()), id, storedId, value) ||
        storedId != id)
        return NAN;
    return value;
}

void Effect::setChunk(const std::vector<uint8_t>& bytes)
{
    std::vector<uint8_t> copy = bytes; // the effect may not keep the host's memory
    dispatch(Vst2Abi::effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data());
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
    if (!module.vstPluginMain)
        return nullptr;
    AEffect* effect = module.vstPluginMain(&Host::callback);
    if (!effect)
        return nullptr;
    auto result = std::make_unique<Effect>(effect);
    result->dispatch(Vst2Abi::effOpen);
    return result;
}

} // namespace Vst2Test
