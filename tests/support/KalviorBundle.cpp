#include "tests/support/KalviorBundle.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

using namespace Steinberg;

namespace KalviorTest {

std::string bundlePath()
{
    return KALVIOR_BUNDLE_DIR;
}

int threadCount(int expected)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;)
    {
        std::ifstream status("/proc/self/status");
        std::string line;
        int count = -1;
        while (std::getline(status, line))
            if (line.rfind("Threads:", 0) == 0)
                count = std::stoi(line.substr(8));
        if (expected < 0 || count == expected || std::chrono::steady_clock::now() >= deadline)
            return count;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void BundleTest::SetUp()
{
    std::string error;
    module = Hosting::PluginModule::load(bundlePath(), error);
    ASSERT_TRUE(module) << error;
}

void BundleTest::TearDown()
{
    module.reset();
}

void PluginTest::SetUp()
{
    BundleTest::SetUp();
    ASSERT_TRUE(module);
    const int32 processorClass = module->findClass(kAudioModuleClass);
    ASSERT_GE(processorClass, 0);
    std::string error;
    instance = Hosting::PluginInstance::create(factory(), processorClass, &host, error);
    ASSERT_TRUE(instance) << error;
    if (controller())
    {
        controller()->setComponentHandler(&handler);
        ASSERT_TRUE(instance->connect());
        ASSERT_EQ(instance->transferState(), kResultOk);
    }
}

void PluginTest::TearDown()
{
    instance.reset();
    BundleTest::TearDown();
}

IPtr<Vst::IMessage> createMessage(Hosting::HostContext& host, const char* id)
{
    Vst::IMessage* message = nullptr;
    TUID messageIid;
    Vst::IMessage::iid.toTUID(messageIid);
    host.createInstance(messageIid, messageIid, reinterpret_cast<void**>(&message));
    if (!message)
        return nullptr;
    message->setMessageID(id);
    return owned(message);
}

tresult PLUGIN_API LimitedStream::read(void* /*buffer*/, int32 /*numBytes*/, int32* numBytesRead)
{
    if (numBytesRead)
        *numBytesRead = 0;
    return kResultFalse;
}

tresult PLUGIN_API LimitedStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
    const size_t room = limit - written.size();
    const size_t taken = numBytes > 0 ? std::min(room, static_cast<size_t>(numBytes)) : 0;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    written.insert(written.end(), bytes, bytes + taken);
    if (numBytesWritten)
        *numBytesWritten = static_cast<int32>(taken);
    return taken == static_cast<size_t>(numBytes) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API LimitedStream::seek(int64 /*pos*/, int32 /*mode*/, int64* result)
{
    if (result)
        *result = static_cast<int64>(written.size());
    return kResultFalse;
}

tresult PLUGIN_API LimitedStream::tell(int64* pos)
{
    if (pos)
        *pos = static_cast<int64>(written.size());
    return kResultOk;
}

tresult PLUGIN_API LimitedStream::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, IBStream::iid))
    {
        *obj = static_cast<IBStream*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace KalviorTest
