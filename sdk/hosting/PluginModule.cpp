#include "sdk/hosting/PluginModule.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <cstring>

namespace Steinberg {
namespace Hosting {

namespace {

using ModuleEntryFunc = bool (*)(void*);
using ModuleExitFunc = bool (*)();
using GetFactoryFunc = IPluginFactory* (*)();

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string architectureFolder()
{
    utsname names{};
    if (uname(&names) != 0)
        return "x86_64-linux";
    return std::string(names.machine) + "-linux";
}

} // namespace

std::string PluginModule::libraryInBundle(const std::string& bundlePath)
{
    std::string bundle = bundlePath;
    while (bundle.size() > 1 && bundle.back() == '/')
        bundle.pop_back();
    std::string name = bundle.substr(bundle.find_last_of('/') + 1);
    if (endsWith(name, ".vst3"))
        name.resize(name.size() - 5);
    return bundle + "/Contents/" + architectureFolder() + "/" + name + ".so";
}

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error)
{
    const std::string library = endsWith(path, ".so") ? path : libraryInBundle(path);
    void* handle = dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (!handle)
    {
        const char* reason = dlerror();
        error = "cannot load " + library + ": " + (reason ? reason : "unknown error");
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(handle, library));

    auto entry = reinterpret_cast<ModuleEntryFunc>(module->symbol("ModuleEntry"));
    if (!entry)
    {
        error = library + " exports no ModuleEntry";
        return nullptr;
    }
    if (!entry(handle))
    {
        error = "ModuleEntry of " + library + " failed";
        return nullptr;
    }
    module->entered = true;

    auto getFactory = reinterpret_cast<GetFactoryFunc>(module->symbol("GetPluginFactory"));
    if (!getFactory)
    {
        error = library + " exports no GetPluginFactory";
        return nullptr;
    }
    module->pluginFactory = owned(getFactory());
    if (!module->pluginFactory)
    {
        error = "GetPluginFactory of " + library + " returned no factory";
        return nullptr;
    }
    return module;
}

PluginModule::PluginModule(void* handle, std::string path) : handle(handle), path(std::move(path)) {}

PluginModule::~PluginModule()
{
    pluginFactory = nullptr;
    if (entered)
    {
        if (auto exitModule = reinterpret_cast<ModuleExitFunc>(symbol("ModuleExit")))
            exitModule();
    }
    if (handle)
        dlclose(handle);
}

void* PluginModule::symbol(const char* name) const
{
    return handle ? dlsym(handle, name) : nullptr;
}

int32 PluginModule::findClass(const char* category) const
{
    if (!pluginFactory)
        return -1;
    const int32 count = pluginFactory->countClasses();
    for (int32 i = 0; i < count; ++i)
    {
        PClassInfo info;
        if (pluginFactory->getClassInfo(i, &info) == kResultOk &&
            std::strncmp(info.category, category, sizeof(info.category)) == 0)
            return i;
    }
    return -1;
}

} // namespace Hosting
} // namespace Steinberg
