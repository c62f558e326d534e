#pragma once

#include "params/ScopeBlock.h"

#include <cstdint>

class VectorScope;

// Audio-thread side of the vector scope: keeps one frame in `decimation`,
// turns it into a signed 8-bit mid/side pair and collects 512 pairs into a
// block, which it hands to the VectorScope before filling another buffer.
// Never the one the scope may still send: four buffers cover the one being
// filled, an unsent one, one offered to the scope and one being sent.
// Fixed buffers; nothing allocates, nothing waits.
class ScopeFeed
{
public:
    explicit ScopeFeed(VectorScope& scope);
    ScopeFeed(const ScopeFeed&) = delete;
    ScopeFeed& operator=(const ScopeFeed&) = delete;

    // channel0/channel1 are the output channels of a processed stretch of
    // `count` frames; outputIsMS says they carry mid and side.
    void feed(const double* channel0, const double* channel1, uint32_t count, bool outputIsMS);
    void feed(const float* channel0, const float* channel1, uint32_t count, bool outputIsMS);

    // The bytes of one frame. Non-finite samples give 0.
    static void scaleFrame(double channel0, double channel1, bool outputIsMS, int8_t& mid, int8_t& side);
    static void scaleFrame(float channel0, float channel1, bool outputIsMS, int8_t& mid, int8_t& side);

    VectorScope& scope;
    uint32_t counter = 0;     // frames seen since the last kept frame
    uint32_t decimation = 10; // keep one frame in this many (sampleRate / 5120 once set up)
    uint8_t bufferA[ScopeBlock::kBytes] = {};
    uint8_t bufferB[ScopeBlock::kBytes] = {};
    uint8_t bufferC[ScopeBlock::kBytes] = {};
    uint8_t bufferD[ScopeBlock::kBytes] = {};
    uint8_t* current = bufferA; // the buffer being filled
    uint8_t* writePosition = bufferA;
    uint8_t* end = bufferA + ScopeBlock::kBytes;
    const uint8_t* unsentBlock = nullptr;  // completed, not yet taken by the scope
    const uint8_t* offeredBlock = nullptr; // last handed to the scope: waiting there, or being sent

private:
    // The first buffer neither unsent, offered nor being sent.
    uint8_t* freeBuffer();
    template <typename Sample>
    void feedFrames(const Sample* channel0, const Sample* channel1, uint32_t count, bool outputIsMS);
    void completeBlock();
    void offerUnsent();
};
