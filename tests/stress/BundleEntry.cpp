#include "tests/stress/BundleEntry.h"

#include "tests/support/KalviorBundle.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Steinberg;

namespace RobustnessTest {

namespace {

std::unique_ptr<Hosting::PluginModule> module; // loaded once, released at exit
std::string loadError;
std::string failureContext;

IPluginFactory* bundleFactory()
{
    IPluginFactory* factory = module ? module->factory() : nullptr;
    if (factory)
        factory->addRef(); // the caller owns one reference, as with GetPluginFactory
    return factory;
}

void reportAsTestFailure(const char* file, int line, const std::string& what)
{
    ADD_FAILURE_AT(file, line) << what << (failureContext.empty() ? "" : " [" + failureContext + "]");
}

} // namespace

const KalviorFuzz::PluginEntry& bundleEntry(std::string* error)
{
    static const KalviorFuzz::PluginEntry entry = []
    {
        module = Hosting::PluginModule::load(KalviorTest::bundlePath(), loadError);
        KalviorFuzz::PluginEntry loaded;
        if (module)
        {
            loaded.getFactory = &bundleFactory;
            loaded.vst2Main = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(module->symbol("VSTPluginMain"));
        }
        return loaded;
    }();
    if (error)
        *error = loadError;
    return entry;
}

FailuresAsTestFailures::FailuresAsTestFailures() : previous(KalviorFuzz::setFailureHandler(&reportAsTestFailure)) {}

FailuresAsTestFailures::~FailuresAsTestFailures()
{
    KalviorFuzz::setFailureHandler(previous);
    failureContext.clear();
}

void FailuresAsTestFailures::setContext(const std::string& context)
{
    failureContext = context;
}

} // namespace RobustnessTest
