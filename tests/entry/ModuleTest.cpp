// Module initialisation and the sample-size override, each case in a fresh
// process: the override is read once per load of the module.

#include "tests/support/KalviorBundle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct ProbeCase
{
    const char* name;
    const char* environment; // value of Kalvior_FORCE_SAMPLESIZE at start; null: unset
    const char* steps;       // separated by spaces
    const char* expected;
};

void PrintTo(const ProbeCase& probe, std::ostream* out)
{
    *out << probe.name;
}

// Runs the probe with the variable unset or set to the case's value, returns its output line.
std::string runProbe(const ProbeCase& probe)
{
    std::string command = "env -u Kalvior_FORCE_SAMPLESIZE ";
    if (probe.environment)
        command += "'Kalvior_FORCE_SAMPLESIZE=" + std::string(probe.environment) + "' ";
    command += std::string("'") + KV_MODULE_PROBE + "' '" + KalviorTest::bundlePath() + "'";
    command += std::string(" ") + probe.steps;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "popen failed";
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    if (pclose(pipe) != 0)
        return "probe failed: " + output;
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

const ProbeCase kCases[] = {
    {"no variable", nullptr, "load init sizes", "init=1 32=1 64=1"},
    {"32BIT", "32BIT", "load init sizes", "init=1 32=1 64=0"},
    {"64BIT", "64BIT", "load init sizes", "init=1 32=0 64=1"},
    {"lower-case 32bit", "32bit", "load init sizes", "init=1 32=1 64=1"},
    {"trailing space", "32BIT ", "load init sizes", "init=1 32=1 64=1"},
    {"empty", "", "load init sizes", "init=1 32=1 64=1"},
    {"digits only", "32", "load init sizes", "init=1 32=1 64=1"},
    {"through ModuleEntry", "64BIT", "load entry sizes exit", "entry=1 32=0 64=1 exit=1"},
    // Only the first initialisation reads the environment ...
    {"second InitDll ignores a new value", "32BIT", "load init setenv:64BIT init sizes", "init=1 init=1 32=1 64=0"},
    {"set after the first InitDll", nullptr, "load init setenv:32BIT init sizes", "init=1 init=1 32=1 64=1"},
    // ... also when the counter drops back to zero without an unload.
    {"counter back to zero", "32BIT", "load init release setenv:64BIT init sizes", "init=1 release=1 init=1 32=1 64=0"},
    // A new load reads it again.
    {"unload and load again", "32BIT", "load entry exit unload setenv:64BIT load entry sizes exit",
     "entry=1 exit=1 entry=1 32=0 64=1 exit=1"},
    // InitDll twice and ExitDll once leave one initialisation; a release beyond it is refused.
    {"counting", nullptr, "load init init release release release", "init=1 init=1 release=1 release=1 release=0"},
    // Releasing the last reference destroys the factory; the next call builds a working one.
    {"factory rebuilt after its last release", nullptr, "load entry cycle cycle exit",
     "entry=1 cycle=0,2,2 cycle=0,2,2 exit=1"},
    {"ModuleEntry and InitDll share the counter", nullptr, "load entry init exit release release",
     "entry=1 init=1 exit=1 release=1 release=0"},
};

} // namespace

class ModuleProbeTest : public ::testing::TestWithParam<ProbeCase>
{};

TEST_P(ModuleProbeTest, AnswersAsExpected)
{
    EXPECT_EQ(runProbe(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModuleProbeTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ProbeCase>& info)
                         {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
