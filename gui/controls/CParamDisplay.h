#pragma once

#include "gui/CColor.h"
#include "gui/CControl.h"
#include "gui/CDrawContext.h"
#include "gui/CFontDesc.h"

#include <functional>
#include <string>

namespace VSTGUI {

// Shows its value as text over a back colour with an optional frame.
class CParamDisplay : public CControl
{
public:
    enum Style : int32
    {
        k3DIn = 1 << 0,
        k3DOut = 1 << 1,
        kNoFrame = 1 << 2,
        kNoTextStyle = 1 << 3,
        kNoDrawStyle = 1 << 4,
        kShadowText = 1 << 5,
        kRoundRectStyle = 1 << 6,
    };

    // Fills result with the text for value; false to fall back to the number.
    using ValueToStringFunction = std::function<bool(float value, std::string& result, CParamDisplay* display)>;
    // Applies a text the user typed over the display; false when it names no value.
    using TextInputFunction = std::function<bool(const std::string& text, CParamDisplay* display)>;

    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32 style = 0);

    void draw(CDrawContext* context) override;
    // A double-click opens a text field over the display when it takes text input.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    void setFont(CFontRef font);
    CFontRef getFont() const { return font; }
    void setFontColor(const CColor& c)
    {
        fontColor = c;
        invalid();
    }
    CColor getFontColor() const { return fontColor; }
    void setBackColor(const CColor& c)
    {
        backColor = c;
        invalid();
    }
    CColor getBackColor() const { return backColor; }
    void setFrameColor(const CColor& c)
    {
        frameColor = c;
        invalid();
    }
    CColor getFrameColor() const { return frameColor; }
    void setShadowColor(const CColor& c)
    {
        shadowColor = c;
        invalid();
    }
    CColor getShadowColor() const { return shadowColor; }
    void setHoriAlign(CHoriTxtAlign a)
    {
        horiTxtAlign = a;
        invalid();
    }
    CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
    void setStyle(int32 s)
    {
        style = s;
        invalid();
    }
    int32 getStyle() const { return style; }
    void setRoundRectRadius(CCoord r)
    {
        roundRectRadius = r;
        invalid();
    }
    CCoord getRoundRectRadius() const { return roundRectRadius; }
    void setFrameWidth(CCoord w)
    {
        frameWidth = w;
        invalid();
    }
    CCoord getFrameWidth() const { return frameWidth; }
    void setTextInset(const CPoint& p)
    {
        textInset = p;
        invalid();
    }
    CPoint getTextInset() const { return textInset; }
    void setAntialias(bool state) { antialias = state; }
    bool getAntialias() const { return antialias; }
    void setPrecision(int32 digits) { valuePrecision = digits; }
    int32 getPrecision() const { return valuePrecision; }
    void setValueToStringFunction(ValueToStringFunction f)
    {
        valueToString = std::move(f);
        invalid();
    }

    void setTextInputFunction(TextInputFunction f) { textInput = std::move(f); }
    bool takesTextInput() const { return static_cast<bool>(textInput); }
    // A text field over the display with its text, which hands what the user
    // commits to the text input function. False without one or outside a frame.
    bool openTextEdit();

    // The text drawn over the back: here the current value as text.
    virtual std::string getDisplayedText();

    CLASS_METHODS(CParamDisplay, CControl)

protected:
    virtual void drawBack(CDrawContext* context);
    virtual void drawText(CDrawContext* context, const std::string& text);

    SharedPointer<CFontDesc> font;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CColor shadowColor = kRedCColor;
    CHoriTxtAlign horiTxtAlign = kCenterText;
    int32 style;
    CCoord roundRectRadius = 6;
    CCoord frameWidth = 1;
    CPoint textInset;
    bool antialias = true;
    int32 valuePrecision = 2;
    ValueToStringFunction valueToString;
    TextInputFunction textInput;
};

} // namespace VSTGUI
