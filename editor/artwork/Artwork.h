#pragma once

// The editor's bitmaps. Each function draws one picture at its fixed size,
// with scale pixels to a unit (1, or 2 for dense screens), and writes it as a
// PNG file; false if the file could not be written.

#include <string>

namespace Artwork {

bool drawSkin(const std::string& path, int scale);            // 375 x 495
bool drawGainKnob(const std::string& path, int scale);        // 36 x 1440, 40 frames
bool drawPanKnob(const std::string& path, int scale);         // 36 x 1440, 40 frames
bool drawButton(const std::string& path, int scale);          // 28 x 56, off above on
bool drawAboutBox(const std::string& path, int scale);        // 319 x 439
bool drawFrameBackground(const std::string& path, int scale); // 200 x 200

} // namespace Artwork
