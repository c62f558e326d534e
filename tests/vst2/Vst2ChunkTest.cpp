// Program chunks: two little-endian 64-bit sizes (component state, controller
// state) and then those bytes, as projects saved with the SDK's wrapper hold them.

#include "tests/support/KalviorBundle.h"
#include "tests/vst2/Vst2TestHost.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Vst2Test;
using KalviorTest::appendRecord;
using KalviorTest::Bytes;
namespace V2 = Vst2Abi;

namespace {

uint64_t readLE64(const Bytes& b, size_t at)
{
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
    return v;
}

Bytes chunkOf(const Bytes& componentState)
{
    Bytes chunk;
    for (uint64_t size : {uint64_t(componentState.size()), uint64_t(0)})
        for (int i = 0; i < 8; ++i)
            chunk.push_back(static_cast<uint8_t>(size >> (8 * i)));
    chunk.insert(chunk.end(), componentState.begin(), componentState.end());
    return chunk;
}

using Vst2Chunks = OpenedEffect;

TEST_F(Vst2Chunks, LayoutIsSizesThenComponentState)
{
    const Bytes chunk = effect->chunk();
    ASSERT_EQ(chunk.size(), 16u + KalviorTest::kStateBytes);
    EXPECT_EQ(readLE64(chunk, 0), static_cast<uint64_t>(KalviorTest::kStateBytes));
    EXPECT_EQ(readLE64(chunk, 8), 0u); // the controller keeps no state of its own
    KalviorTest::Values values{};
    ASSERT_TRUE(KalviorTest::decodeState(Bytes(chunk.begin() + 16, chunk.end()), values));
    for (uint32_t id = 0; id < KalviorTest::kParameterCount; ++id)
        EXPECT_DOUBLE_EQ(values[id], KalviorTest::defaultValues()[id]) << id;
}

TEST_F(Vst2Chunks, RoundTripBetweenInstances)
{
    effect->start(44100.f, 256);
    effect->set(indexOf(11), 0.25f);
    effect->set(indexOf(23), 1.f);
    effect->set(indexOf(24), 0.75f);
    effect->dispatch(V2::effSetBypass, 0, 1);
    effect->processSilence();
    const Bytes saved = effect->chunk();
    effect.reset();
    ASSERT_EQ(saved.size(), 16u + KalviorTest::kStateBytes);

    auto b = open(host);
    ASSERT_TRUE(b);
    b->setChunk(saved);
    EXPECT_EQ(b->get(indexOf(11)), 0.25f);
    EXPECT_EQ(b->get(indexOf(23)), 1.f);
    EXPECT_EQ(b->get(indexOf(24)), 0.75f);
    EXPECT_EQ(b->text(V2::effGetParamDisplay, indexOf(23)), "LR-4");
    EXPECT_EQ(b->chunk(), saved);
}

// A chunk holding some records loads them and leaves the rest; changes the
// host queued before loading it are obsolete.
TEST_F(Vst2Chunks, HandWrittenChunkLoadsAndDiscardsQueuedChanges)
{
    effect->start(48000.f, 128);
    effect->set(indexOf(11), 0.95f);
    Bytes state;
    appendRecord(state, 0, 0.6);  // ProgSel "Mono Compat Pan"
    appendRecord(state, 11, 0.3); // Balance -18
    appendRecord(state, 27, 1.0); // Solo "LOPASS"
    effect->setChunk(chunkOf(state));
    effect->processSilence();
    effect->dispatch(V2::effIdle);
    EXPECT_FLOAT_EQ(effect->get(indexOf(11)), 0.3f);
    EXPECT_EQ(effect->stored(11), 0.3);
    EXPECT_EQ(effect->text(V2::effGetParamDisplay, indexOf(11)), "-18");
    EXPECT_EQ(effect->text(V2::effGetParamDisplay, indexOf(27)), "LOPASS");
    EXPECT_EQ(effect->dispatch(V2::effGetProgram), 3);
    EXPECT_FLOAT_EQ(effect->get(indexOf(3)), 0.75f);
}

TEST_F(Vst2Chunks, MalformedChunksChangeNothing)
{
    effect->set(indexOf(11), 0.125f);
    const Bytes before = effect->chunk();

    Bytes valid;
    appendRecord(valid, 11, 0.9);
    const Bytes good = chunkOf(valid);

    std::vector<Bytes> bad;
    bad.push_back(Bytes(good.begin(), good.begin() + 15)); // shorter than the header
    Bytes tooLong = good;                                  // component size beyond the end
    tooLong[0] = 13;
    bad.push_back(tooLong);
    Bytes negative = good; // negative size
    std::memset(negative.data(), 0xFF, 8);
    bad.push_back(negative);
    Bytes controllerBeyond = good; // controller size beyond the end
    controllerBeyond[8] = 1;
    bad.push_back(controllerBeyond);
    Bytes huge = good; // sizes whose sum overflows
    std::memset(huge.data(), 0xFF, 7);
    huge[7] = 0x7F;
    std::memset(huge.data() + 8, 0xFF, 7);
    huge[15] = 0x7F;
    bad.push_back(huge);

    for (size_t i = 0; i < bad.size(); ++i)
    {
        effect->setChunk(bad[i]);
        EXPECT_EQ(effect->chunk(), before) << "malformed chunk " << i;
    }
    EXPECT_EQ(effect->dispatch(V2::effSetChunk, 0, 0, const_cast<uint8_t*>(good.data())), 0);
    EXPECT_EQ(effect->dispatch(V2::effSetChunk, 0, -5, const_cast<uint8_t*>(good.data())), 0);
    EXPECT_EQ(effect->chunk(), before);

    // Trailing bytes after the declared states are ignored.
    Bytes trailing = good;
    trailing.push_back(0x42);
    effect->setChunk(trailing);
    EXPECT_FLOAT_EQ(effect->get(indexOf(11)), 0.9f);
}

// A host that saves right after changing a parameter or the program, without
// processing in between, finds the change in the chunk; ProgSel holds
// program / 5 exactly.
TEST_F(Vst2Chunks, ChangesNotYetProcessedAreSaved)
{
    effect->set(indexOf(28), 1.f); // Mono, which no program touches
    effect->dispatch(V2::effSetProgram, 0, 5);
    EXPECT_EQ(effect->stored(0), 1.0);
    EXPECT_NE(effect->stored(15), KalviorTest::kParameters[15].defaultNormalized) << "the program's HP Width";
    EXPECT_EQ(effect->stored(28), 1.0);

    effect->start(48000.f, 128);
    for (VstInt32 program = 0; program < 6; ++program)
    {
        effect->dispatch(V2::effSetProgram, 0, program);
        effect->processSilence();
        EXPECT_EQ(effect->stored(0), program / 5.0) << program;
    }
}

} // namespace
