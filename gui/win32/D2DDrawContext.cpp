#include "gui/win32/D2DDrawContext.h"

#include "gui/CBitmap.h"
#include "gui/win32/ComPtr.h"
#include "gui/win32/D2DBitmap.h"
#include "gui/win32/DWriteFont.h"
#include "gui/win32/Win32Text.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {
namespace Win32 {

namespace {

constexpr double kPi = 3.14159265358979323846;

D2D1_RECT_F rectOf(const CRect& r)
{
    return D2D1::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                       static_cast<float>(r.bottom));
}

D2D1_POINT_2F pointOf(double x, double y)
{
    return D2D1::Point2F(static_cast<float>(x), static_cast<float>(y));
}

CRect insetForStroke(const CRect& r, CDrawStyle style, CCoord lineWidth)
{
    CRect path = r;
    if (style != kDrawFilled)
        path.inset(lineWidth / 2., lineWidth / 2.);
    return path;
}

// An empty path geometry of target's factory, open for figures through sink;
// null when Direct2D refuses either.
ComPtr<ID2D1PathGeometry> openPath(ID2D1RenderTarget* target, ComPtr<ID2D1GeometrySink>& sink)
{
    ComPtr<ID2D1Factory> factory;
    target->GetFactory(factory.put());
    ComPtr<ID2D1PathGeometry> path;
    if (FAILED(factory->CreatePathGeometry(path.put())) || FAILED(path->Open(sink.put())))
        return nullptr;
    return path;
}

} // namespace

// Clips to the context's clip rectangle and moves to its origin, both scaled
// to device pixels, while it lives.
class D2DDrawContext::Clip
{
public:
    Clip(ID2D1RenderTarget* target, const CRect& clip, const CPoint& offset, double scale) : target(target)
    {
        const D2D1::Matrix3x2F toDevice = D2D1::Matrix3x2F::Scale(static_cast<float>(scale), static_cast<float>(scale));
        target->SetTransform(toDevice);
        target->PushAxisAlignedClip(rectOf(clip), D2D1_ANTIALIAS_MODE_ALIASED);
        target->SetTransform(D2D1::Matrix3x2F::Translation(static_cast<float>(offset.x), static_cast<float>(offset.y)) *
                             toDevice);
    }
    ~Clip()
    {
        target->PopAxisAlignedClip();
        target->SetTransform(D2D1::Matrix3x2F::Identity());
    }
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

private:
    ID2D1RenderTarget* target;
};

D2DDrawContext::D2DDrawContext(ID2D1RenderTarget* target, DWriteFontCache& fonts, double scaleFactor)
    : CDrawContext(scaleFactor), target(target), fonts(fonts)
{
}

double D2DDrawContext::snap(double v) const
{
    return std::round(v * scaleFactor) / scaleFactor;
}

D2D1_COLOR_F D2DDrawContext::colorOf(const CColor& c) const
{
    return D2D1::ColorF(c.red / 255.f, c.green / 255.f, c.blue / 255.f, c.alpha / 255.f * state.globalAlpha);
}

void D2DDrawContext::applyDrawMode(bool antialias)
{
    target->SetAntialiasMode(antialias ? D2D1_ANTIALIAS_MODE_PER_PRIMITIVE : D2D1_ANTIALIAS_MODE_ALIASED);
}

void D2DDrawContext::fillAndStroke(ID2D1Geometry* geometry, CDrawStyle style, bool antialias)
{
    if (!geometry)
        return;
    Clip clip(target, state.clip, state.offset, scaleFactor);
    applyDrawMode(antialias);
    ComPtr<ID2D1SolidColorBrush> brush;
    if (style == kDrawFilled || style == kDrawFilledAndStroked)
    {
        if (SUCCEEDED(target->CreateSolidColorBrush(colorOf(state.fillColor), brush.put())))
            target->FillGeometry(geometry, brush.get());
    }
    if (style == kDrawStroked || style == kDrawFilledAndStroked)
    {
        ComPtr<ID2D1StrokeStyle> stroke;
        if (state.lineStyle == kLineOnOffDash)
        {
            // Dashes are counted in line widths; on and off as long as the line is wide, at least a pixel.
            ComPtr<ID2D1Factory> factory;
            target->GetFactory(factory.put());
            const float dash = static_cast<float>(std::max(1.0, state.lineWidth) / std::max(1e-3, state.lineWidth));
            const float dashes[2] = {dash, dash};
            factory->CreateStrokeStyle(D2D1::StrokeStyleProperties(D2D1_CAP_STYLE_FLAT, D2D1_CAP_STYLE_FLAT,
                                                                   D2D1_CAP_STYLE_FLAT, D2D1_LINE_JOIN_MITER, 10.f,
                                                                   D2D1_DASH_STYLE_CUSTOM, 0.f),
                                       dashes, 2, stroke.put());
        }
        if (SUCCEEDED(target->CreateSolidColorBrush(colorOf(state.frameColor), brush.put())))
            target->DrawGeometry(geometry, brush.get(), static_cast<float>(state.lineWidth), stroke.get());
    }
}

