// The audio thread allocates nothing and takes no lock but the scope hand-off.
//
// This executable replaces the C allocator and the pthread lock functions
// with counting versions (exported, so the dlopen'ed bundle and the C++
// runtime's operator new resolve to them too). Counting is armed only on the
// calling thread and only inside process(), so the host harness and the scope
// worker thread do what they like. Sanitizer builds own the allocator: there
// the sanitizer's allocation hooks count instead, and locks go uncounted.

#include "tests/processor/ChainHost.h"
#include "tests/processor/ScopePeer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KV_SANITIZED 1
// Part of every sanitizer runtime (GCC ships no header declaring it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, size_t),
                                                         void (*onRelease)(const volatile void*));
#else
#define KV_SANITIZED 0
#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>
#endif

namespace {

thread_local bool armed = false;
std::atomic<long> allocations{0};
std::atomic<long> releases{0};
std::atomic<long> locks{0};

inline void countAllocation()
{
    if (armed)
        ++allocations;
}

inline void countRelease()
{
    if (armed)
        ++releases;
}

inline void countLock()
{
    if (armed)
        ++locks;
}

} // namespace

#if KV_SANITIZED

namespace {
void onAllocate(const volatile void*, size_t)
{
    countAllocation();
}
void onRelease(const volatile void*)
{
    countRelease();
}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onAllocate, onRelease);
} // namespace
constexpr bool kCountsLocks = false;

#else

constexpr bool kCountsLocks = true;

#define KV_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void* __libc_memalign(size_t, size_t);
extern "C" void __libc_free(void*);

KV_EXPORT void* malloc(size_t size)
{
    countAllocation();
    return __libc_malloc(size);
}

KV_EXPORT void* calloc(size_t count, size_t size)
{
    countAllocation();
    return __libc_calloc(count, size);
}

KV_EXPORT void* realloc(void* pointer, size_t size)
{
    countAllocation();
    return __libc_realloc(pointer, size);
}

KV_EXPORT void free(void* pointer)
{
    if (pointer)
        countRelease();
    __libc_free(pointer);
}

KV_EXPORT void* memalign(size_t alignment, size_t size)
{
    countAllocation();
    return __libc_memalign(alignment, size);
}

KV_EXPORT void* aligned_alloc(size_t alignment, size_t size)
{
    countAllocation();
    return __libc_memalign(alignment, size);
}

KV_EXPORT int posix_memalign(void** result, size_t alignment, size_t size)
{
    countAllocation();
    void* pointer = __libc_memalign(alignment, size);
    if (!pointer)
        return 12; // ENOMEM
    *result = pointer;
    return 0;
}

namespace {
template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
} // namespace

