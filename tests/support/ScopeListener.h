#pragma once

// A peer connection point in place of the controller: keeps the data of every
// "Scope" message the processor's worker sends it, and lets a test wait for them.
// Given the controller, it relays each message to it first, as some hosts do.

#include "params/ScopeBlock.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

namespace KalviorTest {

class ScopeListener : public Steinberg::Vst::IConnectionPoint
{
public:
    using Block = std::vector<int8_t>;

    explicit ScopeListener(IConnectionPoint* relayTo = nullptr) : relayTo(relayTo) {}
    Steinberg::tresult PLUGIN_API connect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override
    {
        const char* id = message ? message->getMessageID() : nullptr;
        const void* data = nullptr;
        Steinberg::uint32 size = 0;
        if (!id || std::strcmp(id, "Scope") != 0 || !message->getAttributes() ||
            message->getAttributes()->getBinary("Data", data, size) != Steinberg::kResultOk)
            return Steinberg::kResultFalse;
        if (relayTo)
            relayTo->notify(message);
        std::lock_guard<std::mutex> lock(mutex);
        blocks.emplace_back(static_cast<const int8_t*>(data), static_cast<const int8_t*>(data) + size);
        arrived.notify_all();
        return Steinberg::kResultOk;
    }

    // True once `count` messages in all have arrived (20 s at most, a safety
    // net only). The audio thread never waits for a busy worker: it offers a
    // completed block again on its next call, which `nextCall` makes.
    bool waitFor(size_t count, const std::function<void()>& nextCall = {})
    {
        for (int attempt = 0; attempt < 200; ++attempt)
        {
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (arrived.wait_for(lock, std::chrono::milliseconds(100), [&] { return blocks.size() >= count; }))
                    return true;
            }
            if (nextCall)
                nextCall();
        }
        return false;
    }
    size_t count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return blocks.size();
    }
    Block block(size_t i)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return blocks.at(i);
    }
    // Messages whose data is not one whole scope block.
    size_t wrongSizes()
    {
        std::lock_guard<std::mutex> lock(mutex);
        size_t wrong = 0;
        for (const Block& b : blocks)
            wrong += b.size() != ScopeBlock::kBytes;
        return wrong;
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
    std::vector<Block> blocks;
};

} // namespace KalviorTest
