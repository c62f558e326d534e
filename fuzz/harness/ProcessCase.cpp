// Processing as the worst hosts do it: any setup, block sizes up to beyond the
// prepared maximum, odd bus and channel layouts, silence flags, in-place
// buffers, parameter queues with any IDs, offsets and values, and audio full
// of NaN, infinities, subnormals and huge numbers.

#include "fuzz/harness/ByteReader.h"
#include "fuzz/harness/HarnessSupport.h"
#include "tests/support/Noise.h"

#include "sdk/hosting/ParameterChanges.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace Steinberg;
using Steinberg::Vst::Sample32;
using Steinberg::Vst::Sample64;

namespace KalviorFuzz {

namespace {

// Finite input below these magnitudes must give finite output; above them the
// gains of the chain may legitimately overflow the sample format.
constexpr double kHeadroom32 = 1e30;
constexpr double kHeadroom64 = 1e200;

constexpr double kHighestRate = 1536000.0; // Hz; no filter is designed beyond it
constexpr int32 kBlockBeforeSetup = 1024;  // what the processor is ready for before any setup
constexpr int32 kLargestSetup = 1 << 15;   // samples; far beyond any host, small enough to run fast
constexpr int64_t kSampleBudget = 1 << 17; // frames per case, all blocks together

double pickSampleRate(ByteReader& in)
{
    static const double kRates[] = {44100.0, 48000.0, 96000.0,  8000.0, 22050.0, 192000.0, 1536000.0,
                                    1.0,     0.0,     -44100.0, 1e9,    5120.0,  0.5,      1536001.0};
    const uint32_t choice = in.below(18);
    if (choice < sizeof kRates / sizeof kRates[0])
        return kRates[choice];
    if (choice == 14)
        return std::numeric_limits<double>::quiet_NaN();
    if (choice == 15)
        return std::numeric_limits<double>::infinity();
    return 1.0 + in.unit() * 400000.0;
}

int32 pickSampleSize(ByteReader& in)
{
    const uint32_t choice = in.below(16);
    if (choice < 7)
        return Vst::kSample32;
    if (choice < 14)
        return Vst::kSample64;
    return choice == 14 ? 2 : -1; // no such size
}

struct Setup
{
    int32 sampleSize = Vst::kSample32;
    int32 maxBlock = kBlockBeforeSetup; // what the processor has buffers for
};

// setupProcessing with decoded values; `prepared` follows what the processor accepted.
void setUp(Hosting::PluginInstance& instance, ByteReader& in, Setup& prepared)
{
    Vst::ProcessSetup setup{};
    setup.processMode = in.flag() ? Vst::kRealtime : Vst::kOffline;
    setup.symbolicSampleSize = pickSampleSize(in);
    switch (in.below(5))
    {
    case 0: setup.maxSamplesPerBlock = 1 + int32(in.below(64)); break;
    case 1: setup.maxSamplesPerBlock = int32(in.below(kLargestSetup + 1)); break;
    case 2: setup.maxSamplesPerBlock = in.flag() ? -1 : std::numeric_limits<int32>::min(); break;
    default: setup.maxSamplesPerBlock = 512; break;
    }
    setup.sampleRate = pickSampleRate(in);

    const tresult result = instance.processor()->setupProcessing(setup);
    const bool valid = (setup.symbolicSampleSize == Vst::kSample32 || setup.symbolicSampleSize == Vst::kSample64) &&
                       setup.maxSamplesPerBlock >= 1 && setup.sampleRate >= 1.0 && setup.sampleRate <= kHighestRate;
    if (!valid)
        KV_FUZZ_CHECK(result != kResultOk, "setupProcessing accepted an impossible setup");
    if (result == kResultOk)
    {
        prepared.sampleSize = setup.symbolicSampleSize;
        prepared.maxBlock = std::max(prepared.maxBlock, setup.maxSamplesPerBlock); // buffers never shrink
    }
}

// Any arrangement but stereo-in/stereo-out must be refused.
void arrangeBuses(Hosting::PluginInstance& instance, ByteReader& in)
{
    if (in.below(4) != 0)
    {
        KV_FUZZ_CHECK(instance.setStereoArrangement() == kResultOk, "stereo arrangement refused");
        return;
    }
    Vst::SpeakerArrangement inputs[2] = {in.u64(), in.u64()};
    Vst::SpeakerArrangement outputs[2] = {in.u64(), in.u64()};
    const int32 numIns = int32(in.below(3));
    const int32 numOuts = int32(in.below(3));
    const tresult result = instance.processor()->setBusArrangements(numIns ? inputs : nullptr, numIns,
                                                                    numOuts ? outputs : nullptr, numOuts);
    const bool stereo =
        numIns == 1 && numOuts == 1 && inputs[0] == Vst::SpeakerArr::kStereo && outputs[0] == Vst::SpeakerArr::kStereo;
    if (!stereo)
        KV_FUZZ_CHECK(result != kResultOk, "a non-stereo arrangement was accepted");
}

// A double in the sample format; beyond the format's range it saturates
// (the conversion itself would be undefined).
template <typename Sample>
Sample toSample(double v)
{
    const double largest = double(std::numeric_limits<Sample>::max());
    if (std::isfinite(v) && std::fabs(v) > largest)
        return Sample(std::copysign(largest, v));
    return Sample(v);
}

// How large the input of a case has been: the filters hold values of the
// order of any finite input they were given (non-finite ones clear them).
struct InputRange
{
    bool finite = true;
    double largest = 0.0; // of the finite samples

