#include "tools/ScopePicture.h"

#include "tools/ReplacingFile.h"

#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMargin = 4.0; // pixels between the largest value and the edge
// The scope's scale: a full-scale mono signal reaches 127 x sqrt(1/2) units.
constexpr double kFullScale = 89.802561187;

cairo_status_t writeToDescriptor(void* closure, const unsigned char* data, unsigned int length)
{
    const int fd = *static_cast<int*>(closure);
    while (length > 0)
    {
        const ssize_t written = ::write(fd, data, length);
        if (written <= 0)
            return CAIRO_STATUS_WRITE_ERROR;
        data += written;
        length -= static_cast<unsigned int>(written);
    }
    return CAIRO_STATUS_SUCCESS;
}

// `radius`: pixels of a full-scale signal.
void drawGraticule(cairo_t* cr, double centre, double radius)
{
    cairo_set_source_rgb(cr, 0.05, 0.07, 0.06);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.45, 0.55, 0.5, 0.35);
    cairo_arc(cr, centre, centre, radius, 0.0, 2.0 * M_PI);
    cairo_stroke(cr);
    cairo_arc(cr, centre, centre, radius * 0.5, 0.0, 2.0 * M_PI); // -6 dB
    cairo_stroke(cr);
    // The mid and side axes, and the two channel axes at 45 degrees.
    const double d = radius * std::sqrt(0.5);
    const double lines[4][4] = {
        {centre, centre - radius, centre, centre + radius},
        {centre - radius, centre, centre + radius, centre},
        {centre - d, centre - d, centre + d, centre + d},
        {centre + d, centre - d, centre - d, centre + d},
    };
    for (const auto& line : lines)
    {
        cairo_move_to(cr, line[0], line[1]);
        cairo_line_to(cr, line[2], line[3]);
    }
    cairo_stroke(cr);

    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 13.0);
    cairo_set_source_rgba(cr, 0.7, 0.8, 0.75, 0.9);
    const struct
    {
        const char* text;
        double x, y;
    } labels[] = {
        {"M", centre - 5, centre - radius - 6},  {"L", centre - d - 16, centre - d - 4},
        {"R", centre + d + 6, centre - d - 4},   {"+S", centre - radius - 22, centre + 4},
        {"-S", centre + radius + 4, centre + 4},
    };
    for (const auto& label : labels)
    {
        cairo_move_to(cr, label.x, label.y);
        cairo_show_text(cr, label.text);
    }
}

} // namespace

void ScopePicture::addBlock(const uint8_t* data, size_t bytes)
{
    for (size_t i = 0; i + 1 < bytes; i += 2)
    {
        const int mid = static_cast<int8_t>(data[i]);
        const int side = static_cast<int8_t>(data[i + 1]);
        ++hits[static_cast<size_t>((mid + 128) * 256 + (side + 128))];
        ++pairCount;
    }
    ++blockCount;
}

bool ScopePicture::writePng(const std::string& path, const std::string& caption, std::string& error) const
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize);
    cairo_t* cr = cairo_create(surface);
    const double centre = kSize / 2.0;
    // One unit of the 8-bit grid; values reach 128 units from the centre.
    const double cell = (centre - kMargin) / 128.0;
    drawGraticule(cr, centre, kFullScale * cell);

    // Log brightness keeps rare excursions visible beside the dense centre.
    const uint32_t most = *std::max_element(hits.begin(), hits.end());
    if (most > 0)
    {
        const double logMost = std::log1p(static_cast<double>(most));
        for (int mid = -128; mid <= 127; ++mid)
            for (int side = -128; side <= 127; ++side)
            {
                const uint32_t count = hits[static_cast<size_t>((mid + 128) * 256 + (side + 128))];
                if (count == 0)
                    continue;
                const double level = 0.25 + 0.75 * std::log1p(static_cast<double>(count)) / logMost;
                cairo_set_source_rgba(cr, 0.35 * level, level, 0.55 * level, 0.9);
                const double x = centre - side * cell;
                const double y = centre - mid * cell;
                cairo_rectangle(cr, x - cell, y - cell, 2.0 * cell, 2.0 * cell);
                cairo_fill(cr);
            }
    }

    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12.0);
    cairo_set_source_rgba(cr, 0.8, 0.85, 0.8, 0.9);
    cairo_move_to(cr, 6.0, kSize - 7.0);
    cairo_show_text(cr, caption.c_str());
    cairo_destroy(cr);
    cairo_surface_flush(surface);

    ReplacingFile file;
    bool ok = file.open(path, error);
    if (ok)
    {
        int fd = file.descriptor();
        const cairo_status_t status = cairo_surface_write_to_png_stream(surface, writeToDescriptor, &fd);
        if (status != CAIRO_STATUS_SUCCESS)
        {
            error = "writing '" + path + "' failed: " + cairo_status_to_string(status);
            ok = false;
        }
        else
        {
            ok = file.commit(error);
        }
    }
    cairo_surface_destroy(surface);
    return ok;
}
