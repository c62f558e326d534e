// Every seed and every saved reproducer of the fuzz targets, replayed through
// the built bundle with the same invariants the fuzzers check. A crash a
// fuzzer found stays found: its input lives in fuzz/regressions/<target>/.

#include "fuzz/harness/Harness.h"
#include "tests/support/KalviorBundle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<Steinberg::Hosting::PluginModule> module; // loaded once, released at exit
std::string loadError, failureContext;

Steinberg::IPluginFactory* bundleFactory()
{
    Steinberg::IPluginFactory* factory = module ? module->factory() : nullptr;
    if (factory)
        factory->addRef(); // the caller owns one reference, as with GetPluginFactory
    return factory;
}

// The cases' plug-in entry over the built bundle, as a host loads it:
// GetPluginFactory and VSTPluginMain of Kalvior.vst3, loaded on first use.
const KalviorFuzz::PluginEntry& bundleEntry()
{
    static const KalviorFuzz::PluginEntry entry = []
    {
        module = Steinberg::Hosting::PluginModule::load(KalviorTest::bundlePath(), loadError);
        KalviorFuzz::PluginEntry loaded;
        if (module)
        {
            loaded.getFactory = &bundleFactory;
            loaded.vst2Main = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(module->symbol("VSTPluginMain"));
        }
        return loaded;
    }();
    return entry;
}

// The harness's invariant failures, as test failures naming the input replayed.
void reportAsTestFailure(const char* file, int line, const std::string& what)
{
    ADD_FAILURE_AT(file, line) << what << " [" << failureContext << "]";
}

struct Target
{
    const char* name;
    void (*withPlugin)(const KalviorFuzz::PluginEntry&, const uint8_t*, size_t);
    void (*withoutPlugin)(const uint8_t*, size_t);
};

// Named in the test list by its target, not by its bytes.
void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}

const Target kTargets[] = {
    {"fuzz_processor_state", &KalviorFuzz::processorStateCase, nullptr},
    {"fuzz_controller_state", &KalviorFuzz::controllerStateCase, nullptr},
    {"fuzz_process", &KalviorFuzz::processCase, nullptr},
    {"fuzz_param_text", &KalviorFuzz::parameterTextCase, nullptr},
    {"fuzz_ui_description", nullptr, &KalviorFuzz::uiDescriptionCase},
};

std::vector<fs::path> inputsOf(const std::string& target)
{
    std::vector<fs::path> files;
    for (const char* folder : {"corpus", "regressions"})
    {
        const fs::path dir = fs::path(KALVIOR_FUZZ_DIR) / folder / target;
        if (!fs::is_directory(dir))
            continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class CorpusReplay : public ::testing::TestWithParam<Target>
{};

} // namespace

TEST_P(CorpusReplay, EveryInputKeepsTheInvariants)
{
    const Target& target = GetParam();
    const KalviorFuzz::PluginEntry& entry = bundleEntry();
    ASSERT_TRUE(entry.getFactory) << loadError;

    const std::vector<fs::path> inputs = inputsOf(target.name);
    ASSERT_FALSE(inputs.empty()) << "no seeds for " << target.name;
    const KalviorFuzz::FailureHandler previous = KalviorFuzz::setFailureHandler(&reportAsTestFailure);
    for (const fs::path& input : inputs)
    {
        failureContext = input.filename().string();
        const std::vector<uint8_t> bytes = readFile(input);
        if (target.withPlugin)
            target.withPlugin(entry, bytes.data(), bytes.size());
        else
            target.withoutPlugin(bytes.data(), bytes.size());
    }
    KalviorFuzz::setFailureHandler(previous);
}

INSTANTIATE_TEST_SUITE_P(FuzzTargets, CorpusReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });
