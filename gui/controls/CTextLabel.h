#pragma once

#include "gui/controls/CParamDisplay.h"

namespace VSTGUI {

// Shows a fixed text instead of its value.
class CTextLabel : public CParamDisplay
{
public:
    CTextLabel(const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr, int32 style = 0);

    virtual void setText(UTF8StringPtr text);
    virtual UTF8StringPtr getText() const { return text.c_str(); }

    // The text it holds (not what getText answers).
    std::string getDisplayedText() override { return text; }

    CLASS_METHODS(CTextLabel, CParamDisplay)

protected:
    std::string text;
};

} // namespace VSTGUI
