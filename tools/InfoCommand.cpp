#include "sdk/hosting/PluginModule.h"
#include "tools/BundleLocation.h"
#include "tools/Commands.h"
#include "tools/PluginSession.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdio>
#include <string>

using namespace Steinberg;

namespace {

// Steps beyond this many are shown as a range rather than listed.
constexpr int32_t kMaxListedSteps = 8;

std::string flagNames(int32_t flags)
{
    static const struct
    {
        int32_t bit;
        const char* name;
    } names[] = {
        {Vst::ParameterInfo::kCanAutomate, "automatable"},  {Vst::ParameterInfo::kIsReadOnly, "read-only"},
        {Vst::ParameterInfo::kIsWrapAround, "wrap-around"}, {Vst::ParameterInfo::kIsList, "list"},
        {Vst::ParameterInfo::kIsHidden, "hidden"},          {Vst::ParameterInfo::kIsProgramChange, "program-change"},
        {Vst::ParameterInfo::kIsBypass, "bypass"},
    };
    std::string text;
    for (const auto& entry : names)
        if (flags & entry.bit)
            text += (text.empty() ? "" : ",") + std::string(entry.name);
    return text.empty() ? "-" : text;
}

std::string rangeText(const PluginSession& session, const ParameterDescription& parameter)
{
    if (parameter.programChange() && !session.programs().empty())
        return session.programs().front() + " .. " + session.programs().back() + " (" +
               std::to_string(session.programs().size()) + " programs, below)";
    if (parameter.stepCount >= 1 && parameter.stepCount <= kMaxListedSteps)
    {
        std::string list;
        for (int32_t step = 0; step <= parameter.stepCount; ++step)
            list += (step ? " | " : "") + session.text(parameter.id, static_cast<double>(step) / parameter.stepCount);
        return list;
    }
    return session.text(parameter.id, 0.0) + " .. " + session.text(parameter.id, 1.0);
}

void printPluginLine(Hosting::PluginModule& module)
{
    PFactoryInfo factoryInfo;
    std::string vendor;
    if (module.factory()->getFactoryInfo(&factoryInfo) == kResultOk)
        vendor = factoryInfo.vendor;
    const int32 index = module.findClass(kVstAudioEffectClass);
    PClassInfo classInfo;
    std::string name = "plug-in";
    if (index >= 0 && module.factory()->getClassInfo(index, &classInfo) == kResultOk)
        name = classInfo.name;
    std::string version;
    FUnknownPtr<IPluginFactory2> factory2(module.factory());
    PClassInfo2 info2;
    if (factory2 && factory2->getClassInfo2(index, &info2) == kResultOk)
        version = info2.version;
    std::printf("%s%s%s%s\n  module: %s\n\n", name.c_str(), version.empty() ? "" : (" " + version).c_str(),
                vendor.empty() ? "" : " by ", vendor.c_str(), module.libraryPath().c_str());
}

} // namespace

int runInfo(const CommandLine& commandLine)
{
    std::string error;
    auto module = loadBundle(commandLine.bundle, error);
    if (!module)
        return fail(kExitFailure, error);
    auto session = PluginSession::create(*module, error);
    if (!session)
        return fail(kExitFailure, error);
    printPluginLine(*module);

    std::printf("Parameters:\n");
    std::printf("%3s  %-15s %-10s %-6s %-8s %-45s %s\n", "ID", "Title", "Short", "Units", "Default", "Range", "Flags");
    for (const ParameterDescription& parameter : session->parameters())
    {
        std::printf("%3u  %-15s %-10s %-6s %-8s %-45s %s\n", parameter.id, parameter.title.c_str(),
                    parameter.shortTitle.c_str(), parameter.units.empty() ? "-" : parameter.units.c_str(),
                    session->text(parameter.id, parameter.defaultNormalized).c_str(),
                    rangeText(*session, parameter).c_str(), flagNames(parameter.flags).c_str());
    }
    if (!session->programs().empty())
    {
        std::printf("\nPrograms (%s), chosen with --program NAME:\n", session->programListName().c_str());
        for (size_t i = 0; i < session->programs().size(); ++i)
            std::printf("%3zu  %s\n", i, session->programs()[i].c_str());
    }
    std::printf("\nValues are given as the texts above (e.g. --set \"Left Gain=-6\"), or normalised as norm(x).\n");
    return kExitSuccess;
}
