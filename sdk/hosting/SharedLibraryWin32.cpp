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

// UTF-16 all the way, so a path with any characters works; the loader wants
// backslashes.
std::wstring widePath(const std::string& path)
{
    std::vector<char16> units(path.size() + 1);
    utf8ToUtf16(path.c_str(), units.data(), static_cast<int32>(units.size()));
    std::wstring wide(reinterpret_cast<const wchar_t*>(units.data()));
    for (wchar_t& unit : wide)
    {
        if (unit == L'/')
            unit = L'\\';
    }
    return wide;
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

const char* pathSeparators()
{
    return "/\\";
}

bool isFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void* open(const std::string& path, std::string& error)
{
    HMODULE module = LoadLibraryW(widePath(path).c_str());
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
