#pragma once

// The robustness cases' plug-in entry over the built bundle, as a host loads
// it: GetPluginFactory and VSTPluginMain of Kalvior.vst3.

#include "fuzz/harness/Harness.h"

#include <string>

namespace RobustnessTest {

// Loads the bundle on first use and keeps it for the process; null entry
// functions (and a reason in `error`) when it cannot be loaded.
const KalviorFuzz::PluginEntry& bundleEntry(std::string* error = nullptr);

// Reports the harness's invariant failures as test failures while it lives.
class FailuresAsTestFailures
{
public:
    FailuresAsTestFailures();
    ~FailuresAsTestFailures();
    FailuresAsTestFailures(const FailuresAsTestFailures&) = delete;
    FailuresAsTestFailures& operator=(const FailuresAsTestFailures&) = delete;

    // Named in each failure: the input being replayed.
    static void setContext(const std::string& context);

private:
    KalviorFuzz::FailureHandler previous;
};

} // namespace RobustnessTest
