#include "Artwork.h"
#include "Painter.h"

#include <cmath>

namespace Artwork {

namespace {

constexpr int kSize = 36;
constexpr int kFrames = 40;
constexpr double kStart = 135 * M_PI / 180; // minimum: lower left
constexpr double kRange = 270 * M_PI / 180; // clockwise over the top to lower right

enum class ArcFrom
{
    Minimum, // a level: the arc grows from the start
    Centre   // a position: the arc grows either way from the top
};

void drawKnob(cairo_t* cr, double value, ArcFrom from, const Rgba& arcColor)
{
    const double c = kSize / 2.0;
    const double angle = kStart + value * kRange;

    // Track and lit arc.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.6);
    setColor(cr, hex(0x000000, 0.55));
    cairo_arc(cr, c, c, 15.2, kStart, kStart + kRange);
    cairo_stroke(cr);
    const double arcStart = from == ArcFrom::Centre ? kStart + kRange / 2 : kStart;
    const double a0 = std::fmin(arcStart, angle);
    const double a1 = std::fmax(arcStart, angle);
    if (a1 - a0 > 0.01)
    {
        // Glow beneath, then the bright line.
        cairo_set_line_width(cr, 4.2);
        setColor(cr, Rgba{arcColor.r, arcColor.g, arcColor.b, 0.28});
        cairo_arc(cr, c, c, 15.2, a0, a1);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 2.0);
        setColor(cr, arcColor);
        cairo_arc(cr, c, c, 15.2, a0, a1);
        cairo_stroke(cr);
    }
    else if (from == ArcFrom::Centre)
    {
        // At the centre a short mark shows where the arc starts.
        cairo_set_line_width(cr, 2.0);
        setColor(cr, arcColor);
        cairo_arc(cr, c, c, 15.2, arcStart - 0.05, arcStart + 0.05);
        cairo_stroke(cr);
    }

    // Shadow and body.
    radialGlow(cr, c, c + 1.5, 13.5, hex(0x000000, 0.7));
    cairo_arc(cr, c, c, 11.5, 0, 2 * M_PI);
    cairo_pattern_t* body = cairo_pattern_create_linear(c - 8, c - 11, c + 6, c + 11);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.50, 0.55, 0.64);
    cairo_pattern_add_color_stop_rgb(body, 0.5, 0.22, 0.25, 0.31);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.10, 0.12, 0.16);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // Knurled rim.
    cairo_set_line_width(cr, 0.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < 30; ++i)
    {
        const double a = i * 2 * M_PI / 30;
        setColor(cr, hex(0x000000, 0.35));
        cairo_move_to(cr, c + std::cos(a) * 9.6, c + std::sin(a) * 9.6);
        cairo_line_to(cr, c + std::cos(a) * 11.3, c + std::sin(a) * 11.3);
        cairo_stroke(cr);
    }
    cairo_set_line_width(cr, 1);
    cairo_arc(cr, c, c, 11.5, 0, 2 * M_PI);
    setColor(cr, hex(0x000000, 0.85));
    cairo_stroke(cr);
    // Cap with a soft top light.
    cairo_arc(cr, c, c, 8.6, 0, 2 * M_PI);
    cairo_pattern_t* cap = cairo_pattern_create_linear(0, c - 8.6, 0, c + 8.6);
    cairo_pattern_add_color_stop_rgb(cap, 0, 0.36, 0.40, 0.48);
    cairo_pattern_add_color_stop_rgb(cap, 1, 0.14, 0.16, 0.21);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    cairo_arc(cr, c, c, 8.6, M_PI * 1.1, M_PI * 1.9);
    setColor(cr, hex(0xffffff, 0.22));
    cairo_stroke(cr);

    // Pointer.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.2);
    setColor(cr, hex(0x000000, 0.5));
    cairo_move_to(cr, c + std::cos(angle) * 3.5, c + 0.8 + std::sin(angle) * 3.5);
    cairo_line_to(cr, c + std::cos(angle) * 10.5, c + 0.8 + std::sin(angle) * 10.5);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.9);
    setColor(cr, hex(0xffffff));
    cairo_move_to(cr, c + std::cos(angle) * 3.5, c + std::sin(angle) * 3.5);
    cairo_line_to(cr, c + std::cos(angle) * 10.5, c + std::sin(angle) * 10.5);
    cairo_stroke(cr);
}

bool drawStrip(const std::string& path, int scale, ArcFrom from, const Rgba& arcColor)
{
    Picture picture(kSize, kSize * kFrames, scale);
    cairo_t* cr = picture.context();
    for (int frame = 0; frame < kFrames; ++frame)
    {
        cairo_save(cr);
        cairo_rectangle(cr, 0, frame * kSize, kSize, kSize);
        cairo_clip(cr);
        cairo_translate(cr, 0, frame * kSize);
        drawKnob(cr, frame / double(kFrames - 1), from, arcColor);
        cairo_restore(cr);
    }
    return picture.save(path);
}

} // namespace

bool drawGainKnob(const std::string& path, int scale)
{
    return drawStrip(path, scale, ArcFrom::Minimum, hex(0x80b0ff));
}

bool drawPanKnob(const std::string& path, int scale)
{
    return drawStrip(path, scale, ArcFrom::Centre, hex(0x4fe0c0));
}

} // namespace Artwork
