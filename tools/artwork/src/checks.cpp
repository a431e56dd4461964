// Self-check of the rules the host and the gauges rely on; a reproducibility
// check of the committed files lives in tools/artwork/check.
#include "artwork.h"
#include "outputs.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

int failures = 0;

void expect(bool ok, const char* what, const std::string& where) {
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "self-check: %s: %s\n", where.c_str(), what);
    }
}

bool same_region(const Picture& a, int ax, int ay, const Picture& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!(a.at(ax + x, ay + y) == b.at(bx + x, by + y))) return false;
    return true;
}

int count(const Picture& p, const std::function<bool(int, int, Rgb)>& pred) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) n += pred(x, y, p.at(x, y));
    return n;
}

}  // namespace

bool self_check(const std::vector<Output>& outputs) {
    failures = 0;
    struct Size { const char* name; int w, h, depth; };
    const Size sizes[] = {
        {"dial_left.bmp", 302, 302, 8},      {"dial_right.bmp", 302, 302, 8},
        {"needle.bmp", 170, 20, 8},          {"background.bmp", 146, 179, 8},
        {"compass_card.bmp", 387, 16, 8},    {"card_window.bmp", 85, 16, 8},
        {"centre_lamp_off.bmp", 29, 30, 8},  {"centre_lamp_on.bmp", 29, 30, 8},
        {"apr_lamp_off.bmp", 31, 30, 24},    {"apr_lamp_on.bmp", 31, 30, 24},
        {"toggle_lamp_off.bmp", 21, 21, 8},  {"toggle_lamp_on.bmp", 21, 21, 8},
    };
    for (const Size& s : sizes) {
        const Output& o = find_output(outputs, s.name);
        expect(o.rgb.width == s.w && o.rgb.height == s.h && o.depth == s.depth, "size or depth", s.name);
        if (o.depth == 8) {
            expect(o.indexed.palette[0].is_black(), "entry 0 is not the transparent black", s.name);
            bool black_elsewhere = false;
            for (int i = 1; i < 256; ++i) black_elsewhere |= o.indexed.palette[i].is_black();
            expect(!black_elsewhere, "a palette entry other than 0 is pure black", s.name);
        }
    }
    auto pic = [&](const char* name) -> const Picture& { return find_output(outputs, name).rgb; };
    const Rgb white{255, 255, 255};

    // Fuel dial.
    const Picture &left = pic("dial_left.bmp"), &right = pic("dial_right.bmp");
    expect(find_output(outputs, "dial_left.bmp").indexed.palette ==
               find_output(outputs, "dial_right.bmp").indexed.palette,
           "palettes differ", "dials");
    expect(count(left, [&](int x, int y, Rgb c) {
               const bool placard = x >= 105 && x <= 202 && y >= 182 && y <= 224;
               return !placard && !(c == right.at(x, y));
           }) == 0,
           "differ outside the placard", "dials");
    expect(!same_region(left, 105, 182, right, 105, 182, 98, 43), "placards are the same", "dials");
    for (const Picture* dial : {&left, &right}) {
        auto dist = [](int x, int y) { return std::hypot(x + 0.5 - dial_cx, y + 0.5 - dial_cy); };
        auto in_screw = [](int x, int y) {
            for (double cx : {15.5, 287.5})
                for (double cy : {15.5, 287.5})
                    if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) < 9) return true;
            return false;
        };
        expect(count(*dial, [&](int x, int y, Rgb c) {
                   return dist(x, y) > 151 && !in_screw(x, y) && !c.is_black();
               }) == 0,
               "opaque pixel outside the bezel", "dial");
        for (double cx : {15.5, 287.5})
            for (double cy : {15.5, 287.5})
                expect(!dial->at(int(cx), int(cy)).is_black(), "screw missing", "dial");
        expect(count(*dial, [&](int x, int y, Rgb c) { return dist(x, y) < 130.5 && c.is_black(); }) == 0,
               "transparent pixel on the face", "dial");
        const int gap_open = count(*dial, [&](int x, int y, Rgb c) {
            return dist(x, y) >= 131.5 && dist(x, y) < 132.5 && c.is_black();
        });
        const int gap_all = count(*dial, [&](int x, int y, Rgb) {
            return dist(x, y) >= 131.5 && dist(x, y) < 132.5;
        });
        expect(gap_open > 0 && gap_open < gap_all, "gap ring is not partly transparent", "dial");
        const int bare_face[][2] = {{151, 151}, {100, 151}, {202, 151}, {151, 170}, {151, 240}, {60, 200}};
        for (auto& p : bare_face)
            expect(dial->at(p[0], p[1]) == dial_face, "face is not RGB(7, 7, 7)", "dial");
        // The calibration points lie on the long marks 0 and 120.
        expect(dial->at(112, 252) == white && dial->at(192, 251) == white,
               "calibration point off its mark", "dial");
    }
    const Picture& needle = pic("needle.bmp");
    expect(needle.at(67, 9) == needle_hub, "hub colour", "needle");
    expect(needle.at(169, 9) == white && needle.at(169, 10) == white, "tip", "needle");
    expect(needle.at(17, 9) == white, "counterweight", "needle");
    expect(needle.at(0, 0).is_black() && needle.at(169, 0).is_black() && needle.at(120, 3).is_black(),
           "background not transparent", "needle");

    // Autopilot panel.
    const Picture& bg = pic("background.bmp");
    expect(count(bg, [](int, int, Rgb c) { return c.is_black(); }) <= 2, "pure black pixels", "background");
    expect(count(bg, [](int x, int y, Rgb c) { return y == 50 && x >= 33 && x <= 112 && !(c == divider_grey); }) == 0,
           "divider line", "background");
    const Picture &t_off = pic("toggle_lamp_off.bmp"), &t_on = pic("toggle_lamp_on.bmp");
    expect(same_region(t_off, 0, 0, bg, toggle_left_x, toggle_y, toggle_size, toggle_size),
           "does not match the left knob", "toggle_lamp_off");
    expect(same_region(t_off, 0, 0, bg, toggle_right_x, toggle_y, toggle_size, toggle_size),
           "does not match the right knob", "toggle_lamp_off");
    expect(count(t_on, [](int, int, Rgb c) { return c == lamp_green; }) > 0, "no green lamp", "toggle_lamp_on");
    for (const Picture* t : {&t_off, &t_on})
        expect(count(*t, [](int, int, Rgb c) { return c.is_black(); }) <= 2, "pure black pixels", "toggle lamp");
    const Picture &a_off = pic("apr_lamp_off.bmp"), &a_on = pic("apr_lamp_on.bmp");
    expect(same_region(a_off, 0, 0, bg, apr_lamp_x, apr_lamp_y, apr_lamp_w, apr_lamp_h),
           "does not match the background", "apr_lamp_off");
    for (const Picture* a : {&a_off, &a_on})
        expect(count(*a, [](int, int, Rgb c) { return c.is_black(); }) == 0, "pure black pixels", "apr lamp");
    expect(count(a_on, [](int, int, Rgb c) { return c == lamp_green; }) > 0, "face not lit", "apr_lamp_on");
    const Picture &c_off = pic("centre_lamp_off.bmp"), &c_on = pic("centre_lamp_on.bmp");
    for (const Picture* c : {&c_off, &c_on})
        expect(c->at(0, 0).is_black() && c->at(28, 29).is_black() && c->at(28, 0).is_black(),
               "corners not transparent", "centre lamp");
    expect(count(c_off, [&](int x, int y, Rgb c) {
               return std::hypot(x + 0.5 - 14.5, y + 0.5 - 15.0) > 11.5 && !(c == c_on.at(x, y));
           }) == 0,
           "off and on differ outside the lens", "centre lamp");
    expect(c_on.at(14, 15) == lamp_green, "lens not lit", "centre_lamp_on");
    expect(count(c_on, [&](int, int, Rgb c) { return c == white; }) > 0, "no highlight", "centre_lamp_on");

    const Picture &card = pic("compass_card.bmp"), &window = pic("card_window.bmp");
    expect(count(card, [](int, int, Rgb c) { return c.r < 8 || c.g < 8 || c.b < 8; }) == 0,
           "shade darker than RGB(8, 8, 8)", "compass_card");
    expect(count(card, [&](int x, int y, Rgb c) {
               return x + card_period < card.width && !(c == card.at(x + card_period, y));
           }) == 0,
           "does not repeat after 306 columns", "compass_card");
    expect(count(window, [](int x, int, Rgb c) {
               return !(c == ((x == 42 || x == 43) ? index_white : window_field));
           }) == 0,
           "field or index line", "card_window");
    // The N label's ink sits where the scale puts north, at both repeats.
    for (double north : {card_x(360), card_x(360) + card_period}) {
        double sum = 0, weight = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = int(north) - 8; x <= int(north) + 8; ++x) {
                const double v = card.at(x, y).g - 8.0;
                sum += v * (x + 0.5);
                weight += v;
            }
        expect(weight > 0 && std::abs(sum / weight - north) < 1.0, "N label off its place", "compass_card");
    }
    // What the index line reads across the travel, for both strips.
    for (double first : {359.0, 359.9})
        for (double v = 0; v <= first; v += 0.5) {
            const double f = (v - first) / (0.0 - first);
            const double under_index = f * (card_width - window_width) + 43.0;
            double read = 360.0 - (under_index - card_x(360)) / 0.85;
            double err = std::remainder(read - v, 360.0);
            expect(std::abs(err) < 3.0, "index reads the value more than 3 degrees off", "compass_card");
        }
    return failures == 0;
}
