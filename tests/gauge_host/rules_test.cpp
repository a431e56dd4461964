// The host's rules on plain values: calibration degrees, the needle's
// angle, the strip offset, the icon index, the hit test, tooltip formats,
// the simulated aircraft and the script's grammar.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "aircraft.h"
#include "errors.h"
#include "rules.h"
#include "script.h"

using namespace gauge_host;

namespace {

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

TEST(direction_degrees, clockwise_from_straight_up) {
    const struct {
        const char* name;
        PIXPOINT point;
        double degrees;
    } cases[] = {
        {"up", {10, 0}, 0.0},
        {"right", {20, 10}, 90.0},
        {"down", {10, 20}, 180.0},
        {"left", {0, 10}, 270.0},
        {"up-left stays below 360", {9, -1000}, 359.94},
        {"the centre itself", {10, 10}, 0.0},
        {"fuel dial's 0 mark", {-29, 111}, 201.11},
        {"fuel dial's 120 mark", {51, 110}, 157.71},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double d = direction_degrees({10, 10}, c.point);
        EXPECT_NEAR(d, c.degrees, 0.01);
        EXPECT_GE(d, 0.0);
        EXPECT_LT(d, 360.0);
    }
}

std::vector<NONLINEARITY> table(std::initializer_list<std::pair<double, double>> value_degrees) {
    std::vector<NONLINEARITY> t;
    for (auto [v, d] : value_degrees) t.push_back({{0, 0}, v, d});
    return t;
}

TEST(needle_angle, interpolates_clockwise_and_holds_at_the_ends) {
    const auto fuel = table({{0, 201.1}, {310, 157.7}});  // over the top, through 0
    const auto plain = table({{0, 30}, {10, 60}, {40, 240}});
    const struct {
        const char* name;
        const std::vector<NONLINEARITY>& t;
        double value, degrees;
    } cases[] = {
        {"first entry", fuel, 0, 201.1},
        {"last entry", fuel, 310, 157.7},
        {"half way turns through 0, not back through 180", fuel, 155, 359.4},
        {"below the first entry holds it", fuel, -40, 201.1},
        {"beyond the last entry holds it", fuel, 400, 157.7},
        {"NaN rests on the first entry", fuel, nan_value, 201.1},
        {"second stretch of an uneven table", plain, 25, 150},
        {"first stretch", plain, 5, 45},
        {"an inner entry exactly", plain, 10, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(needle_angle(c.t, c.value), c.degrees, 1e-9);
    }
}

TEST(needle_angle, equal_neighbouring_values_jump_without_dividing_by_zero) {
    const auto t = table({{0, 0}, {10, 90}, {10, 180}, {20, 270}});
    EXPECT_DOUBLE_EQ(needle_angle(t, 10), 90.0);
    EXPECT_DOUBLE_EQ(needle_angle(t, 15), 225.0);
}

TEST(strip_offset, moves_linearly_within_the_range_and_holds_outside) {
    const FLOAT64 heading[2] = {359.0, 0.0};  // falling range: left end at 359
    const FLOAT64 none[2] = {0.0, 0.0};
    const struct {
        const char* name;
        const FLOAT64 (&range)[2];
        double value, offset;
    } cases[] = {
        {"first value shows the left end", heading, 359.0, 0.0},
        {"second value shows the right end", heading, 0.0, 302.0},
        {"in between, in proportion", heading, 179.5, 151.0},
        {"past the second value holds the end", heading, -10.0, 302.0},
        {"past the first value holds the start", heading, 365.0, 0.0},
        {"NaN holds the start", heading, nan_value, 0.0},
        {"an empty range does not travel", none, 50.0, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(strip_offset(c.value, c.range, 387, 85), c.offset, 1e-9);
    }
}

TEST(icon_index, truncates_toward_zero_within_the_images) {
    const struct {
        double value;
        UINT32 count, index;
    } cases[] = {
        {0, 2, 0},     {1, 2, 1},    {0.99, 2, 0},  {1.5, 2, 1},   {2.5, 2, 1},
        {-1, 2, 0},    {-0.5, 2, 0}, {2.7, 3, 2},   {1.999, 3, 1}, {1e300, 3, 2},
        {nan_value, 3, 0}, {5, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " of " << c.count);
        EXPECT_EQ(icon_index(c.value, c.count), c.index);
    }
}

TEST(hit_test, takes_the_first_child_in_list_order_that_holds_point_and_button) {
    const MOUSERECT list[] = {
        {.rect_type = MOUSE_RECT_PARENT, .relative_box = {0, 0, 0, 0}, .mouse_flags = MOUSE_LEFTSINGLE},
        {.rect_type = MOUSE_RECT_USER, .relative_box = {0, 0, 0, 0}, .mouse_flags = MOUSE_LEFTSINGLE},
        {.rect_type = MOUSE_RECT_CHILD, .relative_box = {10, 10, 10, 10}, .mouse_flags = MOUSE_LEFTSINGLE},
        {.rect_type = MOUSE_RECT_CHILD, .relative_box = {15, 15, 10, 10},
         .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_RIGHTSINGLE},
        {.rect_type = MOUSE_RECT_CHILD, .relative_box = {0, 0, 0, 0}, .mouse_flags = MOUSE_MIDDLESINGLE},
        {.rect_type = MOUSE_RECT_END_PARENT},
        {.rect_type = MOUSE_RECT_EOL},
        {.rect_type = MOUSE_RECT_CHILD, .relative_box = {0, 0, 0, 0}, .mouse_flags = MOUSE_RIGHTSINGLE},
    };
    const PIXPOINT gauge = {40, 40};
    const struct {
        const char* name;
        PIXPOINT point;
        FLAGS32 button;
        int area;
    } cases[] = {
        {"inside the first child only", {12, 12}, MOUSE_LEFTSINGLE, 2},
        {"where two overlap, the earlier", {16, 16}, MOUSE_LEFTSINGLE, 2},
        {"where two overlap, the one that takes the button", {16, 16}, MOUSE_RIGHTSINGLE, 3},
        {"a box's last pixel is inside", {19, 19}, MOUSE_LEFTSINGLE, 2},
        {"one past a box is outside", {25, 25}, MOUSE_LEFTSINGLE, -1},
        {"the parent and user records never answer", {1, 1}, MOUSE_LEFTSINGLE, -1},
        {"the all-zero box is the whole gauge", {39, 0}, MOUSE_MIDDLESINGLE, 4},
        {"the whole gauge ends at its size", {40, 0}, MOUSE_MIDDLESINGLE, -1},
        {"records after the end are not read", {1, 1}, MOUSE_RIGHTSINGLE, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hit_test(list, c.point, c.button, gauge), c.area);
    }
}

TEST(tooltip_format, only_a_single_numeric_conversion_is_trusted) {
    const struct {
        const char* format;
        tooltip_format kind;
    } cases[] = {
        {"%.1f", tooltip_format::floating}, {"%5.0f litres", tooltip_format::floating},
        {"%d%%", tooltip_format::integer},  {"%03d", tooltip_format::integer},
        {"%s", tooltip_format::invalid},    {"%n", tooltip_format::invalid},
        {"%f %f", tooltip_format::invalid}, {"%*d", tooltip_format::invalid},
        {"no conversion", tooltip_format::invalid}, {nullptr, tooltip_format::invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format ? c.format : "null");
        EXPECT_EQ(classify_tooltip_format(c.format), c.kind);
    }
}

TEST(aircraft, answers_the_autopilot_events) {
    const struct {
        const char* name;
        ID32 event;
        ID32 token;
        double before, after;
    } cases[] = {
        {"heading select up", 65879, 107, 10, 11},
        {"heading select up wraps at 360", 65879, 107, 359, 0},
        {"heading select down", 65880, 107, 10, 9},
        {"heading select down wraps below 0", 65880, 107, 0, 359},
        {"altitude select up", 65892, 109, 5000, 5100},
        {"altitude select up stops at five digits", 65892, 109, 99900, 99900},
        {"altitude select down", 65893, 109, 5000, 4900},
        {"altitude select down stops at 0", 65893, 109, 0, 0},
        {"centre button lights its lamp", 65580, 103, 0, 1},
        {"centre button puts it out", 65580, 103, 1, 0},
        {"APR", 65724, 112, 0, 1},
        {"left toggle", 65798, 106, 1, 0},
        {"right toggle", 65799, 108, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<ID32, double> t = {{c.token, c.before}};
        EXPECT_TRUE(answer_event(c.event, t));
        EXPECT_DOUBLE_EQ(t[c.token], c.after);
    }
    std::map<ID32, double> t = {{107, 5}};
    EXPECT_FALSE(answer_event(12345, t)) << "an event it does not know";
    EXPECT_EQ(t, (std::map<ID32, double>{{107, 5}})) << "changes nothing";
}

TEST(script, reads_every_command) {
    const auto commands = parse_script(
        "# a comment\n"
        "set 107 90\n"
        "set 0x6D=1500   # hex token, TOKEN=VALUE\n"
        "\n"
        "click 40 150\n"
        "hold 40 150 5 right\n"
        "frame 3\n"
        "render out.png 4\n"
        "hover 1 2\n"
        "token 107\n"
        "texts\n",
        "s");
    ASSERT_EQ(commands.size(), 9u);
    EXPECT_EQ(commands[0].kind, script_command::set);
    EXPECT_EQ(commands[0].token_id, 107u);
    EXPECT_EQ(commands[1].token_id, 109u);
    EXPECT_EQ(commands[1].value, 1500.0);
    EXPECT_EQ(commands[1].line, 3);
    EXPECT_EQ(commands[2].kind, script_command::click);
    EXPECT_EQ(commands[2].button, mouse_button::left);
    EXPECT_EQ(commands[3].count, 5);
    EXPECT_EQ(commands[3].button, mouse_button::right);
    EXPECT_EQ(commands[4].count, 3);
    EXPECT_EQ(commands[5].file, "out.png");
    EXPECT_EQ(commands[5].scale, 4);
    EXPECT_EQ(commands[6].point.y, 2);
    EXPECT_EQ(commands[8].kind, script_command::texts);
}

TEST(script, a_bad_line_is_named_with_its_number) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"frame\njump 1 2\n", "s:2: unknown command 'jump'"},
        {"set 107\n", "s:1: set takes TOKEN VALUE"},
        {"set 0 5\n", "s:1: '0' is not a token"},
        {"set 107 ninety\n", "s:1: 'ninety' is not a number"},
        {"\n\nclick 1.5 2\n", "s:3: X and Y must be whole numbers"},
        {"click 1 2 thumb\n", "s:1: unknown button 'thumb'"},
        {"hold 1 2 0\n", "s:1: N must be a whole number from 1"},
        {"render\n", "s:1: render takes FILE [SCALE]"},
        {"render a.png 17\n", "s:1: SCALE must be a whole number from 1 to 16"},
        {"frame -1\n", "s:1: N must be a whole number from 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parse_script(c.text, "s");
            ADD_FAILURE() << "accepted";
        } catch (const host_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

}  // namespace
