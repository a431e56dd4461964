#include "picture.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H
#include FT_DRIVER_H

#include <cmath>
#include <cstdio>
#include <cstdlib>

Picture Picture::crop(int x0, int y0, int w, int h) const {
    Picture out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.at(x, y) = at(x0 + x, y0 + y);
    return out;
}

Picture Indexed::expand() const {
    Picture out(width, height);
    for (size_t i = 0; i < indices.size(); ++i) out.pixels[i] = palette[indices[i]];
    return out;
}

Picture from_surface(cairo_surface_t* surface) {
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    Picture out(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const unsigned a = p >> 24;
            if (a < 128) continue;  // stays transparent
            auto un = [a](unsigned c) { return uint8_t((c * 255 + a / 2) / a); };
            Rgb c{un(p >> 16 & 0xff), un(p >> 8 & 0xff), un(p & 0xff)};
            // An opaque pixel may never read as the transparent colour.
            if (c.is_black()) c = {1, 1, 1};
            out.at(x, y) = c;
        }
    }
    return out;
}

void lift_blacks(Picture& picture, uint8_t floor) {
    for (Rgb& c : picture.pixels)
        if (c.r < floor && c.g < floor && c.b < floor) c = {floor, floor, floor};
}

cairo_surface_t* to_surface(const Picture& picture, int scale) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width * scale,
                                                    picture.height * scale);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < picture.height * scale; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < picture.width * scale; ++x) {
            const Rgb c = picture.at(x / scale, y / scale);
            row[x] = 0xff000000u | c.key();
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

Canvas::Canvas(int w, int h)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)), cr(cairo_create(surface)) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_tolerance(cr, 0.02);
    cairo_font_options_t* fo = cairo_font_options_create();
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(fo, CAIRO_SUBPIXEL_ORDER_RGB);
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, fo);
    cairo_font_options_destroy(fo);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

namespace {

const char* font_file(Face face) {
    switch (face) {
    case Face::serif: return "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf";
    case Face::serif_bold: return "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";
    case Face::sans_bold: return "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
    case Face::sans_narrow_bold:
        return "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf";
    case Face::sans_condensed_bold:
        return "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
    }
    return nullptr;
}

FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) {
            std::fprintf(stderr, "artwork: cannot start FreeType\n");
            std::exit(1);
        }
        // FT_Init_FreeType honours FREETYPE_PROPERTIES from the environment;
        // pin the TrueType hinting engine so that cannot change the glyphs.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
        FT_Property_Set(lib, "truetype", "interpreter-version", &interpreter);
        return lib;
    }();
    return library;
}

cairo_font_face_t* font_face(Face face) {
    static cairo_font_face_t* faces[5] = {};
    cairo_font_face_t*& slot = faces[int(face)];
    if (!slot) {
        FT_Face ft = nullptr;
        if (FT_New_Face(freetype(), font_file(face), 0, &ft) != 0) {
            std::fprintf(stderr, "artwork: cannot open %s\n", font_file(face));
            std::exit(1);
        }
        slot = cairo_ft_font_face_create_for_ft_face(ft, FT_LOAD_DEFAULT);
    }
    return slot;
}

}  // namespace

void use_font(cairo_t* cr, Face face, double pixel_size) {
    cairo_set_font_face(cr, font_face(face));
    cairo_set_font_size(cr, pixel_size);
}

TextBox measure(cairo_t* cr, const std::string& utf8) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    return {e.x_bearing, e.y_bearing, e.x_bearing + e.width, e.y_bearing + e.height, e.x_advance};
}

void text_centred(cairo_t* cr, const std::string& utf8, double cx, double cy) {
    const TextBox b = measure(cr, utf8);
    const double x = std::round(cx - (b.x0 + b.x1) / 2);
    const double y = std::round(cy - (b.y0 + b.y1) / 2);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
}
