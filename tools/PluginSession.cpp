#include "tools/PluginSession.h"

#include "sdk/Utf16.h"
#include "tools/Automation.h"
#include "tools/NameMatch.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <cmath>
#include <cstdlib>

using namespace Steinberg;

namespace {

// The title of the switch that turns the plug-in's scope data on.
constexpr const char* kScopeSwitchTitle = "Scope";

// Steps whose texts are worth offering by name (switches and lists).
constexpr int32_t kMaxNamedSteps = 64;

} // namespace

bool ParameterDescription::automatable() const
{
    return (flags & Vst::ParameterInfo::kCanAutomate) != 0;
}

bool ParameterDescription::programChange() const
{
    return (flags & Vst::ParameterInfo::kIsProgramChange) != 0;
}

std::unique_ptr<PluginSession> PluginSession::create(Hosting::PluginModule& module, std::string& error)
{
    const int32 classIndex = module.findClass(kVstAudioEffectClass);
    if (classIndex < 0)
    {
        error = module.libraryPath() + " offers no audio effect class";
        return nullptr;
    }
    std::unique_ptr<PluginSession> session(new PluginSession());
    session->plugin = Hosting::PluginInstance::create(
        module.factory(), classIndex, static_cast<Vst::IHostApplication*>(&session->hostContext), error);
    if (!session->plugin)
        return nullptr;
    if (!session->plugin->controller())
    {
        error = "the plug-in's edit controller could not be created";
        return nullptr;
    }
    session->plugin->controller()->setComponentHandler(&session->handler);
    if (!session->connect(error) || !session->readParameters(error))
        return nullptr;
    session->readPrograms();
    if (session->plugin->transferState() != kResultOk)
    {
        error = "the controller did not take the processor's state";
        return nullptr;
    }
    return session;
}

bool PluginSession::connect(std::string& error)
{
    componentConnection = FUnknownPtr<Vst::IConnectionPoint>(plugin->component());
    controllerConnection = FUnknownPtr<Vst::IConnectionPoint>(plugin->controller());
    if (!componentConnection || !controllerConnection)
    {
        error = "the plug-in's processor and controller have no connection points";
        return false;
    }
    // The processor talks to the tap, which passes everything on to the
    // controller; the controller talks to the processor directly.
    tap = owned(new ScopeTap(controllerConnection));
    if (componentConnection->connect(tap) != kResultOk ||
        controllerConnection->connect(componentConnection) != kResultOk)
    {
        error = "the plug-in's processor and controller refused to connect";
        return false;
    }
    return true;
}

PluginSession::~PluginSession()
{
    if (plugin)
    {
        plugin->setProcessing(false); // joins the plug-in's scope thread before the tap goes
        plugin->setActive(false);
        if (componentConnection && tap)
            componentConnection->disconnect(tap);
        if (controllerConnection && componentConnection)
            controllerConnection->disconnect(componentConnection);
        plugin.reset();
    }
}

bool PluginSession::readParameters(std::string& error)
{
    Vst::IEditController* controller = plugin->controller();
    const int32 count = controller->getParameterCount();
    if (count <= 0)
    {
        error = "the plug-in reports no parameters";
        return false;
    }
    for (int32 index = 0; index < count; ++index)
    {
        Vst::ParameterInfo info{};
        if (controller->getParameterInfo(index, info) != kResultOk)
            continue;
        ParameterDescription description;
        description.id = info.id;
        description.title = utf16ToUtf8(info.title);
        description.shortTitle = utf16ToUtf8(info.shortTitle);
        description.units = utf16ToUtf8(info.units);
        description.stepCount = info.stepCount;
        description.defaultNormalized = info.defaultNormalizedValue;
        description.flags = info.flags;
        parameterList.push_back(description);
    }
    return true;
}

void PluginSession::readPrograms()
{
    FUnknownPtr<Vst::IUnitInfo> units(plugin->controller());
    if (!units || units->getProgramListCount() < 1)
        return;
    Vst::ProgramListInfo list{};
    if (units->getProgramListInfo(0, list) != kResultOk)
        return;
    programList = utf16ToUtf8(list.name);
    for (int32 i = 0; i < list.programCount; ++i)
    {
        Vst::String128 name{};
        if (units->getProgramName(list.id, i, name) == kResultOk)
            programNames.push_back(utf16ToUtf8(name));
    }
}

const ParameterDescription* PluginSession::programParameter() const
{
    for (const ParameterDescription& parameter : parameterList)
        if (parameter.programChange())
            return &parameter;
    return nullptr;
}

const ParameterDescription* PluginSession::scopeSwitch() const
{
    for (const ParameterDescription& parameter : parameterList)
        if (parameter.title == kScopeSwitchTitle)
            return &parameter;
    return nullptr;
}

