#include "sdk/hosting/SharedLibrary.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/utsname.h>

namespace Steinberg {
namespace Hosting {
namespace SharedLibrary {

namespace {

using ModuleEntryFunc = bool (*)(void*);
using ModuleExitFunc = bool (*)();

} // namespace

std::string architectureFolder()
{
    utsname names{};
    if (uname(&names) != 0)
        return "x86_64-linux";
    return std::string(names.machine) + "-linux";
}

const char* binarySuffix()
{
    return ".so";
}

const char* pathSeparators()
{
    return "/";
}

bool isFile(const std::string& path)
{
    struct stat status
    {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void* open(const std::string& path, std::string& error)
{
    void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle)
    {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
    }
    return handle;
}

void* symbol(void* handle, const char* name)
{
    return handle ? dlsym(handle, name) : nullptr;
}

void close(void* handle)
{
    if (handle)
        dlclose(handle);
}

const char* entryName()
{
    return "ModuleEntry";
}

bool enter(void* handle, bool& found)
{
    auto entry = reinterpret_cast<ModuleEntryFunc>(symbol(handle, entryName()));
    found = entry != nullptr;
    return entry && entry(handle);
}

void exit(void* handle)
{
    if (auto exitModule = reinterpret_cast<ModuleExitFunc>(symbol(handle, "ModuleExit")))
        exitModule();
}

} // namespace SharedLibrary
} // namespace Hosting
} // namespace Steinberg