    void add(double sample)
    {
        if (std::isfinite(sample))
            largest = std::max(largest, std::fabs(sample));
        else
            finite = false;
    }
};

// One channel's samples, added to the block's range.
template <typename Sample>
void fillChannel(std::vector<Sample>& channel, ByteReader& in, double headroom, InputRange& range)
{
    KalviorTest::Noise noise(in.u32());
    auto next = [&noise]
    {
        return noise.next();
    };
    const double huge = in.flag() ? headroom : double(std::numeric_limits<Sample>::max());
    switch (in.below(8))
    {
    case 0: std::fill(channel.begin(), channel.end(), Sample(0)); break;
    case 1: std::fill(channel.begin(), channel.end(), toSample<Sample>(specialDouble(in))); break;
    case 2:
        for (auto& s : channel)
            s = Sample(next() * huge);
        break;
    case 3:
        for (auto& s : channel)
            s = Sample(next() * double(std::numeric_limits<Sample>::denorm_min()) * 64.0);
        break;
    default:
        for (auto& s : channel)
            s = Sample(next());
        break;
    }
    // a few samples replaced by anything at all
    const uint32_t spikes = in.below(4) == 0 ? in.below(8) : 0;
    for (uint32_t k = 0; k < spikes && !channel.empty(); ++k)
        channel[in.u32() % channel.size()] = toSample<Sample>(specialDouble(in));

    for (Sample s : channel)
        range.add(double(s));
}

int32 pickOffset(ByteReader& in, int32 frames)
{
    switch (in.below(8))
    {
    case 0: return int32(in.u32());             // anything
    case 1: return -1 - int32(in.below(4));     // before the block
    case 2: return frames + int32(in.below(4)); // at or after its end
    default: return frames > 0 ? int32(in.below(uint32_t(frames))) : 0;
    }
}

Vst::ParamID pickParameterId(ByteReader& in)
{
    const uint8_t choice = in.byte();
    if (choice < 232)
        return choice % 32; // mostly real IDs, some just past the last
    return in.u32();
}

void fillChanges(RawChanges& changes, ByteReader& in, int32 frames)
{
    const uint32_t queues = in.below(7);
    for (uint32_t q = 0; q < queues; ++q)
    {
        auto queue = std::make_unique<RawQueue>();
        queue->id = pickParameterId(in);
        const uint32_t points = in.below(8) == 0 ? in.below(65) : in.below(5);
        const bool ascending = in.below(4) != 0;
        for (uint32_t p = 0; p < points; ++p)
            queue->points.push_back({pickOffset(in, frames), specialDouble(in)});
        if (ascending)
            std::stable_sort(queue->points.begin(), queue->points.end(),
                             [](const Point& a, const Point& b) { return a.offset < b.offset; });
        changes.queues.push_back(std::move(queue));
    }
}

// What the plug-in reports back must be real parameters with values in 0..1.
void checkOutputChanges(Hosting::ParameterChanges& changes)
{
    for (int32 q = 0; q < changes.getParameterCount(); ++q)
    {
        Vst::IParamValueQueue* queue = changes.getParameterData(q);
        if (!queue)
            continue;
        KV_FUZZ_CHECK(queue->getParameterId() < kParameterCount,
                      "reported parameter " + std::to_string(queue->getParameterId()));
        for (int32 p = 0; p < queue->getPointCount(); ++p)
        {
            int32 offset = -1;
            Vst::ParamValue value = -1.0;
            queue->getPoint(p, offset, value);
            KV_FUZZ_CHECK(offset == 0, "reported change at offset " + std::to_string(offset));
            KV_FUZZ_CHECK(isUnit(value), "reported value " + num(value));
        }
    }
}

// The buffers of one block, sized exactly so any access past them is caught.
template <typename Sample>
struct BlockBuffers
{
    std::vector<std::vector<Sample>> inputs[2], outputs[2]; // by bus, then channel
    std::vector<Sample*> inputPointers[2], outputPointers[2];
    Vst::AudioBusBuffers inputBuses[2]{}, outputBuses[2]{};
};

// A bus's channel pointers for the sample format.
template <typename Sample>
Sample**& channelArray(Vst::AudioBusBuffers& bus)
{
    if constexpr (sizeof(Sample) == sizeof(Sample32))
        return bus.channelBuffers32;
    else
        return bus.channelBuffers64;
}

template <typename Sample>
void runBlock(Hosting::PluginInstance& instance, ByteReader& in, int32 blockSampleSize, int32 frames,
              double& largestEarlierInput)
{
    const double headroom = sizeof(Sample) == 4 ? kHeadroom32 : kHeadroom64;
    const size_t length = frames > 0 ? size_t(frames) : 0;
    BlockBuffers<Sample> b;

    auto busCount = [&in]
    {
        return in.below(8) == 0 ? int32(in.below(4)) - 1 : 1;
    };
    auto channelCount = [&in]
    {
        return in.below(8) == 0 ? int32(in.below(5)) - 1 : 2;
    };
    const int32 numInputs = busCount();
    const int32 numOutputs = busCount();
    const bool inPlace = in.below(4) == 0;

    InputRange inputRange;
    for (int32 bus = 0; bus < 2; ++bus)
    {
        const int32 channels = channelCount();
        b.inputBuses[bus].numChannels = channels;
        for (int32 c = 0; c < std::max(channels, 0); ++c)
        {
            b.inputs[bus].emplace_back(length);
            fillChannel(b.inputs[bus].back(), in, headroom, inputRange);
            b.inputPointers[bus].push_back(in.below(16) == 0 ? nullptr : b.inputs[bus].back().data());
        }
        switch (in.below(6))
        {
        case 0: b.inputBuses[bus].silenceFlags = 3; break;
        case 1: b.inputBuses[bus].silenceFlags = in.u64(); break;
        case 2: b.inputBuses[bus].silenceFlags = 1; break;
        default: b.inputBuses[bus].silenceFlags = 0; break;
        }
        channelArray<Sample>(b.inputBuses[bus]) = in.below(32) == 0 ? nullptr : b.inputPointers[bus].data();

        const int32 outChannels = channelCount();
        b.outputBuses[bus].numChannels = outChannels;
        b.outputBuses[bus].silenceFlags = in.u64();
        for (int32 c = 0; c < std::max(outChannels, 0); ++c)
        {
            b.outputs[bus].emplace_back(length, Sample(0.25));
            Sample* target = b.outputs[bus].back().data();
            if (inPlace && c < int32(b.inputPointers[bus].size()) && b.inputPointers[bus][size_t(c)])
                target = b.inputPointers[bus][size_t(c)];
            b.outputPointers[bus].push_back(in.below(16) == 0 ? nullptr : target);
        }
        channelArray<Sample>(b.outputBuses[bus]) = in.below(32) == 0 ? nullptr : b.outputPointers[bus].data();
    }

    RawChanges changes;
    const bool withChanges = in.below(8) != 0;
    if (withChanges)
        fillChanges(changes, in, frames);
    const int32 reportCapacity = int32(in.below(4));
    Hosting::ParameterChanges reported(reportCapacity, 1 + int32(in.below(3)));
    const bool withReport = in.below(4) != 0;

    Vst::ProcessContext context{};
    context.sampleRate = 48000.0;
    Vst::ProcessData data;
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = blockSampleSize;
    data.numSamples = frames;
    data.numInputs = numInputs;
    data.numOutputs = numOutputs;
    data.inputs = numInputs > 0 || in.flag() ? b.inputBuses : nullptr;
    data.outputs = numOutputs > 0 || in.flag() ? b.outputBuses : nullptr;
    data.inputParameterChanges = withChanges ? &changes : nullptr;
    data.outputParameterChanges = withReport ? &reported : nullptr;
    data.processContext = in.flag() ? &context : nullptr;

    // Whether the block binds a stereo output the plug-in must write.
    Sample** outputChannels = channelArray<Sample>(b.outputBuses[0]);
    const bool outputBound = numInputs != 0 && numOutputs > 0 && data.outputs && outputChannels &&
                             b.outputBuses[0].numChannels >= 2 && outputChannels[0] && outputChannels[1];
    Sample** inputChannels = channelArray<Sample>(b.inputBuses[0]);
    const bool inputBound = numInputs > 0 && data.inputs && inputChannels && b.inputBuses[0].numChannels >= 2 &&
                            inputChannels[0] && inputChannels[1];
    // In place: the plug-in leaves a shared buffer as the host gave it.
    bool aliased = false;
    for (int32 c = 0; outputBound && c < 2; ++c)
        for (Sample* input : b.inputPointers[0])
            aliased = aliased || (input && input == outputChannels[c]);
    const bool silentInput = !inputBound || (b.inputBuses[0].silenceFlags & 3) == 3;
    const bool audioSize = blockSampleSize == Vst::kSample32 || blockSampleSize == Vst::kSample64;

    KV_FUZZ_CHECK(instance.processor()->process(data) == kResultOk, "process");
    // Beyond the headroom IEEE overflow is allowed, also when an earlier block's
    // input still rings in the filters (as a 64-bit block's may in a 32-bit one).
    const bool finiteInput = inputRange.finite && std::max(inputRange.largest, largestEarlierInput) <= headroom;
    largestEarlierInput = std::max(largestEarlierInput, inputRange.largest);

    if (withReport)
        checkOutputChanges(reported);
    if (!outputBound)
        return;
    if (finiteInput)
        for (int32 c = 0; c < 2; ++c)
            for (size_t i = 0; i < length; ++i)
                KV_FUZZ_CHECK(std::isfinite(outputChannels[c][i]),
                              "non-finite output " + num(double(outputChannels[c][i])) +
                                  " from finite input, channel " + std::to_string(c) + " frame " + std::to_string(i) +
                                  " of " + std::to_string(length));
    if (audioSize && silentInput && !aliased)
    {
        for (int32 c = 0; c < 2; ++c)
            for (size_t i = 0; i < length; ++i)
                KV_FUZZ_CHECK(outputChannels[c][i] == Sample(0),
                              "silent input gave sound, frame " + std::to_string(i) + " of " + std::to_string(length));
        KV_FUZZ_CHECK((b.outputBuses[0].silenceFlags & 3) == 3, "silent output not flagged");
    }
}

// A few state records between blocks, as a host restoring a snapshot does.
void loadStateBetweenBlocks(Hosting::PluginInstance& instance, ByteReader& in)
{
    uint8_t bytes[3 * kRecordBytes + 5];
    const size_t size = in.below(sizeof bytes + 1);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = in.byte();
    KV_FUZZ_CHECK(setStateBytes(instance.component(), bytes, size) == kResultOk, "setState between blocks");
}

} // namespace

void processCase(const PluginEntry& entry, const uint8_t* data, size_t size)
{
    ByteReader in(data, size);
    auto instance = makeInstance(entry);
    if (!instance)
        return;
    if (in.flag())
        KV_FUZZ_CHECK(instance->connect(), "connect");
    if (in.flag())
        KV_FUZZ_CHECK(instance->transferState() == kResultOk, "state transfer");

    Setup prepared;
    arrangeBuses(*instance, in);
    if (in.below(8) != 0)
        setUp(*instance, in, prepared);
    bool active = in.below(8) != 0;
    if (active)
        instance->setActive(true);
    bool processing = in.below(4) != 0; // the scope worker runs
    if (processing)
        instance->setProcessing(true);

    int64_t budget = kSampleBudget;
    double largestInput = 0.0;
    const uint32_t blocks = 1 + in.below(12);
    for (uint32_t block = 0; block < blocks && budget > 0; ++block)
    {
        // What the host does between blocks.
        switch (in.below(16))
        {
        case 0:
            instance->setActive(false);
            setUp(*instance, in, prepared);
            instance->setActive(true);
            active = true;
            break;
        case 1: loadStateBetweenBlocks(*instance, in); break;
        case 2:
            processing = !processing;
            instance->setProcessing(processing);
            break;
        case 3:
            active = !active;
            instance->setActive(active);
            break;
        default: break;
        }

        int32 frames = 0;
        switch (in.below(8))
        {
        case 0: frames = 0; break;
        case 1: frames = 1 + int32(in.below(16)); break;
        case 2: frames = prepared.maxBlock; break;
        case 3: frames = prepared.maxBlock + 1 + int32(in.below(uint32_t(prepared.maxBlock) + 64)); break;
        case 4: frames = in.flag() ? -1 : std::numeric_limits<int32>::min(); break;
        default: frames = int32(in.below(uint32_t(prepared.maxBlock) + 1)); break;
        }
        frames = int32(std::min<int64_t>(frames, budget));
        budget -= std::max(frames, 1);

        int32 sampleSize = prepared.sampleSize;
        if (in.below(16) == 0)
            sampleSize = pickSampleSize(in);
        if (sampleSize == Vst::kSample64)
            runBlock<Sample64>(*instance, in, sampleSize, frames, largestInput);
        else
            runBlock<Sample32>(*instance, in, sampleSize, frames, largestInput);
    }

    if (processing)
        instance->setProcessing(false);
    if (active)
        instance->setActive(false);
    Values values{};
    decodeState(getStateBytes(instance->component()), values);
}

} // namespace KalviorFuzz
