#include "sdk/hosting/PluginModule.h"

#include "sdk/hosting/SharedLibrary.h"

#include <cstring>

namespace Steinberg {
namespace Hosting {

namespace {

using GetFactoryFunc = IPluginFactory* (*)();

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

std::string PluginModule::libraryInBundle(const std::string& bundlePath)
{
    const char* separators = SharedLibrary::pathSeparators();
    std::string bundle = bundlePath;
    while (bundle.size() > 1 && std::strchr(separators, bundle.back()))
        bundle.pop_back();
    std::string name = bundle.substr(bundle.find_last_of(separators) + 1);
    if (endsWith(name, ".vst3"))
        name.resize(name.size() - 5);
    return bundle + "/Contents/" + SharedLibrary::architectureFolder() + "/" + name + SharedLibrary::binarySuffix();
}

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error)
{
    // A bundle is a folder; a binary is a file (or, when missing, named like one).
    const bool isBinary = SharedLibrary::isFile(path) || endsWith(path, ".so") || endsWith(path, ".dll");
    const std::string library = isBinary ? path : libraryInBundle(path);
    std::string reason;
    void* handle = SharedLibrary::open(library, reason);
    if (!handle)
    {
        error = "cannot load " + library + ": " + reason;
        return nullptr;
    }
    std::unique_ptr<PluginModule> module(new PluginModule(handle, library));

    bool found = false;
    const bool entered = SharedLibrary::enter(handle, found);
    if (!found)
    {
        error = library + " exports no " + SharedLibrary::entryName();
        return nullptr;
    }
    if (!entered)
    {
        error = std::string(SharedLibrary::entryName()) + " of " + library + " failed";
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
        SharedLibrary::exit(handle);
    SharedLibrary::close(handle);
}

void* PluginModule::symbol(const char* name) const
{
    return SharedLibrary::symbol(handle, name);
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
