// The fuel quantity dial and its needle.
#include "artwork.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double rad(double deg) { return deg * pi / 180.0; }

// The needle's two calibration points, seen from the centre pixel (151, 151),
// fix where the scale starts and ends, so the printed 0 and 120 marks lie
// exactly where the host points the needle for the two ends of the range.
double bearing(double dx, double dy) {
    double a = std::atan2(dx, -dy) * 180.0 / pi;
    return a < 0 ? a + 360.0 : a;
}
const double scale_start = bearing(112 - 151, 252 - 151);         // 201.1
const double scale_span = bearing(192 - 151, 251 - 151) + 360.0 - scale_start;  // 316.6

constexpr double bezel_outer = 150.5, bezel_inner = 133.0, gap_inner = 131.0;

struct Vec3 {
    double x, y, z;
};
Vec3 normalised(Vec3 v) {
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Light from the upper left, as a panel is usually lit; screen y grows down.
const Vec3 light = normalised({-0.45, -0.65, 0.62});
const Vec3 halfway = normalised({light.x, light.y, light.z + 1.0});

// Small deterministic noise for the tool marks of turned metal.
double hash01(uint32_t n) {
    n ^= n >> 16;
    n *= 0x7feb352du;
    n ^= n >> 15;
    n *= 0x846ca68bu;
    n ^= n >> 16;
    return (n & 0xffffff) / double(0xffffff);
}

// Brightness of the bezel at a point: a rounded ring turned on a lathe, so its
// surface normal tilts with the radius, and the fine concentric tool marks
// throw the light into the usual bow-tie of brighter and darker sectors.
double bezel_shade(double x, double y) {
    const double dx = x - dial_cx, dy = y - dial_cy;
    const double r = std::hypot(dx, dy);
    const double ux = dx / r, uy = dy / r;
    const double t = std::clamp((r - bezel_inner) / (bezel_outer - bezel_inner), 0.0, 1.0);
    // Profile: a steep inner wall, a broad rounded crown, a short outer chamfer.
    double tilt;
    if (t < 0.18) tilt = -70.0 + 30.0 * (t / 0.18);
    else if (t < 0.8) tilt = -40.0 + 85.0 * ((t - 0.18) / 0.62);
    else tilt = 45.0 + 25.0 * ((t - 0.8) / 0.2);
    const double s = std::sin(rad(tilt)), c = std::cos(rad(tilt));
    const Vec3 n{s * ux, s * uy, c};
    const double diffuse = std::max(0.0, dot(n, light));
    const double specular = std::pow(std::max(0.0, dot(n, halfway)), 16.0);
    const double theta = std::atan2(dy, dx);
    const double sheen = std::pow(std::abs(std::cos(theta - std::atan2(light.y, light.x))), 4.0);
    const int groove = int(std::floor(r * 1.3));
    const double marks = 0.10 * (hash01(uint32_t(groove) * 2654435761u) - 0.5);
    return 0.10 + 0.50 * diffuse + 0.75 * specular + 0.30 * sheen * (0.5 + 0.5 * diffuse) + marks;
}

// Paints a surface pixel by pixel from a brightness function, 4 x 4 samples
// per pixel, tinted towards a cool steel.
cairo_surface_t* shaded_surface(int w, int h, double (*shade)(double, double)) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < w; ++x) {
            const double rr = std::hypot(x + 0.5 - dial_cx, y + 0.5 - dial_cy);
            if (rr < bezel_inner - 2 || rr > bezel_outer + 2) {
                row[x] = 0xff000000u;
                continue;
            }
            double sum = 0;
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) sum += shade(x + (i + 0.5) / 4, y + (j + 0.5) / 4);
            const double v = std::clamp(sum / 16, 0.0, 1.15);
            auto ch = [v](double base) {
                return uint32_t(std::clamp(std::lround(base * v), 0L, 255L));
            };
            row[x] = 0xff000000u | ch(218) << 16 | ch(222) << 8 | ch(228);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
}