#define KV_COUNTED_LOCK(name, Type)                                                                                   \
    KV_EXPORT int name(Type* lock)                                                                                    \
    {                                                                                                                 \
        countLock();                                                                                                  \
        static const auto real = next<int (*)(Type*)>(#name);                                                         \
        return real(lock);                                                                                            \
    }

KV_COUNTED_LOCK(pthread_mutex_lock, pthread_mutex_t)
KV_COUNTED_LOCK(pthread_mutex_trylock, pthread_mutex_t)
KV_COUNTED_LOCK(pthread_rwlock_rdlock, pthread_rwlock_t)
KV_COUNTED_LOCK(pthread_rwlock_wrlock, pthread_rwlock_t)
KV_COUNTED_LOCK(pthread_spin_lock, pthread_spinlock_t)
KV_COUNTED_LOCK(sem_wait, sem_t)

#endif

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace ChainTestSupport;

namespace {

// What one process() call did on the audio thread.
struct CallCount
{
    long allocations = 0, releases = 0, locks = 0;
};

CallCount countedProcess(ChainHost& host, ProcessData& data)
{
    allocations = releases = locks = 0;
    armed = true;
    host.processor()->process(data);
    armed = false;
    return {allocations.load(), releases.load(), locks.load()};
}

// Host-side input for a block, built before counting starts.
struct BlockInput
{
    int32 frames = 512;
    std::unique_ptr<RawChanges> changes;
    Hosting::ParameterChanges* reports = nullptr;
    int32 numInputs = 1, numOutputs = 1;
    uint64 inputSilence = 0;
};

struct Scenario
{
    std::string name;
    std::vector<std::pair<uint32_t, double>> settings; // set through the state before processing
    std::function<void(std::vector<BlockInput>&)> blocks; // what the host sends
    double sampleRate = 44100.0;
    int32 maxBlock = 512;
    int32 bufferFrames = 0;
};

std::unique_ptr<RawChanges> changes(std::initializer_list<std::pair<uint32_t, std::vector<Point>>> queues)
{
    auto result = std::make_unique<RawChanges>();
    for (const auto& [id, points] : queues)
        result->add(id, points);
    return result;
}

void plainBlocks(std::vector<BlockInput>& blocks, int count, int32 frames = 512)
{
    for (int i = 0; i < count; ++i)
    {
        BlockInput block;
        block.frames = frames;
        blocks.push_back(std::move(block));
    }
}

// Points on every automatable parameter: many per block, repeated offsets
// (jumps), offsets past the block and going backwards.
std::unique_ptr<RawChanges> denseAutomation(uint32_t seed)
{
    auto result = std::make_unique<RawChanges>();
    uint32_t state = seed;
    auto next = [&] { return (state = state * 1664525u + 1013904223u) >> 8; };
    for (uint32_t id = 1; id < kNumParams; ++id)
    {
        if (id == kScope || id == kCrossover || id == kInputFormat || id == kOutputFormat || id == kSolo ||
            id == kMono)
            continue;
        std::vector<Point> points;
        int32 offset = 0;
        for (int p = 0; p < 100; ++p)
        {
            offset += static_cast<int32>(next() % 8); // often 0: several points at one offset
            points.push_back({offset, (next() % 1000) / 999.0});
        }
        points.push_back({700, 0.4});
        points.push_back({3, 0.6});
        result->add(id, points);
    }
    return result;
}

std::vector<Scenario> scenarios()
{
    std::vector<Scenario> list;
    auto plain = [](int count) { return [count](std::vector<BlockInput>& b) { plainBlocks(b, count); }; };
    list.push_back({"steady, crossover off", {}, plain(4)});
    list.push_back({"crossover LR-2", {{kCrossover, 0.5}}, plain(4)});
    list.push_back({"crossover LR-4", {{kCrossover, 1.0}}, plain(4)});
    list.push_back({"solo high band", {{kCrossover, 1.0}, {kSolo, 0.5}}, plain(3)});
    list.push_back({"solo low band", {{kCrossover, 0.5}, {kSolo, 1.0}}, plain(3)});
    list.push_back({"mid/side in and out", {{kInputFormat, 1.0}, {kOutputFormat, 1.0}, {kHpWidth, 0.9}}, plain(3)});
    for (double in : {0.0, 1.0})
        for (double out : {0.0, 1.0})
            list.push_back({"bypass " + std::to_string(int(in)) + std::to_string(int(out)),
                            {{kBypass, 1.0}, {kInputFormat, in}, {kOutputFormat, out}},
                            plain(3)});
    list.push_back({"automation with many points",
                    {{kCrossover, 1.0}},
                    [](std::vector<BlockInput>& b)
                    {
                        for (uint32_t seed = 1; seed <= 4; ++seed)
                        {
                            BlockInput block;
                            block.changes = denseAutomation(seed);
                            b.push_back(std::move(block));
                        }
                    }});
    list.push_back({"crossover glide and switches",
                    {{kCrossover, 1.0}},
                    [](std::vector<BlockInput>& b)
                    {
                        std::vector<Point> glide;
                        for (int32 i = 0; i < 512; i += 32)
                            glide.push_back({i, (i % 96) / 96.0});
                        BlockInput first;
                        first.changes = changes({{kCrossoverFreq, glide}, {kCrossover, {{0, 0.5}}}});
                        b.push_back(std::move(first));
                        BlockInput second;
                        second.changes = changes({{kCrossover, {{0, 1.0}}}, {kMono, {{10, 1.0}}},
                                                  {kInputFormat, {{0, 1.0}}}, {kSolo, {{0, 0.9}}}});
                        b.push_back(std::move(second));
                        plainBlocks(b, 2);
                    }});
    static Hosting::ParameterChanges reports(64, 4);
    static Hosting::ParameterChanges smallReports(3, 1);
    list.push_back({"program changes",
                    {},
                    [](std::vector<BlockInput>& b)
                    {
                        for (double program : {0.2, 0.4, 0.6, 1.0})
                        {
                            BlockInput block;
                            block.changes = changes({{kProgSel, {{0, program}}}});
                            block.reports = program == 0.4 ? nullptr : program == 0.6 ? &smallReports : &reports;
                            b.push_back(std::move(block));
                        }
                        plainBlocks(b, 2);
                        for (auto& block : b)
                            if (!block.changes)
                                block.reports = &reports;
                    }});
    list.push_back({"scope handing blocks to the worker", {{kScope, 1.0}}, plain(12), 5120.0});
    list.push_back({"silent input, calls without audio and empty blocks",
                    {{kCrossover, 1.0}},
                    [](std::vector<BlockInput>& b)
                    {
                        BlockInput silent;
                        silent.inputSilence = 3;
                        b.push_back(std::move(silent));
                        BlockInput flush;
                        flush.numInputs = flush.numOutputs = 0;
                        flush.changes = changes({{kLeftGain, {{0, 0.9}}}});
                        b.push_back(std::move(flush));
                        BlockInput empty;
                        empty.frames = 0;
                        empty.changes = changes({{kBalance, {{0, 0.2}}}});
                        b.push_back(std::move(empty));
                    }});
    list.push_back({"blocks longer than the setup promised",
                    {{kCrossover, 1.0}},
                    [](std::vector<BlockInput>& b)
                    {
                        BlockInput overlong;
                        overlong.frames = 4096;
                        std::vector<Point> points;
                        for (int32 i = 0; i < 4096; i += 2)
                            points.push_back({i, (i % 10) / 10.0});
                        overlong.changes = changes({{kHpPan, points}, {kLeftGain, {{9000, 0.3}}}});
                        b.push_back(std::move(overlong));
                    },
                    44100.0, 64, 4096});
    return list;
}

class RealtimeTest : public KalviorTest::BundleTest, public ::testing::WithParamInterface<int32>
{
};

class RealtimeCountingInTheBundle : public KalviorTest::BundleTest
{
};

INSTANTIATE_TEST_SUITE_P(SampleSizes, RealtimeTest, ::testing::Values(kSample32, kSample64),
                         [](const auto& info) { return info.param == kSample64 ? "Bits64" : "Bits32"; });

} // namespace

TEST_P(RealtimeTest, ProcessNeverAllocatesAndLocksOnlyToHandOffScopeBlocks)
{
    for (Scenario& scenario : scenarios())
    {
        SCOPED_TRACE(scenario.name);
        HostSetup setup;
        setup.sampleSize = GetParam();
        setup.sampleRate = scenario.sampleRate;
        setup.maxBlock = scenario.maxBlock;
        setup.bufferFrames = scenario.bufferFrames;
        std::string error;
        ChainHost host(*module, setup, error);
        ASSERT_TRUE(error.empty()) << error;
        ScopePeer peer;
        IPtr<IConnectionPoint> connection = KalviorTest::query<IConnectionPoint>(host.component());
        ASSERT_TRUE(connection);
        connection->connect(&peer);
        host.setValues(scenario.settings);
        const bool scopeOn = [&]
        {
            for (const auto& [id, value] : scenario.settings)
                if (id == kScope)
                    return value >= 0.5;
            return true; // the default
        }();

        std::vector<BlockInput> blocks;
        scenario.blocks(blocks);
        const int32 bufferFrames = host.buffers.maxSamples();
        long framesFed = 0;
        long blocksCompleted = 0;
        long locksSeen = 0;
        for (size_t b = 0; b < blocks.size(); ++b)
        {
            BlockInput& block = blocks[b];
            host.fillNoise(std::min(block.frames, bufferFrames), static_cast<uint32_t>(b + 1));
            if (block.reports)
                block.reports->clear();
            ProcessData& data = host.buffers.block(block.frames, block.changes.get(), block.reports);
            data.numInputs = block.numInputs;
            data.numOutputs = block.numOutputs;
            host.buffers.inputBus.silenceFlags = block.inputSilence;

            const CallCount count = countedProcess(host, data);
            EXPECT_EQ(count.allocations, 0) << "block " << b;
            EXPECT_EQ(count.releases, 0) << "block " << b;

            // Scope blocks complete every 512 * decimation fed frames (decimation 8 at
            // 44.1 kHz, 1 at 5120 Hz); each hand-off may lock twice: the scope's
            // mutex and the condition variable's own.
            const bool fed = scopeOn && block.numInputs > 0 && block.numOutputs > 0 && block.inputSilence != 3;
            const long perBlock = 512L * static_cast<long>(std::trunc(scenario.sampleRate / 5120.0));
            const long before = blocksCompleted;
            if (fed)
                framesFed += std::min(block.frames, bufferFrames);
            blocksCompleted = framesFed / perBlock;
            if (kCountsLocks)
            {
                EXPECT_LE(count.locks, 2 * (blocksCompleted - before)) << "block " << b;
            }
            locksSeen += count.locks;
        }
        if (kCountsLocks && blocksCompleted > 0)
        {
            EXPECT_GT(locksSeen, 0) << "the hand-off lock went uncounted: the counters do not see the bundle";
        }
        connection->disconnect(&peer);
    }
}

TEST_F(RealtimeCountingInTheBundle, TheCountersSeeTheBundlesAllocations)
{
    HostSetup setup;
    std::string error;
    ChainHost host(*module, setup, error);
    ASSERT_TRUE(error.empty()) << error;
    allocations = 0;
    armed = true;
    // A larger block size makes the crossover allocate bigger band buffers.
    host.instance->setupProcessing(44100.0, 1 << 16, kSample64);
    armed = false;
    EXPECT_GT(allocations.load(), 0);
}

TEST(RealtimeCounting, TheCountersSeeWhatTheyShould)
{
    // The proof is only as good as the counters: they must see an allocation
    // and a lock made while armed, and nothing while disarmed.
    allocations = releases = locks = 0;
    armed = true;
    void* volatile p = std::malloc(64);
    std::free(p);
    std::string* volatile s = new std::string(100, 'x');
    delete s;
    armed = false;
    EXPECT_GE(allocations.load(), 2);
    EXPECT_GE(releases.load(), 2);
    const long seen = allocations.load();
    void* volatile q = std::malloc(64);
    std::free(q);
    EXPECT_EQ(allocations.load(), seen);
    if (kCountsLocks)
    {
        std::mutex m;
        armed = true;
        m.lock();
        m.unlock();
        armed = false;
        EXPECT_GE(locks.load(), 1);
    }
}
