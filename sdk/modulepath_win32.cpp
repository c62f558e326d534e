// Where the loaded DLL lives, found through the instance handle DllMain keeps.

#include "sdk/Utf16.h"
#include "sdk/moduleentry.h"

#include <windows.h>

#include <vector>

namespace Steinberg {

namespace {

HMODULE thisModule()
{
    if (void* handle = getModuleHandle())
        return static_cast<HMODULE>(handle);
    // Before DllMain ran (or in a program linking this code): any address
    // inside the module names it.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

} // namespace

std::string getModulePath()
{
    const HMODULE module = thisModule();
    if (!module)
        return {};
    // Paths may be longer than MAX_PATH; grow until the name fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;)
    {
        const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            break;
        name.resize(name.size() * 2);
    }
    static_assert(sizeof(wchar_t) == sizeof(char16), "UTF-16 file names");
    return utf16ToUtf8(reinterpret_cast<const char16*>(name.data()));
}

} // namespace Steinberg
