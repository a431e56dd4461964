// Pictures as the gauges' host sees them: plain RGB, where pure black is
// the transparent colour and every other value is drawn as it is.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    bool is_black() const { return r == 0 && g == 0 && b == 0; }
    uint32_t key() const { return uint32_t(r) << 16 | uint32_t(g) << 8 | b; }
};

inline constexpr Rgb transparent{0, 0, 0};

struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // row-major, top row first

    Picture() = default;
    Picture(int w, int h, Rgb fill = transparent)
        : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    Picture crop(int x0, int y0, int w, int h) const;
};

// A palette picture: index 0 is always the transparent black.
struct Indexed {
    int width = 0, height = 0;
    std::array<Rgb, 256> palette{};
    std::vector<uint8_t> indices;
    Picture expand() const;
};

// How pixels whose coverage is partial come out of an ARGB drawing. The host
// knows only "drawn" and "not drawn", so a half-covered edge pixel must not
// become a blend towards black: at half coverage or more it keeps its own
// colour and is drawn, below that it is dropped.
Picture from_surface(cairo_surface_t* surface);

// Raises every opaque pixel darker than `floor` in all channels to that
// shade, for pictures that must cover their whole rectangle.
void lift_blacks(Picture& picture, uint8_t floor);

// RGB24 surface of a picture, scaled up by whole pixels, for previews.
cairo_surface_t* to_surface(const Picture& picture, int scale = 1);

// Cairo drawing with everything that could depend on the machine pinned.
struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;
    Canvas(int w, int h);  // fully transparent ARGB
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Picture picture() { cairo_surface_flush(surface); return from_surface(surface); }
};

enum class Face { serif, serif_bold, sans_bold, sans_narrow_bold, sans_condensed_bold };

// Selects one of the fonts read straight from its file (no fontconfig), at a
// pixel size, with full hinting and grey anti-aliasing.
void use_font(cairo_t* cr, Face face, double pixel_size);

struct TextBox { double x0, y0, x1, y1, advance; };
TextBox measure(cairo_t* cr, const std::string& utf8);
// Draws text whose ink box is centred on (cx, cy), with the pen origin
// snapped to whole pixels so the hinted stems stay on the pixel grid.
void text_centred(cairo_t* cr, const std::string& utf8, double cx, double cy);

inline void set_rgb(cairo_t* cr, int r, int g, int b) {
    cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
}
