#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Hosting {

// queryInterface of an object that offers FUnknown and the one interface I. A
// hit counts a reference, since the caller releases what it gets; a null
// `obj` is refused rather than written to.
template <class I>
tresult queryOneInterface(I* object, const TUID iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) || FUnknownPrivate::iidEqual(iid, I::iid))
    {
        object->addRef();
        *obj = object;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

// The FUnknown part of an object the host keeps by value and only lends to the
// plug-in: references are not counted, and it answers FUnknown and I.
template <class I>
class HostOwned : public I
{
public:
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE
    {
        return queryOneInterface<I>(this, iid, obj);
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }
};

} // namespace Hosting
} // namespace Steinberg
