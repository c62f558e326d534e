// The edit controller as hosts drive it, through the built bundle: a bare
// controller created through the factory with a host context for messages and
// attribute lists; its life cycle, units, views and scope messages, and what a
// host's generic editor shows and accepts.
#include "params/ParamId.h"
#include "tests/params/TextHelpers.h"
#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;
using TestText::narrow;

namespace {

class ControllerTest : public KalviorTest::BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        ASSERT_TRUE(module);
        controller = createController();
        ASSERT_TRUE(controller);
    }

    void TearDown() override
    {
        if (controller && initialized)
            controller->terminate();
        controller = nullptr;
        BundleTest::TearDown();
    }

    Steinberg::IPtr<Steinberg::Vst::IEditController> createController()
    {
        using namespace Steinberg;
        const int32 index = module->findClass(kControllerClass);
        PClassInfo info;
        if (index < 0 || factory()->getClassInfo(index, &info) != kResultOk)
            return nullptr;
        Vst::IEditController* created = nullptr;
        if (factory()->createInstance(info.cid, Vst::IEditController::iid, reinterpret_cast<void**>(&created)) !=
            kResultOk)
            return nullptr;
        return owned(created);
    }

    void initialize()
    {
        ASSERT_EQ(Steinberg::kResultOk, controller->initialize(&host));
        initialized = true;
    }

    // The text a host shows for `id` at `normalized`.
    std::string text(Steinberg::Vst::ParamID id, double normalized)
    {
        Steinberg::Vst::String128 buffer = {};
        if (controller->getParamStringByValue(id, normalized, buffer) != Steinberg::kResultTrue)
            return "<refused>";
        return TestText::narrow(buffer);
    }

    Steinberg::Hosting::HostContext host{"Kalvior Controller Test"};
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
    bool initialized = false;
};

TEST_F(ControllerTest, ParametersExistOnlyAfterInitialize)
{
    EXPECT_EQ(0, controller->getParameterCount());
    initialize();
    EXPECT_EQ(29, controller->getParameterCount());
    ParameterInfo info{};
    EXPECT_EQ(kResultFalse, controller->getParameterInfo(29, info));
    EXPECT_EQ(kResultFalse, controller->getParameterInfo(-1, info));
}

TEST_F(ControllerTest, SecondInitializeIsRefusedAndChangesNothing)
{
    initialize();
    controller->setParamNormalized(kLeftGain, 0.2);
    EXPECT_EQ(kResultFalse, controller->initialize(&host));
    EXPECT_EQ(kResultFalse, controller->initialize(nullptr));
    EXPECT_EQ(29, controller->getParameterCount());
    EXPECT_EQ(0.2, controller->getParamNormalized(kLeftGain));
}

// What a component state sets (complete, known, finite records; values
// limited; a bad record skipped, not reset) is replayed from the fuzz seeds.

TEST_F(ControllerTest, HostValuesAreLimitedAndNonNumbersRefused)
{
    initialize();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(kResultTrue, controller->setParamNormalized(kBalance, 0.25));
    EXPECT_EQ(kInvalidArgument, controller->setParamNormalized(kBalance, nan));
    EXPECT_EQ(kInvalidArgument, controller->setParamNormalized(kBalance, inf));
    EXPECT_EQ(kInvalidArgument, controller->setParamNormalized(kBalance, -inf));
    EXPECT_EQ(0.25, controller->getParamNormalized(kBalance));
    EXPECT_EQ(kResultTrue, controller->setParamNormalized(kBalance, 1.5));
    EXPECT_EQ(1.0, controller->getParamNormalized(kBalance));
    EXPECT_EQ(kResultTrue, controller->setParamNormalized(kBalance, -0.5));
    EXPECT_EQ(0.0, controller->getParamNormalized(kBalance));
    EXPECT_EQ(kResultFalse, controller->setParamNormalized(29, 0.5));
}

// No stream is refused; the controller keeps no state of its own.
TEST_F(ControllerTest, ComponentStateWithoutStreamIsRefused)
{
    initialize();
    EXPECT_EQ(kInvalidArgument, controller->setComponentState(nullptr));
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    EXPECT_EQ(kNotImplemented, controller->getState(stream));
    EXPECT_EQ(kNotImplemented, controller->setState(stream));
    int64 size = -1;
    stream->tell(&size);
    EXPECT_EQ(0, size);
}

