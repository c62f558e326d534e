// The factory as a host reads it, through GetPluginFactory of the built bundle.

#include "tests/support/KalviorBundle.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <array>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace Steinberg;
using KalviorTest::BundleTest;

namespace {

using Uid = std::array<uint8_t, 16>;

// A registry-format GUID in the COM memory layout: the first word and the two
// half-words little-endian, the last eight bytes as written.
Uid comBytesOf(const std::string& guid)
{
    std::string hex;
    for (char c : guid)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            hex += c;
    Uid written{};
    for (size_t i = 0; i < 16; ++i)
        written[i] = static_cast<uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    return {written[3], written[2], written[1],  written[0],  written[5],  written[4],  written[7],  written[6],
            written[8], written[9], written[10], written[11], written[12], written[13], written[14], written[15]};
}

Uid bytesOf(const TUID cid)
{
    Uid bytes{};
    std::memcpy(bytes.data(), cid, 16);
    return bytes;
}

std::u16string wide(const char16* text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

struct ClassExpectation
{
    const char* guid;
    const char* category;
    const char* name;
    uint32 classFlags;
    const char* subCategories;
};

const ClassExpectation kClasses[] = {
    {"{F4355313-8C24-4A44-BBAC-E6FFD10A4C8A}", "Audio Module Class", "Kalvior", 1, "Fx|Spatial"},
    {"{E363945F-8758-4400-9B3E-9C0452EFF417}", "Component Controller Class", "KalviorController", 0, ""},
};

} // namespace

TEST_F(BundleTest, FactoryInfoNamesTheVendorAndOffersUnicode)
{
    PFactoryInfo info;
    ASSERT_EQ(factory()->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Tarnwick Audio");
    EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
    EXPECT_EQ(std::string(info.email).rfind("mailto:", 0), 0u) << info.email;
    EXPECT_GT(std::strlen(info.email), std::strlen("mailto:"));
    EXPECT_GT(std::strlen(info.url), 0u);
    EXPECT_EQ(factory()->getFactoryInfo(nullptr), kInvalidArgument);
}

// The three forms of class info, in registration order, agree with each
// other; indices outside the list are refused.
TEST_F(BundleTest, ClassInfosInRegistrationOrder)
{
    ASSERT_EQ(factory()->countClasses(), 2);
    IPtr<IPluginFactory3> factory3 = KalviorTest::query<IPluginFactory3>(factory());
    ASSERT_TRUE(factory3);
    for (int32 index = 0; index < 2; ++index)
    {
        SCOPED_TRACE(index);
        const ClassExpectation& expected = kClasses[index];
        PClassInfo info;
        PClassInfo2 info2;
        PClassInfoW infoW;
        ASSERT_EQ(factory()->getClassInfo(index, &info), kResultOk);
        ASSERT_EQ(factory3->getClassInfo2(index, &info2), kResultOk);
        ASSERT_EQ(factory3->getClassInfoUnicode(index, &infoW), kResultOk);
        for (const TUID* cid : {&info.cid, &info2.cid, &infoW.cid})
            EXPECT_EQ(bytesOf(*cid), comBytesOf(expected.guid));
        for (int32 cardinality : {info.cardinality, info2.cardinality, infoW.cardinality})
            EXPECT_EQ(cardinality, 0x7FFFFFFF);
        for (const char* category : {info.category, info2.category, infoW.category})
            EXPECT_STREQ(category, expected.category);
        EXPECT_STREQ(info.name, expected.name);
        EXPECT_STREQ(info2.name, expected.name);
        EXPECT_EQ(wide(infoW.name), std::u16string(expected.name, expected.name + std::strlen(expected.name)));
        for (uint32 flags : {info2.classFlags, infoW.classFlags})
            EXPECT_EQ(flags, expected.classFlags);
        EXPECT_STREQ(info2.subCategories, expected.subCategories);
        EXPECT_STREQ(infoW.subCategories, expected.subCategories);
        EXPECT_STREQ(info2.vendor, "");
        EXPECT_EQ(wide(infoW.vendor), u"");
        EXPECT_STREQ(info2.version, "1.0.0.1");
        EXPECT_EQ(wide(infoW.version), u"1.0.0.1");
        EXPECT_STREQ(info2.sdkVersion, "VST 3.5.0");
        EXPECT_EQ(wide(infoW.sdkVersion), u"VST 3.5.0");
    }
    PClassInfo info;
    PClassInfo2 info2;
    PClassInfoW infoW;
    for (int32 index : {-1, 2, 1000})
    {
        EXPECT_NE(factory3->getClassInfo(index, &info), kResultOk) << index;
        EXPECT_NE(factory3->getClassInfo2(index, &info2), kResultOk) << index;
        EXPECT_NE(factory3->getClassInfoUnicode(index, &infoW), kResultOk) << index;
    }
}

// Every call hands out the one factory and one more reference to it, also
// from several threads at once.
TEST_F(BundleTest, ConcurrentCallersShareOneFactory)
{
    auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(module->symbol("GetPluginFactory"));
    ASSERT_NE(getFactory, nullptr);
    const uint32 before = factory()->addRef();
    factory()->release();

    constexpr int kCallers = 8;
    std::vector<IPluginFactory*> got(kCallers, nullptr);
    std::vector<std::thread> callers;
    for (int i = 0; i < kCallers; ++i)
        callers.emplace_back([&got, getFactory, i] { got[static_cast<size_t>(i)] = getFactory(); });
    for (std::thread& caller : callers)
        caller.join();

    for (IPluginFactory* f : got)
        EXPECT_EQ(f, factory());
    // Each caller holds exactly one more reference.
    const uint32 after = factory()->addRef();
    factory()->release();
    EXPECT_EQ(after, before + kCallers);
    for (IPluginFactory* f : got)
        if (f)
            f->release();
}

TEST_F(BundleTest, UnknownClassesInterfacesAndNullArgumentsAreRefused)
{
    PClassInfo info;
    ASSERT_EQ(factory()->getClassInfo(0, &info), kResultOk);
    void* object = reinterpret_cast<void*>(1);

    TUID unknown = {};
    EXPECT_EQ(factory()->createInstance(unknown, Vst::IAudioProcessor::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);

    // The processor is no edit controller.
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory()->createInstance(info.cid, Vst::IEditController::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(factory()->createInstance(nullptr, Vst::IAudioProcessor::iid, &object), kInvalidArgument);
    EXPECT_EQ(factory()->createInstance(info.cid, nullptr, &object), kInvalidArgument);
    EXPECT_EQ(factory()->createInstance(info.cid, Vst::IAudioProcessor::iid, nullptr), kInvalidArgument);
}

TEST_F(BundleTest, ExportsOnlyTheEntryPoints)
{
    for (const char* name : {"GetPluginFactory", "InitDll", "ExitDll", "ModuleEntry", "ModuleExit"})
        EXPECT_NE(module->symbol(name), nullptr) << name;
    // Internals stay inside the module.
    for (const char* name : {"InitModule", "DeinitModule", "sampleSizeOverride", "_Z10InitModulev", "_Z12DeinitModulev",
                             "_ZN9Steinberg7FObject7addRefEv"})
        EXPECT_EQ(module->symbol(name), nullptr) << name;
}
