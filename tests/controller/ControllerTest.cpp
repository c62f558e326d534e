#include "ControllerFixture.h"

#include "pluginterfaces/gui/iplugview.h"
#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace KalviorTest;
using TestText::narrow;

namespace {

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

TEST_F(ControllerTest, TerminateRemovesParametersAndAllowsANewInitialize)
{
    ASSERT_EQ(kResultOk, controller->initialize(nullptr)); // a host without a context
    EXPECT_EQ(kResultOk, controller->terminate());
    EXPECT_EQ(0, controller->getParameterCount());
    String128 name = {};
    IPtr<IUnitInfo> units = query<IUnitInfo>(controller);
    ASSERT_TRUE(units);
    EXPECT_EQ(kResultFalse, units->getProgramName(0, 0, name));
    initialize();
    EXPECT_EQ(29, controller->getParameterCount());
}

TEST_F(ControllerTest, CrossoverFrequencyStartsAtItsObjectDefaultUntilTheStateArrives)
{
    initialize();
    ParameterInfo info{};
    ASSERT_EQ(kResultTrue, controller->getParameterInfo(kCrossoverFreq, info));
    EXPECT_EQ(0.0, info.defaultNormalizedValue);
    EXPECT_EQ(0.0, controller->getParamNormalized(kCrossoverFreq));
    EXPECT_EQ("100", text(kCrossoverFreq, controller->getParamNormalized(kCrossoverFreq)));

    // a fresh processor's own state
    const Bytes state = stateOf(defaultValues());
    ASSERT_EQ(kResultOk, setComponentStateBytes(controller, state.data(), state.size()));
    EXPECT_NEAR(kCrossoverFreqDefault, controller->getParamNormalized(kCrossoverFreq), 1e-15);
    EXPECT_EQ("300", text(kCrossoverFreq, controller->getParamNormalized(kCrossoverFreq)));
    ASSERT_EQ(kResultTrue, controller->getParameterInfo(kCrossoverFreq, info));
    EXPECT_EQ(0.0, info.defaultNormalizedValue) << "the reported default stays";
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

    // program names are the program list entries; every name is checked by
    // the program round trip
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

TEST_F(ControllerTest, OnlyLinearKnobModeIsAcceptedAndNoProcessorInterface)
{
    EXPECT_FALSE(query<IComponent>(controller));
    EXPECT_FALSE(query<IProgramListData>(controller));
    IPtr<IEditController2> controller2 = query<IEditController2>(controller);
    ASSERT_TRUE(controller2);
    const KnobMode refused[] = {kCircularMode, kRelativCircularMode, 3, -1};
    for (KnobMode mode : refused)
        EXPECT_EQ(kResultFalse, controller2->setKnobMode(mode)) << mode;
    EXPECT_EQ(kResultOk, controller2->setKnobMode(kLinearMode));
}

TEST_F(ControllerTest, ViewsOnlyForTheEditorName)
{
    initialize();
    for (const char* name : {"Editor", "EDITOR", "editor ", "", "view", "editorX"})
    {
        IPlugView* view = controller->createView(name);
        EXPECT_EQ(nullptr, view) << '"' << name << '"';
        if (view)
            view->release();
    }
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

    auto other = createMessage("TextMessage");
    ASSERT_TRUE(other);
    other->getAttributes()->setString("Text", u"hello");
    EXPECT_EQ(kResultFalse, connection->notify(other));

    auto noData = createMessage("Scope");
    EXPECT_EQ(kResultFalse, connection->notify(noData));

    auto wrongType = createMessage("Scope");
    wrongType->getAttributes()->setInt("Data", 1024);
    EXPECT_EQ(kResultFalse, connection->notify(wrongType));

    // the attribute list holds exact-size copies: a read past the end would be
    // caught by the address sanitizer
    std::vector<uint8_t> bytes(2048, 0x7F);
    for (uint32 size : {1u, 1000u, 1023u, 1025u, 2048u})
    {
        auto wrongSize = createMessage("Scope");
        wrongSize->getAttributes()->setBinary("Data", bytes.data(), size);
        EXPECT_EQ(kResultFalse, connection->notify(wrongSize)) << size << " bytes";
    }

    auto scopeWithoutEditor = createMessage("Scope");
    scopeWithoutEditor->getAttributes()->setBinary("Data", bytes.data(), 1024);
    EXPECT_EQ(kResultOk, connection->notify(scopeWithoutEditor)) << "dropped while no editor is open";

    auto lowerCase = createMessage("scope");
    lowerCase->getAttributes()->setBinary("Data", bytes.data(), 1024);
    EXPECT_EQ(kResultFalse, connection->notify(lowerCase));
}

} // namespace
