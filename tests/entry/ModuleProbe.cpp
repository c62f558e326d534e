// Runs module entry points in a fresh process, so that every run is a first
// load of the module. Usage: kv_module_probe <bundle> <step>...
// Steps: load, unload, entry (ModuleEntry), exit (ModuleExit), init (InitDll),
// release (ExitDll), setenv:<value>, sizes (canProcessSampleSize of
// 32 and 64 bits on a new processor), cycle (release the factory completely,
// then ask for it again). Prints one token per step that answers.

#include "sdk/hosting/PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>

using namespace Steinberg;

namespace {

constexpr const char* kVariable = "Kalvior_FORCE_SAMPLESIZE";

std::string sampleSizes(IPluginFactory* factory)
{
    PClassInfo info;
    Vst::IAudioProcessor* processor = nullptr;
    std::string answer = "sizes=none";
    if (factory && factory->getClassInfo(0, &info) == kResultOk &&
        factory->createInstance(info.cid, Vst::IAudioProcessor::iid, reinterpret_cast<void**>(&processor)) == kResultOk)
    {
        answer = std::string("32=") + (processor->canProcessSampleSize(Vst::kSample32) == kResultTrue ? "1" : "0") +
                 " 64=" + (processor->canProcessSampleSize(Vst::kSample64) == kResultTrue ? "1" : "0");
        processor->release();
    }
    if (factory)
        factory->release();
    return answer;
}

// The factory goes when its last reference does; the next request builds a new one.
std::string factoryCycle(IPluginFactory* (*getFactory)())
{
    IPluginFactory* first = getFactory();
    const uint32 left = first ? first->release() : 99;
    IPluginFactory* second = getFactory();
    if (!second)
        return "cycle=null";
    const int32 classes = second->countClasses();
    const uint32 references = second->addRef();
    second->release();
    second->release();
    return "cycle=" + std::to_string(left) + "," + std::to_string(classes) + "," + std::to_string(references);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s <bundle> <step>...\n", argv[0]);
        return 2;
    }
    const std::string library = Hosting::PluginModule::libraryInBundle(argv[1]);
    void* handle = nullptr;
    std::string out;
    auto symbol = [&handle](const char* name)
    {
        return handle ? dlsym(handle, name) : nullptr;
    };
    // A step calling a bool function of the module: "token=1", "token=0" or "token=missing".
    auto call = [&](const char* token, const char* name, bool passHandle)
    {
        void* f = symbol(name);
        const bool ok =
            f && (passHandle ? reinterpret_cast<bool (*)(void*)>(f)(handle) : reinterpret_cast<bool (*)()>(f)());
        return std::string(token) + "=" + (f ? (ok ? "1" : "0") : "missing");
    };
    for (int i = 2; i < argc; ++i)
    {
        const std::string step = argv[i];
        std::string token;
        auto getFactory = reinterpret_cast<IPluginFactory* (*)()>(symbol("GetPluginFactory"));
        if (step == "load" && !(handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL)))
        {
            std::fprintf(stderr, "cannot load %s: %s\n", library.c_str(), dlerror());
            return 3;
        }
        else if (step == "unload" && handle)
        {
            dlclose(handle);
            handle = nullptr;
        }
        else if (step == "entry")
            token = call("entry", "ModuleEntry", true);
        else if (step == "exit")
            token = call("exit", "ModuleExit", false);
        else if (step == "init")
            token = call("init", "InitDll", false);
        else if (step == "release")
            token = call("release", "ExitDll", false);
        else if (step.rfind("setenv:", 0) == 0)
            setenv(kVariable, step.c_str() + 7, 1);
        else if (step == "sizes")
            token = sampleSizes(getFactory ? getFactory() : nullptr);
        else if (step == "cycle")
            token = getFactory ? factoryCycle(getFactory) : "cycle=nofactory";
        else if (step != "load" && step != "unload")
        {
            std::fprintf(stderr, "unknown step %s\n", step.c_str());
            return 2;
        }
        if (!token.empty())
            out += (out.empty() ? "" : " ") + token;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
