#pragma once

#include "gui/CColor.h"
#include "gui/CFontDesc.h"
#include "gui/CRect.h"

#include <cairo.h>

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

// Drawing state and primitives over a cairo context. Coordinates are those of
// the view being drawn; containers move the origin for their children.
class CDrawContext
{
public:
    // cr must stay valid while the context is used; the context does not own it.
    explicit CDrawContext(cairo_t* cr);
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

    // Replaces the clip rectangle (callers bound it by the old one).
    void setClipRect(const CRect& r);
    void getClipRect(CRect& r) const;
    // Moves the origin by p; undone by restoreGlobalState.
    void offsetOrigin(const CPoint& p);
    CPoint getOffset() const { return state.offset; }
    void saveGlobalState();
    void restoreGlobalState();

    void drawLine(const CPoint& from, const CPoint& to);
    void drawRect(const CRect& r, CDrawStyle style = kDrawStroked);
    void drawRoundRect(const CRect& r, CCoord radius, CDrawStyle style = kDrawStroked);
    void fillRoundRectGradient(const CRect& r, CCoord radius, const CColor& top, const CColor& bottom);
    void drawEllipse(const CRect& r, CDrawStyle style = kDrawStroked);
    // Angles in degrees, clockwise from 3 o'clock.
    void drawArc(const CRect& r, double startAngle, double endAngle, CDrawStyle style = kDrawStroked);
    // Sets one pixel.
    void drawPoint(const CPoint& p, const CColor& color);
    // One line of UTF-8 text, vertically centred in r and clipped to it.
    void drawString(UTF8StringPtr text, const CRect& r, CHoriTxtAlign align = kCenterText, bool antialias = true);
    CCoord getStringWidth(UTF8StringPtr text);
    // Draws the part of bitmap that starts at offset into dest.
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(), float alpha = 1.f);

    cairo_t* getCairo() const { return cr; }

private:
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
        CRect clip{-1e6, -1e6, 1e6, 1e6}; // in device coordinates
    };

    void setSourceColor(const CColor& c);
    void applyLineState();
    void applyDrawMode();
    void roundRectPath(const CRect& r, CCoord radius);
    void finishPath(CDrawStyle style);
    void selectFont();

    cairo_t* cr;
    State state;
    std::vector<State> savedStates;
};

} // namespace VSTGUI