// A slotted cheese-head screw in a corner of the mounting flange.
void screw(cairo_t* cr, double cx, double cy, double slot_deg) {
    const double r = 8.0;
    cairo_pattern_t* dome = cairo_pattern_create_radial(cx - 3, cy - 3, 0.5, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(dome, 0.0, 0.86, 0.87, 0.88);
    cairo_pattern_add_color_stop_rgb(dome, 0.55, 0.55, 0.56, 0.58);
    cairo_pattern_add_color_stop_rgb(dome, 1.0, 0.24, 0.24, 0.26);
    circle(cr, cx, cy, r);
    cairo_set_source(cr, dome);
    cairo_fill(cr);
    cairo_pattern_destroy(dome);
    circle(cr, cx, cy, r - 0.6);
    set_rgb(cr, 40, 40, 42);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rad(slot_deg));
    cairo_rectangle(cr, -r + 1.2, -1.3, 2 * r - 2.4, 2.6);
    set_rgb(cr, 22, 22, 24);
    cairo_fill(cr);
    // The lit lower lip of the slot.
    cairo_move_to(cr, -r + 1.6, 1.55);
    cairo_line_to(cr, r - 1.6, 1.55);
    set_rgb(cr, 190, 192, 196);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void bezel(cairo_t* cr) {
    cairo_surface_t* metal = shaded_surface(302, 302, bezel_shade);
    circle(cr, dial_cx, dial_cy, bezel_outer);
    circle(cr, dial_cx, dial_cy, bezel_inner);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_surface(cr, metal, 0, 0);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_surface_destroy(metal);
    // A fine dark line where the crown meets the outer chamfer, and the
    // shadowed edge of the inner wall, give the turned profile its crispness.
    circle(cr, dial_cx, dial_cy, bezel_outer - 3.4);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.11, 0.45);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    circle(cr, dial_cx, dial_cy, bezel_inner + 0.5);
    cairo_set_source_rgba(cr, 0.05, 0.05, 0.05, 0.6);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void scale_marks(cairo_t* cr) {
    set_rgb(cr, 255, 255, 255);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i <= 36; ++i) {
        const bool long_mark = i % 3 == 0;
        const double a = rad(dial_mark_angle(i));
        const double sx = std::sin(a), sy = -std::cos(a);
        const double r0 = long_mark ? 101.0 : 109.0, r1 = long_mark ? 124.0 : 123.0;
        cairo_move_to(cr, dial_cx + r0 * sx, dial_cy + r0 * sy);
        cairo_line_to(cr, dial_cx + r1 * sx, dial_cy + r1 * sy);
        cairo_set_line_width(cr, long_mark ? 3.2 : 1.8);
        cairo_stroke(cr);
    }
}

void numerals(cairo_t* cr) {
    use_font(cr, Face::serif_bold, 21);
    set_rgb(cr, 255, 255, 255);
    for (int value = 0; value <= 120; value += 30) {
        const std::string text = std::to_string(value);
        const double a = rad(dial_mark_angle(value / 10 * 3));
        const double sx = std::sin(a), sy = -std::cos(a);
        const TextBox b = measure(cr, text);
        const double hw = (b.x1 - b.x0) / 2, hh = (b.y1 - b.y0) / 2;
        // Just inside the long mark, whatever the numeral's width.
        const double r = 101.0 - 6.0 - (hw * std::abs(sx) + hh * std::abs(sy));
        text_centred(cr, text, dial_cx + r * sx, dial_cy + r * sy);
    }
}

void legend(cairo_t* cr) {
    set_rgb(cr, 255, 255, 255);
    use_font(cr, Face::serif, 17);
    text_centred(cr, "LITRI", dial_cx, dial_cy - 45);
    use_font(cr, Face::serif, 15);
    text_centred(cr, "\u00d7 10", dial_cx, dial_cy - 26);
}

