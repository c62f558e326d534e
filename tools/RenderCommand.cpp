#include "sdk/hosting/PluginModule.h"
#include "tools/BundleLocation.h"
#include "tools/Commands.h"
#include "tools/PlanBuilder.h"
#include "tools/ProgressBar.h"
#include "tools/Render.h"
#include "tools/ReplacingFile.h"
#include "tools/StereoStats.h"
#include "tools/WavIo.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Frames read, processed and written at a time, rounded to whole blocks so the
// plug-in sees the same blocks whatever the file's length.
constexpr size_t kChunkFrames = 16384;

std::string baseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads, renders and writes the whole file in chunks of one sample type.
template <typename Sample>
bool renderFile(AudioFileReader& reader, Renderer& renderer, size_t blockSize, AudioFileWriter& writer,
                StereoStats& inputStats, StereoStats& outputStats, std::string& error)
{
    const size_t chunk = std::max<size_t>(1, kChunkFrames / blockSize) * blockSize;
    std::vector<Sample> inLeft(chunk), inRight(chunk), outLeft(chunk), outRight(chunk);
    ProgressBar progress("rendering", static_cast<uint64_t>(reader.info().frames));
    uint64_t done = 0;
    for (;;)
    {
        if (interruptRequested())
        {
            error = "interrupted; no output written";
            return false;
        }
        const size_t frames = reader.readStereo(inLeft.data(), inRight.data(), chunk);
        if (frames == 0)
            break;
        renderer.process(inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), static_cast<int64_t>(frames));
        inputStats.add(inLeft.data(), inRight.data(), frames);
        outputStats.add(outLeft.data(), outRight.data(), frames);
        if (!writer.writeStereo(outLeft.data(), outRight.data(), frames, error))
            return false;
        done += frames;
        progress.update(done);
    }
    progress.finish();
    if (reader.info().frames > 0 && done != static_cast<uint64_t>(reader.info().frames))
    {
        error = "the input ended after " + std::to_string(done) + " of " + std::to_string(reader.info().frames) +
                " frames; it may be damaged";
        return false;
    }
    return true;
}

} // namespace

int runRender(const CommandLine& commandLine)
{
    const RenderRequest& request = commandLine.render;
    std::string error;
    // From here on Ctrl-C stops the render cleanly, taking its temporary file with it.
    installInterruptHandler();

    // Everything that can be checked is checked before the plug-in runs.
    AudioFileReader reader;
    if (!reader.open(request.input, error))
        return fail(kExitFailure, error);
    const AudioFileInfo& input = reader.info();
    if (input.channels == 1 && !request.monoToStereo)
        return fail(kExitFailure, "'" + request.input +
                                      "' is mono; Kalvior processes stereo. Add --mono-to-stereo "
                                      "to feed the one channel to both inputs");
    if (input.channels > 2)
        return fail(kExitFailure, "'" + request.input + "' has " + std::to_string(input.channels) +
                                      " channels; Kalvior processes stereo (two channels)");
    if (!checkOutputPath(request.input, request.output, request.force, error))
        return fail(kExitFailure, error);
    if (!request.scopePicture.empty())
    {
        if (!checkOutputPath(request.input, request.scopePicture, request.force, error))
            return fail(kExitFailure, error);
        if (request.scopePicture == request.output)
            return fail(kExitUsage, "the scope picture and the output need different paths");
    }
    const int outputFormat = chooseOutputFormat(request.output, input.format, request.sampleFormat, error);
    if (outputFormat == 0)
        return fail(kExitUsage, error);

    auto module = loadBundle(commandLine.bundle, error);
    if (!module)
        return fail(kExitFailure, error);
    auto session = PluginSession::create(*module, error);
    if (!session)
        return fail(kExitFailure, error);

    RenderPlan plan;
    std::vector<std::string> warnings;
    if (!buildRenderPlan(*session, request, input.sampleRate, plan, error, warnings))
        return fail(kExitUsage, error);
    for (const std::string& warning : warnings)
        std::fprintf(stderr, "kalvior: warning: %s\n", warning.c_str());

    Renderer renderer(*session, plan);
    if (!renderer.start(error))
        return fail(kExitFailure, error);
    AudioFileWriter writer;
    if (!writer.open(request.output, outputFormat, input.sampleRate, 2, error))
        return fail(kExitFailure, error);

    StereoStats inputStats, outputStats;
    const bool rendered =
        request.precision == 64
            ? renderFile<double>(reader, renderer, request.blockSize, writer, inputStats, outputStats, error)
            : renderFile<float>(reader, renderer, request.blockSize, writer, inputStats, outputStats, error);
    renderer.stop();
    if (!rendered)
        return fail(interruptRequested() ? kExitInterrupted : kExitFailure, error);
    if (!writer.commit(error))
        return fail(kExitFailure, error);

    std::printf("Wrote %s (%s, %d Hz, %.2f s)\n", request.output.c_str(), describeFormat(outputFormat).c_str(),
                input.sampleRate, static_cast<double>(input.frames) / input.sampleRate);
    if (writer.clippedSamples() > 0)
        std::fprintf(stderr,
                     "kalvior: warning: %llu samples beyond full scale were clipped; "
                     "--sample-format float keeps them\n",
                     static_cast<unsigned long long>(writer.clippedSamples()));

    if (!request.scopePicture.empty())
    {
        const ScopePicture& picture = renderer.scope();
        if (picture.blocks() < renderer.scopeBlocksExpected())
            std::fprintf(stderr, "kalvior: warning: the plug-in sent %zu of %llu scope blocks\n", picture.blocks(),
                         static_cast<unsigned long long>(renderer.scopeBlocksExpected()));
        const std::string caption =
            baseName(request.output) + " - " + std::to_string(picture.blocks()) + " scope blocks";
        if (!picture.writePng(request.scopePicture, caption, error))
            return fail(kExitFailure, error);
        std::printf("Wrote %s (vector scope of the output)\n", request.scopePicture.c_str());
    }
    std::printf("\n%s", formatStatsTable({{"input", inputStats}, {"output", outputStats}}).c_str());
    return kExitSuccess;
}
