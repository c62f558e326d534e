// The DLL as a Windows host loads it: InitDll/ExitDll counting, the
// sample-size override read once per load, and a module path that is not
// ASCII. (The exports are checked in the binary by check_imports.sh.)

#include "tests/support/KalviorBundle.h"

#include "sdk/Utf16.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Steinberg;

namespace {

constexpr const char* kVariable = "Kalvior_FORCE_SAMPLESIZE";

std::wstring wide(const std::string& utf8)
{
    std::vector<char16> units(utf8.size() + 1);
    utf8ToUtf16(utf8.c_str(), units.data(), static_cast<int32>(units.size()));
    return std::wstring(reinterpret_cast<const wchar_t*>(units.data()));
}

std::string binaryPath()
{
    return Hosting::PluginModule::libraryInBundle(KalviorTest::bundlePath());
}

// The environment as the module's C runtime reads it.
void setVariable(const char* value)
{
    _putenv_s(kVariable, value ? value : "");
}

// Which sample sizes a new processor of the loaded module accepts: "32 64",
// "32", "64".
std::string acceptedSizes(Hosting::PluginModule& module)
{
    PClassInfo info;
    if (module.factory()->getClassInfo(module.findClass(KalviorTest::kAudioModuleClass), &info) != kResultOk)
        return "no processor class";
    Vst::IAudioProcessor* processor = nullptr;
    if (module.factory()->createInstance(info.cid, Vst::IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) !=
            kResultOk ||
        !processor)
        return "no processor";
    std::string sizes;
    if (processor->canProcessSampleSize(Vst::kSample32) == kResultTrue)
        sizes += "32";
    if (processor->canProcessSampleSize(Vst::kSample64) == kResultTrue)
        sizes += sizes.empty() ? "64" : " 64";
    processor->release();
    return sizes;
}

class WindowsModule : public ::testing::Test
{
protected:
    void TearDown() override { setVariable(nullptr); }
};

// The override is read at the first InitDll of a load (the parsing itself is
// shared with Linux and tested there): a later value counts only once
// FreeLibrary has unloaded the module and a new load starts a fresh count.
TEST_F(WindowsModule, TheVariableIsReadOncePerLoad)
{
    std::string error;
    setVariable("32BIT");
    {
        auto module = Hosting::PluginModule::load(KalviorTest::bundlePath(), error); // InitDll, count 1
        ASSERT_TRUE(module) << error;
        setVariable("64BIT");
        auto initDll = reinterpret_cast<bool (*)()>(module->symbol("InitDll"));
        auto exitDll = reinterpret_cast<bool (*)()>(module->symbol("ExitDll"));
        ASSERT_TRUE(initDll && exitDll);
        EXPECT_TRUE(initDll()); // count 2: the environment is not read again
        EXPECT_EQ(acceptedSizes(*module), "32");
        EXPECT_TRUE(exitDll()); // count 1; the loader's own ExitDll makes it 0
    }
    // FreeLibrary unloaded it: the next load starts with a fresh count.
    EXPECT_FALSE(GetModuleHandleW(wide(binaryPath()).c_str()));
    setVariable("64BIT");
    auto module = Hosting::PluginModule::load(KalviorTest::bundlePath(), error);
    ASSERT_TRUE(module) << error;
    EXPECT_EQ(acceptedSizes(*module), "64");
}

// A user name or folder with non-ASCII characters must not keep the plug-in
// from loading: the loader and the module go through UTF-16 paths.
TEST_F(WindowsModule, LoadsFromAPathThatIsNotAscii)
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::string folder =
        utf16ToUtf8(reinterpret_cast<const char16*>(temp)) + "Kalvior \xC3\x84\xC3\xB8 \xE9\x9F\xB3";
    const std::string bundle = folder + "\\K\xC3\xA4lvior.vst3";
    const std::string binaryFolder = bundle + "\\Contents\\x86_64-win";
    for (const std::string& directory : {folder, bundle, bundle + "\\Contents", binaryFolder})
        CreateDirectoryW(wide(directory).c_str(), nullptr);
    const std::string copy = binaryFolder + "\\K\xC3\xA4lvior.vst3";
    ASSERT_TRUE(CopyFileW(wide(binaryPath()).c_str(), wide(copy).c_str(), FALSE)) << GetLastError();

    {
        std::string error;
        auto module = Hosting::PluginModule::load(bundle, error);
        ASSERT_TRUE(module) << error;
        std::string loaded = module->libraryPath();
        std::replace(loaded.begin(), loaded.end(), '/', '\\');
        EXPECT_EQ(loaded, copy);
        EXPECT_EQ(module->factory()->countClasses(), 2);
        EXPECT_EQ(acceptedSizes(*module), "32 64");
    }
    DeleteFileW(wide(copy).c_str());
    for (const std::string& directory : {binaryFolder, bundle + "\\Contents", bundle, folder})
        RemoveDirectoryW(wide(directory).c_str());
}

} // namespace
