#pragma once

#include "sdk/hosting/ComponentHandler.h"
#include "sdk/hosting/HostContext.h"
#include "sdk/hosting/PluginInstance.h"
#include "sdk/hosting/PluginModule.h"
#include "tools/ScopeTap.h"

#include "pluginterfaces/base/smartpointer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What the controller says about one parameter.
struct ParameterDescription
{
    uint32_t id = 0;
    std::string title;
    std::string shortTitle;
    std::string units;
    int32_t stepCount = 0;
    double defaultNormalized = 0.0;
    int32_t flags = 0;

    bool automatable() const;
    bool programChange() const;
};

// One instance of the plug-in, set up as a DAW sets one up: processor and
// controller made through the module's factory and initialised with the host
// context, the controller following the processor's state, and the two
// connected, the processor through a ScopeTap. Parameters and programs are
// read from the controller; values are parsed and shown by the controller.
class PluginSession
{
public:
    static std::unique_ptr<PluginSession> create(Steinberg::Hosting::PluginModule& module, std::string& error);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    Steinberg::Hosting::PluginInstance& instance() { return *plugin; }
    ScopeTap& scopeTap() { return *tap; }

    const std::vector<ParameterDescription>& parameters() const { return parameterList; }
    const std::vector<std::string>& programs() const { return programNames; }
    const std::string& programListName() const { return programList; }
    // The parameter that selects programs, or null.
    const ParameterDescription* programParameter() const;
    // The switch of the plug-in's scope data ("Scope"), or null.
    const ParameterDescription* scopeSwitch() const;

    // The controller's display text of a normalised value.
    std::string text(uint32_t id, double normalized) const;
    // The controller's plain value (dB, Hz, ...) of a normalised value.
    double plain(uint32_t id, double normalized) const;

    // By title, short title (both ignoring case) or ID number; null with a
    // message suggesting the nearest name otherwise.
    const ParameterDescription* findParameter(const std::string& name, std::string& error) const;
    // By program name, ignoring case; false with a suggestion otherwise.
    bool findProgram(const std::string& name, int& index, std::string& error) const;
    // The normalised value that selects program `index`.
    double programValue(int index) const;

    // A value given as the parameter's display text (parsed by the
    // controller; the texts of a switch's or list's steps are also accepted,
    // ignoring case) or as norm(x). A value outside the range is clamped by
    // the controller; `warning` then says so.
    bool resolveValue(const ParameterDescription& parameter, const std::string& text, double& normalized,
                      std::string& error, std::string& warning) const;

private:
    PluginSession() = default;
    bool readParameters(std::string& error);
    void readPrograms();
    bool connect(std::string& error);

    Steinberg::Hosting::HostContext hostContext{"kalvior"};
    Steinberg::Hosting::ComponentHandler handler;
    std::unique_ptr<Steinberg::Hosting::PluginInstance> plugin;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> componentConnection;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> controllerConnection;
    Steinberg::IPtr<ScopeTap> tap;
    std::vector<ParameterDescription> parameterList;
    std::vector<std::string> programNames;
    std::string programList;
};
