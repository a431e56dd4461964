// The fuel quantity gauge as a host sees it, in both builds: its two
// elements and calibration, the needle callback's clamping, the tooltip,
// and the dial and needle bitmaps.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "frame_checks.h"
#include "gauge_module.h"
#include "resource_bitmap.h"

namespace {

constexpr int dial_id = 0x100;
constexpr int needle_id = 0x1100;
constexpr FLAGS32 declared_flags = 0x83;

struct fuel_build {
    const char* file;
    const char* gauge_name;
    ID32 token;
    const char* tooltip;
};

const fuel_build builds[] = {
    {"Cisterna_L.gau", "Cisterna_L", 304, "Left Fuel tank"},
    {"Cisterna_R.gau", "Cisterna_R", 303, "Right Fuel tank"},
};

class cisterna : public ::testing::TestWithParam<fuel_build> {
protected:
    loaded_module module{GetParam().file};
    ELEMENT_STATIC_IMAGE* dial() const { return as<ELEMENT_STATIC_IMAGE>(module.root()); }
    ELEMENT_NEEDLE* needle() const { return as<ELEMENT_NEEDLE>(next_of(module.root())); }
    void SetUp() override {
        ASSERT_NE(module.handle, nullptr);
        ASSERT_NE(module.root(), nullptr);
        ASSERT_NE(needle(), nullptr);
    }
};

TEST_P(cisterna, element_tree_is_the_dial_then_the_needle) {
    EXPECT_ELEMENT_HEADER(dial()->header,
                          (expected_element{.element_type = ELEMENT_TYPE_STATIC_IMAGE,
                                            .resource_id = dial_id,
                                            .position = {0, 0},
                                            .offset = {0, 0},
                                            .image_flags = declared_flags}),
                          module.gauge());
    EXPECT_HOST_STATE_ZERO(dial()->host);
    ASSERT_NE(dial()->header.next_elements, nullptr);
    EXPECT_EQ(next_of(module.root(), 1), nullptr) << "the needle is the dial's only next element";

    EXPECT_ELEMENT_HEADER(needle()->header,
                          (expected_element{.element_type = ELEMENT_TYPE_NEEDLE,
                                            .resource_id = needle_id,
                                            .position = {151, 151},
                                            .offset = {67, 12},
                                            .image_flags = declared_flags}),
                          module.gauge());
    EXPECT_EQ(needle()->header.next_elements, nullptr);
    EXPECT_NE(needle()->header.failure, dial()->header.failure) << "each element has its own list";
    EXPECT_EQ(needle()->source_var.id, GetParam().token);
    EXPECT_EQ(needle()->source_var.binding, 0u);
    EXPECT_EQ(needle()->source_var.value, 0.0);
    EXPECT_NE(needle()->update_cb, nullptr);
    EXPECT_HOST_STATE_ZERO(needle()->host);
}

TEST_P(cisterna, calibration_has_two_points_on_the_scale_ends) {
    ASSERT_EQ(needle()->nonlinearity_count, 2u);
    const NONLINEARITY* table = needle()->nonlinearity;
    ASSERT_NE(table, nullptr);
    const struct {
        PIXPOINT point;
        FLOAT64 value;
        double degrees;  // seen from the rotation point, clockwise from up
    } rows[] = {
        {{112, 252}, 0.0, 201.1},
        {{192, 251}, 310.0, 157.7},
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(table[i].point, rows[i].point);
        EXPECT_EQ(table[i].value, rows[i].value);
        EXPECT_EQ(table[i].degrees, 0.0) << "the host works the degrees out";
        const double dx = table[i].point.x - needle()->header.position.x;
        const double dy = table[i].point.y - needle()->header.position.y;
        double degrees = std::atan2(dx, -dy) * 180.0 / std::numbers::pi;
        if (degrees < 0) degrees += 360.0;
        EXPECT_NEAR(degrees, rows[i].degrees, 0.05);
        EXPECT_NEAR(std::hypot(dx, dy), 108.0, 1.0);
    }
}

// Exact comparison, bit for bit, so that negative zero is told from zero.
struct needle_case {
    const char* name;
    double value;
    double shown;
};

const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

const needle_case needle_cases[] = {
    {"straight up at 60", 155.0, 155.0},
    {"the 30 mark", 77.5, 77.5},
    {"fraction kept at full precision", 123.456789012345, 123.456789012345},
    {"full scale", 310.0, 310.0},
    {"just above full scale", 310.000001, 310.0},
    {"above full scale", 400.0, 310.0},
    {"plus infinity", inf, 310.0},
    {"empty", 0.0, 0.0},
    {"negative zero keeps its sign", -0.0, -0.0},
    {"just below empty", -0.000001, 0.0},
    {"below empty", -40.0, 0.0},
    {"minus infinity", -inf, 0.0},
    {"smallest positive", std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::denorm_min()},
};

TEST_P(cisterna, needle_callback_clamps_to_the_scale) {
    for (const auto& c : needle_cases) {
        SCOPED_TRACE(c.name);
        needle()->source_var.value = c.value;
        const double shown = needle()->update_cb(needle());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(shown), std::bit_cast<std::uint64_t>(c.shown))
            << "returned " << shown << ", want " << c.shown;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(needle()->source_var.value),
                  std::bit_cast<std::uint64_t>(c.value))
            << "the variable keeps the unclamped value";
        EXPECT_EQ(needle()->header.image_flags, declared_flags | IMAGE_USE_BRIGHT);
    }
}