TEST_F(ControllerTest, RootUnitWithTheFactoryProgramList)
{
    initialize();
    IPtr<IUnitInfo> units = query<IUnitInfo>(controller);
    ASSERT_TRUE(units);

    EXPECT_EQ(1, units->getUnitCount());
    UnitInfo unit{};
    ASSERT_EQ(kResultOk, units->getUnitInfo(0, unit));
    EXPECT_EQ(kRootUnitId, unit.id);
    EXPECT_EQ(kNoParentUnitId, unit.parentUnitId);
    EXPECT_EQ("root unit", narrow(unit.name));
    EXPECT_EQ(0, unit.programListId);
    UnitInfo untouched{};
    untouched.id = 77;
    EXPECT_EQ(kResultFalse, units->getUnitInfo(1, untouched));
    EXPECT_EQ(kResultFalse, units->getUnitInfo(-1, untouched));
    EXPECT_EQ(77, untouched.id);

    EXPECT_EQ(1, units->getProgramListCount());
    ProgramListInfo list{};
    ASSERT_EQ(kResultOk, units->getProgramListInfo(0, list));
    EXPECT_EQ(0, list.id);
    EXPECT_EQ("Factory Presets", narrow(list.name));
    EXPECT_EQ(6, list.programCount);
    EXPECT_EQ(kResultFalse, units->getProgramListInfo(1, list));

    // program names are the program list entries; every name is checked
    // through the VST 2 entry's program list
    const struct
    {
        int32 listId;
        int32 program;
        tresult result;
        const char* name;
    } cases[] = {
        {0, 0, kResultOk, "Default"},
        {0, 6, kResultOk, "Stereosonic Shuffle"}, // the list mapping caps the entry
        {0, 1000, kResultOk, "Stereosonic Shuffle"},
        {0, -1, kResultOk, ""},
        {1, 0, kResultFalse, "unchanged"},
        {-1, 0, kResultFalse, "unchanged"},
    };
    for (const auto& c : cases)
    {
        String128 name = {};
        TestText::widen("unchanged").copy(name, 9);
        EXPECT_EQ(c.result, units->getProgramName(c.listId, c.program, name)) << c.listId << "/" << c.program;
        EXPECT_EQ(c.name, narrow(name)) << c.listId << "/" << c.program;
    }
}

TEST_F(ControllerTest, EveryCallForTheEditorMakesANewOne)
{
    initialize();
    EXPECT_EQ(nullptr, controller->createView(nullptr));

    // each call for "editor" makes a new editor
    IPlugView* first = controller->createView("editor");
    IPlugView* second = controller->createView("editor");
    EXPECT_NE(nullptr, first);
    EXPECT_NE(nullptr, second);
    EXPECT_NE(first, second);
    for (IPlugView* view : {first, second})
        if (view)
            view->release();
}

TEST_F(ControllerTest, ScopeMessagesAreCheckedBeforeUse)
{
    initialize();
    IPtr<IConnectionPoint> connection = query<IConnectionPoint>(controller);
    ASSERT_TRUE(connection);

    EXPECT_EQ(kInvalidArgument, connection->notify(nullptr));

    auto other = createMessage(host, "TextMessage");
    ASSERT_TRUE(other);
    other->getAttributes()->setString("Text", u"hello");
    EXPECT_EQ(kResultFalse, connection->notify(other));

    auto noData = createMessage(host, "Scope");
    EXPECT_EQ(kResultFalse, connection->notify(noData));

    auto wrongType = createMessage(host, "Scope");
    wrongType->getAttributes()->setInt("Data", 1024);
    EXPECT_EQ(kResultFalse, connection->notify(wrongType));

    // the attribute list holds exact-size copies: a read past the end would be
    // caught by the address sanitizer
    std::vector<uint8_t> bytes(2048, 0x7F);
    for (uint32 size : {1u, 1000u, 1023u, 1025u, 2048u})
    {
        auto wrongSize = createMessage(host, "Scope");
        wrongSize->getAttributes()->setBinary("Data", bytes.data(), size);
        EXPECT_EQ(kResultFalse, connection->notify(wrongSize)) << size << " bytes";
    }

    auto scopeWithoutEditor = createMessage(host, "Scope");
    scopeWithoutEditor->getAttributes()->setBinary("Data", bytes.data(), 1024);
    EXPECT_EQ(kResultOk, connection->notify(scopeWithoutEditor)) << "dropped while no editor is open";

    auto lowerCase = createMessage(host, "scope");
    lowerCase->getAttributes()->setBinary("Data", bytes.data(), 1024);
    EXPECT_EQ(kResultFalse, connection->notify(lowerCase));
}

// What a host's generic editor shows and accepts.

