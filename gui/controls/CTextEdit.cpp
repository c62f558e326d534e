#include "gui/controls/CTextEdit.h"

#include "gui/CFrame.h"
#include "gui/IPlatformFrame.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {

constexpr CCoord kTextInset = 3;
constexpr CCoord kMarkInset = 3; // selection and caret keep this far from top and bottom
const CColor kSelectionColor(60, 100, 190, 255);

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

size_t codePointCount(const std::string& text)
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

// False for what no text field takes: controls, surrogates, beyond Unicode.
bool encodeUtf8(int32 c, std::string& out)
{
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0) || (c >= 0xd800 && c <= 0xdfff) || c > 0x10ffff)
        return false;
    const auto byte = [](int32 v)
    {
        return static_cast<char>(v);
    };
    if (c < 0x80)
        out = {byte(c)};
    else if (c < 0x800)
        out = {byte(0xc0 | (c >> 6)), byte(0x80 | (c & 0x3f))};
    else if (c < 0x10000)
        out = {byte(0xe0 | (c >> 12)), byte(0x80 | ((c >> 6) & 0x3f)), byte(0x80 | (c & 0x3f))};
    else
        out = {byte(0xf0 | (c >> 18)), byte(0x80 | ((c >> 12) & 0x3f)), byte(0x80 | ((c >> 6) & 0x3f)),
               byte(0x80 | (c & 0x3f))};
    return true;
}

} // namespace

CTextEdit::CTextEdit(const CRect& size, UTF8StringPtr txt, CloseFunction onClose)
    : CTextLabel(size, txt), onClose(std::move(onClose)), caret(text.size())
{
    setWantsFocus(true);
    setHoriAlign(kLeftText);
}

void CTextEdit::setText(UTF8StringPtr txt)
{
    CTextLabel::setText(txt);
    caret = text.size();
    allSelected = true;
}

void CTextEdit::insert(int32 codePoint)
{
    std::string bytes;
    if (!encodeUtf8(codePoint, bytes))
        return;
    if (allSelected)
    {
        text.clear();
        caret = 0;
        allSelected = false;
    }
    if (codePointCount(text) >= kMaxCharacters)
        return;
    text.insert(caret, bytes);
    caret += bytes.size();
}

void CTextEdit::erase(bool forward)
{
    if (allSelected)
    {
        text.clear();
        caret = 0;
        allSelected = false;
        return;
    }
    size_t from = caret;
    size_t to = caret;
    if (forward && to < text.size())
    {
        do
            ++to;
        while (to < text.size() && isContinuationByte(text[to]));
    }
    else if (!forward && from > 0)
    {
        do
            --from;
        while (from > 0 && isContinuationByte(text[from]));
    }
    text.erase(from, to - from);
    caret = from;
}

void CTextEdit::moveCaret(uint8_t key)
{
    const bool wasSelected = std::exchange(allSelected, false);
    switch (key)
    {
    case VKEY_HOME: caret = 0; break;
    case VKEY_END: caret = text.size(); break;
    case VKEY_LEFT:
        if (wasSelected)
            caret = 0;
        else if (caret > 0)
        {
            do
                --caret;
            while (caret > 0 && isContinuationByte(text[caret]));
        }
        break;
    case VKEY_RIGHT:
        if (wasSelected)
            caret = text.size();
        else if (caret < text.size())
        {
            do
                ++caret;
            while (caret < text.size() && isContinuationByte(text[caret]));
        }
        break;
    default: break;
    }
}

int32 CTextEdit::onKeyDown(VstKeyCode& keyCode)
{
    // Shortcuts stay the host's.
    if (closed || (keyCode.modifier & (MODIFIER_CONTROL | MODIFIER_COMMAND)))
        return kKeyNotHandled;
    switch (keyCode.virt)
    {
    case VKEY_RETURN:
    case VKEY_ENTER: finish(true); return kKeyHandled;
    case VKEY_ESCAPE: finish(false); return kKeyHandled;
    case VKEY_BACK: erase(false); break;
    case VKEY_DELETE: erase(true); break;
    case VKEY_LEFT:
    case VKEY_RIGHT:
    case VKEY_HOME:
    case VKEY_END: moveCaret(keyCode.virt); break;
    case VKEY_SPACE: insert(keyCode.character ? keyCode.character : ' '); break;
    case 0: insert(keyCode.character); break;
    default: break; // taken, so that no knob moves while the user types
    }
    invalid();
    return kKeyHandled;
}

