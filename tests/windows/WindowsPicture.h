#pragma once

// Pictures for the Windows tests: a window printed through WM_PRINTCLIENT
// into a bitmap of our own (a window's screen pixels read back black under
// Wine), a PNG decoded with WIC, and their comparison.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace WindowsPicture {

struct Comparison
{
    int largest = 0;           // largest difference of one channel
    double mean = 0;           // mean of each pixel's largest channel difference
    double differingShare = 0; // share of pixels that differ at all
    double farShare = 0;       // share that differ by more than 64 in a channel
};

// Opaque pixels as 0xRRGGBB, row by row.
struct Image
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Pixels that differ in the w x h area at (x, y); the whole picture when w is 0.
    size_t differingPixels(const Image& other, int w = 0, int h = 0, int x = 0, int y = 0) const;
    Comparison compare(const Image& other) const;
};

// What the window draws when asked to print its client area; empty on failure.
Image print(HWND window, int width, int height);
// A PNG file composited over black; empty on failure. COM must be initialised.
Image loadPng(const std::string& path);

} // namespace WindowsPicture