TEST_F(ControllerTest, HostSeesEveryParameterInfo)
{
    initialize();
    ASSERT_EQ(29, controller->getParameterCount());
    for (int32 index = 0; index < 29; ++index)
    {
        const ParameterRow& row = kParameters[index];
        SCOPED_TRACE(row.title);
        ParameterInfo info{};
        ASSERT_EQ(kResultTrue, controller->getParameterInfo(index, info));
        EXPECT_EQ(static_cast<ParamID>(index), info.id);
        EXPECT_EQ(row.title, narrow(info.title));
        EXPECT_EQ(row.shortTitle, narrow(info.shortTitle));
        EXPECT_EQ(row.units, narrow(info.units));
        EXPECT_EQ(row.steps, info.stepCount);
        EXPECT_NEAR(row.objectDefault(), info.defaultNormalizedValue, 1e-15);
        EXPECT_EQ(row.flags, info.flags);
        EXPECT_EQ(kRootUnitId, info.unitId);
        EXPECT_NEAR(row.objectDefault(), controller->getParamNormalized(info.id), 1e-15) << "starts at its default";
    }
}

struct TextCase
{
    ParamID id;
    double normalized;
    const char* text; // printf "%.*f" of the closed-form plain value, or the entry
};

// Plain values: fader (v - 0.5) * 48 - 12 dB from 0.5 up, 27.2394 ln(v + 0.0675)
// + 3.4321 dB below; pans v * 90 - 45; crush v * 100; width v * 2; law v * 3 + 3;
// trim v * 12 - 6; frequency 100 * 8^v Hz; lists entry trunc(v * n).
const TextCase kTexts[] = {
    {kProgSel, 0.99, "Stereosonic Shuffle"}, // every entry at i / 5: below
    {kBypass, 0.5, "Off"},
    {kBypass, 0.500001, "On"},
    {kLeftGain, 0.0, "-inf"},
    {kLeftGain, 0.75, "0.0"},
    {kRightGain, 0.5, "-12.0"},
    {kHpGain, 1.0, "12.0"},
    {kLpGain, 0.25, "-27.8"},
    {kLpGain, 0.001, "-69.6"},
    {kLpGain, 1e-9, "-70.0"}, // just above silence
    {kMuteLeft, 1.0, "On"},
    {kLeftPan, 0.0, "-45"},
    {kRightPan, 1.0, "45"},
    {kBalance, 0.5, "0"},
    {kAsymmetry, 0.25, "-22"}, // -22.5: ties round to even
    {kAsymmCrush, 0.3, "30"},
    {kHpWidth, 0.5, "1.00"},
    {kHpWidth, 0.35, "0.70"},
    {kHpPan, 0.1, "-36"},
    {kPanLaw, 0.5, "4.5"},
    {kPanLaw, 1.0, "6.0"},
    {kPanCrush, 1.0, "100"},
    {kGainTrim, 0.5, "0.0"},
    {kGainTrim, 0.0, "-6.0"},
    {kGainTrim, 0.5 - 1e-12, "0.0"}, // rounds to zero: no minus sign
    {kBalance, 0.5 - 1e-12, "0"},
    {kLpWidth, 0.0, "0.00"},
    {kLpPan, 0.75, "22"},
    {kCrossover, 0.33, "OFF"},
    {kCrossover, 0.34, "LR-2"},
    {kCrossover, 1.0, "LR-4"},
    {kCrossoverFreq, 0.0, "100"},
    {kCrossoverFreq, 0.5, "283"},
    {kCrossoverFreq, 0.528320833573719, "300"},
    {kCrossoverFreq, 0.935785, "700"},
    {kCrossoverFreq, 1.0, "800"},
    {kInputFormat, 0.5, "M/S"},
    {kOutputFormat, 0.0, "L/R"},
    {kSolo, 0.5, "HIPASS"},
    {kSolo, 1.0, "LOPASS"},
    {kMono, 0.75, "On"},
};

// Runs in the locale named by the parameter, skipped where it is not installed.
class HostTexts : public ControllerTest, public testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        if (!locale.isAvailable())
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
        if (std::string(GetParam()) != "C")
        {
            ASSERT_EQ(",", TestText::ScopedLocale::decimalPoint()) << "a stub of a comma locale proves nothing";
        }
        initialize();
    }

    TestText::ScopedLocale locale{GetParam()};
};

TEST_P(HostTexts, TextsAtTheListedValues)
{
    for (const TextCase& c : kTexts)
        EXPECT_EQ(c.text, text(c.id, c.normalized)) << "ID " << c.id << " at " << c.normalized;
    for (int i = 0; i < kProgramCount; ++i)
        EXPECT_EQ(kProgramNames[i], text(kProgSel, i / 5.0)) << "program " << i;
    EXPECT_EQ("<refused>", text(29, 0.5));
}

