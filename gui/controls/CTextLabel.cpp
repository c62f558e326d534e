#include "gui/controls/CTextLabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel(const CRect& size, UTF8StringPtr txt, CBitmap* background, int32 style)
    : CParamDisplay(size, background, style), text(txt ? txt : "")
{
}

void CTextLabel::setText(UTF8StringPtr txt)
{
    const std::string newText = txt ? txt : "";
    if (newText == text)
        return;
    text = newText;
    invalid();
}

} // namespace VSTGUI
