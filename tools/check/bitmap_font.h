#ifndef ZELGEN_BITMAP_FONT_H
#define ZELGEN_BITMAP_FONT_H

// A small 5 x 7 pixel font for the labels of zelgen's preview pictures: upper-case letters,
// digits and a few signs (lower-case text is drawn in upper case, unknown signs as blanks).

#include <cstdint>
#include <string>

#include "check/png_image.h"

namespace zelgen {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Draws `text` with its top left corner at (x, y), each font pixel `scale` pixels wide, in
// the colour `rgb`; what falls outside the image is not drawn.
void drawText(RgbImage& image, int x, int y, const std::string& text, int scale,
              const float (&rgb)[3]);

}  // namespace zelgen

#endif  // ZELGEN_BITMAP_FONT_H