int32 CTextEdit::onKeyUp(VstKeyCode& keyCode)
{
    return closed || (keyCode.modifier & (MODIFIER_CONTROL | MODIFIER_COMMAND)) ? kKeyNotHandled : kKeyHandled;
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    // A click inside keeps the field open; the frame cancels it on clicks elsewhere.
    if (!closed && buttons.isLeftButton())
    {
        if (buttons.isDoubleClick())
        {
            allSelected = true;
            caret = text.size();
        }
        else
            placeCaret(where.x);
        invalid();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::placeCaret(CCoord x)
{
    if (caretStops.empty())
        return; // not drawn yet: nothing to aim at
    const auto distance = [x](const CaretStop& stop)
    {
        return std::fabs(stop.x - x);
    };
    const auto nearest = std::min_element(caretStops.begin(), caretStops.end(),
                                          [&](const CaretStop& a, const CaretStop& b)
                                          { return distance(a) < distance(b); });
    caret = nearest->offset;
    allSelected = false;
}

void CTextEdit::takeFocus()
{
    CFrame* frame = getFrame();
    if (focusTaken || !frame || !frame->getPlatformFrame())
        return;
    frame->getPlatformFrame()->takeKeyboardFocus();
    focusTaken = true;
}

void CTextEdit::looseFocus()
{
    if (focusTaken)
    {
        focusTaken = false;
        if (CFrame* frame = getFrame(); frame && frame->getPlatformFrame())
            frame->getPlatformFrame()->giveBackKeyboardFocus();
    }
    if (!closed)
        finish(false);
}

bool CTextEdit::removed(CView* parent)
{
    // Taken off with the views around it: nothing to report to them.
    closed = true;
    return CTextLabel::removed(parent);
}

void CTextEdit::finish(bool commit)
{
    if (closed)
        return;
    closed = true;
    SharedPointer<CView> hold(this);
    if (CFrame* frame = getFrame(); frame && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
    if (CloseFunction close = std::move(onClose))
        close(commit ? &text : nullptr);
    if (auto* parent = dynamic_cast<CViewContainer*>(getParentView()))
        parent->removeView(this);
}

void CTextEdit::draw(CDrawContext* context)
{
    drawBack(context);
    context->saveGlobalState();
    context->setFont(font);
    const CCoord width = context->getStringWidth(text.c_str());
    const CCoord caretX = context->getStringWidth(text.substr(0, caret).c_str());
    // Scrolled so that the caret stays in sight.
    const CCoord room = size.getWidth() - 2 * kTextInset;
    const CCoord left = size.left + kTextInset - std::max<CCoord>(0, caretX - room);
    caretStops.clear();
    for (size_t offset = 0; offset <= text.size(); ++offset)
        if (offset == text.size() || !isContinuationByte(text[offset]))
            caretStops.push_back({offset, left + context->getStringWidth(text.substr(0, offset).c_str())});
    if (allSelected && !text.empty())
    {
        context->setFillColor(kSelectionColor);
        context->drawRect(CRect(left - 1, size.top + kMarkInset, left + width + 1, size.bottom - kMarkInset),
                          kDrawFilled);
    }
    context->setFontColor(fontColor);
    context->drawString(text.c_str(), CRect(left, size.top, left + width + 1, size.bottom), kLeftText, antialias);
    if (!allSelected)
    {
        const CCoord x = std::floor(left + caretX) + 0.5;
        context->setDrawMode(kAliasing);
        context->setLineWidth(1);
        context->setFrameColor(fontColor);
        context->drawLine(CPoint(x, size.top + kMarkInset), CPoint(x, size.bottom - kMarkInset));
    }
    context->restoreGlobalState();
    setDirty(false);
}

} // namespace VSTGUI
