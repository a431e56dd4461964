// artwork: draws every bitmap of the gauges and writes them as BMP files.
//
//   artwork OUT_ROOT          write gauges/*/res/*.bmp below OUT_ROOT
//   artwork --png DIR         also (or only, without OUT_ROOT) write previews
//   artwork --self-check      check the colour and layout rules
#include "artwork.h"
#include "bmp.h"
#include "outputs.h"
#include "quantise.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

Output indexed_output(std::string path, Indexed indexed) {
    Picture rgb = indexed.expand();
    return {std::move(path), 8, std::move(indexed), std::move(rgb)};
}

// The colours a picture uses, in order of first appearance.
std::vector<Rgb> colours_of(const Picture& p) {
    std::vector<Rgb> out;
    std::set<uint32_t> seen;
    for (const Rgb& c : p.pixels)
        if (!c.is_black() && seen.insert(c.key()).second) out.push_back(c);
    return out;
}

// A lamp image over part of the panel: the unlit image is the panel's own
// pixels as finally stored, so the lamp covers the panel without a seam;
// the lit image takes the lit drawing wherever lighting changed it.
std::pair<Picture, Picture> lamp_pair(const Picture& panel_stored, const Picture& panel_drawn,
                                      const Picture& panel_lit, int x, int y, int w, int h) {
    Picture off = panel_stored.crop(x, y, w, h), on = off;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (!(panel_lit.at(x + i, y + j) == panel_drawn.at(x + i, y + j)))
                on.at(i, j) = panel_lit.at(x + i, y + j);
    return {off, on};
}

}  // namespace

std::vector<Output> make_outputs() {
    std::vector<Output> out;
    const Rgb white{255, 255, 255};

    // Both dials share one palette, so they differ only where the placard does.
    const Picture left = draw_fuel_dial(Tank::left), right = draw_fuel_dial(Tank::right);
    const Palette dial_palette = make_palette({&left, &right}, {dial_face, white});
    out.push_back(indexed_output("gauges/cisterna/res/dial_left.bmp", apply_palette(left, dial_palette)));
    out.push_back(indexed_output("gauges/cisterna/res/dial_right.bmp", apply_palette(right, dial_palette)));
    out.push_back(indexed_output("gauges/cisterna/res/needle.bmp",
                                 quantise(draw_fuel_needle(), {needle_hub, white})));

    const Picture panel = draw_panel({});
    const Indexed panel_indexed = quantise(panel, {divider_grey});
    const Picture stored = panel_indexed.expand();
    out.push_back(indexed_output("gauges/aquilo/res/background.bmp", panel_indexed));

    out.push_back(indexed_output("gauges/aquilo/res/compass_card.bmp",
                                 quantise(draw_compass_card(), {card_darkest, white})));
    out.push_back(indexed_output("gauges/aquilo/res/card_window.bmp",
                                 quantise(draw_card_window(), {window_field, index_white})));

    {
        const Picture off = draw_centre_lamp(false), on = draw_centre_lamp(true);
        const Palette pal = make_palette({&off, &on}, {lamp_green, white});
        out.push_back(indexed_output("gauges/aquilo/res/centre_lamp_off.bmp", apply_palette(off, pal)));
        out.push_back(indexed_output("gauges/aquilo/res/centre_lamp_on.bmp", apply_palette(on, pal)));
    }
    {
        PanelState lit;
        lit.apr_lit = true;
        auto [off, on] = lamp_pair(stored, panel, draw_panel(lit), apr_lamp_x, apr_lamp_y,
                                   apr_lamp_w, apr_lamp_h);
        lift_blacks(on, 1);
        out.push_back({"gauges/aquilo/res/apr_lamp_off.bmp", 24, {}, off});
        out.push_back({"gauges/aquilo/res/apr_lamp_on.bmp", 24, {}, on});
    }
    {
        PanelState lit;
        lit.toggles_lit = true;
        auto [off, on] = lamp_pair(stored, panel, draw_panel(lit), toggle_left_x, toggle_y,
                                   toggle_size, toggle_size);
        // The unlit knob keeps the panel's colours exactly.
        std::vector<Rgb> fixed = colours_of(off);
        fixed.push_back(lamp_green);
        fixed.push_back(white);
        const Palette pal = make_palette({&off, &on}, fixed);
        out.push_back(indexed_output("gauges/aquilo/res/toggle_lamp_off.bmp", apply_palette(off, pal)));
        out.push_back(indexed_output("gauges/aquilo/res/toggle_lamp_on.bmp", apply_palette(on, pal)));
    }
    return out;
}

const Output& find_output(const std::vector<Output>& outputs, const std::string& path) {
    for (const Output& o : outputs)
        if (o.path.ends_with(path)) return o;
    std::fprintf(stderr, "artwork: no output %s\n", path.c_str());
    std::exit(2);
}

int main(int argc, char** argv) {
    std::string root, png_dir;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--png") && i + 1 < argc) png_dir = argv[++i];
        else if (!std::strcmp(argv[i], "--self-check")) check = true;
        else if (argv[i][0] != '-' && root.empty()) root = argv[i];
        else {
            std::fprintf(stderr, "usage: artwork [OUT_ROOT] [--png DIR] [--self-check]\n");
            return 2;
        }
    }
    if (root.empty() && png_dir.empty() && !check) {
        std::fprintf(stderr, "usage: artwork [OUT_ROOT] [--png DIR] [--self-check]\n");
        return 2;
    }
    const std::vector<Output> outputs = make_outputs();
    if (!root.empty())
        for (const Output& o : outputs)
            write_file(root + "/" + o.path, o.depth == 8 ? bmp_8bit(o.indexed) : bmp_24bit(o.rgb));
    if (!png_dir.empty()) write_previews(outputs, png_dir);
    if (check && !self_check(outputs)) return 1;
    return 0;
}