void D2DDrawContext::drawLine(const CPoint& from, const CPoint& to)
{
    // Odd-width lines on whole coordinates sit on pixel centres so they stay crisp.
    const double shift = std::fmod(std::round(state.lineWidth), 2.) == 1. ? 0.5 : 0.;
    ComPtr<ID2D1GeometrySink> sink;
    const ComPtr<ID2D1PathGeometry> path = openPath(target, sink);
    if (!path)
        return;
    sink->BeginFigure(pointOf(from.x + shift, from.y + shift), D2D1_FIGURE_BEGIN_HOLLOW);
    sink->AddLine(pointOf(to.x + shift, to.y + shift));
    sink->EndFigure(D2D1_FIGURE_END_OPEN);
    sink->Close();
    fillAndStroke(path.get(), kDrawStroked, state.drawMode == kAntiAliasing);
}

void D2DDrawContext::drawRect(const CRect& r, CDrawStyle style)
{
    ComPtr<ID2D1Factory> factory;
    target->GetFactory(factory.put());
    ComPtr<ID2D1RectangleGeometry> geometry;
    factory->CreateRectangleGeometry(rectOf(insetForStroke(r, style, state.lineWidth)), geometry.put());
    fillAndStroke(geometry.get(), style, state.drawMode == kAntiAliasing);
}

void D2DDrawContext::drawRoundRect(const CRect& r, CCoord radius, CDrawStyle style)
{
    const CRect path = insetForStroke(r, style, state.lineWidth);
    const float corner = static_cast<float>(std::min({radius, path.getWidth() / 2., path.getHeight() / 2.}));
    ComPtr<ID2D1Factory> factory;
    target->GetFactory(factory.put());
    ComPtr<ID2D1RoundedRectangleGeometry> geometry;
    factory->CreateRoundedRectangleGeometry(D2D1::RoundedRect(rectOf(path), corner, corner), geometry.put());
    fillAndStroke(geometry.get(), style, true);
}

void D2DDrawContext::fillRoundRectGradient(const CRect& r, CCoord radius, const CColor& top, const CColor& bottom)
{
    const float corner = static_cast<float>(std::min({radius, r.getWidth() / 2., r.getHeight() / 2.}));
    Clip clip(target, state.clip, state.offset, scaleFactor);
    applyDrawMode(true);
    const D2D1_GRADIENT_STOP stops[2] = {{0.f, colorOf(top)}, {1.f, colorOf(bottom)}};
    ComPtr<ID2D1GradientStopCollection> collection;
    ComPtr<ID2D1LinearGradientBrush> brush;
    if (FAILED(target->CreateGradientStopCollection(stops, 2, collection.put())) ||
        FAILED(target->CreateLinearGradientBrush(
            D2D1::LinearGradientBrushProperties(pointOf(0, r.top), pointOf(0, r.bottom)), collection.get(),
            brush.put())))
        return;
    target->FillRoundedRectangle(D2D1::RoundedRect(rectOf(r), corner, corner), brush.get());
}

void D2DDrawContext::drawEllipse(const CRect& r, CDrawStyle style)
{
    const CRect path = insetForStroke(r, style, state.lineWidth);
    if (path.isEmpty())
        return;
    ComPtr<ID2D1Factory> factory;
    target->GetFactory(factory.put());
    ComPtr<ID2D1EllipseGeometry> geometry;
    factory->CreateEllipseGeometry(
        D2D1::Ellipse(pointOf(path.left + path.getWidth() / 2., path.top + path.getHeight() / 2.),
                      static_cast<float>(path.getWidth() / 2.), static_cast<float>(path.getHeight() / 2.)),
        geometry.put());
    fillAndStroke(geometry.get(), style, state.drawMode == kAntiAliasing);
}

void D2DDrawContext::drawArc(const CRect& r, double startAngle, double endAngle, CDrawStyle style)
{
    if (r.isEmpty())
        return;
    // As cairo: an end before the start is moved on by whole turns.
    while (endAngle < startAngle)
        endAngle += 360.;
    const double cx = r.left + r.getWidth() / 2.;
    const double cy = r.top + r.getHeight() / 2.;
    const double rx = r.getWidth() / 2.;
    const double ry = r.getHeight() / 2.;
    auto at = [&](double degrees)
    {
        const double radians = degrees * kPi / 180.;
        return pointOf(cx + rx * std::cos(radians), cy + ry * std::sin(radians));
    };
    ComPtr<ID2D1GeometrySink> sink;
    const ComPtr<ID2D1PathGeometry> path = openPath(target, sink);
    if (!path)
        return;
    const bool wedge = style != kDrawStroked;
    sink->BeginFigure(wedge ? pointOf(cx, cy) : at(startAngle),
                      wedge ? D2D1_FIGURE_BEGIN_FILLED : D2D1_FIGURE_BEGIN_HOLLOW);
    if (wedge)
        sink->AddLine(at(startAngle));
    // One segment cannot turn a full circle: long arcs go in halves.
    double from = startAngle;
    while (from < endAngle)
    {
        const double to = std::min(endAngle, from + 180.);
        sink->AddArc(D2D1::ArcSegment(at(to), D2D1::SizeF(static_cast<float>(rx), static_cast<float>(ry)), 0.f,
                                      D2D1_SWEEP_DIRECTION_CLOCKWISE, D2D1_ARC_SIZE_SMALL));
        from = to;
    }
    sink->EndFigure(wedge ? D2D1_FIGURE_END_CLOSED : D2D1_FIGURE_END_OPEN);
    sink->Close();
    fillAndStroke(path.get(), style, state.drawMode == kAntiAliasing);
}

