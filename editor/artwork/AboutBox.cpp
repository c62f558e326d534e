#include "Artwork.h"
#include "Painter.h"

#include <cmath>

namespace Artwork {

namespace {

constexpr int kWidth = 319;
constexpr int kHeight = 439;

// A badge in the style of a format mark: the letters VST over a version digit.
void formatBadge(cairo_t* cr, double x, double y, const char* version)
{
    roundedRect(cr, x, y, 46, 34, 5);
    setColor(cr, hex(0xf2f6ff));
    cairo_fill(cr);
    roundedRect(cr, x + 2, y + 2, 42, 30, 4);
    setColor(cr, hex(0x0d1626));
    cairo_fill(cr);
    Font vst;
    vst.size = 13;
    vst.tracking = 0.5;
    drawText(cr, vst, "VST", x + 23, y + 16, Align::Centre, hex(0xf2f6ff));
    Font digit;
    digit.size = 10;
    drawText(cr, digit, version, x + 23, y + 28, Align::Centre, hex(0x80b0ff));
}

} // namespace

bool drawAboutBox(const std::string& path, int scale)
{
    Picture picture(kWidth, kHeight, scale);
    cairo_t* cr = picture.context();

    setVerticalGradient(cr, 0, kHeight, hex(0x20365a), hex(0x080f1b));
    cairo_paint(cr);
    radialGlow(cr, kWidth / 2.0, 60, 190, hex(0x6a9ae0, 0.22));
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, kWidth - 1, kHeight - 1);
    setColor(cr, hex(0x8fb3ff, 0.5));
    cairo_stroke(cr);

    // Name and subtitle.
    Font name;
    name.size = 34;
    name.tracking = 5;
    drawText(cr, name, "KALVIOR", kWidth / 2.0, 62, Align::Centre, hex(0xf2f6ff));
    Font subtitle;
    subtitle.size = 11;
    subtitle.bold = false;
    subtitle.tracking = 2.2;
    drawText(cr, subtitle, "STEREO IMAGER AND PANNER", kWidth / 2.0, 84, Align::Centre, hex(0x80b0ff));

    // Dark bands behind the version line and the host lines.
    auto band = [cr](double y, double h)
    {
        roundedRect(cr, 30, y, kWidth - 60, h, 6);
        setColor(cr, hex(0x000000, 0.35));
        cairo_fill(cr);
    };
    band(106, 28);
    band(182, 84);
    Font heading;
    heading.size = 9;
    heading.tracking = 1.6;
    drawText(cr, heading, "HOST", kWidth / 2.0, 199, Align::Centre, hex(0x80b0ff));

    // Technology credit with the format badges.
    cairo_set_line_width(cr, 1);
    setColor(cr, hex(0x8fb3ff, 0.25));
    cairo_move_to(cr, 40, 292.5);
    cairo_line_to(cr, kWidth - 40, 292.5);
    cairo_stroke(cr);
    Font credit;
    credit.size = 10;
    credit.bold = false;
    drawText(cr, credit, "VST Plug-In Technology by", kWidth / 2.0, 312, Align::Centre, hex(0xdfe7f5));
    drawText(cr, credit, "Steinberg Media Technologies", kWidth / 2.0, 326, Align::Centre, hex(0xdfe7f5));
    formatBadge(cr, kWidth / 2.0 - 54, 340, "2");
    formatBadge(cr, kWidth / 2.0 + 8, 340, "3");

    // Maker and licence, left of the Close button.
    Font maker;
    maker.size = 11;
    drawText(cr, maker, "Tarnwick Audio", 22, 405, Align::Left, hex(0xf2f6ff));
    Font licence;
    licence.size = 8;
    licence.bold = false;
    drawText(cr, licence, "GPL-3.0-or-later", 22, 418, Align::Left, hex(0x80b0ff));
    return picture.save(path);
}

bool drawFrameBackground(const std::string& path, int scale)
{
    constexpr int kSize = 200;
    Picture picture(kSize, kSize, scale);
    cairo_t* cr = picture.context();
    roundedRect(cr, 0, 0, kSize, kSize, 16);
    cairo_clip(cr);
    setColor(cr, hex(0x8c8c8c));
    cairo_paint(cr);
    setColor(cr, hex(0x000000));
    cairo_rectangle(cr, 0, 0, kSize, 22);
    cairo_fill(cr);
    return picture.save(path);
}

} // namespace Artwork
