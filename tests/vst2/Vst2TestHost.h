#pragma once

// A VST 2 host for tests: loads the built module with dlopen, finds its VST 2
// entry points and opens effects through them with a host callback whose
// answers each test chooses (the shared VST 2 host core).

#include "tests/support/ParameterContract.h"
#include "tests/support/Vst2HostCore.h"
#include "vst2/Vst2Abi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace Vst2Test {

using EntryPoint = AEffect* (*)(audioMasterCallback);

// The module, loaded once per test process and kept loaded.
struct Module
{
    static const Module& get();

    void* handle = nullptr;
    EntryPoint vstPluginMain = nullptr, main = nullptr, MAIN = nullptr;
    bool (*initDll)() = nullptr;
    bool (*exitDll)() = nullptr;
    std::string error;
};

using Host = KalviorTest::Vst2Host;
using KalviorTest::AutomateCall;
using KalviorTest::HostAnswers;
using KalviorTest::kProgramNames;
using KalviorTest::kVst2ParameterCount;

// VST 2 index i is parameter ID i + 2: ProgSel and Bypass are not shown.
constexpr int32_t indexOf(uint32_t id)
{
    return static_cast<int32_t>(id - KalviorTest::kFirstVst2Id);
}
inline const KalviorTest::ParameterRow& vst2Row(int32_t index)
{
    return KalviorTest::kParameters[static_cast<uint32_t>(index) + KalviorTest::kFirstVst2Id];
}

// The bytes the pattern checks use: a host's buffer before the effect writes.
constexpr unsigned char kUntouched = 0xA5;
constexpr size_t kTextBufferSize = 512;

// True when none of buffer's bytes changed from kUntouched.
bool untouched(const char* buffer, size_t size);

// One opened effect; closed (effClose) on destruction.
class Effect
{
public:
    explicit Effect(AEffect* effect) : effect(effect) {}
    ~Effect() { dispatch(Vst2Abi::effClose); }
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // A text opcode into a large buffer pre-filled with kUntouched; fails the
    // test if the effect writes past its terminator. Returns the text.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, float opt = 0.f,
                     VstIntPtr* result = nullptr);
    float get(VstInt32 index) { return effect->getParameter(effect, index); }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    std::vector<uint8_t> chunk();
    // The value the chunk's component state holds for parameter `id` (NaN if none).
    double stored(uint32_t id);
    void setChunk(std::vector<uint8_t> bytes) // a copy: the effect may not keep the host's memory
    {
        dispatch(Vst2Abi::effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }

    // effSetSampleRate, effSetBlockSize, effSetProcessPrecision, effMainsChanged(1).
    void start(float sampleRate, VstInt32 blockSize, bool doublePrecision = false);
    // One 32-bit block of silence, so that queued changes reach the processor.
    void processSilence(VstInt32 frames = 64);

    AEffect* effect;
};

// Opens an effect through VSTPluginMain with the current host; null if the entry refuses.
std::unique_ptr<Effect> open(Host& host);

// A test with one effect, opened by its own host before each case.
class OpenedEffect : public ::testing::Test
{
protected:
    explicit OpenedEffect(HostAnswers answers = {}) : host(std::move(answers)) {}

    void SetUp() override
    {
        ASSERT_TRUE(Module::get().handle) << Module::get().error;
        effect = open(host);
        ASSERT_TRUE(effect);
    }

    Host host;
    std::unique_ptr<Effect> effect;
};

} // namespace Vst2Test
