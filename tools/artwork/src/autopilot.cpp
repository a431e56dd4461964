// The autopilot panel: background, lamps, compass card and its window.
#include "artwork.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

void circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * pi);
}

void fill_rgb(cairo_t* cr, Rgb c) {
    set_rgb(cr, c.r, c.g, c.b);
    cairo_fill(cr);
}

// Whole-pixel rectangle, inclusive bounds, so flat colours come out exact.
void block(cairo_t* cr, int x0, int y0, int x1, int y1, Rgb c) {
    cairo_rectangle(cr, x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    fill_rgb(cr, c);
}

// Engraved lettering this small is drawn from hand-set 5-pixel glyphs:
// outline fonts at a 5-pixel cap height only smear into grey.
const std::map<char, std::vector<std::string_view>>& small_glyphs() {
    static const std::map<char, std::vector<std::string_view>> glyphs = {
        {'A', {".##.", "#..#", "####", "#..#", "#..#"}},
        {'C', {".###", "#...", "#...", "#...", ".###"}},
        {'D', {"###.", "#..#", "#..#", "#..#", "###."}},
        {'E', {"####", "#...", "###.", "#...", "####"}},
        {'G', {".###", "#...", "#.##", "#..#", ".###"}},
        {'H', {"#..#", "#..#", "####", "#..#", "#..#"}},
        {'I', {"###", ".#.", ".#.", ".#.", "###"}},
        {'L', {"#...", "#...", "#...", "#...", "####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
        {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
        {'O', {".##.", "#..#", "#..#", "#..#", ".##."}},
        {'P', {"###.", "#..#", "###.", "#...", "#..."}},
        {'Q', {".##.", "#..#", "#..#", "#.#.", ".#.#"}},
        {'R', {"###.", "#..#", "###.", "#.#.", "#..#"}},
        {'S', {".###", "#...", ".##.", "...#", "###."}},
        {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'U', {"#..#", "#..#", "#..#", "#..#", ".##."}},
        {'.', {".", ".", ".", ".", "#"}},
        {' ', {"..", "..", "..", "..", ".."}},
    };
    return glyphs;
}

int small_text_width(std::string_view text) {
    int w = -1;
    for (char ch : text) w += int(small_glyphs().at(ch)[0].size()) + 1;
    return std::max(w, 0);
}

// Draws small lettering with its top-left pixel at (x, y); a darker pixel
// below and to the right of each stroke reads as the engraving's shadow.
void small_text(cairo_t* cr, std::string_view text, int x, int y, Rgb ink, const Rgb* shadow) {
    for (int pass = shadow ? 0 : 1; pass < 2; ++pass) {
        int pen = x;
        for (char ch : text) {
            const auto& rows = small_glyphs().at(ch);
            for (int j = 0; j < 5; ++j)
                for (int i = 0; i < int(rows[j].size()); ++i)
                    if (rows[j][i] == '#') {
                        cairo_rectangle(cr, pen + i + (pass == 0), y + j + (pass == 0), 1, 1);
                    }
            pen += int(rows[0].size()) + 1;
        }
        fill_rgb(cr, pass == 0 ? *shadow : ink);
    }
}

void small_text_centred(cairo_t* cr, std::string_view text, double cx, int y, Rgb ink,
                        const Rgb* shadow = nullptr) {
    small_text(cr, text, int(std::lround(cx - small_text_width(text) / 2.0)), y, ink, shadow);
}

// --- panel colours -----------------------------------------------------

constexpr Rgb panel{54, 56, 58};
constexpr Rgb frame_light{108, 110, 113}, frame_face{70, 72, 75}, frame_dark{24, 24, 26};
constexpr Rgb recess_dark{16, 16, 17}, recess_light{92, 94, 97};
constexpr Rgb engraving{226, 226, 222}, engraving_shadow{30, 30, 32};
constexpr Rgb window_black{10, 10, 11};

// Light from the upper left: the rim of a raised round part is lit there and
// shadowed at the lower right, a recess the other way round.
cairo_pattern_t* rim_light(double cx, double cy, double r, double hi, double lo) {
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - r * 0.7, cy - r * 0.7, cx + r * 0.7,
                                                     cy + r * 0.7);
    cairo_pattern_add_color_stop_rgb(p, 0, hi, hi, hi * 1.01);
    cairo_pattern_add_color_stop_rgb(p, 1, lo, lo, lo * 1.02);
    return p;
}

// A polished metal ring between radii r0 and r1: lit crown, crisp edges.
void metal_ring(cairo_t* cr, double cx, double cy, double r0, double r1) {
    circle(cr, cx, cy, r1);
    circle(cr, cx, cy, r0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = rim_light(cx, cy, r1, 0.93, 0.30);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // The inner edge turns down into the hole: dark where the crown is lit.
    circle(cr, cx, cy, r0 + 0.5);
    p = rim_light(cx, cy, r0, 0.25, 0.75);
    cairo_set_source(cr, p);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
    // Outer edge: a thin dark line separates the ring from the panel.
    circle(cr, cx, cy, r1 - 0.4);
    cairo_set_source_rgba(cr, 0.05, 0.05, 0.06, 0.55);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

// A rectangular recess in the panel: shadow on its upper and left walls,
// light on its lower and right ones.
void recess(cairo_t* cr, int x0, int y0, int x1, int y1, Rgb inside) {
    block(cr, x0, y0, x1, y1, recess_light);
    block(cr, x0, y0, x1 - 1, y1 - 1, recess_dark);
    block(cr, x0 + 1, y0 + 1, x1 - 1, y1 - 1, inside);
}

void screw(cairo_t* cr, double cx, double cy, double slot_deg) {
    const double r = 3.4;
    cairo_pattern_t* dome = cairo_pattern_create_radial(cx - 1.2, cy - 1.2, 0.3, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(dome, 0, 0.85, 0.85, 0.86);
    cairo_pattern_add_color_stop_rgb(dome, 1, 0.32, 0.32, 0.34);
    circle(cr, cx, cy, r);
    cairo_set_source(cr, dome);
    cairo_fill(cr);
    cairo_pattern_destroy(dome);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, slot_deg * pi / 180);
    cairo_rectangle(cr, -r + 0.6, -0.55, 2 * r - 1.2, 1.1);
    set_rgb(cr, 28, 28, 30);
    cairo_fill(cr);
    cairo_restore(cr);
}

void frame(cairo_t* cr) {
    block(cr, 0, 0, 145, 178, frame_dark);
    block(cr, 0, 0, 144, 177, frame_light);
    block(cr, 1, 1, 144, 177, frame_dark);   // outer bevel: lit top/left
    block(cr, 1, 1, 143, 176, frame_light);
    block(cr, 2, 2, 143, 176, frame_face);
    // Step down from the raised frame onto the panel.
    block(cr, 3, 3, 142, 175, recess_light);
    block(cr, 3, 3, 141, 174, frame_dark);
    block(cr, 4, 4, 141, 174, panel);
}

void title_plate(cairo_t* cr) {
    block(cr, 40, 8, 108, 20, recess_light);
    block(cr, 40, 8, 107, 19, Rgb{20, 20, 21});
    block(cr, 41, 9, 107, 19, Rgb{9, 9, 10});
    use_font(cr, Face::sans_bold, 9.0);
    set_rgb(cr, 240, 240, 236);
    // Letter-spaced by hand: each capital on its own whole-pixel origin.
    const std::string_view title = "AUTOPILOTA";
    std::vector<double> advance;
    double total = 0;
    for (char ch : title) {
        const TextBox b = measure(cr, std::string(1, ch));
        advance.push_back(b.advance);
        total += b.advance + 1;
    }
    total -= 1;
    double pen = std::round(74.5 - total / 2);
    for (size_t i = 0; i < title.size(); ++i) {
        cairo_move_to(cr, pen, 18);
        cairo_show_text(cr, std::string(1, title[i]).c_str());
        pen += std::round(advance[i]) + 1;
    }
    cairo_new_path(cr);
}

void card_window(cairo_t* cr) {
    // A recessed window, two steps deep, holding the two strips.
    recess(cr, 26, 28, 118, 74, Rgb{30, 30, 32});
    recess(cr, 27, 29, 117, 73, window_black);
    block(cr, 33, 50, 112, 50, divider_grey);
}

void nameplate(cairo_t* cr) {
    const std::string_view maker = "AQUILO  TORINO";
    const int w = small_text_width(maker) + 8;
    const int x0 = 73 - w / 2;
    block(cr, x0, 85, x0 + w - 1, 92, Rgb{20, 20, 21});
    block(cr, x0, 85, x0 + w - 2, 91, Rgb{150, 146, 132});
    block(cr, x0 + 1, 86, x0 + w - 2, 91, Rgb{118, 114, 102});
    small_text(cr, maker, x0 + 4, 86, Rgb{22, 22, 20}, nullptr);
    for (int sx : {x0 + 1, x0 + w - 3}) block(cr, sx, 88, sx, 88, Rgb{180, 176, 160});
}

void toggle_knob(cairo_t* cr, double cx, double cy, bool lit) {
    // Hex-less round nut, then the knurled dark head, then the lamp lens.
    metal_ring(cr, cx, cy, 7.6, 10.3);
    cairo_pattern_t* head = cairo_pattern_create_radial(cx - 2.5, cy - 3, 0.5, cx, cy, 7.8);
    cairo_pattern_add_color_stop_rgb(head, 0, 0.30, 0.30, 0.31);
    cairo_pattern_add_color_stop_rgb(head, 1, 0.07, 0.07, 0.075);
    circle(cr, cx, cy, 7.6);
    cairo_set_source(cr, head);
    cairo_fill(cr);
    cairo_pattern_destroy(head);
    // Knurling round the edge of the head.
    cairo_set_line_width(cr, 0.7);
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2 * pi / 24;
        cairo_move_to(cr, cx + 5.6 * std::cos(a), cy + 5.6 * std::sin(a));
        cairo_line_to(cr, cx + 7.4 * std::cos(a), cy + 7.4 * std::sin(a));
    }
    cairo_set_source_rgba(cr, 0.55, 0.55, 0.57, 0.35);
    cairo_stroke(cr);
    circle(cr, cx, cy, 4.0);
    set_rgb(cr, 12, 12, 13);
    cairo_fill(cr);
    if (lit) {
        circle(cr, cx, cy, 3.2);
        fill_rgb(cr, lamp_green);
        circle(cr, cx - 1.0, cy - 1.0, 1.1);
        set_rgb(cr, 255, 255, 255);
        cairo_fill(cr);
    } else {
        cairo_pattern_t* lens = cairo_pattern_create_radial(cx - 1, cy - 1, 0.2, cx, cy, 3.2);
        cairo_pattern_add_color_stop_rgb(lens, 0, 0.16, 0.30, 0.18);
        cairo_pattern_add_color_stop_rgb(lens, 1, 0.04, 0.10, 0.05);
        circle(cr, cx, cy, 3.2);
        cairo_set_source(cr, lens);
        cairo_fill(cr);
        cairo_pattern_destroy(lens);
        circle(cr, cx - 1.0, cy - 1.0, 0.7);
        set_rgb(cr, 110, 130, 112);
        cairo_fill(cr);
    }
}

constexpr double centre_cx = 74.5, centre_cy = 119.0;

void centre_button(cairo_t* cr, bool lit) {
    metal_ring(cr, centre_cx, centre_cy, 10.4, 14.0);
    if (lit) {
        circle(cr, centre_cx, centre_cy, 10.4);
        fill_rgb(cr, lamp_green);
        cairo_pattern_t* glint =
            cairo_pattern_create_radial(centre_cx - 3.5, centre_cy - 3.8, 0.0, centre_cx - 3.5,
                                        centre_cy - 3.8, 3.6);
        cairo_pattern_add_color_stop_rgba(glint, 0, 1, 1, 1, 1);
        cairo_pattern_add_color_stop_rgba(glint, 0.45, 1, 1, 1, 0.9);
        cairo_pattern_add_color_stop_rgba(glint, 1, 1, 1, 1, 0);
        circle(cr, centre_cx - 3.5, centre_cy - 3.8, 3.6);
        cairo_set_source(cr, glint);
        cairo_fill(cr);
        cairo_pattern_destroy(glint);
        circle(cr, centre_cx - 3.5, centre_cy - 3.8, 1.3);
        set_rgb(cr, 255, 255, 255);
        cairo_fill(cr);
    } else {
        cairo_pattern_t* lens = cairo_pattern_create_radial(centre_cx - 3, centre_cy - 3.5, 0.5,
                                                            centre_cx, centre_cy, 10.4);
        cairo_pattern_add_color_stop_rgb(lens, 0, 0.10, 0.26, 0.12);
        cairo_pattern_add_color_stop_rgb(lens, 1, 0.02, 0.08, 0.03);
        circle(cr, centre_cx, centre_cy, 10.4);
        cairo_set_source(cr, lens);
        cairo_fill(cr);
        cairo_pattern_destroy(lens);
        // Reflection of the cockpit light on the glass.
        cairo_save(cr);
        cairo_translate(cr, centre_cx - 3.6, centre_cy - 4.0);
        cairo_rotate(cr, -pi / 4);
        cairo_scale(cr, 3.0, 1.5);
        circle(cr, 0, 0, 1.0);
        cairo_restore(cr);
        cairo_set_source_rgba(cr, 0.75, 0.85, 0.76, 0.55);
        cairo_fill(cr);
    }
}

struct Button {
    double cx, cy, r;
    std::string_view line1, line2;
};
constexpr Button hdg_sel{31.0, 157.0, 15.0, "HDG", "SEL"};
constexpr Button apr{75.5, 157.0, 14.5, "APR", ""};
constexpr Button alt_sel{119.0, 157.0, 15.0, "ALT", "SEL"};

void push_button(cairo_t* cr, const Button& b, bool lit) {
    const double face = b.r - 3.4;
    metal_ring(cr, b.cx, b.cy, face, b.r);
    if (lit) {
        circle(cr, b.cx, b.cy, face);
        fill_rgb(cr, lamp_green);
    } else {
        cairo_pattern_t* p = cairo_pattern_create_radial(b.cx - 3, b.cy - 4, 1, b.cx, b.cy, face);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.20, 0.20, 0.21);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.09, 0.09, 0.095);
        circle(cr, b.cx, b.cy, face);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    const Rgb letters{lit ? Rgb{92, 100, 92} : Rgb{178, 178, 176}};
    if (b.line2.empty()) {
        small_text_centred(cr, b.line1, b.cx, int(std::lround(b.cy - 3)), letters);
    } else {
        small_text_centred(cr, b.line1, b.cx, int(std::lround(b.cy - 6)), letters);
        small_text_centred(cr, b.line2, b.cx, int(std::lround(b.cy + 1)), letters);
    }
}

// The down and up marks either side of a select button.
void select_marks(cairo_t* cr, const Button& b) {
    const int y = int(std::lround(b.cy)) - 1;
    const int left = int(std::lround(b.cx - b.r)) - 5, right = int(std::lround(b.cx + b.r)) + 1;
    for (int j = 0; j < 3; ++j) {
        cairo_rectangle(cr, left + j, y + j, 5 - 2 * j, 1);       // pointing down
        cairo_rectangle(cr, right + j, y + 2 - j, 5 - 2 * j, 1);  // pointing up
    }
    fill_rgb(cr, engraving);
}

void readout_windows(cairo_t* cr) {
    recess(cr, 15, 121, 49, 138, window_black);
    recess(cr, 101, 121, 142, 138, window_black);
}

}  // namespace

Picture draw_panel(const PanelState& state) {
    Canvas canvas(146, 179);
    cairo_t* cr = canvas.cr;
    frame(cr);
    screw(cr, 9.5, 9.5, 30);
    screw(cr, 136.5, 9.5, 115);
    screw(cr, 9.5, 169.5, 75);
    screw(cr, 136.5, 169.5, 150);
    title_plate(cr);
    card_window(cr);
    nameplate(cr);
    toggle_knob(cr, toggle_left_x + 10.5, toggle_y + 10.5, state.toggles_lit);
    toggle_knob(cr, toggle_right_x + 10.5, toggle_y + 10.5, state.toggles_lit);
    centre_button(cr, state.centre_lit);
    readout_windows(cr);
    push_button(cr, hdg_sel, false);
    push_button(cr, apr, state.apr_lit);
    push_button(cr, alt_sel, false);
    select_marks(cr, hdg_sel);
    select_marks(cr, alt_sel);
    Picture p = canvas.picture();
    lift_blacks(p, 6);
    return p;
}

Picture draw_centre_lamp(bool lit) {
    Canvas canvas(centre_lamp_w, centre_lamp_h);
    cairo_translate(canvas.cr, -centre_lamp_x, -centre_lamp_y);
    centre_button(canvas.cr, lit);
    return canvas.picture();
}

// Heading h stands at 41 + 0.85 (360 - h): 306 pixels to the full circle,
// headings falling to the right. The offset balances the reading error of
// the host's linear travel (302 pixels over 359 or 359.9 units) between the
// two ends, so N sits within two pixels of the index at either end.
double card_x(double heading) { return 41.0 + 0.85 * (360.0 - heading); }

Picture draw_compass_card() {
    Canvas canvas(card_width, card_height);
    cairo_t* cr = canvas.cr;
    cairo_rectangle(cr, 0, 0, card_width, card_height);
    fill_rgb(cr, card_darkest);
    const Rgb tick{235, 235, 232};
    use_font(cr, Face::sans_condensed_bold, 9.0);
    for (int h = 0; h < 360; h += 5)
        for (int k = -1; k <= 1; ++k) {
            const double x = card_x(h == 0 ? 360 : h) + k * card_period;
            if (x < -20 || x > card_width + 20) continue;
            const int col = int(std::floor(x));
            const int top = h % 30 == 0 ? 9 : h % 10 == 0 ? 10 : 12;
            block(cr, col, top, col, 15, tick);
            if (h % 30 == 0) {
                static const char* names[] = {"N", "3", "6", "E", "12", "15",
                                              "S", "21", "24", "W", "30", "33"};
                set_rgb(cr, 250, 250, 246);
                text_centred(cr, names[h / 30], col + 0.5, 4.5);
            }
        }
    Picture p = canvas.picture();
    // The card must repeat exactly after one turn.
    for (int y = 0; y < card_height; ++y)
        for (int x = card_period; x < card_width; ++x) p.at(x, y) = p.at(x - card_period, y);
    lift_blacks(p, card_darkest.r);
    return p;
}

Picture draw_card_window() {
    Picture p(window_width, window_height, window_field);
    for (int y = 0; y < window_height; ++y) p.at(42, y) = p.at(43, y) = index_white;
    return p;
}
