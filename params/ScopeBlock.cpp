#include "params/ScopeBlock.h"

#include "pluginterfaces/vst/ivstattributes.h"

namespace ScopeBlock {

void write(Steinberg::Vst::IMessage& message, const uint8_t* block)
{
    message.setMessageID(kMessageId);
    if (Steinberg::Vst::IAttributeList* attributes = message.getAttributes())
        attributes->setBinary(kDataAttribute, block, kBytes);
}

const uint8_t* read(Steinberg::Vst::IMessage& message)
{
    if (!Steinberg::FIDStringsEqual(message.getMessageID(), kMessageId))
        return nullptr;
    Steinberg::Vst::IAttributeList* attributes = message.getAttributes();
    const void* data = nullptr;
    Steinberg::uint32 size = 0;
    if (!attributes || attributes->getBinary(kDataAttribute, data, size) != Steinberg::kResultOk)
        return nullptr;
    // only a whole block is drawn; anything else would be read past its end
    if (!data || size != kBytes)
        return nullptr;
    return static_cast<const uint8_t*>(data);
}

} // namespace ScopeBlock
