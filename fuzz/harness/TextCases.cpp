// Parameter texts: what users type into a host's value field, what hosts ask
// to be printed, through VST 3 and through the VST 2 entry.

#include "fuzz/harness/ByteReader.h"
#include "fuzz/harness/HarnessSupport.h"
#include "tests/support/Vst2HostCore.h"

#include "vst2/Vst2Abi.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace Steinberg;

namespace KalviorFuzz {

namespace {

// Characters a value text is made of, so short inputs reach the parser's corners.
const char kAlphabet[] = "0123456789.,-+eE inf nanOnOffLR-24M/SHIPASLOdB%Hz\t\xc3\xa9\xe2\x80";

// A text of decoded characters: raw bytes or letters of the alphabet, never NUL.
std::string decodeText(ByteReader& in, size_t maxLength)
{
    const size_t length = in.below(uint32_t(maxLength) + 1);
    const bool raw = in.below(4) == 0;
    std::string text;
    for (size_t i = 0; i < length && !in.empty(); ++i)
    {
        const uint8_t b = in.byte();
        char c = raw ? char(b) : kAlphabet[b % (sizeof kAlphabet - 1)];
        text.push_back(c == 0 ? ' ' : c);
    }
    return text;
}

// The same as UTF-16 code units, any of them (unpaired surrogates included).
std::vector<char16> decodeText16(ByteReader& in, size_t maxLength)
{
    std::vector<char16> text;
    if (in.below(4) == 0)
    {
        const size_t length = in.below(uint32_t(maxLength) + 1);
        for (size_t i = 0; i < length && !in.empty(); ++i)
        {
            const char16 unit = in.u16();
            text.push_back(unit == 0 ? char16(' ') : unit);
        }
    }
    else
    {
        for (char c : decodeText(in, maxLength))
            text.push_back(char16(static_cast<unsigned char>(c)));
    }
    text.push_back(0); // exactly as long as it needs to be: reading past it is caught
    return text;
}

int32 pickIndex(ByteReader& in)
{
    const uint8_t choice = in.byte();
    if (choice < 240)
        return int32(choice % 34) - 2; // -2 .. 31
    return int32(in.u32());
}

bool terminatedWithin(const char16* text, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (text[i] == 0)
            return true;
    return false;
}

void vst3Texts(Vst::IEditController* controller, ByteReader& in)
{
    const int32 index = pickIndex(in);
    const auto id = static_cast<Vst::ParamID>(index);
    const bool known = index >= 0 && index < int32(kParameterCount);

    const std::vector<char16> text = decodeText16(in, 160);
    Vst::ParamValue value = -7.0;
    const tresult parsed = controller->getParamValueByString(id, const_cast<char16*>(text.data()), value);
    if (!known)
        KV_FUZZ_CHECK(parsed != kResultOk, "text of unknown parameter " + std::to_string(index) + " parsed");
    if (parsed == kResultOk)
        KV_FUZZ_CHECK(isUnit(value), "parameter " + std::to_string(index) + " parsed a text to " + num(value));

    // Printing any value the host may hold.
    const double shown = specialDouble(in);
    Vst::String128 display;
    std::memset(display, 0xA5, sizeof display);
    const tresult printed = controller->getParamStringByValue(id, shown, display);
    if (!known)
        KV_FUZZ_CHECK(printed != kResultOk, "unknown parameter printed");
    if (printed == kResultOk)
    {
        KV_FUZZ_CHECK(terminatedWithin(display, 128), "display text not terminated");
        // Whatever is printed for a value in range reads back in range.
        Vst::ParamValue again = -7.0;
        if (isUnit(shown) && controller->getParamValueByString(id, display, again) == kResultOk)
            KV_FUZZ_CHECK(isUnit(again), "a printed value reads back as " + num(again));
    }

    const double plain = controller->normalizedParamToPlain(id, shown);
    if (known && isUnit(shown))
        KV_FUZZ_CHECK(std::isfinite(plain), "plain value of " + num(shown));
    const double normalized = controller->plainParamToNormalized(id, specialDouble(in));
    if (known && std::isfinite(normalized))
        KV_FUZZ_CHECK(isUnit(normalized), "plain to normalised gave " + num(normalized));
}

// Cockos hosts get the long parameter names.
bool hostIsCockos = false;

VstIntPtr dispatch(AEffect* effect, int32_t opcode, int32_t index, VstIntPtr value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// A terminated text in a buffer of exactly its size.
std::vector<char> hostText(ByteReader& in, size_t maxLength)
{
    const std::string text = decodeText(in, maxLength);
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back(0);
    return buffer;
}

bool terminatedWithin(const std::vector<char>& buffer)
{
    return std::memchr(buffer.data(), 0, buffer.size()) != nullptr;
}

bool isParameter(const AEffect* effect, int32 index)
{
    return index >= 0 && index < effect->numParams;
}

void checkParameterValue(AEffect* effect, int32 index)
{
    if (!isParameter(effect, index))
        return;
    const float v = effect->getParameter(effect, index);
    KV_FUZZ_CHECK(std::isfinite(v) && v >= 0.f && v <= 1.f,
                  "VST 2 parameter " + std::to_string(index) + " holds " + std::to_string(v));
}

void vst2Texts(AEffect* effect, ByteReader& in)
{
    const int32 index = pickIndex(in);
    switch (in.below(12))
    {
    case 0:
    {
        std::vector<char> text = hostText(in, 64);
        dispatch(effect, Vst2Abi::effString2Parameter, index, 0, text.data(), 0.f);
        checkParameterValue(effect, index);
        break;
    }
    case 1:
    {
        std::vector<char> display(Vst2Abi::kMaxParamStrLen + 1, 'x'), label(Vst2Abi::kMaxParamStrLen + 1, 'x');
        dispatch(effect, Vst2Abi::effGetParamDisplay, index, 0, display.data(), 0.f);
        dispatch(effect, Vst2Abi::effGetParamLabel, index, 0, label.data(), 0.f);
        if (isParameter(effect, index)) // other indices are not answered at all
            KV_FUZZ_CHECK(terminatedWithin(display) && terminatedWithin(label), "display or label not terminated");
        break;
    }
    case 2:
    {
        std::vector<char> name(hostIsCockos ? 256 : Vst2Abi::kMaxParamStrLen + 1, 'x');
        dispatch(effect, Vst2Abi::effGetParamName, index, 0, name.data(), 0.f);
        if (isParameter(effect, index))
            KV_FUZZ_CHECK(terminatedWithin(name), "name not terminated");
        break;
    }
    case 3:
    {
        if (index >= 0 && index < effect->numParams)
            effect->setParameter(effect, index, specialFloat(in));
        checkParameterValue(effect, index);
        break;
    }
    case 4:
    { // Cockos: the text of a value the host names
        std::vector<char> display(256, 'x');
        const VstIntPtr answer = dispatch(effect, Vst2Abi::effVendorSpecific, Vst2Abi::effGetParamDisplay, index,
                                          display.data(), specialFloat(in));
        if (answer != 0)
            KV_FUZZ_CHECK(terminatedWithin(display), "Cockos display text not terminated");
        break;
    }
    case 5:
    { // Cockos: the value of a text, written back into the host's buffer
        std::vector<char> text = hostText(in, 200);
        text.resize(256, 0);
        const VstIntPtr answer =
            dispatch(effect, Vst2Abi::effVendorSpecific, Vst2Abi::effString2Parameter, index, text.data(), 0.f);
        KV_FUZZ_CHECK(terminatedWithin(text), "Cockos value text not terminated");
        if (answer != 0)
        {
            const double v = std::strtod(text.data(), nullptr);
            KV_FUZZ_CHECK(v >= 0.0 && v <= 1.0, std::string("Cockos value text ") + text.data());
        }
        break;
    }
    case 6:
    {
        std::vector<char> text = hostText(in, Vst2Abi::kMaxProgNameLen);
        dispatch(effect, Vst2Abi::effSetProgramName, 0, 0, text.data(), 0.f);
        std::vector<char> name(Vst2Abi::kMaxProgNameLen + 1, 'x');
        dispatch(effect, Vst2Abi::effGetProgramName, 0, 0, name.data(), 0.f);
        KV_FUZZ_CHECK(terminatedWithin(name), "program name not terminated");
        break;
    }
    case 7:
    {
        std::vector<char> name(Vst2Abi::kMaxProgNameLen + 1, 'x');
        if (dispatch(effect, Vst2Abi::effGetProgramNameIndexed, index, VstIntPtr(in.u32()), name.data(), 0.f) != 0)
            KV_FUZZ_CHECK(terminatedWithin(name), "indexed program name not terminated");
        break;
    }
    case 8:
    {
        std::vector<char> text = hostText(in, 64);
        dispatch(effect, Vst2Abi::effCanDo, 0, 0, text.data(), 0.f);
        break;
    }
    case 9:
    {
        dispatch(effect, Vst2Abi::effSetProgram, 0, VstIntPtr(index), nullptr, 0.f);
        const VstIntPtr program = dispatch(effect, Vst2Abi::effGetProgram, 0, 0, nullptr, 0.f);
        KV_FUZZ_CHECK(program >= 0 && program < effect->numPrograms, "current program " + std::to_string(program));
        break;
    }
    case 10:
    { // a chunk from a damaged project, then the chunk the effect saves
        size_t length = 0;
        const uint8_t* rest = in.rest(length);
        std::vector<uint8_t> chunk(rest, rest + length);
        dispatch(effect, Vst2Abi::effSetChunk, in.flag() ? 1 : 0, VstIntPtr(chunk.size()),
                 chunk.empty() ? nullptr : chunk.data(), 0.f);
        void* saved = nullptr;
        const VstIntPtr size = dispatch(effect, Vst2Abi::effGetChunk, 0, 0, &saved, 0.f);
        KV_FUZZ_CHECK(size >= 0 && (size == 0 || saved), "chunk of " + std::to_string(size) + " bytes");
        for (int32 i = 0; i < effect->numParams; ++i)
            checkParameterValue(effect, i);
        break;
    }
    default:
    {
        Vst2Abi::ParameterProperties properties;
        dispatch(effect, Vst2Abi::effGetParameterProperties, index, 0, &properties, 0.f);
        dispatch(effect, Vst2Abi::effCanBeAutomated, index, 0, nullptr, 0.f);
        break;
    }
    }
}

} // namespace

void parameterTextCase(const PluginEntry& entry, const uint8_t* data, size_t size)
{
    ByteReader in(data, size);
    const bool viaVst2 = entry.vst2Main && in.flag();
    if (!viaVst2)
    {
        auto instance = makeInstance(entry);
        if (!instance)
            return;
        for (int round = 0; round < 8 && !in.empty(); ++round)
            vst3Texts(instance->controller(), in);
        return;
    }

    hostIsCockos = in.flag();
    KalviorTest::HostAnswers answers;
    answers.version = Vst2Abi::kVstVersionNumber;
    answers.vendor = hostIsCockos ? "Cockos" : "Robustness Host";
    KalviorTest::Vst2Host host(answers);
    AEffect* effect = entry.vst2Main(&KalviorTest::Vst2Host::callback);
    KV_FUZZ_CHECK(effect != nullptr, "the VST 2 entry made no effect");
    if (!effect)
        return;
    dispatch(effect, Vst2Abi::effOpen, 0, 0, nullptr, 0.f);
    for (int round = 0; round < 8 && !in.empty(); ++round)
        vst2Texts(effect, in);
    dispatch(effect, Vst2Abi::effClose, 0, 0, nullptr, 0.f);
}

} // namespace KalviorFuzz
