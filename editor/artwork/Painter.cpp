#include "Painter.h"

#include <cmath>

namespace Artwork {

Rgba hex(unsigned rgb, double alpha)
{
    return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha};
}

void setColor(cairo_t* cr, const Rgba& c)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius)
{
    radius = std::fmin(radius, std::fmin(w, h) / 2);
    cairo_new_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void setVerticalGradient(cairo_t* cr, double y0, double y1, const Rgba& top, const Rgba& bottom)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

namespace {

void selectFont(cairo_t* cr, const Font& font)
{
    cairo_select_font_face(cr, font.family, CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

// One UTF-8 character at a time, so tracking can be added between them.
template <class Each>
void forEachCharacter(const std::string& text, Each each)
{
    for (size_t i = 0; i < text.size();)
    {
        size_t length = 1;
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        each(text.substr(i, length));
        i += length;
    }
}

} // namespace

double textWidth(cairo_t* cr, const Font& font, const std::string& text)
{
    selectFont(cr, font);
    double width = 0;
    int count = 0;
    forEachCharacter(text,
                     [&](const std::string& c)
                     {
                         cairo_text_extents_t e;
                         cairo_text_extents(cr, c.c_str(), &e);
                         width += e.x_advance;
                         ++count;
                     });
    return width + font.tracking * std::fmax(0, count - 1);
}

void drawText(cairo_t* cr, const Font& font, const std::string& text, double x, double y, Align align,
              const Rgba& color)
{
    const double width = textWidth(cr, font, text);
    if (align == Align::Centre)
        x -= width / 2;
    else if (align == Align::Right)
        x -= width;
    selectFont(cr, font);
    setColor(cr, color);
    forEachCharacter(text,
                     [&](const std::string& c)
                     {
                         cairo_move_to(cr, x, y);
                         cairo_show_text(cr, c.c_str());
                         cairo_new_path(cr);
                         cairo_text_extents_t e;
                         cairo_text_extents(cr, c.c_str(), &e);
                         x += e.x_advance + font.tracking;
                     });
}

void drawLabel(cairo_t* cr, const std::string& text, double x, double cy, Align align, double size)
{
    Font font;
    font.size = size;
    font.tracking = 0.9;
    // Cap height of the face is about 0.72 of its size.
    const double baseline = std::round(cy + size * 0.72 / 2);
    drawText(cr, font, text, x, baseline + 1, align, hex(0x000000, 0.55));
    drawText(cr, font, text, x, baseline, align, hex(0xf2f6ff));
}

void radialGlow(cairo_t* cr, double cx, double cy, double radius, const Rgba& color)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, color.r, color.g, color.b, color.a);
    cairo_pattern_add_color_stop_rgba(p, 1, color.r, color.g, color.b, 0);
    cairo_set_source(cr, p);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

Picture::Picture(int width, int height, int scale)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale)), cr(cairo_create(surface))
{
    if (scale != 1)
        cairo_scale(cr, scale, scale);
}

Picture::~Picture()
{
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

bool Picture::save(const std::string& path) const
{
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace Artwork
