#include "gui/win32/ModuleResourceProvider.h"

#include "gui/win32/Win32Text.h"

#include <cwctype>

namespace VSTGUI {
namespace Win32 {

namespace {

constexpr const wchar_t* kPngType = L"PNG";
constexpr const wchar_t* kDataType = L"DATA";

std::string baseName(const std::string& path)
{
    const auto separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

SharedPointer<IResourceProvider> ModuleResourceProvider::forModuleAt(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return nullptr;
    return owned<IResourceProvider>(new ModuleResourceProvider(module));
}

std::wstring ModuleResourceProvider::resourceName(const std::string& fileName)
{
    std::wstring name = toWide(baseName(fileName));
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    return name;
}

const wchar_t* ModuleResourceProvider::resourceType(const std::string& fileName)
{
    const std::wstring name = resourceName(fileName);
    const size_t length = name.size();
    return length > 4 && name.compare(length - 4, 4, L".PNG") == 0 ? kPngType : kDataType;
}

bool ModuleResourceProvider::read(const std::string& name, std::string& bytes) const
{
    const std::wstring resource = resourceName(name);
    if (!module || resource.empty())
        return false;
    HRSRC info = FindResourceW(module, resource.c_str(), resourceType(name));
    if (!info)
        return false;
    HGLOBAL handle = LoadResource(module, info);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data)
        return false;
    // Resources live as long as the module: nothing to free.
    bytes.assign(static_cast<const char*>(data), SizeofResource(module, info));
    return true;
}

} // namespace Win32
} // namespace VSTGUI
