#pragma once

// The host side of the VST 2 callback, for every test that opens the effect
// through VSTPluginMain: the answers a host gives (version, vendor, product)
// and a record of what the effect tells it (automation, edits, display
// updates). VST 2 gives the callback no user pointer, so one host is current
// at a time; the effect may call from any thread, so the record is guarded by
// a spin lock (no pthread lock: the real-time tests count those).

#include "vst2/Vst2Abi.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace KalviorTest {

struct HostAnswers
{
    VstIntPtr version = 2400;
    bool answersVendor = true;
    std::string vendor = "Test Vendor";
    std::string product = "Test Host";
    VstInt32 vendorVersion = 1000;
};

struct AutomateCall
{
    VstInt32 index;
    float value;
};

class Vst2Host
{
public:
    explicit Vst2Host(HostAnswers answers = {});
    ~Vst2Host();
    Vst2Host(const Vst2Host&) = delete;
    Vst2Host& operator=(const Vst2Host&) = delete;

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                          float opt);

    const HostAnswers answers;
    // Read them once the effect's threads are quiet; the callback writes under `busy`.
    std::vector<AutomateCall> automated;
    std::vector<VstInt32> editsBegun, editsEnded;
    int displayUpdates = 0;
    std::vector<std::pair<VstInt32, VstIntPtr>> windowSizes; // asked for by audioMasterSizeWindow
    int vendorQueries = 0;
    mutable std::atomic_flag busy = ATOMIC_FLAG_INIT;

private:
    void lock() const
    {
        while (busy.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    void unlock() const { busy.clear(std::memory_order_release); }
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    Vst2Host* previous;
};

} // namespace KalviorTest
