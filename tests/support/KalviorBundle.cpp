#include "tests/support/KalviorBundle.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>

using namespace Steinberg;

namespace KalviorTest {

std::string bundlePath()
{
    return KALVIOR_BUNDLE_DIR;
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

Bytes getStateBytes(Vst::IComponent* component, tresult* result)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    const tresult r = component->getState(stream);
    if (result)
        *result = r;
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    return Bytes(data, data + stream->getSize());
}

tresult setStateBytes(Vst::IComponent* component, const Bytes& bytes)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    int32 written = 0;
    if (!bytes.empty())
        stream->write(const_cast<uint8_t*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return component->setState(stream);
}

void appendRecord(Bytes& bytes, uint32_t id, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(id >> shift));
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

Bytes stateRecord(uint32_t id, double value)
{
    Bytes bytes;
    appendRecord(bytes, id, value);
    return bytes;
}

bool readRecord(const Bytes& bytes, size_t index, uint32_t& id, double& value)
{
    const size_t at = index * 12;
    if (at + 12 > bytes.size())
        return false;
    id = 0;
    for (size_t i = 0; i < 4; ++i)
        id = (id << 8) | bytes[at + i];
    uint64_t bits = 0;
    for (size_t i = 4; i < 12; ++i)
        bits = (bits << 8) | bytes[at + i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
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
