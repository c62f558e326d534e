#pragma once

// Drawing helpers shared by the artwork pictures: colours, rounded shapes,
// gradients and lettering, all on cairo with fixed font options so the
// pictures come out the same on every machine that has the fonts.

#include <cairo.h>

#include <string>

namespace Artwork {

struct Rgba
{
    double r, g, b, a;
};

// #rrggbb with an alpha from 0 to 1.
Rgba hex(unsigned rgb, double alpha = 1.0);

void setColor(cairo_t* cr, const Rgba& c);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
// A vertical linear gradient between two colours, as the current source.
void setVerticalGradient(cairo_t* cr, double y0, double y1, const Rgba& top, const Rgba& bottom);

enum class Align
{
    Left,
    Centre,
    Right
};

struct Font
{
    const char* family = "Liberation Sans";
    double size = 10;
    bool bold = true;
    double tracking = 0; // extra pixels between letters
};

// Width of text in font, tracking included.
double textWidth(cairo_t* cr, const Font& font, const std::string& text);
// Draws text with its baseline at y; x is its left, centre or right edge.
void drawText(cairo_t* cr, const Font& font, const std::string& text, double x, double y, Align align,
              const Rgba& color);
// Capital panel lettering: text with a dark drop shadow, vertically centred on cy.
void drawLabel(cairo_t* cr, const std::string& text, double x, double cy, Align align, double size = 9.5);

// A soft round shadow or glow: colour at the centre fading out at radius.
void radialGlow(cairo_t* cr, double cx, double cy, double radius, const Rgba& color);

// A picture being drawn: an ARGB surface of scale times the size and a cairo
// context on it that draws in units of the size, both released with the picture.
class Picture
{
public:
    Picture(int width, int height, int scale = 1);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    cairo_t* context() const { return cr; }
    // Writes what is drawn so far as PNG; false on failure.
    bool save(const std::string& path) const;

private:
    cairo_surface_t* surface;
    cairo_t* cr;
};

} // namespace Artwork
