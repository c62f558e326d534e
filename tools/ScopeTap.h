#pragma once

#include "params/ScopeBlock.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

// The host's end of the processor's message connection: every message is
// passed on to the edit controller unchanged, and the data of each "Scope"
// message is also kept, so the command line can draw the plug-in's own scope.
// Messages arrive on the plug-in's scope thread.
class ScopeTap : public Steinberg::Vst::IConnectionPoint
{
public:
    using Block = std::array<uint8_t, ScopeBlock::kBytes>;

    explicit ScopeTap(Steinberg::Vst::IConnectionPoint* controller);
    virtual ~ScopeTap() = default;

    // Takes the blocks received so far.
    std::vector<Block> takeBlocks();
    // Scope messages received since construction.
    uint64_t received() const;
    // Waits until at least `count` messages have arrived or `timeoutMs` passed.
    bool waitFor(uint64_t count, int timeoutMs);
    // Messages that carried "Scope" but not a block of the agreed size.
    uint64_t malformed() const { return malformedCount.load(); }

    // IConnectionPoint: the processor connects to the tap, the tap to nothing.
    Steinberg::tresult PLUGIN_API connect(Steinberg::Vst::IConnectionPoint* other) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API disconnect(Steinberg::Vst::IConnectionPoint* other) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) SMTG_OVERRIDE;

    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE;

private:
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> controller;
    mutable std::mutex mutex;
    std::condition_variable arrived;
    std::vector<Block> blocks;
    uint64_t receivedCount = 0;
    std::atomic<uint64_t> malformedCount{0};
    std::atomic<Steinberg::uint32> references{1};
};
