// Pictures in memory: the bitmaps a module holds, decoded once, and the
// canvas a frame is drawn on, with the drawing operation of each element
// type. Everything is drawn destination first: each output pixel at the
// canvas's scale asks which bitmap pixel lands on it, so a larger scale
// draws needles and strips at their finer positions instead of blowing up
// a small picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gauges.h"

namespace gauge_host {

// 0xAABBGGRR in memory order R, G, B, A; alpha 0 where nothing is drawn.
struct rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const rgba&) const = default;
};

struct image {
    int width = 0;
    int height = 0;
    int bits = 0;  // depth of the resource it came from
    std::vector<rgba> pixels;  // top row first, every pixel opaque
    const rgba& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

inline bool is_pure_black(const rgba& p) { return p.r == 0 && p.g == 0 && p.b == 0; }

struct canvas {
    int width = 0;   // in output pixels: gauge pixels times scale
    int height = 0;
    int scale = 1;
    std::vector<rgba> pixels;

    canvas() = default;
    canvas(int gauge_width, int gauge_height, int scale);
    void clear();
    rgba& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const rgba& at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    // The pixel standing for gauge pixel (x, y): the top-left one of its
    // scale x scale block.
    const rgba& gauge_pixel(int x, int y) const { return at(x * scale, y * scale); }
};

// A bitmap with its top-left corner at position; under transparency its
// pure-black pixels are left out.
void draw_image(canvas& c, const image& img, PIXPOINT position, bool transparency);

// The needle bitmap turned about rotation_point (a pixel of the bitmap),
// which is placed on position, so that the bitmap's rightward direction
// points at angle (clockwise from up). Sampled bilinearly: transparent
// pixels take no part in the mix and the rest is blended by how much of
// the sample they cover.
void draw_needle(canvas& c, const image& img, PIXPOINT position, PIXPOINT rotation_point,
                 double angle_degrees, bool transparency);

// The strip seen through the window at position, the window looking
// offset_x, offset_y pixels into the strip.
void draw_strip(canvas& c, const image& strip, const image& window, PIXPOINT position,
                double offset_x, double offset_y, bool transparency);

// Text coverage, one byte a pixel, at the canvas's scale.
struct coverage_mask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> alpha;
};

// A string element's box: the back colour unless transparent, then the
// fore colour through the coverage.
void draw_text_box(canvas& c, const coverage_mask& mask, PIXPOINT position, RGB32 fore,
                   RGB32 back, bool back_transparent);

}  // namespace gauge_host
