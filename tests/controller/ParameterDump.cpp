// Lists the plug-in's parameters as a host's generic editor would: loads the
// built bundle, creates and initialises its controller, and prints each
// parameter's ID, title, short title, units, step count, default, flags and
// the text of its current value. Exits with 1 unless there are 29.

#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"

#include <cstdio>
#include <string>

using namespace Steinberg;

namespace {

std::string narrow(const Vst::TChar* text)
{
    std::string result;
    for (; text && *text; ++text)
        result.push_back(*text < 128 ? static_cast<char>(*text) : '?');
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string bundle = argc > 1 ? argv[1] : KALVIOR_BUNDLE_DIR;
    std::string error;
    auto module = Hosting::PluginModule::load(bundle, error);
    if (!module)
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    Hosting::HostContext host("Parameter Dump");
    auto instance =
        Hosting::PluginInstance::create(module->factory(), module->findClass("Audio Module Class"), &host, error);
    if (!instance || !instance->controller())
    {
        std::fprintf(stderr, "%s\n", instance ? "no edit controller" : error.c_str());
        return 1;
    }
    instance->connect();
    instance->transferState();

    Vst::IEditController* controller = instance->controller();
    const int32 count = controller->getParameterCount();
    std::printf("%-3s %-15s %-10s %-5s %5s %9s %7s  %s\n", "ID", "Title", "Short", "Units", "Steps", "Default", "Flags",
                "Current");
    for (int32 index = 0; index < count; ++index)
    {
        Vst::ParameterInfo info{};
        controller->getParameterInfo(index, info);
        Vst::String128 current = {};
        controller->getParamStringByValue(info.id, controller->getParamNormalized(info.id), current);
        std::printf("%-3u %-15s %-10s %-5s %5d %9.6f %#7x  %s\n", info.id, narrow(info.title).c_str(),
                    narrow(info.shortTitle).c_str(), narrow(info.units).c_str(), info.stepCount,
                    info.defaultNormalizedValue, static_cast<unsigned>(info.flags), narrow(current).c_str());
    }
    return count == 29 ? 0 : 1;
}
