#pragma once

#include "gui/CDrawContext.h"

#include <cairo.h>

#include <cmath>

namespace VSTGUI {
namespace X11 {

// The drawing primitives over a cairo context.
class CairoDrawContext : public CDrawContext
{
public:
    // cr must stay valid while the context is used; the context does not own
    // it. Drawing is scaled by scaleFactor from here on.
    explicit CairoDrawContext(cairo_t* cr, double scaleFactor = 1.);

    void setClipRect(const CRect& r) override;
    void offsetOrigin(const CPoint& p) override;
    void saveGlobalState() override;
    void restoreGlobalState() override;

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

    cairo_t* getCairo() const { return cr; }

private:
    void setSourceColor(const CColor& c);
    void applyLineState();
    void applyDrawMode();
    void roundRectPath(const CRect& r, CCoord radius);
    void finishPath(CDrawStyle style);
    void selectFont();
    // v moved to the nearest device pixel boundary.
    double snap(double v) const { return std::round(v * scaleFactor) / scaleFactor; }

    cairo_t* cr;
};

} // namespace X11
} // namespace VSTGUI
