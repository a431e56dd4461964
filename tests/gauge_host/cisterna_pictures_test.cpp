// The fuel gauges drawn by the host, checked by what the pictures show:
// where the needle's tip stands on the dial, and that black stays see-through.
#include <gtest/gtest.h>

#include <cmath>

#include "host_test_support.h"
#include "rules.h"

using namespace gauge_host;

namespace {

constexpr PIXPOINT centre = {151, 151};
constexpr double zero_mark = 201.1, top = 0.0, full_mark = 157.7;

struct fuel_build {
    const char* file;
    ID32 token;
    const char* tooltip;
};

class cisterna_picture : public ::testing::TestWithParam<fuel_build> {
protected:
    module_host host{dist_path(GetParam().file)};

    // The needle's pixels are where the frame differs from the dial drawn
    // alone; its tip is the middle of those within 3 px of the farthest.
    PIXPOINT needle_tip(double value) {
        host.set_token(GetParam().token, value);
        const canvas frame = render_frame(host);
        canvas dial = host.make_canvas(1);
        host.draw_element(host.elements()[0], dial);
        std::vector<std::pair<PIXPOINT, double>> needle;
        double farthest = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                if (frame.at(x, y) == dial.at(x, y)) continue;
                const double r = std::hypot(x - centre.x, y - centre.y);
                needle.push_back({{x, y}, r});
                farthest = std::max(farthest, r);
            }
        double sx = 0, sy = 0, n = 0;
        for (const auto& [p, r] : needle)
            if (r >= farthest - 3) sx += p.x, sy += p.y, ++n;
        if (n == 0) return centre;
        return {int(std::lround(sx / n)), int(std::lround(sy / n))};
    }
};

TEST_P(cisterna_picture, needle_tip_stands_on_the_scale_mark_of_its_value) {
    const struct {
        double value, degrees;
        const char* where;
    } cases[] = {
        {0, zero_mark, "on the 0 mark"},
        {155, top, "straight above the centre, at 60"},
        {310, full_mark, "on the 120 mark"},
        {400, full_mark, "held on the 120 mark"},
        {-40, zero_mark, "held on the 0 mark"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << ": " << c.where);
        const PIXPOINT tip = needle_tip(c.value);
        const double radius = std::hypot(tip.x - centre.x, tip.y - centre.y);
        EXPECT_NEAR(radius, 102, 4) << "the tip is about 102 px out";
        // How far the tip stands beside the mark's ray. The pointer runs
        // 3 px beside its rotation point, and the calibration's two points
        // put 155 at 359.4 degrees, not quite 0: a few pixels, no more.
        const double off = (direction_degrees(centre, tip) - c.degrees) * 3.141592653589793 / 180;
        EXPECT_LT(std::abs(radius * std::sin(off)), 5.0) << "tip at (" << tip.x << ", " << tip.y << ")";
    }
}

TEST_P(cisterna_picture, black_stays_transparent_around_the_bezel) {
    host.set_token(GetParam().token, 100);
    const canvas frame = render_frame(host);
    EXPECT_TRUE(pixels_where(frame, drawn_pure_black).empty());
    for (PIXPOINT p : {PIXPOINT{0, 151}, PIXPOINT{151, 0}, PIXPOINT{40, 40}, PIXPOINT{262, 262}}) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        EXPECT_EQ(frame.at(p.x, p.y).a, 0);
    }
    const auto face = pixels_where(frame, [](const rgba& p) { return p == rgba{7, 7, 7, 255}; });
    EXPECT_GT(face.size(), 20000u) << "the near-black face is drawn";
}

TEST_P(cisterna_picture, tooltip_names_the_tank_and_no_click_does_anything) {
    for (PIXPOINT p : {PIXPOINT{151, 151}, PIXPOINT{2, 2}}) {
        const auto h = host.hover(p);
        EXPECT_TRUE(h.has_tooltip);
        EXPECT_EQ(h.tooltip, GetParam().tooltip);
        EXPECT_EQ(host.press(p, mouse_button::left).area, -1);
        EXPECT_EQ(host.press(p, mouse_button::right).area, -1);
    }
    EXPECT_TRUE(host.events().empty());
}

INSTANTIATE_TEST_SUITE_P(builds, cisterna_picture,
                         ::testing::Values(fuel_build{"Cisterna_L.gau", 304, "Left Fuel tank"},
                                           fuel_build{"Cisterna_R.gau", 303, "Right Fuel tank"}),
                         [](const auto& info) { return std::string(info.param.file).substr(0, 10); });

}  // namespace
