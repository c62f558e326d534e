// Writes the fixed rendering of the built module into a folder, as the
// reference another platform's build compares its own rendering with.
//
//   kv_platform_reference <bundle> <VST 2 module> <folder>

#include "tests/crossplatform/PlatformRender.h"

#include <cstdio>

using namespace PlatformRender;

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s <bundle> <VST 2 module> <folder>\n", argv[0]);
        return 2;
    }
    const std::string bundle = argv[1], vst2Module = argv[2], folder = std::string(argv[3]) + "/";
    const Rendering renderings[] = {renderVst3(bundle, 1), renderVst3(bundle, 0), renderVst2(vst2Module, true),
                                    renderVst2(vst2Module, false)};
    const char* files[] = {kVst3Double, kVst3Float, kVst2Double, kVst2Float};
    std::string error;
    const std::string texts = describeTexts(bundle, error);
    bool written = error.empty() && writeFile(folder + kTexts, texts.data(), texts.size()) &&
                   writeFile(folder + kState, renderings[0].state.data(), renderings[0].state.size());
    for (int i = 0; i < 4 && written; ++i)
    {
        error = renderings[i].error;
        written = error.empty() && writeFile(folder + files[i], renderings[i].output.data(),
                                             renderings[i].output.size() * sizeof(double));
    }
    if (!written)
        std::fprintf(stderr, "no reference written into %s: %s\n", folder.c_str(), error.c_str());
    return written ? 0 : 1;
}
