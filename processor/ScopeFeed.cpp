#include "processor/ScopeFeed.h"

#include "processor/VectorScope.h"

#include <cstring>
#include <emmintrin.h> // SSE2: part of the x86-64 baseline

namespace {

// 127 * 0.707106781: full-scale mid or side maps to 89 out of 127.
constexpr double kScale = 89.802561187;
constexpr float kScaleSingle = 89.80256f;

// The two bytes of a frame from its scaled (mid, side) values: each truncated,
// halved towards zero when `halve`, and limited to -128..127; a value that is
// not finite gives 0. Branch-free, as it runs for every kept frame.
uint16_t packBytes(__m128i truncated, bool halve)
{
    if (halve)
        truncated = _mm_srai_epi32(_mm_add_epi32(truncated, _mm_srli_epi32(truncated, 31)), 1);
    const __m128i words = _mm_packs_epi32(truncated, truncated); // saturating: -32768..32767
    const __m128i bytes = _mm_packs_epi16(words, words);         // saturating: -128..127
    return static_cast<uint16_t>(_mm_cvtsi128_si32(bytes));      // mid in the low byte, side above
}

uint16_t frameBytes(double channel0, double channel1, bool outputIsMS)
{
    // L/R output: mid from left + right, side from left - right (halved); M/S: the channels themselves.
    const __m128d sum = outputIsMS ? _mm_setr_pd(channel0, channel1)
                                   : _mm_add_pd(_mm_set1_pd(channel0), _mm_setr_pd(channel1, -channel1));
    const __m128d scaled = _mm_mul_pd(sum, _mm_set1_pd(kScale));
    const __m128d finite = _mm_cmpeq_pd(_mm_sub_pd(scaled, scaled), _mm_setzero_pd());
    // Limited before the conversion so that it is defined; the limit does not change the result.
    const __m128d limited = _mm_min_pd(_mm_max_pd(scaled, _mm_set1_pd(-1024.0)), _mm_set1_pd(1024.0));
    return packBytes(_mm_cvttpd_epi32(_mm_and_pd(limited, finite)), !outputIsMS);
}

uint16_t frameBytes(float channel0, float channel1, bool outputIsMS)
{
    const __m128 sum = outputIsMS ? _mm_setr_ps(channel0, channel1, 0.0f, 0.0f)
                                  : _mm_add_ps(_mm_set1_ps(channel0), _mm_setr_ps(channel1, -channel1, 0.0f, 0.0f));
    const __m128 scaled = _mm_mul_ps(sum, _mm_set1_ps(kScaleSingle));
    const __m128 finite = _mm_cmpeq_ps(_mm_sub_ps(scaled, scaled), _mm_setzero_ps());
    const __m128 limited = _mm_min_ps(_mm_max_ps(scaled, _mm_set1_ps(-1024.0f)), _mm_set1_ps(1024.0f));
    return packBytes(_mm_cvttps_epi32(_mm_and_ps(limited, finite)), !outputIsMS);
}

template <typename Sample>
void scale(Sample channel0, Sample channel1, bool outputIsMS, int8_t& mid, int8_t& side)
{
    const uint16_t bytes = frameBytes(channel0, channel1, outputIsMS);
    mid = static_cast<int8_t>(bytes & 0xff);
    side = static_cast<int8_t>(bytes >> 8);
}

} // namespace

ScopeFeed::ScopeFeed(VectorScope& target) : scope(target) {}

void ScopeFeed::scaleFrame(double channel0, double channel1, bool outputIsMS, int8_t& mid, int8_t& side)
{
    scale(channel0, channel1, outputIsMS, mid, side);
}

void ScopeFeed::scaleFrame(float channel0, float channel1, bool outputIsMS, int8_t& mid, int8_t& side)
{
    scale(channel0, channel1, outputIsMS, mid, side);
}

void ScopeFeed::feed(const double* channel0, const double* channel1, uint32_t count, bool outputIsMS)
{
    feedFrames(channel0, channel1, count, outputIsMS);
}

void ScopeFeed::feed(const float* channel0, const float* channel1, uint32_t count, bool outputIsMS)
{
    feedFrames(channel0, channel1, count, outputIsMS);
}

template <typename Sample>
void ScopeFeed::feedFrames(const Sample* channel0, const Sample* channel1, uint32_t count, bool outputIsMS)
{
    if (count == 0)
        return;
    offerUnsent();
    // Locals: the byte stores could alias the members and force a reload after each.
    uint8_t* write = writePosition;
    uint32_t seen = counter;
    uint32_t i = 0;
    for (;;)
    {
        // frames still to skip before the next kept one
        const uint32_t skip = seen + 1 < decimation ? decimation - seen - 1 : 0;
        if (skip >= count - i)
        {
            seen += count - i;
            break;
        }
        i += skip;
        seen = 0;
        const uint16_t bytes = frameBytes(channel0[i], channel1[i], outputIsMS);
        std::memcpy(write, &bytes, sizeof bytes);
        write += 2;
        if (write == end)
        {
            completeBlock();
            write = writePosition;
        }
        ++i;
    }
    writePosition = write;
    counter = seen;
}

void ScopeFeed::completeBlock()
{
    // A newer block replaces one the scope has not taken yet.
    unsentBlock = current;
    offerUnsent();
    current = freeBuffer();
    writePosition = current;
    end = current + ScopeBlock::kBytes;
}

uint8_t* ScopeFeed::freeBuffer()
{
    // A block the worker has taken stays offered or in flight until it is sent.
    const uint8_t* inFlight = scope.blockInFlight.load(std::memory_order_acquire);
    for (uint8_t* buffer : {bufferA, bufferB, bufferC, bufferD})
        if (buffer != unsentBlock && buffer != offeredBlock && buffer != inFlight)
            return buffer;
    return bufferD; // not reached: three exclusions leave one of four
}

void ScopeFeed::offerUnsent()
{
    if (unsentBlock && scope.tryHandOff(unsentBlock))
    {
        offeredBlock = unsentBlock;
        unsentBlock = nullptr;
    }
}