TEST_P(cisterna, needle_callback_hands_nan_on_and_still_sets_bright) {
    needle()->source_var.value = nan;
    EXPECT_TRUE(std::isnan(needle()->update_cb(needle())));
    EXPECT_TRUE(std::isnan(needle()->source_var.value));
    EXPECT_EQ(needle()->header.image_flags, declared_flags | IMAGE_USE_BRIGHT);
}

TEST_P(cisterna, bright_flag_is_added_to_whatever_flags_the_host_left) {
    needle()->header.image_flags = declared_flags | 0x100;
    needle()->update_cb(needle());
    EXPECT_EQ(needle()->header.image_flags, declared_flags | 0x100 | IMAGE_USE_BRIGHT);
    EXPECT_EQ(dial()->header.image_flags, declared_flags) << "the dial is never made bright";
}

TEST_P(cisterna, mouse_list_is_only_the_tooltip) {
    const MOUSERECT* list = module.gauge()->mouse_rect;
    ASSERT_NE(list, nullptr);
    const expected_mouse_rect rows[] = {
        {MOUSE_RECT_PARENT, {0, 0, 0, 0}, CURSOR_NONE, MOUSE_NONE, false, nullptr},
        {MOUSE_RECT_USER, {0, 0, 0, 0}, CURSOR_NONE, MOUSE_NONE, false, GetParam().tooltip},
        {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, MOUSE_NONE, false, nullptr},
        {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, MOUSE_NONE, false, nullptr},
    };
    for (int i = 0; i < 4; ++i) EXPECT_MOUSE_RECT(list[i], rows[i], "record " + std::to_string(i + 1));
}

// ---- Bitmaps ----------------------------------------------------------------

constexpr double dial_centre = 151.0;
constexpr double first_mark_degrees = 201.1;
constexpr double last_mark_degrees = 157.7;
constexpr int marks = 37;

double distance_from_centre(int x, int y) { return std::hypot(x - dial_centre, y - dial_centre); }

rgb brightest_near(const resource_bitmap& b, double x, double y) {
    rgb best{0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const rgb p = b.pixel(int(std::lround(x)) + dx, int(std::lround(y)) + dy);
            if (p.r + p.g + p.b > best.r + best.g + best.b) best = p;
        }
    return best;
}

TEST_P(cisterna, bitmaps_have_their_sizes_and_depths) {
    const struct {
        int id;
        int width, height;
    } rows[] = {{dial_id, 302, 302}, {needle_id, 170, 20}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const auto b = find_bitmap(module.handle, row.id);
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ(b->width, row.width);
        EXPECT_EQ(b->height, row.height);
        EXPECT_EQ(b->bits, 8);
        EXPECT_EQ(b->colours, 256) << "a full 256-colour palette";
    }
}

TEST_P(cisterna, dial_is_transparent_outside_the_bezel_but_for_the_screws) {
    const auto dial = find_bitmap(module.handle, dial_id);
    ASSERT_TRUE(dial.has_value());
    int opaque_outside = 0;
    for (int y = 0; y < dial->height; ++y)
        for (int x = 0; x < dial->width; ++x) {
            const bool near_an_edge_middle =
                std::min(std::abs(x - dial_centre), std::abs(y - dial_centre)) < 90;
            if (distance_from_centre(x, y) > 151.5 && near_an_edge_middle && !dial->pixel(x, y).is_black())
                ++opaque_outside;
        }
    EXPECT_EQ(opaque_outside, 0);
    for (const auto& corner : {PIXPOINT{20, 20}, PIXPOINT{281, 20}, PIXPOINT{20, 281}, PIXPOINT{281, 281}}) {
        int opaque = 0;
        for (int y = corner.y - 15; y <= corner.y + 15; ++y)
            for (int x = corner.x - 15; x <= corner.x + 15; ++x)
                if (distance_from_centre(x, y) > 152 && !dial->pixel(x, y).is_black()) ++opaque;
        EXPECT_GT(opaque, 30) << "a screw head near " << corner;
    }
}

