#pragma once

#include <memory>
#include <string>
#include <vector>

// Where the command line finds the plug-in: the bundle given with --bundle,
// or the installed one in the usual VST 3 folders of a Linux system.

// The folders searched for "Kalvior.vst3", in order.
std::vector<std::string> installedBundleCandidates();

// The bundle to load: `given` when not empty (it must exist), else the first
// installed one. False with a message listing what was tried otherwise.
bool locateBundle(const std::string& given, std::string& bundle, std::string& error);

namespace Steinberg {
namespace Hosting {
class PluginModule;
}
} // namespace Steinberg

// Locates and loads the bundle through its exports; null with a message when
// it is missing or fails to load.
std::unique_ptr<Steinberg::Hosting::PluginModule> loadBundle(const std::string& given, std::string& error);
