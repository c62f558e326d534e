// Runs module entry points in a fresh process, so that every run is a first
// load of the module. Usage: kv_module_probe <bundle> <step>...
// Steps: load, unload, entry (ModuleEntry), exit (ModuleExit), init (InitDll),
// release (ExitDll), setenv:<value>, unsetenv, sizes (canProcessSampleSize of
// 32 and 64 bits on a new processor), cycle (release the factory completely,
// then ask for it again). Prints one token per step that answers.

#include "sdk/hosting/PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>

using namespace Steinberg;

namespace {

constexpr const char* kVariable = "Kalvior_FORCE_SAMPLESIZE";

template <typename F>
F function(void* handle, const char* name)
{
    return handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
}

std::string sampleSizes(void* handle)
{
    auto getFactory = function<IPluginFactory* (*)()>(handle, "GetPluginFactory");
    if (!getFactory)
        return "sizes=nofactory";
    IPluginFactory* factory = getFactory();
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
std::string factoryCycle(void* handle)
{
    auto getFactory = function<IPluginFactory* (*)()>(handle, "GetPluginFactory");
    if (!getFactory)
        return "cycle=nofactory";
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
    auto say = [&out](const std::string& token)
    {
        out += (out.empty() ? "" : " ") + token;
    };
    for (int i = 2; i < argc; ++i)
    {
        const std::string step = argv[i];
        if (step == "load")
            handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        else if (step == "unload")
        {
            if (handle)
                dlclose(handle);
            handle = nullptr;
        }
        else if (step == "entry")
        {
            auto f = function<bool (*)(void*)>(handle, "ModuleEntry");
            say(std::string("entry=") + (f ? (f(handle) ? "1" : "0") : "missing"));
        }
        else if (step == "exit")
        {
            auto f = function<bool (*)()>(handle, "ModuleExit");
            say(std::string("exit=") + (f ? (f() ? "1" : "0") : "missing"));
        }
        else if (step == "init")
        {
            auto f = function<bool (*)()>(handle, "InitDll");
            say(std::string("init=") + (f ? (f() ? "1" : "0") : "missing"));
        }
        else if (step == "release")
        {
            auto f = function<bool (*)()>(handle, "ExitDll");
            say(std::string("release=") + (f ? (f() ? "1" : "0") : "missing"));
        }
        else if (step.rfind("setenv:", 0) == 0)
            setenv(kVariable, step.c_str() + 7, 1);
        else if (step == "unsetenv")
            unsetenv(kVariable);
        else if (step == "sizes")
            say(sampleSizes(handle));
        else if (step == "cycle")
            say(factoryCycle(handle));
        else
        {
            std::fprintf(stderr, "unknown step %s\n", step.c_str());
            return 2;
        }
        if (!handle && step == "load")
        {
            std::fprintf(stderr, "cannot load %s: %s\n", library.c_str(), dlerror());
            return 3;
        }
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
