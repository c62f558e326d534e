#include "tests/support/Vst2HostCore.h"

#include <algorithm>
#include <cstring>

namespace KalviorTest {

namespace {

std::atomic<Vst2Host*> currentHost{nullptr};

void copyAnswer(void* ptr, const std::string& text)
{
    // Hosts fill at most 64 bytes, terminator included.
    const size_t n = std::min<size_t>(text.size(), Vst2Abi::kVendorStringSize - 1);
    std::memcpy(ptr, text.data(), n);
    static_cast<char*>(ptr)[n] = 0;
}

} // namespace

Vst2Host::Vst2Host(HostAnswers answers) : answers(std::move(answers)), previous(currentHost.exchange(this)) {}

Vst2Host::~Vst2Host()
{
    currentHost = previous;
}

VstIntPtr VSTCALLBACK Vst2Host::callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt)
{
    Vst2Host* host = currentHost;
    if (!host)
        return 0;
    host->lock();
    const VstIntPtr answer = host->answer(opcode, index, value, ptr, opt);
    host->unlock();
    return answer;
}

VstIntPtr Vst2Host::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    Vst2Host* host = this;
    switch (opcode)
    {
    case Vst2Abi::audioMasterVersion: return host->answers.version;
    case Vst2Abi::audioMasterGetVendorString:
        ++host->vendorQueries;
        if (ptr)
            copyAnswer(ptr, host->answers.vendor); // even when the answer says "none"
        return ptr && host->answers.answersVendor ? 1 : 0;
    case Vst2Abi::audioMasterGetProductString:
        if (ptr)
            copyAnswer(ptr, host->answers.product);
        return ptr ? 1 : 0;
    case Vst2Abi::audioMasterGetVendorVersion: return host->answers.vendorVersion;
    case Vst2Abi::audioMasterAutomate: host->automated.push_back(AutomateCall{index, opt}); return 0;
    case Vst2Abi::audioMasterBeginEdit: host->editsBegun.push_back(index); return 1;
    case Vst2Abi::audioMasterEndEdit: host->editsEnded.push_back(index); return 1;
    case Vst2Abi::audioMasterUpdateDisplay: ++host->displayUpdates; return 1;
    case Vst2Abi::audioMasterSizeWindow: host->windowSizes.emplace_back(index, value); return 1;
    default: return 0;
    }
}

} // namespace KalviorTest
