#include "Artwork.h"
#include "Painter.h"

#include <cmath>
#include <cstdint>

namespace Artwork {

namespace {

constexpr int kWidth = 375;
constexpr int kHeight = 495;

struct Box
{
    double x, y, w, h;
};

// Where the editor description places its views (origin and size).
constexpr Box kScope{180, 55, 170, 170};
constexpr Box kMenus[] = {{40, 10, 35, 20}, {125, 10, 35, 20}, {254, 275, 55, 20}, {30, 375, 35, 20}};
// Value displays joined with their unit labels.
constexpr Box kReadouts[] = {
    {55, 170, 47, 17},  {103, 170, 47, 17},                                         // input gains and dB
    {68, 217, 24, 17},  {113, 217, 24, 17},                                         // input pans
    {28, 287, 24, 17},  {73, 287, 24, 17},  {108, 287, 40, 17},                     // balance, asymmetry, crush and %
    {208, 287, 43, 17},                                                             // output trim and dB
    {145, 367, 45, 17}, {200, 367, 25, 17}, {248, 367, 24, 17}, {318, 367, 40, 17}, // high band
    {145, 422, 45, 17}, {200, 422, 25, 17}, {248, 422, 24, 17}, {313, 422, 43, 17}, // low band
    {68, 402, 52, 17},                                                              // crossover frequency and Hz
};
// Knob origins (36 x 36) get a seat shadow.
constexpr Box kKnobs[] = {
    {65, 140, 36, 36},  {110, 140, 36, 36}, {65, 185, 36, 36},  {110, 185, 36, 36}, {20, 255, 36, 36},
    {65, 255, 36, 36},  {110, 255, 36, 36}, {210, 255, 36, 36}, {150, 335, 36, 36}, {195, 335, 36, 36},
    {240, 335, 36, 36}, {320, 335, 36, 36}, {80, 370, 36, 36},  {150, 390, 36, 36}, {195, 390, 36, 36},
    {240, 390, 36, 36}, {320, 390, 36, 36},
};
constexpr Box kButtons[] = {{68, 71, 28, 28},   {113, 71, 28, 28},  {68, 105, 28, 28},
                            {113, 105, 28, 28}, {323, 270, 28, 28}, {335, 15, 28, 28}};

// Sections of the panel.
constexpr Box kChannelSection{8, 50, 154, 262};
constexpr Box kOutputSection{170, 238, 197, 74};
constexpr Box kBandSection{8, 318, 359, 126};
constexpr Box kGreenCorner{14, 324, 108, 114};

void panelBackground(cairo_t* cr)
{
    setVerticalGradient(cr, 0, kHeight, hex(0x1d3150), hex(0x0a1322));
    cairo_paint(cr);
    // A faint light from the top centre.
    cairo_save(cr);
    cairo_scale(cr, 1.6, 1.0);
    radialGlow(cr, kWidth / 3.2, 40, 260, hex(0x5b86c8, 0.16));
    cairo_restore(cr);
    // Fine brushed grain: reproducible pseudo-random streaks.
    uint32_t seed = 0x2545F491u;
    auto next = [&seed]
    {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / 16777216.0;
    };
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 900; ++i)
    {
        const double y = std::floor(next() * kHeight) + 0.5;
        const double x = next() * kWidth;
        const double length = 20 + next() * 90;
        const bool light = next() > 0.5;
        setColor(cr, light ? hex(0xffffff, 0.018) : hex(0x000000, 0.05));
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + length, y);
        cairo_stroke(cr);
    }
    // Edge bevel.
    cairo_set_line_width(cr, 1);
    setColor(cr, hex(0x9fc0ff, 0.22));
    cairo_move_to(cr, 0, 0.5);
    cairo_line_to(cr, kWidth, 0.5);
    cairo_stroke(cr);
    setColor(cr, hex(0x000000, 0.7));
    cairo_rectangle(cr, 0.5, 0.5, kWidth - 1, kHeight - 1);
    cairo_stroke(cr);
}

