// Every seed and every saved reproducer of the fuzz targets, replayed through
// the built bundle with the same invariants the fuzzers check. A crash a
// fuzzer found stays found: its input lives in fuzz/regressions/<target>/.

#include "tests/stress/BundleEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace RobustnessTest;

namespace {

struct Target
{
    const char* name;
    void (*withPlugin)(const KalviorFuzz::PluginEntry&, const uint8_t*, size_t);
    void (*withoutPlugin)(const uint8_t*, size_t);
};

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
    std::string error;
    const KalviorFuzz::PluginEntry& entry = bundleEntry(&error);
    ASSERT_TRUE(entry.getFactory) << error;

    const std::vector<fs::path> inputs = inputsOf(target.name);
    ASSERT_FALSE(inputs.empty()) << "no seeds for " << target.name;
    FailuresAsTestFailures failures;
    for (const fs::path& input : inputs)
    {
        FailuresAsTestFailures::setContext(input.filename().string());
        const std::vector<uint8_t> bytes = readFile(input);
        if (target.withPlugin)
            target.withPlugin(entry, bytes.data(), bytes.size());
        else
            target.withoutPlugin(bytes.data(), bytes.size());
    }
}

INSTANTIATE_TEST_SUITE_P(FuzzTargets, CorpusReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });
