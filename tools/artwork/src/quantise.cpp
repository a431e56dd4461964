#include "quantise.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <unordered_map>

namespace {

struct Entry {
    Rgb colour;
    uint64_t count;
};

uint8_t channel(const Rgb& c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; }

// The eye tells greens apart best and blues worst; ranges and distances are
// weighted alike so the cut spends its entries where errors show.
constexpr int weight[3] = {3, 4, 2};

struct Box {
    size_t begin, end;
    uint64_t count = 0;
    int widest = 0;        // channel with the largest weighted range
    int range = 0;         // that weighted range
    void measure(const std::vector<Entry>& entries) {
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        count = 0;
        for (size_t i = begin; i < end; ++i) {
            count += entries[i].count;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min<int>(lo[k], channel(entries[i].colour, k));
                hi[k] = std::max<int>(hi[k], channel(entries[i].colour, k));
            }
        }
        range = -1;
        for (int k : {1, 0, 2}) {  // ties go to green, then red
            const int r = (hi[k] - lo[k]) * weight[k];
            if (r > range) range = r, widest = k;
        }
    }
    double score() const { return end - begin < 2 ? -1.0 : range * std::sqrt(double(count)); }
};

Rgb mean(const std::vector<Entry>& entries, const Box& box) {
    uint64_t sum[3] = {0, 0, 0};
    for (size_t i = box.begin; i < box.end; ++i)
        for (int k = 0; k < 3; ++k) sum[k] += channel(entries[i].colour, k) * entries[i].count;
    auto avg = [&](int k) { return uint8_t((sum[k] + box.count / 2) / box.count); };
    Rgb c{avg(0), avg(1), avg(2)};
    return c.is_black() ? Rgb{1, 1, 1} : c;
}

std::vector<Rgb> median_cut(std::vector<Entry> entries, size_t slots) {
    std::vector<Box> boxes{{0, entries.size()}};
    boxes[0].measure(entries);
    while (boxes.size() < slots) {
        size_t pick = 0;
        for (size_t i = 1; i < boxes.size(); ++i)
            if (boxes[i].score() > boxes[pick].score()) pick = i;
        Box& box = boxes[pick];
        if (box.score() < 0) break;
        const int k = box.widest;
        std::sort(entries.begin() + long(box.begin), entries.begin() + long(box.end),
                  [k](const Entry& a, const Entry& b) {
                      const uint8_t ca = channel(a.colour, k), cb = channel(b.colour, k);
                      return ca != cb ? ca < cb : a.colour.key() < b.colour.key();
                  });
        uint64_t seen = 0;
        size_t split = box.begin;
        while (split < box.end - 1 && seen + entries[split].count <= box.count / 2)
            seen += entries[split++].count;
        split = std::clamp(split, box.begin + 1, box.end - 1);
        Box upper{split, box.end};
        box.end = split;
        box.measure(entries);
        upper.measure(entries);
        boxes.push_back(upper);
    }
    std::vector<Rgb> colours;
    for (const Box& b : boxes) colours.push_back(mean(entries, b));
    return colours;
}

}  // namespace

Palette make_palette(const std::vector<const Picture*>& pictures, const std::vector<Rgb>& fixed) {
    std::vector<Rgb> chosen;
    for (const Rgb& c : fixed)
        if (!c.is_black() && std::find(chosen.begin(), chosen.end(), c) == chosen.end())
            chosen.push_back(c);
    if (chosen.size() > 255) {
        std::fprintf(stderr, "artwork: %zu fixed colours do not fit a palette\n", chosen.size());
        std::exit(1);
    }
    std::map<uint32_t, uint64_t> histogram;  // ordered, so the entries come sorted
    for (const Picture* p : pictures)
        for (const Rgb& c : p->pixels)
            if (!c.is_black() && std::find(chosen.begin(), chosen.end(), c) == chosen.end())
                ++histogram[c.key()];
    std::vector<Entry> entries;
    for (const auto& [key, count] : histogram)
        entries.push_back({Rgb{uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)}, count});

    const size_t slots = 255 - chosen.size();
    if (entries.size() <= slots) {
        for (const Entry& e : entries) chosen.push_back(e.colour);
    } else {
        for (const Rgb& c : median_cut(std::move(entries), slots)) chosen.push_back(c);
    }

    Palette palette;
    palette[0] = transparent;
    size_t i = 1;
    for (const Rgb& c : chosen) palette[i++] = c;
    // Unused entries get a grey ramp: fixed, and never the transparent black.
    for (; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    return palette;
}

Indexed apply_palette(const Picture& picture, const Palette& palette) {
    Indexed out;
    out.width = picture.width;
    out.height = picture.height;
    out.palette = palette;
    out.indices.resize(picture.pixels.size());
    std::unordered_map<uint32_t, uint8_t> memo;
    for (size_t p = 0; p < picture.pixels.size(); ++p) {
        const Rgb c = picture.pixels[p];
        if (c.is_black()) {
            out.indices[p] = 0;
            continue;
        }
        auto it = memo.find(c.key());
        if (it == memo.end()) {
            int best = 1;
            long best_d = -1;
            for (int i = 1; i < 256; ++i) {
                const long dr = long(c.r) - palette[i].r, dg = long(c.g) - palette[i].g,
                           db = long(c.b) - palette[i].b;
                const long d = weight[0] * dr * dr + weight[1] * dg * dg + weight[2] * db * db;
                if (best_d < 0 || d < best_d) best = i, best_d = d;
                if (d == 0) break;
            }
            it = memo.emplace(c.key(), uint8_t(best)).first;
        }
        out.indices[p] = it->second;
    }
    return out;
}

Indexed quantise(const Picture& picture, const std::vector<Rgb>& fixed) {
    return apply_palette(picture, make_palette({&picture}, fixed));
}