void placard(cairo_t* cr, Tank tank) {
    const double x = 106, y = 183, w = 95, h = 37, r = 3.5;
    auto rounded = [&](double inset) {
        const double x0 = x + inset, y0 = y + inset, x1 = x + w - inset, y1 = y + h - inset;
        const double rr = r - inset * 0.5;
        cairo_new_sub_path(cr);
        cairo_arc(cr, x1 - rr, y0 + rr, rr, -pi / 2, 0);
        cairo_arc(cr, x1 - rr, y1 - rr, rr, 0, pi / 2);
        cairo_arc(cr, x0 + rr, y1 - rr, rr, pi / 2, pi);
        cairo_arc(cr, x0 + rr, y0 + rr, rr, pi, 3 * pi / 2);
        cairo_close_path(cr);
    };
    // An engraved plate: lit upper edge, shadowed lower edge, matt centre.
    rounded(0);
    cairo_pattern_t* edge = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(edge, 0, 0.36, 0.36, 0.37);
    cairo_pattern_add_color_stop_rgb(edge, 1, 0.10, 0.10, 0.11);
    cairo_set_source(cr, edge);
    cairo_fill(cr);
    cairo_pattern_destroy(edge);
    rounded(1.0);
    set_rgb(cr, 50, 50, 52);
    cairo_fill(cr);
    for (double sx : {x + 6.0, x + w - 6.0}) {
        circle(cr, sx, y + h / 2, 1.9);
        set_rgb(cr, 120, 120, 122);
        cairo_fill(cr);
        circle(cr, sx - 0.5, y + h / 2 - 0.5, 0.8);
        set_rgb(cr, 200, 200, 202);
        cairo_fill(cr);
    }
    set_rgb(cr, 255, 255, 255);
    use_font(cr, Face::serif, 12.5);
    text_centred(cr, "SERBATOIO", x + w / 2, y + 12.0);
    text_centred(cr, tank == Tank::left ? "SINISTRO" : "DESTRO", x + w / 2, y + 26.0);
}

}  // namespace

double dial_mark_angle(int i) { return std::fmod(scale_start + scale_span * i / 36.0, 360.0); }

Picture draw_fuel_dial(Tank tank) {
    Canvas canvas(302, 302);
    cairo_t* cr = canvas.cr;
    screw(cr, 15.5, 15.5, 35);
    screw(cr, 287.5, 15.5, 110);
    screw(cr, 15.5, 287.5, 160);
    screw(cr, 287.5, 287.5, 70);
    // Face and the gap ring below the bezel; the gap is cut open afterwards.
    circle(cr, dial_cx, dial_cy, bezel_inner + 1);
    set_rgb(cr, 18, 18, 19);
    cairo_fill(cr);
    circle(cr, dial_cx, dial_cy, gap_inner + 1);
    set_rgb(cr, dial_face.r, dial_face.g, dial_face.b);
    cairo_fill(cr);
    bezel(cr);
    scale_marks(cr);
    numerals(cr);
    legend(cr);
    placard(cr, tank);
    Picture p = canvas.picture();

    // The gap ring is settled per pixel so it comes out a clean ring: open
    // round the lower two thirds of the dial, where the panel shows through,
    // and a shadowed groove under the upper bezel. The face was painted one
    // pixel wider than the gap's inner edge, so every face pixel is exact.
    for (int y = 0; y < 302; ++y)
        for (int x = 0; x < 302; ++x) {
            const double dx = x + 0.5 - dial_cx, dy = y + 0.5 - dial_cy;
            const double d = std::hypot(dx, dy);
            if (d >= gap_inner && d < bezel_inner) {
                const double a = bearing(dx, dy);
                p.at(x, y) = (a > 300 || a < 60) ? Rgb{16, 16, 17} : transparent;
            }
        }
    return p;
}

Picture draw_fuel_needle() {
    Canvas canvas(170, 20);
    cairo_t* cr = canvas.cr;
    const double cy = 9.5;  // centre of row 9
    auto rect = [cr](int x0, int y0, int x1, int y1, Rgb c) {  // inclusive pixel bounds
        cairo_rectangle(cr, x0, y0, x1 - x0 + 1, y1 - y0 + 1);
        set_rgb(cr, c.r, c.g, c.b);
        cairo_fill(cr);
    };
    const Rgb white{255, 255, 255}, edge_grey{150, 150, 144};
    // Tail: a white core in grey edges, out to the counterweight.
    rect(18, 5, 66, 13, edge_grey);
    rect(18, 7, 66, 11, white);
    // Pointer, narrowing in steps towards the tip in column 169.
    rect(67, 5, 104, 13, white);
    rect(105, 7, 140, 11, white);
    rect(141, 9, 169, 10, white);
    circle(cr, 17.5, cy, 8.0);
    set_rgb(cr, 255, 255, 255);
    cairo_fill(cr);
    circle(cr, 67.5, cy, 9.0);
    set_rgb(cr, needle_hub.r, needle_hub.g, needle_hub.b);
    cairo_fill(cr);
    return canvas.picture();
}
