#include "tools/PlanBuilder.h"

#include <cmath>
#include <set>

bool buildRenderPlan(const PluginSession& session, const RenderRequest& request, double sampleRate, RenderPlan& plan,
                     std::string& error, std::vector<std::string>& warnings)
{
    plan.sampleRate = sampleRate;
    plan.blockSize = request.blockSize;
    plan.precision = request.precision;
    plan.drawScope = !request.scopePicture.empty();
    plan.program = -1;
    plan.values.clear();
    plan.automation.clear();

    if (!request.program.empty() && !session.findProgram(request.program, plan.program, error))
        return false;

    // A value text through the controller; a clamped value is worth a warning.
    auto resolve = [&](const ParameterDescription& parameter, const std::string& text, double& value)
    {
        std::string warning;
        if (!session.resolveValue(parameter, text, value, error, warning))
            return false;
        if (!warning.empty())
            warnings.push_back(warning);
        return true;
    };

    std::set<uint32_t> automated;
    for (const AutomationText& automation : request.automation)
    {
        const ParameterDescription* parameter = session.findParameter(automation.parameter, error);
        if (!parameter)
            return false;
        if (!parameter->automatable())
        {
            error = parameter->title + " cannot be automated (the plug-in takes it once per block); use --set";
            return false;
        }
        if (!automated.insert(parameter->id).second)
        {
            error = parameter->title + " is automated twice; give all its breakpoints in one --automate";
            return false;
        }
        std::vector<AutomationCurve::Point> points;
        for (const AutomationPointText& point : automation.points)
        {
            double value = 0.0;
            if (!resolve(*parameter, point.value, value))
                return false;
            points.push_back({static_cast<int64_t>(std::llround(point.seconds * sampleRate)), value});
        }
        plan.automation.emplace_back(parameter->id, AutomationCurve(std::move(points)));
    }

    for (const ParameterSettingText& setting : request.settings)
    {
        const ParameterDescription* parameter = session.findParameter(setting.parameter, error);
        if (!parameter)
            return false;
        if (parameter->programChange())
        {
            error = "choose programs with --program, not --set \"" + setting.parameter + "=...\"";
            return false;
        }
        if (automated.count(parameter->id))
        {
            error = parameter->title + " is both set and automated; give its value as a breakpoint instead";
            return false;
        }
        double value = 0.0;
        if (!resolve(*parameter, setting.value, value))
            return false;
        // A later --set of the same parameter wins, as on a mixing desk.
        bool replaced = false;
        for (auto& [id, existing] : plan.values)
            if (id == parameter->id)
            {
                existing = value;
                replaced = true;
            }
        if (!replaced)
            plan.values.emplace_back(parameter->id, value);
    }

    if (plan.drawScope)
    {
        const ParameterDescription* scopeSwitch = session.scopeSwitch();
        for (const auto& [id, value] : plan.values)
            if (scopeSwitch && id == scopeSwitch->id && value < 0.5)
            {
                error = "--scope draws the plug-in's own scope data, which needs " + scopeSwitch->title + " on";
                return false;
            }
    }
    return true;
}