void D2DDrawContext::drawPoint(const CPoint& p, const CColor& color)
{
    Clip clip(target, state.clip, state.offset, scaleFactor);
    applyDrawMode(false);
    ComPtr<ID2D1SolidColorBrush> brush;
    if (FAILED(target->CreateSolidColorBrush(colorOf(color), brush.put())))
        return;
    const double x = std::floor(p.x);
    const double y = std::floor(p.y);
    target->FillRectangle(rectOf(CRect(x, y, x + 1, y + 1)), brush.get());
}

ComPtr<IDWriteTextLayout> D2DDrawContext::layoutOf(UTF8StringPtr text, const DWriteFont& font) const
{
    const std::wstring wide = toWide(text);
    ComPtr<IDWriteTextLayout> layout;
    if (!font.isValid() || FAILED(fonts.getFactory()->CreateTextLayout(wide.c_str(), static_cast<UINT32>(wide.size()),
                                                                       font.getFormat(), 1e6f, 1e6f, layout.put())))
        return {};
    return layout;
}

CCoord D2DDrawContext::getStringWidth(UTF8StringPtr text)
{
    if (!text || !*text)
        return 0;
    const ComPtr<IDWriteTextLayout> layout = layoutOf(text, fonts.get(state.font));
    if (!layout)
        return 0;
    DWRITE_TEXT_METRICS metrics{};
    layout->GetMetrics(&metrics);
    return metrics.widthIncludingTrailingWhitespace;
}

void D2DDrawContext::drawString(UTF8StringPtr text, const CRect& r, CHoriTxtAlign align, bool antialias)
{
    if (!text || !*text || r.isEmpty())
        return;
    const DWriteFont& font = fonts.get(state.font);
    const ComPtr<IDWriteTextLayout> layout = layoutOf(text, font);
    if (!layout)
        return;
    DWRITE_TEXT_METRICS metrics{};
    layout->GetMetrics(&metrics);
    DWRITE_LINE_METRICS line{};
    UINT32 lines = 0;
    layout->GetLineMetrics(&line, 1, &lines);
    const double advance = metrics.widthIncludingTrailingWhitespace;
    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.getWidth() - advance) / 2.;
    else if (align == kRightText)
        x = r.right - advance;
    // The baseline where the cairo side puts it: the font's height centred in r.
    const double baseline = r.top + (r.getHeight() - (font.getAscent() + font.getDescent())) / 2. + font.getAscent();

    CRect bounds = r;
    bounds.offset(state.offset);
    bounds.bound(state.clip);
    if (bounds.isEmpty())
        return;
    Clip clip(target, bounds, state.offset, scaleFactor);
    target->SetTextAntialiasMode(antialias ? D2D1_TEXT_ANTIALIAS_MODE_GRAYSCALE : D2D1_TEXT_ANTIALIAS_MODE_ALIASED);
    ComPtr<ID2D1SolidColorBrush> brush;
    if (FAILED(target->CreateSolidColorBrush(colorOf(state.fontColor), brush.put())))
        return;
    target->DrawTextLayout(pointOf(snap(x), snap(baseline) - line.baseline), layout.get(), brush.get());
}

void D2DDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
    double pixelsPerUnit = 1.;
    D2DBitmap* pixels = bitmap ? D2DBitmap::of(bitmap->getBestPlatformBitmap(scaleFactor, pixelsPerUnit)) : nullptr;
    if (!pixels || dest.isEmpty())
        return;
    // The part of the bitmap that lands in dest, in units; the rest of dest stays as it is.
    CRect source(offset.x, offset.y, offset.x + dest.getWidth(), offset.y + dest.getHeight());
    source.bound(CRect(0, 0, pixels->getWidth() / pixelsPerUnit, pixels->getHeight() / pixelsPerUnit));
    if (source.isEmpty())
        return;
    CRect placed = source;
    placed.offset(dest.left - offset.x, dest.top - offset.y);
    const CRect sourcePixels(source.left * pixelsPerUnit, source.top * pixelsPerUnit, source.right * pixelsPerUnit,
                             source.bottom * pixelsPerUnit);
    ComPtr<ID2D1Bitmap> image = pixels->createFor(target);
    if (!image)
        return;
    Clip clip(target, state.clip, state.offset, scaleFactor);
    // Pixel for pixel where the densities match; otherwise filtered.
    target->DrawBitmap(image.get(), rectOf(placed), alpha * state.globalAlpha,
                       pixelsPerUnit == scaleFactor ? D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR
                                                    : D2D1_BITMAP_INTERPOLATION_MODE_LINEAR,
                       rectOf(sourcePixels));
}

} // namespace Win32
} // namespace VSTGUI