struct ParseCase
{
    ParamID id;
    const char16_t* text;
    bool accepted;
    double normalized; // when accepted
};

const ParseCase kParses[] = {
    {kPanLaw, u"4,5", true, 0.5}, // comma as decimal point
    {kPanLaw, u"4.5", true, 0.5},
    {kLeftPan, u"L 30", true, 75.0 / 90.0}, // leading letter skipped
    {kLeftPan, u"left", false, 0},          // letters only
    {kLeftPan, u"60", true, 1.0},           // clamped
    {kLeftGain, u"-inf", false, 0},
    {kLeftGain, u"-12,0 dB", true, 0.5},
    {kLeftGain, u"20", true, 1.0},
    {kLeftGain, u"-100", true, 0.0},
    {kCrossoverFreq, u"300 Hz", true, 0.528320833573719},
    {kCrossoverFreq, u"50", true, 0.0},
    {kHpWidth, u"0,7", true, 0.35},
    {kMuteLeft, u"1", true, 1.0},
    {kMuteLeft, u"On", false, 0},
    {kProgSel, u"Mono Compat Pan", true, 0.6},
    {kProgSel, u"mono compat pan", false, 0}, // case-sensitive
    {kProgSel, u"Mono", false, 0},            // whole entries only
    {kCrossover, u"LR-4", true, 1.0},
    {kCrossover, u"lr-4", false, 0},
    {kSolo, u"HIPASS", true, 0.5},
    {kOutputFormat, u"M/S", true, 1.0},
    {kSolo, u"off", false, 0},
    {kSolo, u"LOPASS ", false, 0}, // no extra spaces
    {kSolo, u"2", false, 0},       // no indices
    {kSolo, u"", false, 0},
    {kLeftGain, u"", false, 0},
    {kMuteLeft, u"1e999", false, 0},  // beyond a double: no value for a host
    {kLeftGain, u"1e999", true, 1.0}, // limited by the curve
    {kMuteLeft, u"5", true, 1.0},     // limited to 0..1
};

TEST_P(HostTexts, TypedTextsAreParsed)
{
    for (const ParseCase& c : kParses)
    {
        std::u16string typed = c.text;
        ParamValue value = -1;
        const tresult result = controller->getParamValueByString(c.id, typed.data(), value);
        SCOPED_TRACE(narrow(c.text));
        if (c.accepted)
        {
            ASSERT_EQ(kResultTrue, result);
            EXPECT_NEAR(c.normalized, value, 1e-14);
        }
        else
        {
            EXPECT_EQ(kResultFalse, result);
            EXPECT_EQ(-1, value) << "a refused text leaves the value alone";
        }
    }
    ParamValue value = -1;
    EXPECT_EQ(kResultFalse, controller->getParamValueByString(kProgSel, nullptr, value));
    EXPECT_EQ(kResultFalse, controller->getParamValueByString(kLeftGain, nullptr, value));
    EXPECT_EQ(-1, value);
}

INSTANTIATE_TEST_SUITE_P(Locales, HostTexts, testing::Values("C", "de_DE.UTF-8"));

struct PlainCase
{
    ParamID id;
    double normalized, plain, tolerance;
};

// The curves themselves are read through the texts above; here what no text
// shows: the plain value of silence and of list and switch values, and plain
// values beyond a range (a logarithm of a negative frequency among them),
// which are limited to it.
const PlainCase kToPlain[] = {
    {kLeftGain, 0.0, -70.0, 1e-12},
    {kLeftPan, 0.75, 22.5, 1e-12},
    {kProgSel, 0.6, 3.0, 0},
    {kMono, 0.3, 0.3, 0},
};

const PlainCase kToNormalized[] = {
    {kRightPan, 0.0, -60.0, 0},  {kCrossoverFreq, 0.0, -5.0, 0}, {kCrossoverFreq, 1.0, 1000.0, 0},
    {kProgSel, 0.6, 3.0, 1e-15}, {kProgSel, 1.0, 9.0, 0},
};

TEST_F(ControllerTest, PlainValuesFollowTheCurvesAndLimits)
{
    initialize();
    for (const PlainCase& c : kToPlain)
        EXPECT_NEAR(c.plain, controller->normalizedParamToPlain(c.id, c.normalized), c.tolerance)
            << "ID " << c.id << " at " << c.normalized;
    for (const PlainCase& c : kToNormalized)
        EXPECT_NEAR(c.normalized, controller->plainParamToNormalized(c.id, c.plain), c.tolerance)
            << "ID " << c.id << " at " << c.plain;
}

} // namespace
