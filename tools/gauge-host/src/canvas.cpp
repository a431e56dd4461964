#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gauge_host {

namespace {

struct span2 {
    int x0, y0, x1, y1;  // output pixels, end exclusive, within the canvas
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

span2 output_span(const canvas& c, double gx0, double gy0, double gx1, double gy1) {
    const int s = c.scale;
    return {std::max(0, int(std::floor(gx0 * s))), std::max(0, int(std::floor(gy0 * s))),
            std::min(c.width, int(std::ceil(gx1 * s))), std::min(c.height, int(std::ceil(gy1 * s)))};
}

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Source over destination with coverage a (0..1) of a source colour.
void blend(rgba& d, float sr, float sg, float sb, float a) {
    if (a <= 0) return;
    if (a >= 1 || d.a == 0) {
        d = {std::uint8_t(sr + 0.5f), std::uint8_t(sg + 0.5f), std::uint8_t(sb + 0.5f),
             std::uint8_t(a * 255 + 0.5f)};
        return;
    }
    const float da = d.a / 255.0f * (1 - a);
    const float oa = a + da;
    d.r = std::uint8_t((sr * a + d.r * da) / oa + 0.5f);
    d.g = std::uint8_t((sg * a + d.g * da) / oa + 0.5f);
    d.b = std::uint8_t((sb * a + d.b * da) / oa + 0.5f);
    d.a = std::uint8_t(oa * 255 + 0.5f);
}

}  // namespace

canvas::canvas(int gauge_width, int gauge_height, int s)
    : width(gauge_width * s), height(gauge_height * s), scale(s),
      pixels(std::size_t(width) * height) {}

void canvas::clear() { std::fill(pixels.begin(), pixels.end(), rgba{}); }

void draw_image(canvas& c, const image& img, PIXPOINT position, bool transparency) {
    const span2 o = output_span(c, position.x, position.y, position.x + img.width,
                                position.y + img.height);
    if (o.empty()) return;
    const int s = c.scale;
    // Source column of each output column, worked out once per draw.
    thread_local std::vector<int> columns;
    columns.resize(std::size_t(o.x1 - o.x0));
    for (int ox = o.x0; ox < o.x1; ++ox) columns[std::size_t(ox - o.x0)] = floor_div(ox, s) - position.x;
    for (int oy = o.y0; oy < o.y1; ++oy) {
        const int sy = floor_div(oy, s) - position.y;
        const rgba* row = &img.pixels[std::size_t(sy) * img.width];
        rgba* out = &c.at(o.x0, oy);
        const int n = o.x1 - o.x0;
        if (s == 1) {
            const rgba* in = row + (o.x0 - position.x);
            if (!transparency) {
                std::copy(in, in + n, out);
                continue;
            }
            for (int k = 0; k < n; ++k)
                if (!is_pure_black(in[k])) out[k] = in[k];
            continue;
        }
        for (int k = 0; k < n; ++k) {
            const rgba& p = row[columns[std::size_t(k)]];
            if (transparency && is_pure_black(p)) continue;
            out[k] = p;
        }
    }
}

void draw_needle(canvas& c, const image& img, PIXPOINT position, PIXPOINT rotation_point,
                 double angle_degrees, bool transparency) {
    if (img.width == 0 || img.height == 0) return;
    // The bitmap points right, at 90 degrees; turn it by the rest.
    const double turn = (angle_degrees - 90.0) * std::numbers::pi / 180.0;
    const double cs = std::cos(turn), sn = std::sin(turn);
    // Pixel centres: rotation_point's centre lands on position's centre.
    const double px = position.x + 0.5, py = position.y + 0.5;
    const double rx = rotation_point.x + 0.5, ry = rotation_point.y + 0.5;

    // The turned bitmap's bounds on the gauge, a pixel wider for the blend.
    double gx0 = 1e30, gy0 = 1e30, gx1 = -1e30, gy1 = -1e30;
    const double corners[4][2] = {{0, 0}, {double(img.width), 0}, {0, double(img.height)},
                                  {double(img.width), double(img.height)}};
    for (const auto& k : corners) {
        const double bx = k[0] - rx, by = k[1] - ry;
        const double gx = px + bx * cs - by * sn, gy = py + bx * sn + by * cs;
        gx0 = std::min(gx0, gx), gy0 = std::min(gy0, gy);
        gx1 = std::max(gx1, gx), gy1 = std::max(gy1, gy);
    }
    const span2 o = output_span(c, gx0 - 1, gy0 - 1, gx1 + 1, gy1 + 1);
    if (o.empty()) return;

    const double inv = 1.0 / c.scale;
    const int w = img.width, h = img.height;
    for (int oy = o.y0; oy < o.y1; ++oy) {
        const double gy = (oy + 0.5) * inv - py;
        rgba* out = &c.at(0, oy);
        for (int ox = o.x0; ox < o.x1; ++ox) {
            const double gx = (ox + 0.5) * inv - px;
            // Back into the bitmap, in pixel-index space (centres at k).
            const double bx = rx + gx * cs + gy * sn - 0.5;
            const double by = ry - gx * sn + gy * cs - 0.5;
            if (bx <= -1 || by <= -1 || bx >= w || by >= h) continue;
            const int x0 = int(std::floor(bx)), y0 = int(std::floor(by));
            const float fx = float(bx - x0), fy = float(by - y0);
            float r = 0, g = 0, b = 0, cover = 0;
            const float weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
            for (int k = 0; k < 4; ++k) {
                const int sx = x0 + (k & 1), sy = y0 + (k >> 1);
                if (sx < 0 || sy < 0 || sx >= w || sy >= h || weights[k] == 0) continue;
                const rgba& p = img.pixels[std::size_t(sy) * w + sx];
                if (transparency && is_pure_black(p)) continue;
                r += p.r * weights[k], g += p.g * weights[k], b += p.b * weights[k];
                cover += weights[k];
            }
            if (cover <= 0) continue;
            blend(out[ox], r / cover, g / cover, b / cover, std::min(cover, 1.0f));
        }
    }
}

void draw_strip(canvas& c, const image& strip, const image& window, PIXPOINT position,
                double offset_x, double offset_y, bool transparency) {
    const span2 o = output_span(c, position.x, position.y, position.x + window.width,
                                position.y + window.height);
    if (o.empty() || strip.width == 0 || strip.height == 0) return;
    const double inv = 1.0 / c.scale;
    for (int oy = o.y0; oy < o.y1; ++oy) {
        const double wy = (oy + 0.5) * inv - position.y;
        const int wyi = std::clamp(int(std::floor(wy)), 0, window.height - 1);
        const int sy = int(std::floor(wy + offset_y));
        rgba* out = &c.at(0, oy);
        for (int ox = o.x0; ox < o.x1; ++ox) {
            const double wx = (ox + 0.5) * inv - position.x;
            const rgba& wp = window.at(std::clamp(int(std::floor(wx)), 0, window.width - 1), wyi);
            if (is_pure_black(wp)) {
                // A black window pixel hides the strip, and under
                // transparency lets whatever is below show.
                if (!transparency) out[ox] = {0, 0, 0, 255};
                continue;
            }
            const int sx = int(std::floor(wx + offset_x));
            rgba sp{0, 0, 0, 255};
            if (sx >= 0 && sy >= 0 && sx < strip.width && sy < strip.height) sp = strip.at(sx, sy);
            out[ox] = {std::uint8_t(std::min(255, sp.r + wp.r)),
                       std::uint8_t(std::min(255, sp.g + wp.g)),
                       std::uint8_t(std::min(255, sp.b + wp.b)), 255};
        }
    }
}

void draw_text_box(canvas& c, const coverage_mask& mask, PIXPOINT position, RGB32 fore,
                   RGB32 back, bool back_transparent) {
    const int s = c.scale;
    const int x0 = position.x * s, y0 = position.y * s;
    const float fr = float(fore & 0xFF), fg = float((fore >> 8) & 0xFF),
                fb = float((fore >> 16) & 0xFF);
    const rgba back_pixel{std::uint8_t(back & 0xFF), std::uint8_t((back >> 8) & 0xFF),
                          std::uint8_t((back >> 16) & 0xFF), 255};
    for (int my = 0; my < mask.height; ++my) {
        const int oy = y0 + my;
        if (oy < 0 || oy >= c.height) continue;
        for (int mx = 0; mx < mask.width; ++mx) {
            const int ox = x0 + mx;
            if (ox < 0 || ox >= c.width) continue;
            rgba& d = c.at(ox, oy);
            if (!back_transparent) d = back_pixel;
            const std::uint8_t a = mask.alpha[std::size_t(my) * mask.width + mx];
            if (a) blend(d, fr, fg, fb, a / 255.0f);
        }
    }
}

}  // namespace gauge_host
