// Parameters, programs and program chunks as a VST 2 host sees them, and the
// host-dependent parts: parameter names by host vendor and the four
// vendor-specific parameter queries.

#include "tests/support/StateRecords.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

using namespace Vst2Test;
namespace V2 = Vst2Abi;

namespace {

HostAnswers vendor(const char* text, bool answers = true)
{
    HostAnswers a;
    a.vendor = text;
    a.answersVendor = answers;
    return a;
}

class Vst2Parameters : public OpenedEffect
{
protected:
    Vst2Parameters() : OpenedEffect(vendor("Cockos")) {} // full titles show the index mapping

    // Queued changes reach the processor, then its reports reach the host.
    void processAndIdle()
    {
        effect->processSilence();
        effect->dispatch(V2::effIdle);
    }
};

// The parameters without ProgSel and Bypass (the program list and
// effSetBypass stand for those), and the six programs.
TEST_F(Vst2Parameters, TableWithoutProgramChangeAndBypass)
{
    ASSERT_EQ(effect->effect->numParams, kVst2ParameterCount);
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
    {
        const KalviorTest::ParameterRow& p = vst2Row(index);
        SCOPED_TRACE(p.title);
        EXPECT_EQ(effect->text(V2::effGetParamLabel, index), p.units);
        EXPECT_EQ(effect->dispatch(V2::effCanBeAutomated, index), p.automatable() ? 1 : 0);
        EXPECT_NEAR(effect->get(index), p.defaultNormalized, 1e-7);
        // Cockos: 0xBEEF for switches and lists
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamName, index), p.steps > 0 ? 0xBEEF : 0);
    }
    EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamName, kVst2ParameterCount), 0);

    ASSERT_EQ(effect->effect->numPrograms, 6);
    for (VstInt32 i = 0; i < 6; ++i)
    {
        VstIntPtr result = 0;
        EXPECT_EQ(effect->text(V2::effGetProgramNameIndexed, i, 0, 0.f, &result), kProgramNames[i]);
        EXPECT_EQ(result, 1);
    }
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 0);
    EXPECT_EQ(effect->text(V2::effGetProgramName), "Default");
}

TEST_F(Vst2Parameters, String2ParameterSetsAndTellsTheHost)
{
    char text[32] = "4,5";
    EXPECT_EQ(effect->dispatch(V2::effString2Parameter, indexOf(17), 0, text), 1);
    EXPECT_FLOAT_EQ(effect->get(indexOf(17)), 0.5f);
    ASSERT_FALSE(host.automated.empty());
    EXPECT_EQ(host.automated.back().index, indexOf(17));
    EXPECT_FLOAT_EQ(host.automated.back().value, 0.5f);

    char bad[32] = "nothing";
    const float before = effect->get(indexOf(23));
    EXPECT_EQ(effect->dispatch(V2::effString2Parameter, indexOf(23), 0, bad), 0);
    EXPECT_EQ(effect->get(indexOf(23)), before);
}

// effSetProgram(i) sends ProgSel = i/5; the processor runs the program and
// reports the 23 program parameters, which reach the host as automation
// with exactly the values the processor now holds. Selecting it again undoes
// a hand change.
TEST_F(Vst2Parameters, ProgramSelectionReachesProcessorAndHost)
{
    effect->start(48000.f, 512);
    effect->dispatch(V2::effSetProgram, 0, 1); // "Bass Squeeze"
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 1);
    EXPECT_EQ(effect->text(V2::effGetProgramName), "Bass Squeeze");
    processAndIdle();
    EXPECT_EQ(effect->stored(0), 0.2);

    std::map<VstInt32, float> reported;
    for (const AutomateCall& call : host.automated)
        reported[call.index] = call.value;
    EXPECT_EQ(reported.size(), 23u);
    std::vector<float> program;
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
    {
        const KalviorTest::ParameterRow& row = vst2Row(index);
        EXPECT_EQ(reported.count(index), row.inPreset ? 1u : 0u) << row.title;
        EXPECT_EQ(effect->get(index), static_cast<float>(effect->stored(row.id))) << row.title;
        if (row.inPreset)
        {
            EXPECT_EQ(reported[index], effect->get(index)) << row.title;
        }
        program.push_back(effect->get(index));
    }

    effect->set(indexOf(11), 0.9f); // Balance by hand
    processAndIdle();
    effect->dispatch(V2::effSetProgram, 0, 1);
    processAndIdle();
    for (int32_t index = 0; index < kVst2ParameterCount; ++index)
        EXPECT_EQ(effect->get(index), program[static_cast<size_t>(index)]) << vst2Row(index).title;
}

