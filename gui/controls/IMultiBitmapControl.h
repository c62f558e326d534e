#pragma once

#include "gui/CBaseObject.h"

namespace VSTGUI {

// A control drawn from a strip of equal frames stacked vertically.
class IMultiBitmapControl
{
public:
    virtual ~IMultiBitmapControl() = default;

    virtual void setHeightOfOneImage(const CCoord& height) { heightOfOneImage = height; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    virtual void setNumSubPixmaps(int32 count) { subPixmaps = count; }
    int32 getNumSubPixmaps() const { return subPixmaps; }

protected:
    CCoord heightOfOneImage = 0;
    int32 subPixmaps = 0;
};

} // namespace VSTGUI
