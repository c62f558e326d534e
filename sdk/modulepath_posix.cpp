// Where the loaded shared object lives.

#include "sdk/moduleentry.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace Steinberg {

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

} // namespace Steinberg