// A rounded box filled with a vertical gradient from top to bottom.
void gradientBox(cairo_t* cr, const Box& b, double radius, const Rgba& top, const Rgba& bottom)
{
    roundedRect(cr, b.x, b.y, b.w, b.h, radius);
    setVerticalGradient(cr, b.y, b.y + b.h, top, bottom);
    cairo_fill(cr);
}

// A one-pixel line just inside the box's edge, on the half pixel so it stays sharp.
void innerEdge(cairo_t* cr, const Box& b, double radius, const Rgba& color)
{
    cairo_set_line_width(cr, 1);
    roundedRect(cr, b.x + 0.5, b.y + 0.5, b.w - 1, b.h - 1, radius);
    setColor(cr, color);
    cairo_stroke(cr);
}

void section(cairo_t* cr, const Box& b, const Rgba& outline)
{
    // Recessed plate: darker fill, dark shadow above, light edge below.
    gradientBox(cr, b, 8, hex(0x061020, 0.42), hex(0x0c1a30, 0.30));
    innerEdge(cr, Box{b.x, b.y + 1, b.w, b.h}, 8, hex(0xb8d0ff, 0.07));
    innerEdge(cr, b, 8, outline);
}

void well(cairo_t* cr, const Box& b, const Rgba& edge)
{
    gradientBox(cr, b, 3.5, hex(0x000000, 0.72), hex(0x050a12, 0.6));
    innerEdge(cr, b, 3.5, edge);
    // Light catching the lower lip.
    setColor(cr, hex(0xb0c8f0, 0.12));
    cairo_move_to(cr, b.x + 3, b.y + b.h + 0.5);
    cairo_line_to(cr, b.x + b.w - 3, b.y + b.h + 0.5);
    cairo_stroke(cr);
}

void knobSeat(cairo_t* cr, const Box& k)
{
    radialGlow(cr, k.x + k.w / 2, k.y + k.h / 2 + 2, 19, hex(0x000000, 0.45));
}

void buttonSeat(cairo_t* cr, const Box& b)
{
    roundedRect(cr, b.x - 1.5, b.y - 1, b.w + 3, b.h + 3, 6.5);
    setColor(cr, hex(0x000000, 0.38));
    cairo_fill(cr);
}

void scopeScreen(cairo_t* cr)
{
    const Box& s = kScope;
    // Bezel around the screen.
    const Box bezel{s.x - 5, s.y - 5, s.w + 10, s.h + 10};
    gradientBox(cr, bezel, 14, hex(0x5d6f8e), hex(0x1a2334));
    innerEdge(cr, bezel, 13.5, hex(0x000000, 0.6));
    // The dark screen with a faint centre glow.
    roundedRect(cr, s.x, s.y, s.w, s.h, 10);
    setColor(cr, hex(0x04080d));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    radialGlow(cr, s.x + s.w / 2, s.y + s.h / 2, s.w * 0.72, hex(0x1b3a2a, 0.55));
    // Axes and diagonals.
    const double cx = s.x + s.w / 2;
    const double cy = s.y + s.h / 2;
    cairo_set_line_width(cr, 1);
    setColor(cr, hex(0x6f8fa8, 0.45));
    cairo_move_to(cr, s.x, cy + 0.5);
    cairo_line_to(cr, s.x + s.w, cy + 0.5);
    cairo_move_to(cr, cx + 0.5, s.y);
    cairo_line_to(cr, cx + 0.5, s.y + s.h);
    cairo_stroke(cr);
    const double dash[] = {3, 3};
    cairo_set_dash(cr, dash, 2, 0);
    setColor(cr, hex(0x6f8fa8, 0.32));
    cairo_move_to(cr, s.x, s.y);
    cairo_line_to(cr, s.x + s.w, s.y + s.h);
    cairo_move_to(cr, s.x + s.w, s.y);
    cairo_line_to(cr, s.x, s.y + s.h);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Ticks along the axes every 17 pixels.
    setColor(cr, hex(0x6f8fa8, 0.5));
    for (int i = -4; i <= 4; ++i)
    {
        if (i == 0)
            continue;
        const double d = i * 17.0;
        cairo_move_to(cr, cx + d + 0.5, cy - 2);
        cairo_line_to(cr, cx + d + 0.5, cy + 3);
        cairo_move_to(cr, cx - 2, cy + d + 0.5);
        cairo_line_to(cr, cx + 3, cy + d + 0.5);
    }
    cairo_stroke(cr);
    // Glass: a soft reflection across the upper half.
    gradientBox(cr, Box{s.x, s.y, s.w, s.h / 2}, 10, hex(0xffffff, 0.07), hex(0xffffff, 0.0));
    cairo_restore(cr);
    innerEdge(cr, s, 10, hex(0x000000, 0.9));
}

