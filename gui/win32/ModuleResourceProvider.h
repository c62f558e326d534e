#pragma once

#include "gui/IResourceProvider.h"

#include <windows.h>

namespace VSTGUI {
namespace Win32 {

// Resources stored in a module: a file "name.ext" is the resource named
// "NAME.EXT", of type "PNG" for PNG files and "DATA" for anything else.
class ModuleResourceProvider : public IResourceProvider
{
public:
    explicit ModuleResourceProvider(HMODULE module) : module(module) {}

    // The provider of the module that holds address (a function or object
    // inside it); null if there is none.
    static SharedPointer<IResourceProvider> forModuleAt(const void* address);

    bool read(const std::string& name, std::string& bytes) const override;
    HMODULE getModule() const { return module; }

    static std::wstring resourceName(const std::string& fileName);
    static const wchar_t* resourceType(const std::string& fileName);

private:
    HMODULE module;
};

} // namespace Win32
} // namespace VSTGUI
