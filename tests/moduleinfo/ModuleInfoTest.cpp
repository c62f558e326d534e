// The bundle's Contents/Resources/moduleinfo.json against what the module's
// factory reports when loaded: a host that lists the plug-in from the file
// alone must see the same classes, IDs, categories and versions. The file is
// compared, without its layout, with the document the factory's answers make.

#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace Steinberg;

namespace {

// The JSON text without the white space between its tokens.
std::string compact(const std::string& json)
{
    std::string result;
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i)
    {
        const char c = json[i];
        if (inString && c == '\\' && i + 1 < json.size())
            result += json.substr(i++, 2);
        else if (c == '"' || inString || !std::isspace(static_cast<unsigned char>(c)))
        {
            inString = inString != (c == '"');
            result += c;
        }
    }
    return result;
}

std::string quoted(const std::string& text)
{
    std::string result = "\"";
    for (char c : text)
        result += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return result + "\"";
}

std::string member(const char* key, const std::string& value, bool last = false)
{
    return quoted(key) + ":" + value + (last ? "" : ",");
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

// "Fx|Spatial" as ["Fx","Spatial"].
std::string listOf(const std::string& joined)
{
    std::string result = "[";
    for (size_t start = 0; !joined.empty() && start <= joined.size();)
    {
        const size_t end = std::min(joined.find('|', start), joined.size());
        result += (start ? "," : "") + quoted(joined.substr(start, end - start));
        start = end + 1;
    }
    return result + "]";
}

class ModuleInfoTest : public KalviorTest::BundleTest
{};

TEST_F(ModuleInfoTest, TheFileIsWhatTheFactoryReports)
{
    const std::string path = KalviorTest::bundlePath() + "/Contents/Resources/moduleinfo.json";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    ASSERT_FALSE(text.str().empty()) << "no " << path;

    PFactoryInfo info;
    ASSERT_EQ(factory()->getFactoryInfo(&info), kResultOk);
    auto factory2 = KalviorTest::query<IPluginFactory2>(factory());
    ASSERT_TRUE(factory2);
    PClassInfo2 processor;
    ASSERT_EQ(factory2->getClassInfo2(module->findClass(KalviorTest::kAudioModuleClass), &processor), kResultOk);
    auto flag = [&](int32 bit)
    {
        return (info.flags & bit) ? std::string("true") : std::string("false");
    };

    std::string classes;
    for (int32 i = 0; i < factory()->countClasses(); ++i)
    {
        PClassInfo2 c;
        ASSERT_EQ(factory2->getClassInfo2(i, &c), kResultOk);
        classes += std::string(i ? "," : "") + "{" + member("CID", quoted(hexOf(c.cid))) +
                   member("Category", quoted(c.category)) + member("Name", quoted(c.name)) +
                   member("Vendor", quoted(c.vendor[0] ? c.vendor : info.vendor)) + // none of its own: the factory's
                   member("Version", quoted(c.version)) + member("SDKVersion", quoted(c.sdkVersion)) +
                   member("Sub Categories", listOf(c.subCategories)) +
                   member("Class Flags", std::to_string(c.classFlags)) +
                   member("Cardinality", std::to_string(c.cardinality)) + member("Snapshots", "[]", true) + "}";
    }
    const std::string expected =
        "{" + member("Name", quoted(processor.name)) + member("Version", quoted(processor.version)) +
        member("Factory Info",
               "{" + member("Vendor", quoted(info.vendor)) + member("URL", quoted(info.url)) +
                   member("E-Mail", quoted(info.email)) +
                   member("Flags",
                          "{" + member("Unicode", flag(PFactoryInfo::kUnicode)) +
                              member("Classes Discardable", flag(PFactoryInfo::kClassesDiscardable)) +
                              member("Component Non Discardable", flag(PFactoryInfo::kComponentNonDiscardable), true) +
                              "}",
                          true) +
                   "}") +
        member("Compatibility", "[]") + member("Classes", "[" + classes + "]", true) + "}";
    EXPECT_EQ(compact(text.str()), expected);
}

} // namespace
