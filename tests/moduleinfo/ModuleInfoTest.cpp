// The bundle's Contents/Resources/moduleinfo.json against what the module's
// factory reports when loaded: a host that lists the plug-in from the file
// alone must see the same classes, IDs, categories and versions.

#include "tests/moduleinfo/JsonValue.h"
#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace Steinberg;
using KalviorTest::JsonValue;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string hexOf(const TUID cid)
{
    std::string hex;
    char digits[3];
    for (int i = 0; i < 16; ++i)
    {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(static_cast<uint8>(cid[i])));
        hex += digits;
    }
    return hex;
}

std::string joined(const std::vector<JsonValue>& parts)
{
    std::string text;
    for (const JsonValue& part : parts)
        text += (text.empty() ? "" : "|") + part.string();
    return text;
}

class ModuleInfoTest : public KalviorTest::BundleTest
{
protected:
    void SetUp() override
    {
        BundleTest::SetUp();
        const std::string path = KalviorTest::bundlePath() + "/Contents/Resources/moduleinfo.json";
        const std::string text = readFile(path);
        ASSERT_FALSE(text.empty()) << "no " << path;
        try
        {
            info = JsonValue::parse(text);
        }
        catch (const std::exception& error)
        {
            FAIL() << error.what();
        }
        ASSERT_TRUE(factory()->getFactoryInfo(&factoryInfo) == kResultOk);
    }

    JsonValue info;
    PFactoryInfo factoryInfo;
};

TEST_F(ModuleInfoTest, HasTheModuleInfoToolsTopLevelKeys)
{
    EXPECT_EQ(info.keys(), (std::vector<std::string>{"Name", "Version", "Factory Info", "Compatibility", "Classes"}));
    EXPECT_TRUE(info["Compatibility"].array().empty());
}

TEST_F(ModuleInfoTest, FactoryInfoIsTheFactorysOwn)
{
    const JsonValue& factoryJson = info["Factory Info"];
    EXPECT_EQ(factoryJson["Vendor"].string(), factoryInfo.vendor);
    EXPECT_EQ(factoryJson["URL"].string(), factoryInfo.url);
    EXPECT_EQ(factoryJson["E-Mail"].string(), factoryInfo.email);
    const JsonValue& flags = factoryJson["Flags"];
    EXPECT_EQ(flags["Unicode"].boolean(), (factoryInfo.flags & PFactoryInfo::kUnicode) != 0);
    EXPECT_EQ(flags["Classes Discardable"].boolean(), (factoryInfo.flags & PFactoryInfo::kClassesDiscardable) != 0);
    EXPECT_EQ(flags["Component Non Discardable"].boolean(),
              (factoryInfo.flags & PFactoryInfo::kComponentNonDiscardable) != 0);
}

TEST_F(ModuleInfoTest, NameAndVersionAreTheProcessorClasss)
{
    PClassInfo2 processor;
    auto factory2 = KalviorTest::query<IPluginFactory2>(factory());
    ASSERT_TRUE(factory2);
    ASSERT_EQ(factory2->getClassInfo2(module->findClass(KalviorTest::kAudioModuleClass), &processor), kResultOk);
    EXPECT_EQ(info["Name"].string(), processor.name);
    EXPECT_EQ(info["Version"].string(), processor.version);
}

TEST_F(ModuleInfoTest, EveryClassMatchesTheFactoryInOrder)
{
    auto factory2 = KalviorTest::query<IPluginFactory2>(factory());
    ASSERT_TRUE(factory2);
    const std::vector<JsonValue>& classes = info["Classes"].array();
    ASSERT_EQ(static_cast<int32>(classes.size()), factory()->countClasses());
    for (int32 i = 0; i < factory()->countClasses(); ++i)
    {
        SCOPED_TRACE("class " + std::to_string(i));
        PClassInfo2 expected;
        ASSERT_EQ(factory2->getClassInfo2(i, &expected), kResultOk);
        const JsonValue& actual = classes[static_cast<size_t>(i)];
        EXPECT_EQ(actual["CID"].string(), hexOf(expected.cid));
        EXPECT_EQ(actual["Category"].string(), expected.category);
        EXPECT_EQ(actual["Name"].string(), expected.name);
        // a class without a vendor of its own is the factory's
        EXPECT_EQ(actual["Vendor"].string(), expected.vendor[0] ? expected.vendor : factoryInfo.vendor);
        EXPECT_EQ(actual["Version"].string(), expected.version);
        EXPECT_EQ(actual["SDKVersion"].string(), expected.sdkVersion);
        EXPECT_EQ(joined(actual["Sub Categories"].array()), expected.subCategories);
        EXPECT_EQ(actual["Class Flags"].number(), static_cast<double>(expected.classFlags));
        EXPECT_EQ(actual["Cardinality"].number(), static_cast<double>(expected.cardinality));
        EXPECT_TRUE(actual["Snapshots"].array().empty());
    }
}

// The reader itself: a broken file must fail loudly, not read as empty.
struct MalformedCase
{
    const char* name;
    const char* text;
};

class MalformedJson : public ::testing::TestWithParam<MalformedCase>
{};

TEST_P(MalformedJson, IsRefused)
{
    EXPECT_THROW(JsonValue::parse(GetParam().text), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Reader, MalformedJson,
                         ::testing::Values(MalformedCase{"Empty", ""}, MalformedCase{"Unclosed", "{\"a\": [1, 2}"},
                                           MalformedCase{"TrailingText", "{} x"},
                                           MalformedCase{"BareWord", "{\"a\": yes}"},
                                           MalformedCase{"UnfinishedString", "[\"abc"}),
                         [](const ::testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

} // namespace
