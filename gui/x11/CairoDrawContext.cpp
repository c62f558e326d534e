#include "gui/x11/CairoDrawContext.h"

#include "gui/CBitmap.h"
#include "gui/x11/CairoBitmap.h"

#include <cmath>

namespace VSTGUI {
namespace X11 {

namespace {

constexpr double kDegToRad = M_PI / 180.;

double channel(uint8_t v)
{
    return v / 255.;
}

} // namespace

CairoDrawContext::CairoDrawContext(cairo_t* cr, double scaleFactor) : CDrawContext(scaleFactor), cr(cr)
{
    cairo_scale(cr, scaleFactor, scaleFactor);
}

void CairoDrawContext::setClipRect(const CRect& r)
{
    CDrawContext::setClipRect(r);
    cairo_reset_clip(cr);
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr);
}

void CairoDrawContext::offsetOrigin(const CPoint& p)
{
    CDrawContext::offsetOrigin(p);
    cairo_translate(cr, p.x, p.y);
}

void CairoDrawContext::saveGlobalState()
{
    CDrawContext::saveGlobalState();
    cairo_save(cr);
}

void CairoDrawContext::restoreGlobalState()
{
    if (!hasSavedState())
        return;
    CDrawContext::restoreGlobalState();
    cairo_restore(cr);
}

void CairoDrawContext::setSourceColor(const CColor& c)
{
    cairo_set_source_rgba(cr, channel(c.red), channel(c.green), channel(c.blue), channel(c.alpha) * state.globalAlpha);
}

void CairoDrawContext::applyLineState()
{
    cairo_set_line_width(cr, state.lineWidth);
    if (state.lineStyle == kLineOnOffDash)
    {
        const double dash = std::max(1.0, state.lineWidth);
        cairo_set_dash(cr, &dash, 1, 0);
    }
    else
    {
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

void CairoDrawContext::applyDrawMode()
{
    cairo_set_antialias(cr, state.drawMode == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CairoDrawContext::finishPath(CDrawStyle style)
{
    applyDrawMode();
    if (style == kDrawFilled || style == kDrawFilledAndStroked)
    {
        setSourceColor(state.fillColor);
        if (style == kDrawFilledAndStroked)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked)
    {
        applyLineState();
        setSourceColor(state.frameColor);
        cairo_stroke(cr);
    }
}

void CairoDrawContext::drawLine(const CPoint& from, const CPoint& to)
{
    // Odd-width lines on whole coordinates sit on pixel centres so they stay crisp.
    const double shift = std::fmod(std::round(state.lineWidth), 2.) == 1. ? 0.5 : 0.;
    cairo_move_to(cr, from.x + shift, from.y + shift);
    cairo_line_to(cr, to.x + shift, to.y + shift);
    finishPath(kDrawStroked);
}

void CairoDrawContext::drawRect(const CRect& r, CDrawStyle style)
{
    CRect path = r;
    if (style != kDrawFilled)
        path.inset(state.lineWidth / 2., state.lineWidth / 2.);
    cairo_rectangle(cr, path.left, path.top, path.getWidth(), path.getHeight());
    finishPath(style);
}

void CairoDrawContext::roundRectPath(const CRect& r, CCoord radius)
{
    radius = std::min({radius, r.getWidth() / 2., r.getHeight() / 2.});
    cairo_new_sub_path(cr);
    cairo_arc(cr, r.right - radius, r.top + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, r.right - radius, r.bottom - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, r.left + radius, r.bottom - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, r.left + radius, r.top + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void CairoDrawContext::drawRoundRect(const CRect& r, CCoord radius, CDrawStyle style)
{
    CRect path = r;
    if (style != kDrawFilled)
        path.inset(state.lineWidth / 2., state.lineWidth / 2.);
    roundRectPath(path, radius);
    const int32 mode = state.drawMode;
    state.drawMode = kAntiAliasing;
    finishPath(style);
    state.drawMode = mode;
}

void CairoDrawContext::fillRoundRectGradient(const CRect& r, CCoord radius, const CColor& top, const CColor& bottom)
{
    roundRectPath(r, radius);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
    cairo_pattern_add_color_stop_rgba(gradient, 0, channel(top.red), channel(top.green), channel(top.blue),
                                      channel(top.alpha) * state.globalAlpha);
    cairo_pattern_add_color_stop_rgba(gradient, 1, channel(bottom.red), channel(bottom.green), channel(bottom.blue),
                                      channel(bottom.alpha) * state.globalAlpha);
    cairo_set_source(cr, gradient);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void CairoDrawContext::drawEllipse(const CRect& r, CDrawStyle style)
{
    CRect path = r;
    if (style != kDrawFilled)
        path.inset(state.lineWidth / 2., state.lineWidth / 2.);
    if (path.isEmpty())
        return;
    cairo_save(cr);
    cairo_translate(cr, path.left + path.getWidth() / 2., path.top + path.getHeight() / 2.);
    cairo_scale(cr, path.getWidth() / 2., path.getHeight() / 2.);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    finishPath(style);
}

void CairoDrawContext::drawArc(const CRect& r, double startAngle, double endAngle, CDrawStyle style)
{
    if (r.isEmpty())
        return;
    cairo_save(cr);
    cairo_translate(cr, r.left + r.getWidth() / 2., r.top + r.getHeight() / 2.);
    cairo_scale(cr, r.getWidth() / 2., r.getHeight() / 2.);
    cairo_new_path(cr);
    if (style != kDrawStroked)
        cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, 1, startAngle * kDegToRad, endAngle * kDegToRad);
    if (style != kDrawStroked)
        cairo_close_path(cr);
    cairo_restore(cr);
    finishPath(style);
}

void CairoDrawContext::drawPoint(const CPoint& p, const CColor& color)
{
    setSourceColor(color);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_rectangle(cr, std::floor(p.x), std::floor(p.y), 1, 1);
    cairo_fill(cr);
}

void CairoDrawContext::selectFont()
{
    const int32 style = state.font.getStyle();
    cairo_select_font_face(cr, state.font.getPlatformFamily().c_str(),
                           (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, state.font.getSize());
}

CCoord CairoDrawContext::getStringWidth(UTF8StringPtr text)
{
    if (!text || !*text)
        return 0;
    selectFont();
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    return extents.x_advance;
}

void CairoDrawContext::drawString(UTF8StringPtr text, const CRect& r, CHoriTxtAlign align, bool antialias)
{
    if (!text || !*text || r.isEmpty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.getWidth(), r.getHeight());
    cairo_clip(cr);
    selectFont();
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);

    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.getWidth() - extents.x_advance) / 2.;
    else if (align == kRightText)
        x = r.right - extents.x_advance;
    const double baseline = r.top + (r.getHeight() - (font.ascent + font.descent)) / 2. + font.ascent;
    cairo_move_to(cr, snap(x), snap(baseline));
    setSourceColor(state.fontColor);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

void CairoDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    double pixelsPerUnit = 1.;
    cairo_surface_t* surface =
        bitmap ? CairoBitmap::surfaceOf(bitmap->getBestPlatformBitmap(scaleFactor, pixelsPerUnit)) : nullptr;
    if (!surface || dest.isEmpty())
        return;
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface, dest.left - offset.x, dest.top - offset.y);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    if (pixelsPerUnit != 1.)
    {
        cairo_matrix_t toPixels;
        cairo_matrix_init_scale(&toPixels, pixelsPerUnit, pixelsPerUnit);
        cairo_matrix_translate(&toPixels, offset.x - dest.left, offset.y - dest.top);
        cairo_pattern_set_matrix(pattern, &toPixels);
    }
    // Pixel for pixel where the densities match; otherwise filtered.
    cairo_pattern_set_filter(pattern, pixelsPerUnit == scaleFactor ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr, alpha * state.globalAlpha);
    cairo_restore(cr);
}

} // namespace X11
} // namespace VSTGUI
