#pragma once

// Test doubles on the receiving side of the scope: a sender that records the
// blocks handed to it, and a peer connection point that records the data of
// every "Scope" message.

#include "params/ScopeBlock.h"
#include "processor/VectorScope.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace ChainTestSupport {

using Block = std::vector<int8_t>;

// Records the blocks it is asked to send; lets a test wait for them.
class RecordingSender : public ScopeSender
{
public:
    void sendScopeData(const uint8_t* block) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        blocks.emplace_back(reinterpret_cast<const int8_t*>(block),
                            reinterpret_cast<const int8_t*>(block) + ScopeBlock::kBytes);
        arrived.notify_all();
    }

    // Waits for `count` blocks (20 s at most, a safety net only). A completed
    // block may still sit in the processor: the audio thread never waits for a
    // busy worker, it offers the block again on its next call, as a host's
    // next block would make. `nextCall` makes one.
    template <typename NextCall>
    bool waitFor(size_t count, NextCall nextCall)
    {
        for (int attempt = 0; attempt < 200; ++attempt)
        {
            {
                std::unique_lock<std::mutex> lock(mutex);
                if (arrived.wait_for(lock, std::chrono::milliseconds(100), [&] { return blocks.size() >= count; }))
                    return true;
            }
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

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Block> blocks;
};

// A peer connection point that keeps every "Scope" message's data.
class ScopePeer : public Steinberg::Vst::IConnectionPoint, public RecordingSender
{
public:
    Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint*) override { return Steinberg::kResultOk; }
    Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint*) override
    {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override
    {
        const char* id = message ? message->getMessageID() : nullptr;
        if (!id || std::strcmp(id, "Scope") != 0 || !message->getAttributes())
            return Steinberg::kResultFalse;
        const void* data = nullptr;
        Steinberg::uint32 size = 0;
        if (message->getAttributes()->getBinary("Data", data, size) != Steinberg::kResultOk)
            return Steinberg::kResultFalse;
        ++messages;
        if (size != ScopeBlock::kBytes)
            ++wrongSizes;
        else
            sendScopeData(static_cast<const uint8_t*>(data));
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override
    {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    std::atomic<int> messages{0};
    std::atomic<int> wrongSizes{0};
};

} // namespace ChainTestSupport
