#pragma once

#include "tools/CommandLine.h"
#include "tools/PluginSession.h"
#include "tools/Render.h"

#include <string>
#include <vector>

// Turns the names and texts of a render request into the plug-in's IDs and
// normalised values, with the controller's help: the program, the --set
// values and the automation curves (times in seconds become frames at
// `sampleRate`). False with a message for an unknown name, a value the
// parameter does not take, automation of a parameter that cannot be
// automated, or a parameter both set and automated.
bool buildRenderPlan(const PluginSession& session, const RenderRequest& request, double sampleRate, RenderPlan& plan,
                     std::string& error, std::vector<std::string>& warnings);
