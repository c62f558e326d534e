#include "tests/support/StateRecords.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>

using namespace Steinberg;

namespace KalviorTest {

namespace {

IPtr<MemoryStream> streamOf(const uint8_t* data, size_t size)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    int32 written = 0;
    if (size > 0)
        stream->write(const_cast<uint8_t*>(data), static_cast<int32>(size), &written);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

} // namespace

void appendRecord(Bytes& bytes, uint32_t id, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(id >> shift));
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

Bytes stateRecord(uint32_t id, double value)
{
    Bytes bytes;
    appendRecord(bytes, id, value);
    return bytes;
}

Bytes stateOf(const ValueList& values)
{
    Bytes bytes;
    for (const auto& [id, value] : values)
        appendRecord(bytes, id, value);
    return bytes;
}

Bytes stateOf(const Values& values)
{
    Bytes bytes;
    for (uint32_t id = 0; id < kParameterCount; ++id)
        appendRecord(bytes, id, values[id]);
    return bytes;
}

bool readRecord(const uint8_t* record, uint32_t& id, double& value)
{
    id = 0;
    for (size_t i = 0; i < 4; ++i)
        id = (id << 8) | record[i];
    uint64_t bits = 0;
    for (size_t i = 4; i < kRecordBytes; ++i)
        bits = (bits << 8) | record[i];
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool readRecord(const Bytes& bytes, size_t index, uint32_t& id, double& value)
{
    const size_t at = index * kRecordBytes;
    return at + kRecordBytes <= bytes.size() && readRecord(bytes.data() + at, id, value);
}

bool decodeState(const Bytes& bytes, Values& values)
{
    if (bytes.size() != kStateBytes)
        return false;
    for (uint32_t id = 0; id < kParameterCount; ++id)
    {
        uint32_t stored = 0;
        if (!readRecord(bytes, id, stored, values[id]) || stored != id)
            return false;
    }
    return true;
}

Values defaultValues()
{
    Values values{};
    for (const ParameterRow& row : kParameters)
        values[row.id] = row.defaultNormalized;
    return values;
}

Bytes getStateBytes(Vst::IComponent* component, tresult* result)
{
    IPtr<MemoryStream> stream = owned(new MemoryStream());
    const tresult r = component->getState(stream);
    if (result)
        *result = r;
    const auto* data = reinterpret_cast<const uint8_t*>(stream->getData());
    return Bytes(data, data + stream->getSize());
}

tresult setStateBytes(Vst::IComponent* component, const uint8_t* data, size_t size)
{
    return component->setState(streamOf(data, size));
}

tresult setStateBytes(Vst::IComponent* component, const Bytes& bytes)
{
    return setStateBytes(component, bytes.data(), bytes.size());
}

tresult setComponentStateBytes(Vst::IEditController* controller, const uint8_t* data, size_t size)
{
    return controller->setComponentState(streamOf(data, size));
}

} // namespace KalviorTest
