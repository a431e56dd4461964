// PNG previews: each bitmap enlarged, and the two gauges put together the
// way the host draws them, to judge the artwork as a pilot would see it.
#include "artwork.h"
#include "outputs.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

void save(cairo_surface_t* s, const std::string& path) {
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

// Host drawing rule for opaque images: pure black is not drawn.
void over(Picture& dst, const Picture& src, int x0, int y0) {
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x)
            if (!src.at(x, y).is_black()) dst.at(x0 + x, y0 + y) = src.at(x, y);
}

// Moving image: strip plus window, channel by channel, where the window is
// not pure black.
void strip(Picture& dst, const Picture& card, const Picture& window, double value, double first,
           int x0, int y0) {
    const double f = std::clamp((value - first) / (0.0 - first), 0.0, 1.0);
    const int s = int(f * (card.width - window.width));
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            const Rgb w = window.at(x, y), c = card.at(s + x, y);
            if (w.is_black()) continue;
            auto add = [](int a, int b) { return uint8_t(std::min(255, a + b)); };
            dst.at(x0 + x, y0 + y) = {add(w.r, c.r), add(w.g, c.g), add(w.b, c.b)};
        }
}

cairo_surface_t* argb_with_transparency(const Picture& p) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.at(x, y);
            reinterpret_cast<uint32_t*>(data + size_t(y) * stride)[x] =
                c.is_black() ? 0u : 0xff000000u | c.key();
        }
    cairo_surface_mark_dirty(s);
    return s;
}

void text(cairo_t* cr, const std::string& s, double x, double y) {
    // Liberation Serif has the metrics of the host's Times New Roman; a cell
    // 18 pixels high holds an em of 18 * 2048 / 2268 pixels.
    use_font(cr, Face::serif, 18.0 * 2048 / 2268);
    cairo_set_source_rgb(cr, 231 / 255.0, 206 / 255.0, 133 / 255.0);
    cairo_move_to(cr, x, y + 18.0 * 1825 / 2268);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);
}

cairo_surface_t* scaled(cairo_surface_t* src, int w, int h, int scale) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w * scale, h * scale);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

void panel_preview(const std::vector<Output>& o, const std::string& dir, bool lit, double hdg,
                   double sel, const std::string& name) {
    auto get = [&](const char* p) -> const Picture& { return find_output(o, p).rgb; };
    Picture p = get("background.bmp");
    const Picture &card = get("compass_card.bmp"), &window = get("card_window.bmp");
    strip(p, card, window, hdg, 359.0, 29, 52);
    strip(p, card, window, sel, 359.9, 29, 33);
    over(p, get(lit ? "centre_lamp_on.bmp" : "centre_lamp_off.bmp"), centre_lamp_x, centre_lamp_y);
    over(p, get(lit ? "apr_lamp_on.bmp" : "apr_lamp_off.bmp"), apr_lamp_x, apr_lamp_y);
    const Picture& toggle = get(lit ? "toggle_lamp_on.bmp" : "toggle_lamp_off.bmp");
    over(p, toggle, toggle_left_x, toggle_y);
    over(p, toggle, toggle_right_x, toggle_y);
    cairo_surface_t* s = to_surface(p);
    cairo_t* cr = cairo_create(s);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03.0f", sel);
    text(cr, buf, 24, 122);
    std::snprintf(buf, sizeof buf, "%05.0f", lit ? 12500.0 : 3000.0);
    text(cr, buf, 105, 122);
    cairo_destroy(cr);
    save(scaled(s, p.width, p.height, 1), dir + "/" + name + ".png");
    save(scaled(s, p.width, p.height, 4), dir + "/" + name + "_x4.png");
    cairo_surface_destroy(s);
}

void dial_preview(const std::vector<Output>& o, const std::string& dir, const char* dial,
                  double value, const std::string& name) {
    const Picture& face = find_output(o, dial).rgb;
    // A panel colour behind, so the transparent parts show as such.
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 302, 302);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.24, 0.26, 0.22);
    cairo_paint(cr);
    cairo_surface_t* d = argb_with_transparency(face);
    cairo_set_source_surface(cr, d, 0, 0);
    cairo_paint(cr);
    cairo_surface_t* n = argb_with_transparency(find_output(o, "needle.bmp").rgb);
    const double angle = dial_mark_angle(0) + value / 310.0 * (dial_mark_angle(36) + 360 - dial_mark_angle(0));
    cairo_translate(cr, 151.5, 151.5);
    cairo_rotate(cr, (angle - 90) * M_PI / 180);
    cairo_translate(cr, -67.5, -12.5);
    cairo_set_source_surface(cr, n, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(d);
    cairo_surface_destroy(n);
    save(scaled(s, 302, 302, 1), dir + "/" + name + ".png");
    save(scaled(s, 302, 302, 3), dir + "/" + name + "_x3.png");
    cairo_surface_destroy(s);
}

}  // namespace

void write_previews(const std::vector<Output>& outputs, const std::string& dir) {
    std::filesystem::create_directories(dir);
    for (const Output& o : outputs) {
        const std::string stem = std::filesystem::path(o.path).stem().string();
        const int scale = o.rgb.width > 200 ? 2 : 4;
        save(to_surface(o.rgb, scale), dir + "/" + stem + ".png");
    }
    panel_preview(outputs, dir, false, 0.0, 0.0, "panel_north");
    panel_preview(outputs, dir, true, 90.0, 270.0, "panel_lit");
    panel_preview(outputs, dir, false, 359.0, 359.9, "panel_ends");
    panel_preview(outputs, dir, false, 180.0, 135.0, "panel_south");
    dial_preview(outputs, dir, "dial_left.bmp", 155.0, "dial_left_60");
    dial_preview(outputs, dir, "dial_right.bmp", 240.0, "dial_right_93");
}
