// Writes the fixed rendering of the built module into a folder, as the
// reference another platform's build compares its own rendering with.
//
//   kv_platform_reference <bundle> <VST 2 module> <folder>

#include "tests/crossplatform/PlatformRender.h"

#include <cstdio>
#include <string>

using namespace PlatformRender;

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s <bundle> <VST 2 module> <folder>\n", argv[0]);
        return 2;
    }
    const std::string bundle = argv[1], vst2Module = argv[2], folder = std::string(argv[3]) + "/";

    const Rendering vst3Double = renderVst3(bundle, 1);
    const Rendering vst3Float = renderVst3(bundle, 0);
    const Rendering vst2Double = renderVst2(vst2Module, true);
    const Rendering vst2Float = renderVst2(vst2Module, false);
    for (const Rendering* rendering : {&vst3Double, &vst3Float, &vst2Double, &vst2Float})
    {
        if (!rendering->error.empty())
        {
            std::fprintf(stderr, "rendering failed: %s\n", rendering->error.c_str());
            return 1;
        }
    }
    std::string error;
    const std::string texts = describeTexts(bundle, vst2Module, error);
    if (!error.empty())
    {
        std::fprintf(stderr, "describing the texts failed: %s\n", error.c_str());
        return 1;
    }
    const bool written = writeSamples(folder + ReferenceFiles::kVst3Double, vst3Double.output) &&
                         writeSamples(folder + ReferenceFiles::kVst3Float, vst3Float.output) &&
                         writeSamples(folder + ReferenceFiles::kVst2Double, vst2Double.output) &&
                         writeSamples(folder + ReferenceFiles::kVst2Float, vst2Float.output) &&
                         writeBytes(folder + ReferenceFiles::kState, vst3Double.state) &&
                         writeBytes(folder + ReferenceFiles::kTexts, std::vector<uint8_t>(texts.begin(), texts.end()));
    if (!written)
    {
        std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
