#pragma once

// A peer connection point in place of the controller: counts the "Scope"
// messages the processor's worker sends it, and lets a test wait for them.
// Given the controller, it relays each message to it first, as some hosts do.

#include "pluginterfaces/vst/ivstmessage.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace KalviorTest {

class ScopeListener : public Steinberg::Vst::IConnectionPoint
{
public:
    explicit ScopeListener(IConnectionPoint* relayTo = nullptr) : relayTo(relayTo) {}
    Steinberg::tresult PLUGIN_API connect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override
    {
        if (!message || std::strcmp(message->getMessageID(), "Scope") != 0)
            return Steinberg::kResultFalse;
        if (relayTo)
            relayTo->notify(message);
        std::lock_guard<std::mutex> lock(mutex);
        ++messages;
        arrived.notify_all();
        return Steinberg::kResultOk;
    }

    // True once `count` messages in all have arrived; `seconds` is a safety net only.
    bool waitFor(int count, int seconds = 10)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(seconds), [&] { return messages >= count; });
    }
    int count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return messages;
    }

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

private:
    IConnectionPoint* relayTo;
    std::mutex mutex;
    std::condition_variable arrived;
    int messages = 0;
};

} // namespace KalviorTest