void productName(cairo_t* cr)
{
    Font font;
    font.size = 19;
    font.tracking = 3.2;
    const double x = 230;
    const double baseline = 29;
    drawText(cr, font, "KALVIOR", x, baseline + 1.5, Align::Centre, hex(0x000000, 0.6));
    // Brushed metal lettering: a vertical silver gradient through the glyphs.
    const double width = textWidth(cr, font, "KALVIOR");
    cairo_push_group(cr);
    drawText(cr, font, "KALVIOR", x, baseline, Align::Centre, hex(0xffffff));
    cairo_pattern_t* letters = cairo_pop_group(cr);
    cairo_pattern_t* metal = cairo_pattern_create_linear(0, baseline - 15, 0, baseline + 2);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.97, 0.98, 1.0);
    cairo_pattern_add_color_stop_rgb(metal, 0.55, 0.74, 0.80, 0.90);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.93, 0.95, 0.99);
    cairo_set_source(cr, metal);
    cairo_mask(cr, letters);
    cairo_pattern_destroy(metal);
    cairo_pattern_destroy(letters);
    // A thin accent line under the name.
    cairo_set_line_width(cr, 1);
    cairo_pattern_t* line = cairo_pattern_create_linear(x - width / 2, 0, x + width / 2, 0);
    cairo_pattern_add_color_stop_rgba(line, 0, 0.5, 0.69, 1.0, 0);
    cairo_pattern_add_color_stop_rgba(line, 0.5, 0.5, 0.69, 1.0, 0.8);
    cairo_pattern_add_color_stop_rgba(line, 1, 0.5, 0.69, 1.0, 0);
    cairo_set_source(cr, line);
    cairo_move_to(cr, x - width / 2, baseline + 6.5);
    cairo_line_to(cr, x + width / 2, baseline + 6.5);
    cairo_stroke(cr);
    cairo_pattern_destroy(line);
}

void makerLogo(cairo_t* cr)
{
    // Emblem: a ring with two crossing arcs, the stereo image it shapes.
    const double cx = 26;
    const double cy = 468;
    cairo_new_path(cr);
    cairo_set_line_width(cr, 2);
    setColor(cr, hex(0x80b0ff));
    cairo_arc(cr, cx, cy, 11, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.6);
    setColor(cr, hex(0xe8efff));
    cairo_arc(cr, cx - 5, cy, 7, -M_PI / 2.6, M_PI / 2.6);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx + 5, cy, 7, M_PI - M_PI / 2.6, M_PI + M_PI / 2.6);
    cairo_stroke(cr);

    Font name;
    name.size = 15;
    name.tracking = 0.6;
    drawText(cr, name, "Tarnwick", 43, 470, Align::Left, hex(0xf2f6ff));
    Font audio;
    audio.size = 8;
    audio.tracking = 3.0;
    audio.bold = false;
    drawText(cr, audio, "AUDIO", 44, 481, Align::Left, hex(0x80b0ff));
}

