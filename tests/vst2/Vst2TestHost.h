#pragma once

// A VST 2 host for tests: loads the built module with dlopen, finds its VST 2
// entry points and opens effects through them with a host callback whose
// answers each test chooses (the shared VST 2 host core).

#include "tests/support/ParameterContract.h"
#include "tests/support/Vst2HostCore.h"
#include "vst2/Vst2Abi.h"

#include <gtest/gtest.h>

#include <cstdint>
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
    EntryPoint vstPluginMain = nullptr;
    EntryPoint main = nullptr;
    EntryPoint MAIN = nullptr;
    bool (*initDll)() = nullptr;
    bool (*exitDll)() = nullptr;
    std::string error;
};

std::string libraryPath();

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

constexpr int32_t kUniqueId = static_cast<int32_t>(0xFE9E97D5u);

// One opened effect; closed (effClose) on destruction.
class Effect
{
public:
    explicit Effect(AEffect* effect) : effect(effect) {}
    ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.f);
    // A text opcode into a large buffer pre-filled with a pattern; fails the
    // test if the effect writes past its terminator. Returns the text.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, float opt = 0.f,
                     VstIntPtr* result = nullptr);
    float get(VstInt32 index) { return effect->getParameter(effect, index); }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    std::vector<uint8_t> chunk();
    // The value the chunk's component state holds for parameter `id` (NaN if none).
    double stored(uint32_t id);
    void setChunk(const std::vector<uint8_t>& bytes);

    // effSetSampleRate, effSetBlockSize, effSetProcessPrecision, effMainsChanged(1).
    void start(float sampleRate, VstInt32 blockSize, bool doublePrecision = false);
    // One 32-bit block of silence, so that queued changes reach the processor.
    void processSilence(VstInt32 frames = 64);

    AEffect* effect;
};

// Opens an effect through VSTPluginMain with host; null if the entry refuses.
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

// The bytes the pattern check uses.
constexpr unsigned char kUntouched = 0xA5;
constexpr size_t kTextBufferSize = 512;

// True when none of buffer's bytes changed from kUntouched.
bool untouched(const char* buffer, size_t size);

} // namespace Vst2Test
