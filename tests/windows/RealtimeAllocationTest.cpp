// The audio thread allocates nothing on Windows either. The DLL links its C++
// runtime statically, so every operator new in it ends in the C runtime's
// malloc, imported from msvcrt.dll; the test redirects those imports of the
// loaded module (its import address table) to counters that count on the
// armed thread only. Locks cannot be counted this way (winpthreads is linked
// in and an uncontended mutex calls nothing outside the DLL): the Linux suite
// counts those.

#include "tests/support/KalviorBundle.h"

#include "params/ParamId.h"
#include "sdk/hosting/ParameterChanges.h"
#include "sdk/hosting/ProcessBuffers.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Steinberg;

namespace {

std::atomic<DWORD> armedThread{0};
std::atomic<long> allocations{0}, releases{0};

bool counting()
{
    return armedThread.load() == GetCurrentThreadId();
}

using MallocFunc = void* (*)(size_t);
using CallocFunc = void* (*)(size_t, size_t);
using ReallocFunc = void* (*)(void*, size_t);
using FreeFunc = void (*)(void*);
MallocFunc realMalloc = nullptr;
CallocFunc realCalloc = nullptr;
ReallocFunc realRealloc = nullptr;
FreeFunc realFree = nullptr;

void* countingMalloc(size_t size)
{
    if (counting())
        ++allocations;
    return realMalloc(size);
}

void* countingCalloc(size_t count, size_t size)
{
    if (counting())
        ++allocations;
    return realCalloc(count, size);
}

void* countingRealloc(void* block, size_t size)
{
    if (counting())
        ++allocations;
    return realRealloc(block, size);
}

void countingFree(void* block)
{
    if (counting() && block)
        ++releases;
    realFree(block);
}

// Points the module's import of dll!name at `replacement`; returns what it
// pointed at, or null when the module does not import it.
void* redirectImport(HMODULE module, const char* dll, const char* name, void* replacement)
{
    auto* base = reinterpret_cast<uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return nullptr;
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import)
    {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses)
        {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            void* original = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            return original;
        }
    }
    return nullptr;
}

struct Counts
{
    long allocations, releases;
};

template <typename Calls>
Counts count(Calls&& calls)
{
    allocations = 0;
    releases = 0;
    armedThread = GetCurrentThreadId();
    calls();
    armedThread = 0;
    return {allocations.load(), releases.load()};
}

class WindowsRealtime : public KalviorTest::PluginTest, public ::testing::WithParamInterface<int32>
{
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        ASSERT_TRUE(instance);
        HMODULE dll = GetModuleHandleW(L"Kalvior.vst3");
        ASSERT_TRUE(dll) << "the module is not loaded under its own name";
        // The module is loaded afresh for each test, so its table is patched afresh.
        realMalloc = reinterpret_cast<MallocFunc>(
            redirectImport(dll, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&countingMalloc)));
        realCalloc = reinterpret_cast<CallocFunc>(
            redirectImport(dll, "msvcrt.dll", "calloc", reinterpret_cast<void*>(&countingCalloc)));
        realRealloc = reinterpret_cast<ReallocFunc>(
            redirectImport(dll, "msvcrt.dll", "realloc", reinterpret_cast<void*>(&countingRealloc)));
        realFree = reinterpret_cast<FreeFunc>(
            redirectImport(dll, "msvcrt.dll", "free", reinterpret_cast<void*>(&countingFree)));
        ASSERT_TRUE(realMalloc && realFree) << "the module imports no malloc/free from msvcrt.dll";
        // calloc and realloc may go unused; their stand-ins must still call something.
        if (!realCalloc)
            realCalloc = &std::calloc;
        if (!realRealloc)
            realRealloc = &std::realloc;
    }
};

TEST_P(WindowsRealtime, ProcessAllocatesNothingThroughAutomationProgramChangesAndGlides)
{
    constexpr int32 kBlock = 512;
    ASSERT_EQ(instance->setStereoArrangement(), kResultOk);
    // The counters see the module's allocations: a setup for bigger blocks
    // makes the crossover allocate bigger band buffers.
    EXPECT_GT(count([&] { instance->setupProcessing(44100.0, 1 << 16, GetParam()); }).allocations, 0);
    ASSERT_EQ(instance->setupProcessing(44100.0, kBlock, GetParam()), kResultOk);
    ASSERT_EQ(instance->setActive(true), kResultOk);
    ASSERT_EQ(instance->setProcessing(true), kResultOk); // the scope worker runs on its own thread

    Hosting::ProcessBuffers buffers(2);
    buffers.prepare(GetParam(), kBlock);
    for (int32 i = 0; i < kBlock; ++i)
    {
        buffers.setInput(0, i, 0.5 * ((i * 7919) % 113) / 113.0 - 0.25);
        buffers.setInput(1, i, 0.25 - 0.5 * ((i * 104729) % 127) / 127.0);
    }
    // Host-side lists, filled before counting starts.
    Hosting::ParameterChanges changes(8, 8), reports(32, 4);
    struct Block
    {
        const char* what;
        std::vector<std::pair<uint32, std::vector<std::pair<int32, double>>>> points;
    };
    const std::vector<Block> blocks = {
        {"plain", {}},
        {"crossover on", {{kCrossover, {{0, 1.0}}}}},
        {"automation", {{kHpPan, {{0, 0.2}, {300, 0.8}}}, {kLpWidth, {{100, 0.9}}}, {kLeftGain, {{10, 0.3}}}}},
        {"crossover glide", {{kCrossoverFreq, {{0, 0.1}, {511, 0.9}}}}},
        {"still gliding", {}},
        {"program change", {{kProgSel, {{0, 0.4}}}}},
        {"after the program", {}},
        {"mid/side and solo", {{kInputFormat, {{0, 1.0}}}, {kSolo, {{200, 0.5}}}}},
    };
    for (size_t b = 0; b < blocks.size() * 3; ++b)
    {
        const Block& block = blocks[b % blocks.size()];
        SCOPED_TRACE(block.what);
        changes.clear();
        reports.clear();
        for (const auto& [id, points] : block.points)
            for (const auto& [offset, value] : points)
                ASSERT_TRUE(changes.addChange(id, offset, value));
        Vst::ProcessData& data = buffers.block(kBlock, &changes, &reports);
        const Counts counts = count([&] { instance->processor()->process(data); });
        EXPECT_EQ(counts.allocations, 0) << "block " << b;
        EXPECT_EQ(counts.releases, 0) << "block " << b;
    }
    instance->setProcessing(false);
    instance->setActive(false);
}

INSTANTIATE_TEST_SUITE_P(SampleSizes, WindowsRealtime, ::testing::Values(Vst::kSample32, Vst::kSample64),
                         [](const auto& info) { return info.param == Vst::kSample64 ? "Bits64" : "Bits32"; });

} // namespace