// The processor runs a program before the other changes of its block, so a
// parameter the host changes alongside keeps the host's value; the program's
// report of that parameter is stale and must not reach the host.
TEST_F(Vst2Parameters, AChangeAlongsideAProgramKeepsTheHostsValue)
{
    effect->start(48000.f, 512);
    effect->set(indexOf(11), 0.875f);
    effect->dispatch(V2::effSetProgram, 0, 2);
    processAndIdle();
    EXPECT_EQ(effect->get(indexOf(11)), 0.875f);
    for (const AutomateCall& call : host.automated)
        EXPECT_NE(call.index, indexOf(11)) << "the program's stale Balance was reported";
    EXPECT_EQ(host.automated.size(), 22u) << "the other program parameters are reported";
    EXPECT_EQ(effect->stored(11), 0.875);
}

constexpr VstIntPtr kBeef = 0xBEEF;
constexpr VstInt32 kRangeQuery = static_cast<VstInt32>(0xDEADBEF0u);

// The 8-character rule: the title when it has at most 8 characters, else the
// short title, cut to 8.
std::string eightCharacterName(const KalviorTest::ParameterRow& p)
{
    const std::string name = std::strlen(p.title) <= 8 ? p.title : p.shortTitle;
    return name.substr(0, 8);
}

using CockosExtensions = Vst2Parameters;

// Only the exact, answered vendor text "Cockos" allows long names; elsewhere
// the title when it has at most 8 characters, else the short title cut to 8.
TEST_F(CockosExtensions, ParameterNamesFollowTheHost)
{
    const std::pair<HostAnswers, bool> hosts[] = {
        {vendor("Cockos"), true},         {vendor("Ardour Community"), false},
        {vendor("cockos"), false},        {vendor("Cockos Incorporated"), false},
        {vendor("Cockos", false), false}, {vendor(""), false}};
    for (const auto& [answers, longNames] : hosts)
    {
        SCOPED_TRACE("host " + answers.vendor + (answers.answersVendor ? "" : ", not answered"));
        Host host(answers);
        auto effect = open(host);
        ASSERT_TRUE(effect);
        EXPECT_GE(host.vendorQueries, 1);
        for (int32_t index = 0; index < kVst2ParameterCount; ++index)
            EXPECT_EQ(effect->text(V2::effGetParamName, index),
                      longNames ? vst2Row(index).title : eightCharacterName(vst2Row(index)))
                << index;
        // "Output Format" has a nine-character short title.
        EXPECT_EQ(effect->text(V2::effGetParamName, indexOf(26)), longNames ? "Output Format" : "OutForma");
    }
}

// vendorSpecific(7, index, text, v): the display text at v, at most 8 characters.
TEST_F(CockosExtensions, DisplayForValue)
{
    struct Case
    {
        uint32_t id;
        float value;
        const char* text;
    };
    // Texts at the value asked for, not the parameter's own (the texts
    // themselves are those every host sees).
    const Case cases[] = {
        {3, 0.5f, "-12.0"}, {24, 1.f, "800"}, {23, 0.5f, "LR-2"}, {27, 1.f, "LOPASS"}, {28, 0.75f, "On"}};
    for (const Case& c : cases)
    {
        VstIntPtr result = 0;
        const std::string text =
            effect->text(V2::effVendorSpecific, V2::effGetParamDisplay, indexOf(c.id), c.value, &result);
        EXPECT_EQ(result, kBeef) << "ID " << c.id;
        EXPECT_EQ(text, c.text) << "ID " << c.id << " at " << c.value;
        EXPECT_LE(text.size(), 8u);
    }
}

// vendorSpecific(27, index, text): the normalised value of the text, written
// back as "%f" with a decimal point whatever the locale.
TEST_F(CockosExtensions, ValueForText)
{
    const struct
    {
        uint32_t id;
        const char* input;
        const char* normalized;
    } cases[] = {
        {17, "4,5", "0.500000"},  // (4.5 - 3) / 3, comma read as the decimal point
        {24, "400", "0.666667"},  // 100 * 8^v = 400: v = 2 / 3
        {23, "LR-4", "1.000000"}, // the last entry
        {13, "250", "1.000000"},  // clamped at the top
    };
    for (const char* locale : {"C", "de_DE.UTF-8"})
    {
        if (!std::setlocale(LC_ALL, locale))
        {
            ADD_FAILURE() << "locale " << locale << " is not installed";
            continue;
        }
        for (const auto& c : cases)
        {
            char text[kTextBufferSize];
            std::memset(text, kUntouched, sizeof(text));
            std::strcpy(text, c.input);
            EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effString2Parameter, indexOf(c.id), text), kBeef);
            EXPECT_STREQ(text, c.normalized) << c.input << " in locale " << locale;
            EXPECT_TRUE(untouched(text + 9, sizeof(text) - 9)) << "more than 8 characters written";
        }
    }
    std::setlocale(LC_ALL, "C");
}

