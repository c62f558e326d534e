// The module's handle and its bundle's resource folder, on every platform;
// where the module itself lives is the platform's part (modulepath_posix.cpp,
// modulepath_win32.cpp).

#include "sdk/moduleentry.h"

#include <atomic>

namespace Steinberg {

namespace {

std::atomic<void*> moduleHandle{nullptr};

#if defined(_WIN32)
constexpr const char* kSeparators = "\\/";
constexpr const char* kResources = "\\Resources";
#else
constexpr const char* kSeparators = "/";
constexpr const char* kResources = "/Resources";
#endif

std::string parentOf(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of(kSeparators);
    if (slash == std::string::npos || slash == 0)
        return {};
    return path.substr(0, slash);
}

} // namespace

void* getModuleHandle()
{
    return moduleHandle.load();
}

void setModuleHandle(void* handle)
{
    moduleHandle.store(handle);
}

std::string getModuleResourcesPath()
{
    const std::string contents = parentOf(parentOf(getModulePath()));
    if (contents.empty())
        return {};
    return contents + kResources;
}

} // namespace Steinberg
