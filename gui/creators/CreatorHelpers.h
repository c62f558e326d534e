#pragma once

#include "gui/IUIDescription.h"
#include "gui/UIAttributes.h"

#include <cstddef>
#include <string>

namespace VSTGUI {
namespace CreatorHelpers {

// Each reads one attribute and hands its value to set only when it is present and valid.

template <class Set>
void colorAttribute(const UIAttributes& attributes, const char* name, const IUIDescription* description, Set set)
{
    const std::string* text = attributes.getAttributeValue(name);
    CColor color;
    if (text && description && description->getColor(text->c_str(), color))
        set(color);
}

template <class Set>
void boolAttribute(const UIAttributes& attributes, const char* name, Set set)
{
    bool value = false;
    if (attributes.getBooleanAttribute(name, value))
        set(value);
}

template <class Set>
void doubleAttribute(const UIAttributes& attributes, const char* name, Set set)
{
    double value = 0;
    if (attributes.getDoubleAttribute(name, value))
        set(value);
}

template <class Set>
void fontAttribute(const UIAttributes& attributes, const char* name, const IUIDescription* description, Set set)
{
    const std::string* text = attributes.getAttributeValue(name);
    if (!text || !description)
        return;
    if (CFontRef font = description->getFont(text->c_str()))
        set(font);
}

// A style bit and the boolean attribute that sets or clears it.
struct StyleFlag
{
    const char* name;
    int32 bit;
};

// style with the bits of the flags whose attributes are present set or cleared.
template <size_t N>
int32 styleAttributes(const UIAttributes& attributes, const StyleFlag (&flags)[N], int32 style)
{
    for (const StyleFlag& flag : flags)
        boolAttribute(attributes, flag.name, [&](bool on) { style = on ? (style | flag.bit) : (style & ~flag.bit); });
    return style;
}

// "left", "center" or "right".
bool parseAlignment(const std::string& text, int32& alignment);

} // namespace CreatorHelpers
} // namespace VSTGUI
