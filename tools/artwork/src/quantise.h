// Palette building for the 8-bit bitmaps. Entry 0 is the transparent pure
// black and nothing else; the caller's fixed colours follow and come out
// exactly; the rest of the palette comes from a median cut over all opaque
// pixels of the given pictures, so pictures that must share a palette can be
// quantised together. Every step has a total order, so the result depends
// only on the pixels.
#pragma once

#include "picture.h"

#include <array>
#include <vector>

using Palette = std::array<Rgb, 256>;

Palette make_palette(const std::vector<const Picture*>& pictures, const std::vector<Rgb>& fixed);

// Transparent pixels take entry 0; an opaque pixel takes the entry of its
// exact colour where there is one, else the nearest entry other than 0.
Indexed apply_palette(const Picture& picture, const Palette& palette);

// Convenience for a picture with a palette of its own.
Indexed quantise(const Picture& picture, const std::vector<Rgb>& fixed = {});
