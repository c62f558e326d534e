#pragma once

#include "gui/CDrawContext.h"
#include "gui/win32/ComPtr.h"

#include <d2d1.h>
#include <dwrite.h>

namespace VSTGUI {
namespace Win32 {

class DWriteFont;
class DWriteFontCache;

// The drawing primitives over a Direct2D render target between its BeginDraw
// and EndDraw, text through DirectWrite. Every primitive is clipped to the
// context's clip rectangle and moved by its origin.
class D2DDrawContext : public CDrawContext
{
public:
    // Neither is owned; both must outlive the context. Drawing is scaled by
    // scaleFactor, text included, so it stays text at the device's density.
    D2DDrawContext(ID2D1RenderTarget* target, DWriteFontCache& fonts, double scaleFactor = 1.);

    void drawLine(const CPoint& from, const CPoint& to) override;
    void drawRect(const CRect& r, CDrawStyle style = kDrawStroked) override;
    void drawRoundRect(const CRect& r, CCoord radius, CDrawStyle style = kDrawStroked) override;
    void fillRoundRectGradient(const CRect& r, CCoord radius, const CColor& top, const CColor& bottom) override;
    void drawEllipse(const CRect& r, CDrawStyle style = kDrawStroked) override;
    void drawArc(const CRect& r, double startAngle, double endAngle, CDrawStyle style = kDrawStroked) override;
    void drawPoint(const CPoint& p, const CColor& color) override;
    void drawString(UTF8StringPtr text, const CRect& r, CHoriTxtAlign align = kCenterText,
                    bool antialias = true) override;
    CCoord getStringWidth(UTF8StringPtr text) override;
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(), float alpha = 1.f) override;

private:
    class Clip;

    void fillAndStroke(ID2D1Geometry* geometry, CDrawStyle style, bool antialias);
    D2D1_COLOR_F colorOf(const CColor& c) const;
    void applyDrawMode(bool antialias);
    // v moved to the nearest device pixel boundary.
    double snap(double v) const;
    // One unbounded line of text in font; null when it cannot be laid out.
    ComPtr<IDWriteTextLayout> layoutOf(UTF8StringPtr text, const DWriteFont& font) const;

    ID2D1RenderTarget* target;
    DWriteFontCache& fonts;
};

} // namespace Win32
} // namespace VSTGUI
