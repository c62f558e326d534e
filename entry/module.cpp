// Module initialisation and release: InitDll/ExitDll, and the same work behind
// the Linux entry points ModuleEntry/ModuleExit; on Windows DllMain keeps the
// instance handle the editor finds its resources through.

#include "processor/SampleSizeOverride.h"
#include "sdk/moduleentry.h"

#include "pluginterfaces/base/fplatform.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#if SMTG_OS_WINDOWS
#include <windows.h>
#endif

namespace {

std::mutex moduleMutex;
uint32_t initCount = 0;       // guarded by moduleMutex
bool environmentRead = false; // guarded by moduleMutex

constexpr const char* kSampleSizeVariable = "Kalvior_FORCE_SAMPLESIZE";

// Exactly "32BIT" or "64BIT" restricts the sample size; anything else changes nothing.
void readSampleSizeOverride()
{
    const char* text = std::getenv(kSampleSizeVariable);
    if (!text)
        return;
    if (std::strcmp(text, "32BIT") == 0)
        sampleSizeOverride = kOnly32Bit;
    else if (std::strcmp(text, "64BIT") == 0)
        sampleSizeOverride = kOnly64Bit;
}

} // namespace

extern "C" SMTG_EXPORT_SYMBOL bool InitDll()
{
    std::lock_guard<std::mutex> lock(moduleMutex);
    ++initCount;
    // The environment counts once per load of the module.
    if (initCount == 1 && !environmentRead)
    {
        readSampleSizeOverride();
        environmentRead = true;
    }
    return true;
}

extern "C" SMTG_EXPORT_SYMBOL bool ExitDll()
{
    std::lock_guard<std::mutex> lock(moduleMutex);
    if (initCount == 0)
        return false; // a release without an initialisation
    --initCount;
    return true;
}

bool InitModule()
{
    return InitDll();
}

bool DeinitModule()
{
    return ExitDll();
}

#if SMTG_OS_WINDOWS
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    // Thread notifications stay on: the linked-in winpthreads cleans up
    // after the scope worker through them.
    if (reason == DLL_PROCESS_ATTACH)
        Steinberg::setModuleHandle(instance);
    return TRUE;
}
#endif
