#include "sdk/moduleentry.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace Steinberg {

namespace {

std::atomic<void*> moduleHandle{nullptr};

std::string parentOf(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('/');
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

std::string getModulePath()
{
    Dl_info info{};
    // Any address inside this shared object names it.
    if (dladdr(reinterpret_cast<void*>(&getModulePath), &info) == 0 || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    if (!realpath(info.dli_fname, resolved))
        return {};
    return resolved;
}

std::string getModuleResourcesPath()
{
    const std::string contents = parentOf(parentOf(getModulePath()));
    if (contents.empty())
        return {};
    return contents + "/Resources";
}

} // namespace Steinberg