// Bad indices, null texts, texts no value reads from, and queries nobody
// knows: all answer 0 and leave the host's memory as it was.
TEST_F(CockosExtensions, BadArgumentsAnswerZeroAndLeaveTheHostsTextAlone)
{
    for (VstIntPtr index : {VstIntPtr(kVst2ParameterCount), VstIntPtr(-1), VstIntPtr(1) << 40})
    {
        char buffer[64];
        std::memset(buffer, kUntouched, sizeof(buffer));
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamDisplay, index, buffer, 0.5f), 0);
        EXPECT_TRUE(untouched(buffer, sizeof(buffer)));
    }
    EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effGetParamDisplay, 0, nullptr, 0.5f), 0);

    struct Case
    {
        VstInt32 index;
        const char* input;
    };
    const Case cases[] = {{indexOf(23), "xyz"},        {indexOf(23), "lr-4"}, {indexOf(11), "abc"},
                          {indexOf(3), "-inf"},        {indexOf(3), ""},      {indexOf(27), "Solo"},
                          {kVst2ParameterCount, "0.5"}};
    for (const Case& c : cases)
    {
        char text[64];
        std::memset(text, kUntouched, sizeof(text));
        std::strcpy(text, c.input);
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effString2Parameter, c.index, text), 0) << c.input;
        EXPECT_STREQ(text, c.input);
        EXPECT_TRUE(untouched(text + std::strlen(c.input) + 1, sizeof(text) - std::strlen(c.input) - 1)) << c.input;
    }
    EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, V2::effString2Parameter, 0, nullptr), 0);

    double range[2] = {-1.0, -1.0};
    for (VstIntPtr index : {VstIntPtr(0), VstIntPtr(26), VstIntPtr(27), VstIntPtr(-1)})
    {
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, kRangeQuery, index, range), 0);
        EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, kRangeQuery, index, nullptr), 0);
    }
    EXPECT_EQ(range[0], -1.0);
    EXPECT_EQ(range[1], -1.0);
    char text[64] = "x";
    EXPECT_EQ(effect->dispatch(V2::effVendorSpecific, 12345, 0, text), 0);
    EXPECT_STREQ(text, "x");
}

// Program chunks: two little-endian 64-bit sizes (component state, controller
// state) and then those bytes, as projects saved with the SDK's wrapper hold them.

using KalviorTest::appendRecord;
using KalviorTest::Bytes;

uint64_t readLE64(const Bytes& b, size_t at)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
    return v;
}

Bytes chunkOf(const Bytes& componentState)
{
    Bytes chunk;
    for (uint64_t size : {uint64_t(componentState.size()), uint64_t(0)})
        for (int i = 0; i < 8; ++i)
            chunk.push_back(static_cast<uint8_t>(size >> (8 * i)));
    chunk.insert(chunk.end(), componentState.begin(), componentState.end());
    return chunk;
}

using Vst2Chunks = OpenedEffect;

TEST_F(Vst2Chunks, LayoutIsSizesThenComponentState)
{
    const Bytes chunk = effect->chunk();
    ASSERT_EQ(chunk.size(), 16u + KalviorTest::kStateBytes);
    EXPECT_EQ(readLE64(chunk, 0), static_cast<uint64_t>(KalviorTest::kStateBytes));
    EXPECT_EQ(readLE64(chunk, 8), 0u); // the controller keeps no state of its own
    KalviorTest::Values values{};
    ASSERT_TRUE(KalviorTest::decodeState(Bytes(chunk.begin() + 16, chunk.end()), values));
    for (uint32_t id = 0; id < KalviorTest::kParameterCount; ++id)
        EXPECT_DOUBLE_EQ(values[id], KalviorTest::defaultValues()[id]) << id;
}

