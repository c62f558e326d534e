// Component state from any bytes: what a damaged project file or another
// plug-in's chunk handed to us by mistake looks like.

#include "fuzz/harness/HarnessSupport.h"
#include "tests/support/ProcessingHost.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cmath>
#include <string>

using namespace Steinberg;

namespace KalviorFuzz {

void processorStateCase(const PluginEntry& entry, const uint8_t* data, size_t size)
{
    KalviorTest::ProcessingHost host(owned(entry.getFactory()), false);
    KV_FUZZ_CHECK(host.ok(), host.error);
    if (!host.ok())
        return;
    Vst::IComponent* component = host.component();

    Values before{};
    if (!decodeState(getStateBytes(component), before))
        return;
    KV_FUZZ_CHECK(setStateBytes(component, data, size) == kResultOk, "setState refused bytes");

    tresult result = kResultFalse;
    const Bytes state = getStateBytes(component, &result);
    KV_FUZZ_CHECK(result == kResultOk, "getState");
    Values after{};
    if (!decodeState(state, after))
        return;
    const Values expected = applyRecords(before, data, size);
    for (uint32_t id = 0; id < kParameterCount; ++id)
        KV_FUZZ_CHECK(after[id] == expected[id], "ID " + std::to_string(id) + " holds " + num(after[id]) +
                                                     ", the records say " + num(expected[id]));

    // The saved state loads into a fresh instance bit for bit.
    auto copy = makeInstance(entry);
    if (!copy)
        return;
    KV_FUZZ_CHECK(setStateBytes(copy->component(), state.data(), state.size()) == kResultOk,
                  "setState of a saved state");
    KV_FUZZ_CHECK(getStateBytes(copy->component()) == state, "the state round trip is not exact");

    // The controller follows the same bytes to the same values.
    KV_FUZZ_CHECK(setComponentStateBytes(host.controller(), state.data(), state.size()) == kResultOk,
                  "setComponentState");
    for (uint32_t id = 0; id < kParameterCount; ++id)
        KV_FUZZ_CHECK(host.controller()->getParamNormalized(id) == after[id],
                      "ID " + std::to_string(id) + ": controller and processor disagree");

    // Blocks of finite noise give finite output at both sample sizes (the scope
    // worker is left out: its thread is the stress tests' business).
    for (int32 sampleSize : {Vst::kSample64, Vst::kSample32})
    {
        KV_FUZZ_CHECK(host.start({48000.0, 256, sampleSize, false}) == kResultOk, "setupProcessing");
        KalviorTest::Noise noise(12345);
        host.fillNoise(256, noise);
        for (int32 frames : {256, 0, 1})
        {
            KV_FUZZ_CHECK(host.process(frames, nullptr, false) == kResultOk, "process");
            for (int32 c = 0; c < 2; ++c)
                for (int32 i = 0; i < frames; ++i)
                    KV_FUZZ_CHECK(std::isfinite(host.out(c, i)),
                                  "non-finite output from finite input after a state load");
        }
    }
    host.stop();

    // Processing without automation leaves the stored values alone.
    Values processed{};
    if (decodeState(getStateBytes(component), processed))
        for (uint32_t id = 0; id < kParameterCount; ++id)
            KV_FUZZ_CHECK(processed[id] == after[id], "ID " + std::to_string(id) + " changed by processing");
}

void controllerStateCase(const PluginEntry& entry, const uint8_t* data, size_t size)
{
    auto instance = makeInstance(entry);
    if (!instance)
        return;
    Vst::IEditController* controller = instance->controller();
    KV_FUZZ_CHECK(controller->getParameterCount() == int32(kParameterCount), "parameter count");

    Values before{};
    for (uint32_t id = 0; id < kParameterCount; ++id)
        before[id] = controller->getParamNormalized(id);
    KV_FUZZ_CHECK(setComponentStateBytes(controller, data, size) == kResultOk, "setComponentState refused bytes");

    std::array<bool, kParameterCount> touched{};
    const Values expected = applyRecords(before, data, size, &touched);
    for (uint32_t id = 0; id < kParameterCount; ++id)
    {
        const double value = controller->getParamNormalized(id);
        KV_FUZZ_CHECK(value == expected[id],
                      "ID " + std::to_string(id) + " holds " + num(value) + ", the records say " + num(expected[id]));

        // Every value a state can set has a text, and the text reads back.
        Vst::String128 text{};
        KV_FUZZ_CHECK(controller->getParamStringByValue(id, value, text) == kResultOk,
                      "ID " + std::to_string(id) + " text");
        text[127] = 0;
        Vst::ParamValue parsed = -1.0;
        if (controller->getParamValueByString(id, text, parsed) == kResultOk)
            KV_FUZZ_CHECK(isUnit(parsed), "ID " + std::to_string(id) + " parses its own text out of range");
        const double plain = controller->normalizedParamToPlain(id, value);
        KV_FUZZ_CHECK(std::isfinite(plain), "ID " + std::to_string(id) + " plain value");
        KV_FUZZ_CHECK(isUnit(controller->plainParamToNormalized(id, plain)),
                      "ID " + std::to_string(id) + " plain to normalised");
    }

    // The processor reads the same bytes to the same values (IDs no record set
    // keep each side's own default).
    Values processorValues{};
    KV_FUZZ_CHECK(setStateBytes(instance->component(), data, size) == kResultOk, "setState");
    if (decodeState(getStateBytes(instance->component()), processorValues))
        for (uint32_t id = 0; id < kParameterCount; ++id)
            if (touched[id])
                KV_FUZZ_CHECK(processorValues[id] == controller->getParamNormalized(id),
                              "ID " + std::to_string(id) + ": processor and controller read the bytes differently");
}

} // namespace KalviorFuzz