std::string PluginSession::text(uint32_t id, double normalized) const
{
    Vst::String128 text{};
    if (plugin->controller()->getParamStringByValue(id, normalized, text) != kResultOk)
        return {};
    return utf16ToUtf8(text);
}

double PluginSession::plain(uint32_t id, double normalized) const
{
    return plugin->controller()->normalizedParamToPlain(id, normalized);
}

const ParameterDescription* PluginSession::findParameter(const std::string& name, std::string& error) const
{
    for (const ParameterDescription& parameter : parameterList)
        if (NameMatch::equalsIgnoringCase(name, parameter.title) ||
            NameMatch::equalsIgnoringCase(name, parameter.shortTitle))
            return &parameter;
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos && name.size() < 10)
    {
        const unsigned long id = std::strtoul(name.c_str(), nullptr, 10);
        for (const ParameterDescription& parameter : parameterList)
            if (parameter.id == id)
                return &parameter;
    }
    std::vector<std::string> names;
    for (const ParameterDescription& parameter : parameterList)
    {
        names.push_back(parameter.title);
        names.push_back(parameter.shortTitle);
    }
    error = "no parameter is called '" + name + "'";
    const std::string suggestion = NameMatch::nearest(name, names);
    if (!suggestion.empty())
        error += " (did you mean '" + suggestion + "'?)";
    error += "; `kalvior info` lists them";
    return nullptr;
}

bool PluginSession::findProgram(const std::string& name, int& index, std::string& error) const
{
    for (size_t i = 0; i < programNames.size(); ++i)
        if (NameMatch::equalsIgnoringCase(name, programNames[i]))
        {
            index = static_cast<int>(i);
            return true;
        }
    error = "no factory program is called '" + name + "'";
    const std::string suggestion = NameMatch::nearest(name, programNames);
    if (!suggestion.empty())
        error += " (did you mean '" + suggestion + "'?)";
    else
    {
        error += "; the programs are:";
        for (const std::string& program : programNames)
            error += " '" + program + "'";
    }
    return false;
}

double PluginSession::programValue(int index) const
{
    const ParameterDescription* selector = programParameter();
    if (!selector)
        return 0.0;
    return plugin->controller()->plainParamToNormalized(selector->id, index);
}

bool PluginSession::resolveValue(const ParameterDescription& parameter, const std::string& text, double& normalized,
                                 std::string& error, std::string& warning) const
{
    warning.clear();
    std::string normError;
    if (parseNormalizedText(text, normalized, normError))
        return true;
    // norm(...), but malformed
    if (!normError.empty())
    {
        error = normError;
        return false;
    }

    // The named steps of a switch or a list, as the controller shows them.
    if (parameter.stepCount >= 1 && parameter.stepCount <= kMaxNamedSteps)
    {
        for (int32_t step = 0; step <= parameter.stepCount; ++step)
        {
            const double value = static_cast<double>(step) / parameter.stepCount;
            if (NameMatch::equalsIgnoringCase(text, this->text(parameter.id, value)))
            {
                normalized = value;
                return true;
            }
        }
    }
    // A text that only the minimum shows, such as a fader's "-inf".
    if (text == this->text(parameter.id, 0.0))
    {
        normalized = 0.0;
        return true;
    }

    Vst::String128 wide{};
    utf8ToUtf16(text.c_str(), wide, 128);
    Vst::ParamValue value = 0.0;
    if (plugin->controller()->getParamValueByString(parameter.id, wide, value) != kResultOk)
    {
        error = "'" + text + "' is not a value of " + parameter.title;
        if (parameter.stepCount >= 1 && parameter.stepCount <= kMaxNamedSteps)
        {
            std::vector<std::string> choices;
            std::string list;
            for (int32_t step = 0; step <= parameter.stepCount; ++step)
            {
                choices.push_back(this->text(parameter.id, static_cast<double>(step) / parameter.stepCount));
                list += (step ? ", '" : "'") + choices.back() + "'";
            }
            const std::string suggestion = NameMatch::nearest(text, choices);
            error += suggestion.empty() ? "; it takes " + list : " (did you mean '" + suggestion + "'?)";
        }
        else
        {
            error += "; it takes numbers from " + this->text(parameter.id, 0.0) + " to " +
                     this->text(parameter.id, 1.0) + (parameter.units.empty() ? "" : " " + parameter.units) +
                     ", or norm(x)";
        }
        return false;
    }
    normalized = value;
    // The controller clamps; say so when the number asked for was cut.
    double asked = 0.0;
    if ((value <= 0.0 || value >= 1.0) && parseNumber(text, asked))
    {
        const double reached = plain(parameter.id, value);
        if (std::fabs(reached - asked) > 1e-9 * std::max(1.0, std::fabs(asked)))
            warning = parameter.title + " " + text + " is out of range; using " + this->text(parameter.id, value);
    }
    return true;
}
