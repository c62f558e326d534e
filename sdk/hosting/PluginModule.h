#pragma once

// Loads a VST 3 module as a host does: the binary inside the bundle (dlopen
// and ModuleEntry on Linux, LoadLibraryW and InitDll on Windows), then
// GetPluginFactory; and the reverse on unload.

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include <memory>
#include <string>

namespace Steinberg {
namespace Hosting {

class PluginModule
{
public:
    // `path` is a bundle ("X.vst3") or the binary itself (UTF-8). Null with a
    // reason in `error` when the module cannot be loaded.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);

    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    IPluginFactory* factory() const { return pluginFactory; }
    const std::string& libraryPath() const { return path; }

    // Any exported symbol of the module; null if it has none of that name.
    void* symbol(const char* name) const;

    // The index of the first class of `category` ("Audio Module Class", ...), or -1.
    int32 findClass(const char* category) const;

    // The binary inside a bundle for this machine's architecture:
    // Contents/x86_64-linux/X.so or Contents/x86_64-win/X.vst3.
    static std::string libraryInBundle(const std::string& bundlePath);

private:
    PluginModule(void* handle, std::string path);

    void* handle = nullptr;
    std::string path;
    IPtr<IPluginFactory> pluginFactory;
    bool entered = false; // ModuleEntry succeeded, so ModuleExit is due
};

} // namespace Hosting
} // namespace Steinberg
