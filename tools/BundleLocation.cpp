#include "tools/BundleLocation.h"

#include "sdk/hosting/PluginModule.h"

#include <sys/stat.h>

#include <cstdlib>

namespace {

constexpr const char* kBundleName = "Kalvior.vst3";

bool exists(const std::string& path)
{
    struct stat status
    {};
    return ::stat(path.c_str(), &status) == 0;
}

} // namespace

std::vector<std::string> installedBundleCandidates()
{
    std::vector<std::string> candidates;
    if (const char* home = std::getenv("HOME"); home && *home)
        candidates.push_back(std::string(home) + "/.vst3/" + kBundleName);
    candidates.push_back(std::string("/usr/local/lib/vst3/") + kBundleName);
    candidates.push_back(std::string("/usr/lib/vst3/") + kBundleName);
    return candidates;
}

bool locateBundle(const std::string& given, std::string& bundle, std::string& error)
{
    if (!given.empty())
    {
        if (!exists(given))
        {
            error = "no plug-in bundle at '" + given + "'";
            return false;
        }
        bundle = given;
        return true;
    }
    std::string tried;
    for (const std::string& candidate : installedBundleCandidates())
    {
        if (exists(candidate))
        {
            bundle = candidate;
            return true;
        }
        tried += "\n  " + candidate;
    }
    error = "Kalvior is not installed; looked for" + tried +
            "\nInstall it (cmake --install) or name the bundle with --bundle PATH";
    return false;
}

std::unique_ptr<Steinberg::Hosting::PluginModule> loadBundle(const std::string& given, std::string& error)
{
    std::string bundle;
    if (!locateBundle(given, bundle, error))
        return nullptr;
    std::string reason;
    auto module = Steinberg::Hosting::PluginModule::load(bundle, reason);
    if (!module)
        error = "the plug-in bundle '" + bundle + "' failed to load: " + reason;
    return module;
}
