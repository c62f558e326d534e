#pragma once

#include "gui/CBaseObject.h"

#include <string>

namespace VSTGUI {

// Where an editor description and its bitmaps come from, by file name.
class IResourceProvider : public CBaseObject
{
public:
    // The whole resource; false when there is none of that name.
    virtual bool read(const std::string& name, std::string& bytes) const = 0;
};

} // namespace VSTGUI