// A chunk holding some records loads them and leaves the rest; changes the
// host queued before loading it are obsolete.
TEST_F(Vst2Chunks, HandWrittenChunkLoadsAndDiscardsQueuedChanges)
{
    effect->start(48000.f, 128);
    effect->set(indexOf(11), 0.95f);
    Bytes state;
    appendRecord(state, 0, 0.6);  // ProgSel "Mono Compat Pan"
    appendRecord(state, 11, 0.3); // Balance -18
    appendRecord(state, 27, 1.0); // Solo "LOPASS"
    effect->setChunk(chunkOf(state));
    effect->processSilence();
    effect->dispatch(V2::effIdle);
    EXPECT_FLOAT_EQ(effect->get(indexOf(11)), 0.3f);
    EXPECT_EQ(effect->stored(11), 0.3);
    EXPECT_EQ(effect->text(V2::effGetParamDisplay, indexOf(11)), "-18");
    EXPECT_EQ(effect->text(V2::effGetParamDisplay, indexOf(27)), "LOPASS");
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 3);
    EXPECT_FLOAT_EQ(effect->get(indexOf(3)), 0.75f);
}

TEST_F(Vst2Chunks, MalformedChunksChangeNothing)
{
    effect->set(indexOf(11), 0.125f);
    const Bytes before = effect->chunk();

    Bytes valid;
    appendRecord(valid, 11, 0.9);
    const Bytes good = chunkOf(valid);

    std::vector<Bytes> bad;
    bad.push_back(Bytes(good.begin(), good.begin() + 15)); // shorter than the header
    Bytes tooLong = good;                                  // component size beyond the end
    tooLong[0] = 13;
    bad.push_back(tooLong);
    Bytes negative = good; // negative size
    std::memset(negative.data(), 0xFF, 8);
    bad.push_back(negative);
    Bytes controllerBeyond = good; // controller size beyond the end
    controllerBeyond[8] = 1;
    bad.push_back(controllerBeyond);
    Bytes huge = good; // sizes whose sum overflows
    std::memset(huge.data(), 0xFF, 7);
    huge[7] = 0x7F;
    std::memset(huge.data() + 8, 0xFF, 7);
    huge[15] = 0x7F;
    bad.push_back(huge);

    for (size_t i = 0; i < bad.size(); ++i)
    {
        effect->setChunk(bad[i]);
        EXPECT_EQ(effect->chunk(), before) << "malformed chunk " << i;
    }
    EXPECT_EQ(effect->dispatch(V2::effSetChunk, 0, 0, const_cast<uint8_t*>(good.data())), 0);
    EXPECT_EQ(effect->dispatch(V2::effSetChunk, 0, -5, const_cast<uint8_t*>(good.data())), 0);
    EXPECT_EQ(effect->chunk(), before);

    // Trailing bytes after the declared states are ignored.
    Bytes trailing = good;
    trailing.push_back(0x42);
    effect->setChunk(trailing);
    EXPECT_FLOAT_EQ(effect->get(indexOf(11)), 0.9f);
}

// A host that saves right after changing a parameter or the program, without
// processing in between, finds the change in the chunk; ProgSel holds
// program / 5 exactly.
TEST_F(Vst2Chunks, ChangesNotYetProcessedAreSaved)
{
    effect->set(indexOf(28), 1.f); // Mono, which no program touches
    effect->dispatch(V2::effSetProgram, 0, 5);
    EXPECT_EQ(effect->stored(0), 1.0);
    EXPECT_NE(effect->stored(15), KalviorTest::kParameters[15].defaultNormalized) << "the program's HP Width";
    EXPECT_EQ(effect->stored(28), 1.0);

    effect->start(48000.f, 128);
    for (VstInt32 program = 0; program < 6; ++program)
    {
        effect->dispatch(V2::effSetProgram, 0, program);
        effect->processSilence();
        EXPECT_EQ(effect->stored(0), program / 5.0) << program;
    }
}

} // namespace

TEST_F(Vst2Parameters, ValuesThatAreNoNumbersAreIgnoredAndOthersLimited)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float cases[][2] = {{0.25f, 0.25f}, {nan, 0.25f}, {inf, 0.25f}, {-inf, 0.25f}, {1.5f, 1.0f}, {-0.5f, 0.0f}};
    for (const auto& c : cases)
    {
        effect->set(0, c[0]);
        EXPECT_EQ(effect->get(0), c[1]) << "sent " << c[0];
    }
    effect->set(-1, 0.5f); // no such parameters: nothing happens
    effect->set(kVst2ParameterCount, 0.5f);
    EXPECT_EQ(effect->get(kVst2ParameterCount), 0.0f);
    EXPECT_EQ(effect->get(-1), 0.0f);
    EXPECT_EQ(effect->get(0), 0.0f) << "the last value held stays";
}
