#pragma once

#include "gui/controls/CTextLabel.h"

#include <functional>
#include <string>
#include <vector>

namespace VSTGUI {

// A one-line text field drawn over another view while the user types: it
// opens with its whole text selected, takes printable characters, Backspace,
// Delete, Left/Right and Home/End; a click puts the caret where it lands, a
// double-click selects all again. Enter commits, Escape or the loss of the
// focus (a click elsewhere, another window taking the keyboard) cancels. Then it calls its close function once
// and takes itself off its parent. While it has the focus the frame's window
// has the keyboard.
class CTextEdit : public CTextLabel
{
public:
    // committed is the text on Enter, null when the edit was cancelled.
    using CloseFunction = std::function<void(const std::string* committed)>;

    static constexpr size_t kMaxCharacters = 32; // code points: more is no parameter text

    CTextEdit(const CRect& size, UTF8StringPtr text, CloseFunction onClose);

    int32 onKeyDown(VstKeyCode& keyCode) override;
    int32 onKeyUp(VstKeyCode& keyCode) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    void takeFocus() override;
    void looseFocus() override;
    bool removed(CView* parent) override;
    void draw(CDrawContext* context) override;

    void setText(UTF8StringPtr text) override;
    // Byte offsets into the text; the selection is all or nothing.
    size_t getCaret() const { return caret; }
    bool isAllSelected() const { return allSelected; }
    bool isOpen() const { return !closed; }

    CLASS_METHODS_NOCOPY(CTextEdit, CTextLabel)

private:
    void insert(int32 codePoint);
    void erase(bool forward);
    void moveCaret(uint8_t key);
    void finish(bool commit);
    void placeCaret(CCoord x);

    CloseFunction onClose;
    size_t caret = 0;
    bool allSelected = true;
    bool closed = false;
    bool focusTaken = false;
    // Where the caret can stand, as the last drawing laid the text out.
    struct CaretStop
    {
        size_t offset;
        CCoord x;
    };
    std::vector<CaretStop> caretStops;
};

} // namespace VSTGUI