TEST_P(cisterna, dial_face_is_opaque_near_black) {
    const auto dial = find_bitmap(module.handle, dial_id);
    ASSERT_TRUE(dial.has_value());
    int face = 0, inside = 0, pure_black = 0;
    for (int y = 0; y < dial->height; ++y)
        for (int x = 0; x < dial->width; ++x) {
            if (distance_from_centre(x, y) >= 128) continue;
            ++inside;
            const rgb p = dial->pixel(x, y);
            if (p == rgb{7, 7, 7}) ++face;
            if (p.is_black()) ++pure_black;
        }
    EXPECT_EQ(pure_black, 0) << "nothing opaque inside the bezel may turn transparent";
    EXPECT_GT(face, inside / 2) << "most of the face is RGB(7, 7, 7)";
}

TEST_P(cisterna, dial_has_37_marks_with_the_calibration_points_on_the_ends) {
    const auto dial = find_bitmap(module.handle, dial_id);
    ASSERT_TRUE(dial.has_value());
    const double step = (360.0 - first_mark_degrees + last_mark_degrees) / (marks - 1);
    auto at = [&](double degrees, double radius) {
        const double a = degrees * std::numbers::pi / 180.0;
        return brightest_near(*dial, dial_centre + radius * std::sin(a), dial_centre - radius * std::cos(a));
    };
    for (int i = 0; i < marks; ++i) {
        SCOPED_TRACE("mark " + std::to_string(i));
        const double degrees = first_mark_degrees + i * step;
        EXPECT_GT(at(degrees, 116).g, 180) << "a white mark";
        EXPECT_LT(at(degrees + step / 2, 116).g, 90) << "dark between marks";
        const bool long_mark = i % 3 == 0;
        EXPECT_EQ(at(degrees, 104).g > 180, long_mark) << "only every third mark reaches in to 104";
    }
    for (const PIXPOINT p : {PIXPOINT{112, 252}, PIXPOINT{192, 251}})
        EXPECT_GT(brightest_near(*dial, p.x, p.y).g, 180) << p << " lies on a long mark";
}

TEST_P(cisterna, needle_bitmap_shape) {
    const auto needle = find_bitmap(module.handle, needle_id);
    ASSERT_TRUE(needle.has_value());
    EXPECT_EQ(needle->pixel(67, 9), (rgb{115, 115, 107})) << "the hub";
    EXPECT_FALSE(needle->pixel(67, 12).is_black()) << "the rotation point lies on the hub";
    EXPECT_FALSE(needle->pixel(17, 9).is_black()) << "the counterweight";
    bool tip = false;
    for (int y = 0; y < 20; ++y) tip = tip || !needle->pixel(169, y).is_black();
    EXPECT_TRUE(tip) << "the tip reaches column 169";
    for (const PIXPOINT c : {PIXPOINT{0, 0}, PIXPOINT{169, 0}, PIXPOINT{0, 19}, PIXPOINT{169, 19}, PIXPOINT{120, 1}})
        EXPECT_TRUE(needle->pixel(c.x, c.y).is_black()) << c << " is transparent";
}

INSTANTIATE_TEST_SUITE_P(builds, cisterna, ::testing::ValuesIn(builds),
                         [](const auto& info) { return std::string(info.param.gauge_name); });

// ---- The two builds side by side ---------------------------------------------

struct placard {
    int x0, x1, y0, y1;
    bool holds(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
constexpr placard tank_placard = {105, 202, 182, 224};

TEST(cisterna_builds, dials_differ_only_on_the_placard) {
    loaded_module left(builds[0].file), right(builds[1].file);
    ASSERT_NE(left.handle, nullptr);
    ASSERT_NE(right.handle, nullptr);
    const auto l = find_bitmap(left.handle, dial_id), r = find_bitmap(right.handle, dial_id);
    ASSERT_TRUE(l && r);
    ASSERT_EQ(l->colours, r->colours);
    EXPECT_EQ(std::memcmp(l->palette, r->palette, l->colours * sizeof(RGBQUAD)), 0) << "same palette";
    int differ_outside = 0, differ_inside = 0;
    for (int y = 0; y < l->height; ++y)
        for (int x = 0; x < l->width; ++x) {
            if (l->index(x, y) == r->index(x, y)) continue;
            (tank_placard.holds(x, y) ? differ_inside : differ_outside)++;
        }
    EXPECT_EQ(differ_outside, 0);
    EXPECT_GT(differ_inside, 20) << "the placards name different tanks";
}

TEST(cisterna_builds, needles_are_the_same) {
    loaded_module left(builds[0].file), right(builds[1].file);
    const auto l = find_bitmap(left.handle, needle_id), r = find_bitmap(right.handle, needle_id);
    ASSERT_TRUE(l && r);
    ASSERT_EQ(l->resource_size, r->resource_size);
    EXPECT_EQ(std::memcmp(l->info, r->info, l->image_bytes()), 0);
}

}  // namespace
