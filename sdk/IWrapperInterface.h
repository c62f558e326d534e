#pragma once

// The plug-in's own interface on the host context the VST 2 wrapper gives the
// controller: what the VST 2 host says about itself. A VST 3 host's context
// does not answer it.

#include "pluginterfaces/base/funknown.h"

#include <string>

namespace Steinberg {
namespace Vst {

class IWrapperInterface : public FUnknown
{
public:
    // The host's vendor text; empty when the host gives none.
    virtual std::string PLUGIN_API getHostVendor() = 0;
    // The host's vendor version, e.g. 2400 for 2.4.0.0.
    virtual int32 PLUGIN_API getHostVendorVersion() = 0;

    static const FUID iid;
};

#define KV_IID_BYTE(b) static_cast<char>(b)
// {F98A0741-847D-4E14-84DF-427E0EF0E425} as the 16 bytes in memory.
constexpr TUID IWrapperInterface_iid = {KV_IID_BYTE(0x41), KV_IID_BYTE(0x07), KV_IID_BYTE(0x8A), KV_IID_BYTE(0xF9),
                                        KV_IID_BYTE(0x7D), KV_IID_BYTE(0x84), KV_IID_BYTE(0x14), KV_IID_BYTE(0x4E),
                                        KV_IID_BYTE(0x84), KV_IID_BYTE(0xDF), KV_IID_BYTE(0x42), KV_IID_BYTE(0x7E),
                                        KV_IID_BYTE(0x0E), KV_IID_BYTE(0xF0), KV_IID_BYTE(0xE4), KV_IID_BYTE(0x25)};
#undef KV_IID_BYTE

inline const FUID IWrapperInterface::iid = FUID::fromTUID(IWrapperInterface_iid);

} // namespace Vst
} // namespace Steinberg
