#pragma once

// Loading the built Kalvior.vst3 as a host does, for tests: the module, a host
// context, one plug-in instance, and state streams as raw bytes.

#include "sdk/hosting/ComponentHandler.h"
#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"
#include "tests/support/StateRecords.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KalviorTest {

// Another interface of a plug-in object, holding its own reference; null if absent.
template <typename T>
Steinberg::IPtr<T> query(Steinberg::FUnknown* object)
{
    T* result = nullptr;
    if (object && object->queryInterface(T::iid, reinterpret_cast<void**>(&result)) == Steinberg::kResultOk)
        return Steinberg::owned(result);
    return nullptr;
}

// Where the build put the bundle.
std::string bundlePath();

// Threads of this process, from the kernel's count. With `expected`, once the
// count has settled there (two seconds at most): a joined thread can still be
// listed for a moment while the kernel reaps it.
int threadCount(int expected = -1);

// Category strings the factory uses for the two classes.
constexpr const char* kAudioModuleClass = "Audio Module Class";
constexpr const char* kControllerClass = "Component Controller Class";

// Loads the bundle through dlopen, ModuleEntry and GetPluginFactory.
class BundleTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    Steinberg::IPluginFactory* factory() const { return module->factory(); }

    std::unique_ptr<Steinberg::Hosting::PluginModule> module;
};

// One instance of the plug-in: processor and controller (when the bundle has
// one), initialised with a host context, connected, state transferred.
class PluginTest : public BundleTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    Steinberg::Vst::IComponent* component() const { return instance->component(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return instance->processor(); }
    Steinberg::Vst::IEditController* controller() const { return instance->controller(); }

    Steinberg::Hosting::HostContext host{"Kalvior Test Host"};
    Steinberg::Hosting::ComponentHandler handler;
    std::unique_ptr<Steinberg::Hosting::PluginInstance> instance;
};

// A message made by the host context, as a plug-in makes its own; null if refused.
Steinberg::IPtr<Steinberg::Vst::IMessage> createMessage(Steinberg::Hosting::HostContext& host, const char* id);

// A stream that takes at most `limit` bytes and refuses the rest, as a full
// disk or a host's fixed buffer would.
class LimitedStream : public Steinberg::IBStream
{
public:
    explicit LimitedStream(size_t limit) : limit(limit) {}

    Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                       Steinberg::int32* numBytesRead) override;
    Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                        Steinberg::int32* numBytesWritten) override;
    Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode, Steinberg::int64* result) override;
    Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    Bytes written;

private:
    size_t limit;
};

} // namespace KalviorTest
