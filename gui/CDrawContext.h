#pragma once

#include "gui/CColor.h"
#include "gui/CFontDesc.h"
#include "gui/CRect.h"

#include <vector>

namespace VSTGUI {

class CBitmap;

enum CDrawStyle : int32
{
    kDrawStroked = 0,
    kDrawFilled,
    kDrawFilledAndStroked
};

enum CDrawModeFlags : int32
{
    kAliasing = 0,
    kAntiAliasing = 1
};

enum CLineStyle : int32
{
    kLineSolid = 0,
    kLineOnOffDash
};

enum CHoriTxtAlign : int32
{
    kLeftText = 0,
    kCenterText,
    kRightText
};

// Drawing state and primitives. Coordinates are those of the view being
// drawn; containers move the origin for their children. Each platform side
// draws the primitives with its own graphics library, scaleFactor device
// pixels to a unit.
class CDrawContext
{
public:
    explicit CDrawContext(double scaleFactor = 1.) : scaleFactor(scaleFactor) {}
    virtual ~CDrawContext() = default;
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void setFrameColor(const CColor& c) { state.frameColor = c; }
    CColor getFrameColor() const { return state.frameColor; }
    void setFillColor(const CColor& c) { state.fillColor = c; }
    CColor getFillColor() const { return state.fillColor; }
    void setFontColor(const CColor& c) { state.fontColor = c; }
    CColor getFontColor() const { return state.fontColor; }
    void setFont(CFontRef font, CCoord size = 0, int32 style = -1);
    const CFontDesc& getFont() const { return state.font; }
    void setLineWidth(CCoord w) { state.lineWidth = w; }
    CCoord getLineWidth() const { return state.lineWidth; }
    void setLineStyle(CLineStyle s) { state.lineStyle = s; }
    CLineStyle getLineStyle() const { return state.lineStyle; }
    void setDrawMode(int32 mode) { state.drawMode = mode; }
    int32 getDrawMode() const { return state.drawMode; }
    // Multiplies every colour's and bitmap's alpha while drawing.
    void setGlobalAlpha(float a) { state.globalAlpha = a; }
    float getGlobalAlpha() const { return state.globalAlpha; }
    // Device pixels per unit.
    double getScaleFactor() const { return scaleFactor; }

    // Replaces the clip rectangle (callers bound it by the old one).
    virtual void setClipRect(const CRect& r);
    void getClipRect(CRect& r) const;
    // Moves the origin by p; undone by restoreGlobalState.
    virtual void offsetOrigin(const CPoint& p);
    CPoint getOffset() const { return state.offset; }
    virtual void saveGlobalState();
    virtual void restoreGlobalState();

    virtual void drawLine(const CPoint& from, const CPoint& to) = 0;
    virtual void drawRect(const CRect& r, CDrawStyle style = kDrawStroked) = 0;
    virtual void drawRoundRect(const CRect& r, CCoord radius, CDrawStyle style = kDrawStroked) = 0;
    virtual void fillRoundRectGradient(const CRect& r, CCoord radius, const CColor& top, const CColor& bottom) = 0;
    virtual void drawEllipse(const CRect& r, CDrawStyle style = kDrawStroked) = 0;
    // Angles in degrees, clockwise from 3 o'clock.
    virtual void drawArc(const CRect& r, double startAngle, double endAngle, CDrawStyle style = kDrawStroked) = 0;
    // Sets one pixel.
    virtual void drawPoint(const CPoint& p, const CColor& color) = 0;
    // One line of UTF-8 text, vertically centred in r and clipped to it.
    virtual void drawString(UTF8StringPtr text, const CRect& r, CHoriTxtAlign align = kCenterText,
                            bool antialias = true) = 0;
    virtual CCoord getStringWidth(UTF8StringPtr text) = 0;
    // Draws the part of bitmap that starts at offset into dest.
    virtual void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(), float alpha = 1.f) = 0;

protected:
    struct State
    {
        CColor frameColor = kBlackCColor;
        CColor fillColor = kWhiteCColor;
        CColor fontColor = kWhiteCColor;
        CFontDesc font{"Arial", 12};
        CCoord lineWidth = 1;
        CLineStyle lineStyle = kLineSolid;
        int32 drawMode = kAliasing;
        float globalAlpha = 1.f;
        CPoint offset;
        CRect clip{-1e6, -1e6, 1e6, 1e6}; // in the frame's coordinates
    };

    bool hasSavedState() const { return !savedStates.empty(); }

    State state;
    const double scaleFactor;

private:
    std::vector<State> savedStates;
};

} // namespace VSTGUI