void labels(cairo_t* cr)
{
    // Header.
    drawLabel(cr, "IN", 35, 20, Align::Right);
    drawLabel(cr, "OUT", 120, 20, Align::Right);
    drawLabel(cr, "SCOPE", 330, 29, Align::Right);
    // Channel section: columns and rows.
    drawLabel(cr, "L", 82, 62, Align::Centre);
    drawLabel(cr, "R", 127, 62, Align::Centre);
    drawLabel(cr, "MUTE", 15, 85, Align::Left);
    drawLabel(cr, "INV", 15, 119, Align::Left);
    drawLabel(cr, "GAIN", 15, 158, Align::Left);
    drawLabel(cr, "PAN", 15, 203, Align::Left);
    drawLabel(cr, "BAL", 38, 247, Align::Centre);
    drawLabel(cr, "ASYM", 83, 247, Align::Centre);
    drawLabel(cr, "CRUSH", 128, 247, Align::Centre);
    // Output section.
    drawLabel(cr, "OUT", 228, 247, Align::Centre);
    drawLabel(cr, "SOLO", 281, 247, Align::Centre);
    drawLabel(cr, "MONO", 337, 247, Align::Centre);
    // Band section: columns, rows and the right-hand pair.
    drawLabel(cr, "GAIN", 168, 327, Align::Centre);
    drawLabel(cr, "WIDTH", 213, 327, Align::Centre);
    drawLabel(cr, "PAN", 258, 327, Align::Centre);
    drawLabel(cr, "HI", 143, 353, Align::Right);
    drawLabel(cr, "LO", 143, 408, Align::Right);
    drawLabel(cr, "CRUSH", 316, 353, Align::Right);
    drawLabel(cr, "LAW", 316, 408, Align::Right);
    // The crossover's green corner.
    drawLabel(cr, "XOVER", 47, 364, Align::Centre);
    drawLabel(cr, "FREQ", 98, 361, Align::Centre);
}

void separators(cairo_t* cr)
{
    cairo_set_line_width(cr, 1);
    auto rule = [cr](double x0, double x1, double y)
    {
        setColor(cr, hex(0x000000, 0.45));
        cairo_move_to(cr, x0, y + 0.5);
        cairo_line_to(cr, x1, y + 0.5);
        cairo_stroke(cr);
        setColor(cr, hex(0xb8d0ff, 0.08));
        cairo_move_to(cr, x0, y + 1.5);
        cairo_line_to(cr, x1, y + 1.5);
        cairo_stroke(cr);
    };
    rule(14, 156, 237);    // input strip above the balance row
    rule(128, 361, 386.5); // between the high and low band rows
}

void greenCorner(cairo_t* cr)
{
    gradientBox(cr, kGreenCorner, 6, hex(0x1acc00, 0.13), hex(0x1acc00, 0.05));
    innerEdge(cr, kGreenCorner, 6, hex(0x1acc00, 0.65));
}

} // namespace

bool drawSkin(const std::string& path, int scale)
{
    Picture picture(kWidth, kHeight, scale);
    cairo_t* cr = picture.context();

    panelBackground(cr);
    section(cr, kChannelSection, hex(0x8fb3ff, 0.38));
    section(cr, kOutputSection, hex(0x8fb3ff, 0.38));
    section(cr, kBandSection, hex(0x8fb3ff, 0.38));
    greenCorner(cr);
    separators(cr);
    scopeScreen(cr);
    for (const Box& k : kKnobs)
        knobSeat(cr, k);
    for (const Box& b : kButtons)
        buttonSeat(cr, b);
    for (const Box& m : kMenus)
        well(cr, m, hex(0x1acc00, 0.45));
    for (const Box& r : kReadouts)
        well(cr, r, hex(0x000000, 0.8));
    productName(cr);
    labels(cr);
    makerLogo(cr);
    return picture.save(path);
}

} // namespace Artwork
