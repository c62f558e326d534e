// The wrapper's chunks: both components' states behind their two sizes.

#include "vst2/Vst2Wrapper.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>
#include <limits>
#include <new>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kChunkHeaderSize = 16; // two 64-bit sizes

void writeLittleEndian64(uint8_t* out, int64 value)
{
    const auto bits = static_cast<uint64>(value);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int64 readLittleEndian64(const uint8_t* in)
{
    uint64 bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<uint64>(in[i]) << (8 * i);
    return static_cast<int64>(bits);
}

} // namespace

VstInt32 Vst2Wrapper::getChunk(void** data, bool /*isPreset*/)
{
    *data = nullptr;
    flushPendingChanges();
    onTimer(); // the controller's state may depend on its parameters

    MemoryStream componentState;
    if (component->getState(&componentState) != kResultOk)
        componentState.setSize(0);
    MemoryStream controllerState;
    if (!controller || controller->getState(&controllerState) != kResultOk)
        controllerState.setSize(0);

    const int64 componentSize = componentState.getSize();
    const int64 controllerSize = controllerState.getSize();
    const int64 total = kChunkHeaderSize + componentSize + controllerSize;
    if (componentSize + controllerSize == 0 || total > std::numeric_limits<VstInt32>::max())
        return 0;
    try
    {
        chunk.resize(static_cast<size_t>(total));
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
    writeLittleEndian64(chunk.data(), componentSize);
    writeLittleEndian64(chunk.data() + 8, controllerSize);
    if (componentSize > 0)
        std::memcpy(chunk.data() + kChunkHeaderSize, componentState.getData(), static_cast<size_t>(componentSize));
    if (controllerSize > 0)
        std::memcpy(chunk.data() + kChunkHeaderSize + componentSize, controllerState.getData(),
                    static_cast<size_t>(controllerSize));
    *data = chunk.data();
    return static_cast<VstInt32>(total);
}

VstInt32 Vst2Wrapper::setChunk(void* data, VstInt32 byteSize, bool /*isPreset*/)
{
    if (!data || byteSize < kChunkHeaderSize)
        return 0;
    auto* bytes = static_cast<uint8_t*>(data);
    const int64 componentSize = readLittleEndian64(bytes);
    const int64 controllerSize = readLittleEndian64(bytes + 8);
    const int64 available = byteSize - kChunkHeaderSize;
    // A chunk whose sizes do not fit its length is refused whole.
    if (componentSize < 0 || controllerSize < 0 || componentSize > available ||
        controllerSize > available - componentSize)
        return 0;
    uint8_t* componentBytes = bytes + kChunkHeaderSize;
    uint8_t* controllerBytes = componentBytes + componentSize;

    // The audio thread stays out until the values the host sees are the loaded ones.
    guard.lock();
    // Changes queued before the load are obsolete.
    toProcessor.discard();
    toController.discard();
    fromProcessor.discard();
    MemoryStream componentState(componentBytes, componentSize);
    component->setState(&componentState);
    if (controller)
    {
        MemoryStream componentStateAgain(componentBytes, componentSize);
        controller->setComponentState(&componentStateAgain);
        MemoryStream controllerState(controllerBytes, controllerSize);
        controller->setState(&controllerState);
    }
    readValuesFromController();
    guard.unlock();
    return 0;
}

} // namespace Vst
} // namespace Steinberg
