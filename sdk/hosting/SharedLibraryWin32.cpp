#include "sdk/hosting/SharedLibrary.h"

#include "sdk/Utf16.h"

#include <windows.h>

#include <vector>

namespace Steinberg {
namespace Hosting {
namespace SharedLibrary {

namespace {

using InitDllFunc = bool (*)();
using ExitDllFunc = bool (*)();

std::string lastErrorText()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string result = "error " + std::to_string(code);
    if (length > 0 && text)
    {
        std::string message = utf16ToUtf8(reinterpret_cast<const char16*>(text));
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
            message.pop_back();
        result += ": " + message;
    }
    LocalFree(text);
    return result;
}

} // namespace

std::string architectureFolder()
{
    return "x86_64-win";
}

const char* binarySuffix()
{
    return ".vst3";
}

void* open(const std::string& path, std::string& error)
{
    // UTF-16 all the way: a module path with any characters loads.
    std::vector<char16> widePath(path.size() + 1);
    utf8ToUtf16(path.c_str(), widePath.data(), static_cast<int32>(widePath.size()));
    HMODULE module = LoadLibraryW(reinterpret_cast<LPCWSTR>(widePath.data()));
    if (!module)
        error = lastErrorText();
    return module;
}

void* symbol(void* handle, const char* name)
{
    if (!handle)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void close(void* handle)
{
    if (handle)
        FreeLibrary(static_cast<HMODULE>(handle));
}

const char* entryName()
{
    return "InitDll";
}

bool enter(void* handle, bool& found)
{
    auto entry = reinterpret_cast<InitDllFunc>(symbol(handle, entryName()));
    found = entry != nullptr;
    return entry && entry();
}

void exit(void* handle)
{
    if (auto exitDll = reinterpret_cast<ExitDllFunc>(symbol(handle, "ExitDll")))
        exitDll();
}

} // namespace SharedLibrary
} // namespace Hosting
} // namespace Steinberg
