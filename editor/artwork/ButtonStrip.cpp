#include "Artwork.h"
#include "Painter.h"

#include <cmath>

namespace Artwork {

namespace {

constexpr int kSize = 28;

void drawButtonFrame(cairo_t* cr, bool on)
{
    // Key cap.
    roundedRect(cr, 1.5, 1.5, kSize - 3, kSize - 3, 5);
    setVerticalGradient(cr, 1.5, kSize - 1.5, on ? hex(0x4a5872) : hex(0x3c475b), on ? hex(0x263044) : hex(0x1d2433));
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    roundedRect(cr, 1.5, 1.5, kSize - 3, kSize - 3, 5);
    setColor(cr, hex(0x000000, 0.9));
    cairo_stroke(cr);
    roundedRect(cr, 2.5, 2.5, kSize - 5, kSize - 5, 4);
    setVerticalGradient(cr, 2.5, kSize - 2.5, hex(0xffffff, 0.22), hex(0xffffff, 0.02));
    cairo_stroke(cr);

    // Lamp.
    const double c = kSize / 2.0;
    if (on)
        radialGlow(cr, c, c, 10, hex(0x1acc00, 0.55));
    cairo_arc(cr, c, c, 4.2, 0, 2 * M_PI);
    setColor(cr, hex(0x000000, 0.8));
    cairo_fill(cr);
    cairo_arc(cr, c, c, 3.4, 0, 2 * M_PI);
    cairo_pattern_t* lamp = cairo_pattern_create_radial(c - 1, c - 1, 0.3, c, c, 3.4);
    if (on)
    {
        cairo_pattern_add_color_stop_rgb(lamp, 0, 0.85, 1.0, 0.8);
        cairo_pattern_add_color_stop_rgb(lamp, 0.5, 0.25, 0.9, 0.1);
        cairo_pattern_add_color_stop_rgb(lamp, 1, 0.08, 0.6, 0.0);
    }
    else
    {
        cairo_pattern_add_color_stop_rgb(lamp, 0, 0.30, 0.38, 0.30);
        cairo_pattern_add_color_stop_rgb(lamp, 1, 0.07, 0.13, 0.07);
    }
    cairo_set_source(cr, lamp);
    cairo_fill(cr);
    cairo_pattern_destroy(lamp);
}

} // namespace

bool drawButton(const std::string& path, int scale)
{
    Picture picture(kSize, 2 * kSize, scale);
    cairo_t* cr = picture.context();
    drawButtonFrame(cr, false);
    cairo_translate(cr, 0, kSize);
    drawButtonFrame(cr, true);
    return picture.save(path);
}

} // namespace Artwork
