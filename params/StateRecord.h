#pragma once

// The component state: a headerless sequence of 12-byte records, each a
// parameter ID (32-bit unsigned) and its normalised value (IEEE 754 double),
// both big-endian. Processor and controller read it by the same rules.

#include "base/source/fstreamer.h"

#include <cstdint>

namespace StateRecord {

constexpr uint32_t kBytes = 12;

// Reads a state record by record.
class Reader
{
public:
    explicit Reader(Steinberg::IBStream* stream) : streamer(stream, kBigEndian) {}

    // The next record that can be applied: false at the end of the stream or
    // at a record cut short, so the whole records before a cut still count.
    // Records of unknown IDs or with non-finite values are skipped; values
    // outside 0..1 are limited to it.
    bool next(uint32_t& id, double& value);

private:
    Steinberg::IBStreamer streamer;
};

// Calls apply(id, value) for every record a Reader gives, in stream order.
template <typename Apply>
void readAll(Steinberg::IBStream* stream, Apply&& apply)
{
    Reader reader(stream);
    uint32_t id = 0;
    double value = 0.0;
    while (reader.next(id, value))
        apply(id, value);
}

// Appends one record; false when the stream refuses the bytes.
bool write(Steinberg::IBStream* stream, uint32_t id, double value);

} // namespace StateRecord
