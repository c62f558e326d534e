#include "tests/support/RealtimeCounting.h"

#include <atomic>
#include <cstddef>

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

} // namespace

namespace RealtimeCounting {

void arm()
{
    allocations = releases = locks = 0;
    armed = true;
}

Counts disarm()
{
    armed = false;
    return {allocations.load(), releases.load(), locks.load()};
}

} // namespace RealtimeCounting

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

// Part of every sanitizer runtime (GCC ships no header declaring it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onAllocate)(const volatile void*, size_t),
                                                         void (*onRelease)(const volatile void*));
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

#else

#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>

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

#define KV_COUNTED_LOCK(name, Type)                                                                                    \
    KV_EXPORT int name(Type* lock)                                                                                     \
    {                                                                                                                  \
        if (armed)                                                                                                     \
            ++locks;                                                                                                   \
        static const auto real = reinterpret_cast<int (*)(Type*)>(dlsym(RTLD_NEXT, #name));                            \
        return real(lock);                                                                                             \
    }

KV_COUNTED_LOCK(pthread_mutex_lock, pthread_mutex_t)
KV_COUNTED_LOCK(pthread_mutex_trylock, pthread_mutex_t)
KV_COUNTED_LOCK(pthread_rwlock_rdlock, pthread_rwlock_t)
KV_COUNTED_LOCK(pthread_rwlock_wrlock, pthread_rwlock_t)
KV_COUNTED_LOCK(pthread_spin_lock, pthread_spinlock_t)
KV_COUNTED_LOCK(sem_wait, sem_t)

#endif
