// The host on a fixture panel that holds one element of every type: the
// order of its calls, what it writes into the records, how it draws each
// element type and how it answers the mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "errors.h"
#include "fixture_events.h"
#include "host_test_support.h"
#include "rules.h"

using namespace gauge_host;

namespace {

constexpr rgba field{40, 60, 80, 255};  // the fixture background's colour

class fixture_panel : public ::testing::Test {
protected:
    module_host host{fixture_path("fixture_panel")};

    std::vector<ID32> event_ids() const {
        std::vector<ID32> ids;
        for (const auto& e : const_cast<module_host&>(host).events()) ids.push_back(e.id);
        return ids;
    }
    element_state& element(int number) { return host.elements().at(std::size_t(number - 1)); }
};

std::vector<ID32> services(std::initializer_list<SINT32> codes) {
    std::vector<ID32> ids;
    for (SINT32 c : codes) ids.push_back(fixture::service_base + ID32(c));
    return ids;
}

TEST_F(fixture_panel, life_runs_in_the_documented_order) {
    std::vector<ID32> expected = {fixture::module_init_event};
    const auto start = services({0, 1, 2, 3, 4, 5});
    expected.insert(expected.end(), start.begin(), start.end());
    EXPECT_EQ(event_ids(), expected) << "load: module_init, then PRE_QUERY .. POST_INITIALIZE once";

    host.events().clear();
    render_frame(host);
    // The update callbacks, in tree order, between PRE_UPDATE and POST_UPDATE.
    std::vector<ID32> frame = services({PANEL_SERVICE_PRE_UPDATE});
    for (ID32 n : {2, 3, 4, 5}) frame.push_back(fixture::update_base + n);
    for (ID32 id : services({7, 8, 9, 10, 11})) frame.push_back(id);
    EXPECT_EQ(event_ids(), frame);

    host.events().clear();
    host.unload();
    std::vector<ID32> end = services({12, 13});
    end.push_back(fixture::module_deinit_event);
    EXPECT_EQ(event_ids(), end);
    host.unload();  // a second time does nothing
    EXPECT_EQ(event_ids(), end);
}

TEST_F(fixture_panel, tree_order_is_depth_first_in_list_order) {
    // background -> {needle, icon -> strip -> text -> plain text}
    const UINT32 types[] = {ELEMENT_TYPE_STATIC_IMAGE, ELEMENT_TYPE_NEEDLE, ELEMENT_TYPE_ICON,
                            ELEMENT_TYPE_MOVING_IMAGE, ELEMENT_TYPE_STRING, ELEMENT_TYPE_STRING};
    const int depths[] = {0, 1, 1, 2, 3, 4};
    ASSERT_EQ(host.elements().size(), std::size(types));
    for (std::size_t i = 0; i < std::size(types); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(host.elements()[i].header->element_type, types[i]);
        EXPECT_EQ(host.elements()[i].depth, depths[i]);
    }
    EXPECT_EQ(host.gauge_size().x, 64);
    EXPECT_EQ(host.gauge_size().y, 48);
}

TEST_F(fixture_panel, writes_degrees_values_and_the_text_buffer_into_the_records) {
    auto* needle = reinterpret_cast<ELEMENT_NEEDLE*>(element(2).header);
    EXPECT_DOUBLE_EQ(needle->nonlinearity[0].degrees, 270.0);
    EXPECT_DOUBLE_EQ(needle->nonlinearity[1].degrees, 0.0);
    EXPECT_DOUBLE_EQ(needle->nonlinearity[2].degrees, 90.0);

    host.set_token(fixture::needle_token, 7.5);
    host.set_token(fixture::text_token, 42);
    render_frame(host);
    EXPECT_EQ(needle->source_var.value, 7.5);
    auto* text = reinterpret_cast<ELEMENT_STRING*>(element(5).header);
    ASSERT_NE(text->text, nullptr);
    EXPECT_GE(text->text_capacity, 1u);
    EXPECT_EQ(element(5).text, "42");
    // The callback saw the buffer already set: it raised its capacity.
    for (const auto& e : host.events())
        if (e.id == fixture::update_base + 5) EXPECT_EQ(e.value, text->text_capacity);
    auto* icon = reinterpret_cast<ELEMENT_ICON*>(element(3).header);
    EXPECT_EQ(icon->header.image_flags, 0x87u) << "the callback's own flag stays";
}

TEST_F(fixture_panel, pure_black_is_never_drawn_and_nothing_drawn_stays_transparent) {
    const canvas c = render_frame(host);
    EXPECT_EQ(c.at(0, 0).a, 0) << "the background's black corner";
    EXPECT_EQ(c.at(3, 3).a, 0);
    EXPECT_EQ(c.at(4, 4), field);
    EXPECT_TRUE(pixels_where(c, drawn_pure_black).empty());
}

TEST_F(fixture_panel, icon_shows_the_image_its_value_picks) {
    const struct {
        double value;
        rgba colour;
    } cases[] = {
        {-1, {255, 0, 0, 255}},  {0, {255, 0, 0, 255}},  {0.9, {255, 0, 0, 255}},
        {1, {0, 255, 0, 255}},   {2.7, {0, 0, 255, 255}}, {9, {0, 0, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        host.set_token(fixture::icon_token, c.value);
        const canvas picture = render_frame(host);
        EXPECT_EQ(picture.at(2, 38), c.colour);
        EXPECT_EQ(picture.at(9, 45), c.colour);
    }
}

TEST_F(fixture_panel, strip_shows_through_its_window_by_mask_and_add) {
    // The strip's red channel is 5 x its column; the window (at 40, 2) is
    // black in column 0, RGB(200, 0, 200) in column 5 and RGB(1, 1, 1)
    // elsewhere; 30 pixels of travel over 0 .. 100.
    const struct {
        double value;
        int window_column;
        rgba expected;
    } cases[] = {
        {0, 3, {16, 1, 1, 255}},     // strip column 3
        {50, 3, {91, 1, 1, 255}},    // offset 15: strip column 18
        {100, 9, {196, 1, 1, 255}},  // offset 30: the strip's last column
        {150, 9, {196, 1, 1, 255}},  // held at the end
        {50, 5, {255, 0, 200, 255}}, // 100 + 200 capped
        {50, 0, field},              // black window: the background shows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << ", window column " << c.window_column);
        host.set_token(fixture::strip_token, c.value);
        const canvas picture = render_frame(host);
        EXPECT_EQ(picture.at(40 + c.window_column, 2), c.expected);
    }
}

// The needle (16 x 3, white middle row, turning about its pixel (0, 1)
// at (32, 24)) points where the calibration says: its pixels lie along the
// angle, and the far end is 15 pixels out.
TEST_F(fixture_panel, needle_points_at_the_calibrated_angle) {
    const struct {
        double value, degrees;
    } cases[] = {{0, 270}, {5, 315}, {10, 0}, {25, 45}, {40, 90}, {-5, 270}, {99, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        host.set_token(fixture::needle_token, c.value);
        const canvas picture = render_frame(host);
        const double a = c.degrees * 3.141592653589793 / 180;
        for (int r : {3, 8, 14}) {
            const int x = int(std::lround(32 + r * std::sin(a))), y = int(std::lround(24 - r * std::cos(a)));
            const rgba p = picture.at(x, y);
            EXPECT_GT(p.r, 150) << "no needle at radius " << r << " (" << x << ", " << y << ")";
        }
        const int x = int(std::lround(32 + 10 * std::sin(a + 3.14159))),
                  y = int(std::lround(24 - 10 * std::cos(a + 3.14159)));
        EXPECT_EQ(picture.at(x, y), field) << "nothing behind the rotation point";
    }
}

TEST_F(fixture_panel, text_is_drawn_in_its_colour_over_a_transparent_black_back) {
    host.set_token(fixture::text_token, 88);
    const canvas picture = render_frame(host);
    const box_px text_box{2, 20, 32, 32};
    const auto yellow = pixels_where(
        picture, [](const rgba& p) { return p.r > 200 && p.g > 200 && p.b < 100; }, text_box);
    EXPECT_GT(yellow.size(), 10u) << "glyphs of \"88\" in the fore colour";
    EXPECT_EQ(picture.at(31, 31), field) << "the black back colour is not drawn";
    for (int y = 40; y < 46; ++y)
        for (int x = 50; x < 60; ++x) EXPECT_EQ(picture.at(x, y), (rgba{0, 0, 255, 255})) << x << ", " << y;
}

TEST_F(fixture_panel, larger_scales_draw_the_same_picture_finer) {
    host.set_token(fixture::icon_token, 1);
    const canvas one = render_frame(host, 1);
    const canvas three = render_frame(host, 3);
    EXPECT_EQ(three.width, 3 * 64);
    EXPECT_EQ(three.height, 3 * 48);
    // Flat areas of static images and icons match pixel for pixel.
    for (PIXPOINT p : {PIXPOINT{5, 5}, PIXPOINT{0, 0}, PIXPOINT{4, 40}, PIXPOINT{60, 10}}) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(three.at(3 * p.x + k, 3 * p.y + k), one.at(p.x, p.y));
    }
}

TEST_F(fixture_panel, mouse_calls_the_first_matching_area_with_its_own_point) {
    struct call {
        const char* name;
        int action;  // 0 press, 1 repeat, 2 release
        mouse_button button;
        PIXPOINT point;
        std::vector<raised_event> events;
    };
    const call cases[] = {
        {"left where two areas overlap: the earlier", 0, mouse_button::left, {20, 15},
         {{fixture::mouse_base + 3, 20 << 16 | 15}, {fixture::mouse_flags_base + 3, MOUSE_LEFTSINGLE}}},
        {"right there: the area that takes it, point from its corner", 0, mouse_button::right, {20, 15},
         {{fixture::mouse_base + 4, 4 << 16 | 3}, {fixture::mouse_flags_base + 4, MOUSE_RIGHTSINGLE}}},
        {"a repeat on an area without DOWN_REPEAT", 1, mouse_button::left, {20, 15}, {}},
        {"a repeat on one with it", 1, mouse_button::left, {40, 30},
         {{fixture::mouse_base + 4, 24 << 16 | 18},
          {fixture::mouse_flags_base + 4, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT}}},
        {"release on an area with an event id: the host raises it", 2, mouse_button::left, {5, 44},
         {{fixture::release_area_event, 0}}},
        {"press on that area: it wants only the release", 0, mouse_button::left, {5, 44}, {}},
        {"outside every area", 0, mouse_button::left, {60, 44}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.events().clear();
        if (c.action == 0) host.press(c.point, c.button);
        if (c.action == 1) host.repeat(c.point, c.button);
        if (c.action == 2) host.release(c.point, c.button);
        ASSERT_EQ(host.events().size(), c.events.size());
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            EXPECT_EQ(host.events()[i].id, c.events[i].id);
            EXPECT_EQ(host.events()[i].value, c.events[i].value);
        }
    }
}

TEST_F(fixture_panel, hover_shows_the_area_cursor_and_the_group_tooltip_with_its_arguments) {
    host.set_token(fixture::needle_token, 2.5);
    host.set_token(fixture::icon_token, 1);
    const struct {
        PIXPOINT point;
        UINT32 cursor;
    } cases[] = {{{5, 5}, CURSOR_HAND}, {{40, 30}, CURSOR_UPARROW}, {{60, 44}, CURSOR_NORMAL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y);
        const auto h = host.hover(c.point);
        EXPECT_EQ(h.cursor, c.cursor);
        EXPECT_TRUE(h.has_tooltip);
        EXPECT_EQ(h.tooltip, "Needle 2.5, icon 1");
    }
    EXPECT_FALSE(host.hover({64, 0}).has_tooltip) << "off the gauge";
}

TEST(fixture_modules, a_tree_that_loops_is_refused_not_followed) {
    try {
        module_host host(fixture_path("fixture_loop"));
        ADD_FAILURE() << "loaded";
    } catch (const host_error& e) {
        EXPECT_NE(std::string(e.what()).find("element tree comes back"), std::string::npos) << e.what();
    }
}

}  // namespace
