// The autopilot panel as a host sees it: the element chain and its records,
// the value callbacks and readout texts, the mouse list and what a click
// anywhere on the panel raises, and the bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "frame_checks.h"
#include "gauge_module.h"
#include "host_mouse.h"
#include "resource_bitmap.h"

namespace {

constexpr FLAGS32 declared_flags = 0x83;
constexpr int panel_width = 146;
constexpr int panel_height = 179;

class aquilo : public ::testing::Test {
protected:
    loaded_module module{"Aquilo.gau"};

    void SetUp() override {
        ASSERT_NE(module.handle, nullptr);
        ASSERT_NE(module.root(), nullptr);
    }

    // The n-th element of the chain, counting the background as 0.
    ELEMENT_HEADER* element(int n) const {
        ELEMENT_HEADER* e = module.root();
        for (int i = 0; i < n && e; ++i) e = next_of(e);
        return e;
    }
    template <typename T>
    T* element_as(int n) const {
        return as<T>(element(n));
    }
};

// ---- Element chain ------------------------------------------------------------

struct chain_row {
    const char* name;
    UINT32 type;
    SINT32 resource_id;
    PIXPOINT position;
};

const chain_row chain[] = {
    {"autopilot_background", ELEMENT_TYPE_STATIC_IMAGE, 0x1800, {0, 0}},
    {"heading_strip", ELEMENT_TYPE_MOVING_IMAGE, 0x1400, {29, 52}},
    {"heading_select_strip", ELEMENT_TYPE_MOVING_IMAGE, 0x1200, {29, 33}},
    {"centre_lamp", ELEMENT_TYPE_ICON, 0x1600, {60, 104}},
    {"heading_select_readout", ELEMENT_TYPE_STRING, -1, {24, 122}},
    {"altitude_select_readout", ELEMENT_TYPE_STRING, -1, {105, 122}},
    {"apr_lamp", ELEMENT_TYPE_ICON, 0x1900, {60, 142}},
    {"left_toggle_lamp", ELEMENT_TYPE_ICON, 0x2000, {22, 97}},
    {"right_toggle_lamp", ELEMENT_TYPE_ICON, 0x2100, {107, 97}},
};
constexpr int chain_length = std::size(chain);

enum chain_index {
    background, heading_strip, heading_select_strip, centre_lamp, heading_select_readout,
    altitude_select_readout, apr_lamp, left_toggle_lamp, right_toggle_lamp
};

TEST_F(aquilo, element_chain_of_nine_in_drawing_order) {
    std::set<const FAILURE_RECORD*> failure_lists;
    for (int i = 0; i < chain_length; ++i) {
        SCOPED_TRACE(chain[i].name);
        ELEMENT_HEADER* e = element(i);
        ASSERT_NE(e, nullptr);
        EXPECT_ELEMENT_HEADER(*e,
                              (expected_element{.element_type = chain[i].type,
                                                .resource_id = chain[i].resource_id,
                                                .position = chain[i].position,
                                                .offset = {0, 0},
                                                .image_flags = declared_flags}),
                              module.gauge());
        failure_lists.insert(e->failure);
        if (i + 1 < chain_length) {
            ASSERT_NE(e->next_elements, nullptr);
            EXPECT_NE(e->next_elements[0], nullptr);
            EXPECT_EQ(e->next_elements[1], nullptr) << "exactly one next element";
        } else {
            EXPECT_EQ(e->next_elements, nullptr) << "the last element has no list at all";
        }
    }
    EXPECT_EQ(failure_lists.size(), std::size_t(chain_length)) << "a failure list of its own each";
    EXPECT_HOST_STATE_ZERO(element_as<ELEMENT_STATIC_IMAGE>(background)->host);
}

TEST_F(aquilo, strips_slide_over_their_ranges) {
    const struct {
        const char* name;
        int index;
        ID32 token;
        double first, second;
    } rows[] = {
        {"heading_strip", heading_strip, 81, 359.0, 0.0},
        {"heading_select_strip", heading_select_strip, 107, 359.9, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* s = element_as<ELEMENT_MOVING_IMAGE>(row.index);
        EXPECT_EQ(s->source_var_x.id, row.token);
        EXPECT_EQ(s->x_range[0], row.first);
        EXPECT_EQ(s->x_range[1], row.second);
        EXPECT_NE(s->update_x_cb, nullptr);
        EXPECT_EQ(s->source_var_y.id, 0u);
        EXPECT_EQ(s->source_var_y.value, 0.0);
        EXPECT_EQ(s->y_range[0], 0.0);
        EXPECT_EQ(s->y_range[1], 0.0);
        EXPECT_NE(s->update_y_cb, nullptr);
        EXPECT_NE(s->update_x_cb, s->update_y_cb) << "a callback per axis";
        EXPECT_HOST_STATE_ZERO(s->host);
    }
}

TEST_F(aquilo, lamps_pick_one_of_two_images) {
    const struct {
        const char* name;
        int index;
        ID32 token;
    } rows[] = {
        {"centre_lamp", centre_lamp, 103},
        {"apr_lamp", apr_lamp, 112},
        {"left_toggle_lamp", left_toggle_lamp, 106},
        {"right_toggle_lamp", right_toggle_lamp, 108},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* lamp = element_as<ELEMENT_ICON>(row.index);
        EXPECT_EQ(lamp->source_var.id, row.token);
        EXPECT_NE(lamp->update_cb, nullptr);
        EXPECT_EQ(lamp->switch_type, ICON_SWITCH_TYPE_SELECT);
        EXPECT_EQ(lamp->icon_count, 2u);
        EXPECT_EQ(lamp->scale, 0.0);
        EXPECT_EQ(lamp->offset, 0.0);
        EXPECT_HOST_STATE_ZERO(lamp->host);
    }
}

TEST_F(aquilo, readouts_text_boxes_and_fonts) {
    const struct {
        const char* name;
        int index;
        ID32 token;
        SINT32 width;
    } rows[] = {
        {"heading_select_readout", heading_select_readout, 107, 124},
        {"altitude_select_readout", altitude_select_readout, 109, 43},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* r = element_as<ELEMENT_STRING>(row.index);
        EXPECT_EQ(r->source_var[0].id, row.token);
        EXPECT_EQ(r->source_var[1].id, 0u);
        EXPECT_EQ(r->source_var[2].id, 0u);
        EXPECT_EQ(r->box_width, row.width);
        EXPECT_EQ(r->box_height, 18);
        EXPECT_EQ(r->text, nullptr) << "the host supplies the buffer";
        EXPECT_EQ(r->text_capacity, 0u);
        EXPECT_EQ(r->fore_color, 0x0085CEE7u);
        EXPECT_EQ(r->back_color, 0u);
        EXPECT_EQ(r->highlight_color, 0u);
        ASSERT_NE(r->font_name, nullptr);
        EXPECT_STREQ(r->font_name, "Times New Roman");
        EXPECT_EQ(r->font_weight, 100);
        EXPECT_EQ(r->font_charset, 1u);
        EXPECT_EQ(r->font_size, 0);
        EXPECT_EQ(r->draw_text_flags, 0x4240u);
        EXPECT_NE(r->update_cb, nullptr);
        EXPECT_HOST_STATE_ZERO(r->host);
    }
}

// ---- Value callbacks ------------------------------------------------------------

// Calls the value callback of chain element n with the value in its first
// variable (the Y variable for a strip's Y callback).
struct value_callback {
    const char* name;
    int index;
    enum { icon, strip_x, strip_y } kind;
};

const value_callback pass_through_callbacks[] = {
    {"heading_strip_x_callback", heading_strip, value_callback::strip_x},
    {"heading_strip_y_callback", heading_strip, value_callback::strip_y},
    {"heading_select_strip_x_callback", heading_select_strip, value_callback::strip_x},
    {"heading_select_strip_y_callback", heading_select_strip, value_callback::strip_y},
    {"centre_lamp_callback", centre_lamp, value_callback::icon},
    {"apr_lamp_callback", apr_lamp, value_callback::icon},
    {"left_toggle_lamp_callback", left_toggle_lamp, value_callback::icon},
    {"right_toggle_lamp_callback", right_toggle_lamp, value_callback::icon},
};

TEST_F(aquilo, pass_through_callbacks_return_the_value_unaltered) {
    const struct {
        const char* name;
        double value;
    } values[] = {
        {"lamp off", 0.0}, {"lamp on", 1.0},      {"between images", 2.5}, {"negative", -1.0},
        {"past north", 365.0}, {"below zero", -10.0}, {"fraction", 359.9},
    };
    for (const auto& cb : pass_through_callbacks) {
        for (const auto& v : values) {
            SCOPED_TRACE(std::string(cb.name) + ", " + v.name);
            double shown = 0;
            ELEMENT_HEADER* e = element(cb.index);
            e->image_flags = declared_flags;
            switch (cb.kind) {
            case value_callback::icon: {
                auto* lamp = as<ELEMENT_ICON>(e);
                lamp->source_var.value = v.value;
                shown = lamp->update_cb(lamp);
                break;
            }
            case value_callback::strip_x: {
                auto* strip = as<ELEMENT_MOVING_IMAGE>(e);
                strip->source_var_x.value = v.value;
                strip->source_var_y.value = -999.0;
                shown = strip->update_x_cb(strip);
                break;
            }
            case value_callback::strip_y: {
                auto* strip = as<ELEMENT_MOVING_IMAGE>(e);
                strip->source_var_x.value = -999.0;
                strip->source_var_y.value = v.value;
                shown = strip->update_y_cb(strip);
                break;
            }
            }
            EXPECT_EQ(shown, v.value);
            EXPECT_EQ(e->image_flags, declared_flags | IMAGE_USE_BRIGHT);
        }
    }
}

TEST_F(aquilo, strip_y_callbacks_read_the_declared_unbound_variable) {
    for (int index : {heading_strip, heading_select_strip}) {
        auto* strip = element_as<ELEMENT_MOVING_IMAGE>(index);
        EXPECT_EQ(strip->update_y_cb(strip), 0.0) << chain[index].name;
    }
}

TEST_F(aquilo, every_callback_leaves_the_background_as_declared) {
    for (int i = 1; i < chain_length; ++i) {
        ELEMENT_HEADER* e = element(i);
        char text[32];
        switch (chain[i].type) {
        case ELEMENT_TYPE_ICON: as<ELEMENT_ICON>(e)->update_cb(as<ELEMENT_ICON>(e)); break;
        case ELEMENT_TYPE_MOVING_IMAGE:
            as<ELEMENT_MOVING_IMAGE>(e)->update_x_cb(as<ELEMENT_MOVING_IMAGE>(e));
            as<ELEMENT_MOVING_IMAGE>(e)->update_y_cb(as<ELEMENT_MOVING_IMAGE>(e));
            break;
        case ELEMENT_TYPE_STRING: {
            auto* s = as<ELEMENT_STRING>(e);
            s->text = text;
            s->text_capacity = sizeof text;
            s->update_cb(s);
            break;
        }
        }
        EXPECT_EQ(e->image_flags, declared_flags | IMAGE_USE_BRIGHT) << chain[i].name;
    }
    EXPECT_EQ(element(background)->image_flags, declared_flags);
}

// ---- Readouts -----------------------------------------------------------------

struct readout_case {
    const char* name;
    int index;
    double value;
    const char* text;
};

const double inf = std::numeric_limits<double>::infinity();

const readout_case readout_cases[] = {
    {"heading zero", heading_select_readout, 0.0, "000"},
    {"heading rounded down", heading_select_readout, 7.4, "007"},
    {"heading 359.9 is 359.899994 and rounds up", heading_select_readout, 359.9, "360"},
    {"heading longer than three digits", heading_select_readout, 1000.0, "1000"},
    {"heading minus sign counts to the width", heading_select_readout, -5.0, "-05"},
    {"heading negative rounding to zero", heading_select_readout, -0.4, "-00"},
    {"heading beyond single precision", heading_select_readout, 123456789.0, "123456792"},
    {"heading not a number", heading_select_readout, std::nan(""), "nan"},
    {"heading infinite", heading_select_readout, inf, "inf"},
    {"heading minus infinity", heading_select_readout, -inf, "-inf"},
    {"heading beyond float range", heading_select_readout, 1e300, "inf"},
    {"altitude zero", altitude_select_readout, 0.0, "00000"},
    {"altitude 12345.6 is 12345.599609", altitude_select_readout, 12345.6, "12346"},
    {"altitude negative", altitude_select_readout, -123.0, "-0123"},
    {"altitude longer than five digits", altitude_select_readout, 123456.0, "123456"},
    {"altitude not a number", altitude_select_readout, std::nan(""), "  nan"},
    {"altitude infinite", altitude_select_readout, inf, "  inf"},
    {"altitude largest float", altitude_select_readout, std::numeric_limits<float>::max(),
     "340282346638528859811704183484516925440"},
};

// Runs a readout into a buffer of `capacity` bytes followed by guard bytes,
// returning what it left there.
struct readout_result {
    std::string text;
    bool zero_ended;
    bool guard_intact;
    double returned;
};

constexpr char guard = '\x5A';

readout_result run_readout(ELEMENT_STRING* r, double value, UINT32 capacity) {
    char buffer[128];
    std::memset(buffer, guard, sizeof buffer);
    r->source_var[0].value = value;
    r->text = buffer;
    r->text_capacity = capacity;
    const double returned = r->update_cb(r);
    readout_result out;
    out.zero_ended = std::memchr(buffer, 0, capacity) != nullptr;
    out.text = out.zero_ended ? std::string(buffer) : std::string(buffer, capacity);
    out.guard_intact = true;
    for (std::size_t i = capacity; i < sizeof buffer; ++i)
        out.guard_intact = out.guard_intact && buffer[i] == guard;
    out.returned = returned;
    return out;
}

TEST_F(aquilo, readouts_write_their_texts) {
    for (const auto& c : readout_cases) {
        SCOPED_TRACE(c.name);
        auto* r = element_as<ELEMENT_STRING>(c.index);
        r->header.image_flags = declared_flags;
        const readout_result got = run_readout(r, c.value, 64);
        EXPECT_EQ(got.text, c.text);
        EXPECT_TRUE(got.zero_ended);
        EXPECT_TRUE(got.guard_intact);
        EXPECT_EQ(got.returned, 0.0);
        EXPECT_EQ(r->header.image_flags, declared_flags | IMAGE_USE_BRIGHT);
        EXPECT_EQ(std::memcmp(&r->source_var[0].value, &c.value, sizeof c.value), 0)
            << "the variable is left as it was";
    }
}

// A short buffer gets as much of the text as fits, zero-ended, and nothing
// past its end.
TEST_F(aquilo, readouts_never_write_past_the_buffer) {
    for (const auto& c : readout_cases) {
        const std::string full = c.text;
        for (UINT32 capacity = 1; capacity <= full.size() + 1; ++capacity) {
            SCOPED_TRACE(std::string(c.name) + ", capacity " + std::to_string(capacity));
            const readout_result got = run_readout(element_as<ELEMENT_STRING>(c.index), c.value, capacity);
            EXPECT_TRUE(got.guard_intact) << "wrote past text_capacity";
            EXPECT_TRUE(got.zero_ended);
            EXPECT_EQ(got.text, full.substr(0, capacity - 1));
        }
    }
}

TEST_F(aquilo, readout_sets_bright_even_without_a_buffer) {
    auto* r = element_as<ELEMENT_STRING>(heading_select_readout);
    r->text = nullptr;
    r->text_capacity = 0;
    EXPECT_EQ(r->update_cb(r), 0.0);
    EXPECT_EQ(r->header.image_flags, declared_flags | IMAGE_USE_BRIGHT);
}

TEST_F(aquilo, token_107_drives_both_the_strip_and_the_readout) {
    auto* strip = element_as<ELEMENT_MOVING_IMAGE>(heading_select_strip);
    auto* readout = element_as<ELEMENT_STRING>(heading_select_readout);
    ASSERT_EQ(strip->source_var_x.id, readout->source_var[0].id);
    strip->source_var_x.value = 359.9;
    EXPECT_EQ(strip->update_x_cb(strip), strip->x_range[0]) << "the strip stands at its left end";
    EXPECT_EQ(run_readout(readout, 359.9, 16).text, "360");
}

// ---- Mouse --------------------------------------------------------------------

constexpr FLAGS32 click_flags = 0x20000000;
constexpr FLAGS32 hold_flags = 0x20200000;

struct area_row {
    const char* callback;
    PIXBOX box;
    UINT32 cursor;
    FLAGS32 flags;
    ID32 event;
};

const area_row areas[] = {
    {"heading_select_up_callback", {34, 138, 17, 35}, CURSOR_UPARROW, hold_flags, 65879},
    {"heading_select_down_callback", {7, 137, 20, 37}, CURSOR_DOWNARROW, hold_flags, 65880},
    {"centre_button_callback", {63, 101, 23, 31}, CURSOR_HAND, click_flags, 65580},
    {"altitude_select_up_callback", {120, 139, 20, 32}, CURSOR_UPARROW, hold_flags, 65892},
    {"altitude_select_down_callback", {94, 137, 21, 35}, CURSOR_DOWNARROW, hold_flags, 65893},
    {"apr_button_callback", {64, 143, 22, 28}, CURSOR_HAND, click_flags, 65724},
    {"left_toggle_callback", {20, 95, 24, 26}, CURSOR_HAND, click_flags, 65798},
    {"right_toggle_callback", {103, 96, 26, 26}, CURSOR_HAND, click_flags, 65799},
};

class aquilo_mouse : public aquilo {
protected:
    const MOUSERECT* list() const { return module.gauge()->mouse_rect; }
    void SetUp() override {
        aquilo::SetUp();
        ASSERT_NE(list(), nullptr);
        module.imports->panels.ptr = &event_recorder::first;
        event_recorder::events.clear();
    }
};

TEST_F(aquilo_mouse, list_of_twelve_records) {
    const PIXBOX whole = {0, 0, 0, 0};
    EXPECT_MOUSE_RECT(list()[0], (expected_mouse_rect{MOUSE_RECT_PARENT, whole, CURSOR_NONE, 0, false, nullptr}),
                      "parent");
    EXPECT_MOUSE_RECT(list()[1],
                      (expected_mouse_rect{MOUSE_RECT_USER, whole, CURSOR_NONE, 0, false, "Old italian Autopilot"}),
                      "tooltip");
    for (std::size_t i = 0; i < std::size(areas); ++i)
        EXPECT_MOUSE_RECT(list()[2 + i],
                          (expected_mouse_rect{MOUSE_RECT_CHILD, areas[i].box, areas[i].cursor, areas[i].flags,
                                               true, nullptr}),
                          areas[i].callback);
    EXPECT_MOUSE_RECT(list()[10], (expected_mouse_rect{MOUSE_RECT_END_PARENT, whole, CURSOR_NONE, 0, false, nullptr}),
                      "end of the group");
    EXPECT_MOUSE_RECT(list()[11], (expected_mouse_rect{MOUSE_RECT_EOL, whole, CURSOR_NONE, 0, false, nullptr}),
                      "end of the list");
}

TEST_F(aquilo_mouse, each_area_raises_its_event_with_parameter_zero) {
    for (std::size_t i = 0; i < std::size(areas); ++i) {
        SCOPED_TRACE(areas[i].callback);
        event_recorder::events.clear();
        const MOUSERECT& area = list()[2 + i];
        // Whatever point and flags the host passes, the same event.
        for (const PIXPOINT p : {PIXPOINT{0, 0}, PIXPOINT{5, 7}, PIXPOINT{-100, 4000}})
            for (FLAGS32 flags : {MOUSE_LEFTSINGLE, MOUSE_DOWN_REPEAT | MOUSE_LEFTSINGLE, 0xFFFFFFFFu}) {
                PIXPOINT point = p;
                EXPECT_EQ(area.mouse_function(&point, flags), 0);
            }
        ASSERT_EQ(event_recorder::events.size(), 9u);
        for (const auto& e : event_recorder::events) {
            EXPECT_EQ(e.id, areas[i].event);
            EXPECT_EQ(e.value, 0u);
        }
    }
}

// Every pixel of the panel, clicked with each button, raises exactly what
// the area table says: one event inside an area, nothing in the gaps.
TEST_F(aquilo_mouse, click_map_over_the_whole_panel) {
    int mismatches = 0;
    for (int y = 0; y < panel_height; ++y)
        for (int x = 0; x < panel_width; ++x) {
            ID32 expected = 0;
            for (const auto& a : areas)
                if (box_holds(a.box, x, y)) {
                    EXPECT_EQ(expected, 0u) << "areas overlap at (" << x << ", " << y << ")";
                    expected = a.event;
                }
            for (FLAGS32 button : {MOUSE_LEFTSINGLE, MOUSE_RIGHTSINGLE, MOUSE_MIDDLESINGLE}) {
                event_recorder::events.clear();
                if (const MOUSERECT* hit = area_at(list(), x, y, button)) click(*hit, x, y, button);
                const ID32 want = button == MOUSE_LEFTSINGLE ? expected : 0;
                const bool ok = want ? event_recorder::events.size() == 1 && event_recorder::events[0].id == want
                                     : event_recorder::events.empty();
                if (!ok && ++mismatches <= 10)
                    ADD_FAILURE() << "button " << std::hex << button << std::dec << " at (" << x << ", " << y
                                  << "): want " << want << ", raised " << event_recorder::events.size();
            }
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(aquilo_mouse, named_points_of_the_panel) {
    const struct {
        const char* name;
        int x, y;
        ID32 event;  // 0: nothing
    } points[] = {
        {"right part of HDG SEL", 40, 150, 65879},
        {"left of HDG SEL, inside its down area", 10, 140, 65880},
        {"middle of HDG SEL", 30, 150, 0},
        {"middle of ALT SEL", 117, 150, 0},
        {"right part of ALT SEL", 125, 160, 65892},
        {"left part of ALT SEL", 100, 160, 65893},
        {"APR", 75, 155, 65724},
        {"central button", 74, 116, 65580},
        {"title plate", 74, 14, 0},
        {"compass window", 70, 40, 0},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(p.name);
        event_recorder::events.clear();
        if (const MOUSERECT* hit = area_at(list(), p.x, p.y, MOUSE_LEFTSINGLE)) click(*hit, p.x, p.y, MOUSE_LEFTSINGLE);
        if (p.event) {
            ASSERT_EQ(event_recorder::events.size(), 1u);
            EXPECT_EQ(event_recorder::events[0].id, p.event);
        } else {
            EXPECT_TRUE(event_recorder::events.empty());
        }
    }
}

TEST_F(aquilo_mouse, only_the_select_areas_repeat_while_held) {
    for (std::size_t i = 0; i < std::size(areas); ++i) {
        const bool repeats = areas[i].event == 65879 || areas[i].event == 65880 || areas[i].event == 65892 ||
                             areas[i].event == 65893;
        EXPECT_EQ((list()[2 + i].mouse_flags & MOUSE_DOWN_REPEAT) != 0, repeats) << areas[i].callback;
    }
}

TEST_F(aquilo_mouse, a_click_goes_through_the_table_bound_at_that_moment) {
    const MOUSERECT& apr = list()[7];
    click(apr, 70, 150, MOUSE_LEFTSINGLE);
    module.imports->panels.ptr = &event_recorder::second;
    click(apr, 70, 150, MOUSE_LEFTSINGLE);
    ASSERT_EQ(event_recorder::events.size(), 2u);
    EXPECT_EQ(event_recorder::events[0].table, 1);
    EXPECT_EQ(event_recorder::events[1].table, 2);
    EXPECT_EQ(event_recorder::events[0].id, 65724u);
    EXPECT_EQ(event_recorder::events[1].id, 65724u) << "APR toggles nothing itself";
}

// ---- Bitmaps --------------------------------------------------------------------

struct bitmap_row {
    int id;
    int width, height, bits;
    bool may_hold_black;  // pure black, the transparent colour
};

const bitmap_row bitmaps[] = {
    {0x1800, 146, 179, 8, true},  {0x1200, 387, 16, 8, false}, {0x1201, 85, 16, 8, false},
    {0x1400, 387, 16, 8, false},  {0x1401, 85, 16, 8, false},  {0x1600, 29, 30, 8, true},
    {0x1601, 29, 30, 8, true},    {0x1900, 31, 30, 24, false}, {0x1901, 31, 30, 24, false},
    {0x2000, 21, 21, 8, true},    {0x2001, 21, 21, 8, true},   {0x2100, 21, 21, 8, true},
    {0x2101, 21, 21, 8, true},
};

int black_pixels(const resource_bitmap& b) {
    int n = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) n += b.pixel(x, y).is_black();
    return n;
}

TEST_F(aquilo, thirteen_bitmaps_with_their_sizes_and_depths) {
    for (const auto& row : bitmaps) {
        SCOPED_TRACE(::testing::Message() << "bitmap 0x" << std::hex << row.id);
        const auto b = find_bitmap(module.handle, row.id);
        ASSERT_TRUE(b.has_value());
        EXPECT_EQ(b->width, row.width);
        EXPECT_EQ(b->height, row.height);
        EXPECT_EQ(b->bits, row.bits);
        if (row.bits == 8) EXPECT_EQ(b->colours, 256);
        if (!row.may_hold_black) EXPECT_EQ(black_pixels(*b), 0) << "covers its whole rectangle";
    }
}

TEST_F(aquilo, four_pairs_of_identical_images) {
    const std::pair<int, int> pairs[] = {{0x1200, 0x1400}, {0x1201, 0x1401}, {0x2000, 0x2100}, {0x2001, 0x2101}};
    for (const auto& [a, b] : pairs) {
        SCOPED_TRACE(::testing::Message() << std::hex << "0x" << a << " and 0x" << b);
        const auto first = find_bitmap(module.handle, a), second = find_bitmap(module.handle, b);
        ASSERT_TRUE(first && second);
        ASSERT_EQ(first->image_bytes(), second->image_bytes());
        EXPECT_EQ(std::memcmp(first->info, second->info, first->image_bytes()), 0);
    }
}

TEST_F(aquilo, background_and_knobs_hold_black_only_in_isolated_pixels) {
    for (int id : {0x1800, 0x2000, 0x2001}) {
        const auto b = find_bitmap(module.handle, id);
        ASSERT_TRUE(b.has_value());
        EXPECT_LE(black_pixels(*b), 2) << std::hex << "0x" << id;
    }
}

TEST_F(aquilo, centre_lamp_is_transparent_outside_its_ring) {
    for (int id : {0x1600, 0x1601}) {
        const auto b = find_bitmap(module.handle, id);
        ASSERT_TRUE(b.has_value());
        for (const PIXPOINT c : {PIXPOINT{0, 0}, PIXPOINT{28, 0}, PIXPOINT{0, 29}, PIXPOINT{28, 29}})
            EXPECT_TRUE(b->pixel(c.x, c.y).is_black()) << std::hex << "0x" << id << std::dec << " at " << c;
        EXPECT_FALSE(b->pixel(14, 15).is_black()) << "the lens";
    }
}

TEST_F(aquilo, window_is_a_near_black_field_with_a_white_index_line) {
    const auto w = find_bitmap(module.handle, 0x1201);
    ASSERT_TRUE(w.has_value());
    int wrong = 0;
    for (int y = 0; y < w->height; ++y)
        for (int x = 0; x < w->width; ++x) {
            const rgb want = (x == 42 || x == 43) ? rgb{255, 255, 255} : rgb{1, 1, 1};
            if (!(w->pixel(x, y) == want) && ++wrong <= 5) ADD_FAILURE() << "window pixel (" << x << ", " << y << ")";
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(aquilo, divider_line_between_the_strips) {
    const auto b = find_bitmap(module.handle, 0x1800);
    ASSERT_TRUE(b.has_value());
    for (int x = 33; x <= 112; ++x) EXPECT_EQ(b->pixel(x, 50), (rgb{198, 198, 198})) << "x = " << x;
    EXPECT_FALSE(b->pixel(70, 49) == (rgb{198, 198, 198})) << "one pixel high";
    EXPECT_FALSE(b->pixel(70, 51) == (rgb{198, 198, 198})) << "one pixel high";
}

TEST_F(aquilo, compass_card_repeats_after_360_degrees) {
    const auto card = find_bitmap(module.handle, 0x1200);
    ASSERT_TRUE(card.has_value());
    constexpr int period = 306;
    int differ = 0;
    for (int y = 0; y < card->height; ++y)
        for (int x = 0; x + period < card->width; ++x) differ += !(card->pixel(x, y) == card->pixel(x + period, y));
    EXPECT_EQ(differ, 0);
    int darkest = 255 * 3;
    for (int y = 0; y < card->height; ++y)
        for (int x = 0; x < card->width; ++x) {
            const rgb p = card->pixel(x, y);
            darkest = std::min(darkest, p.r + p.g + p.b);
        }
    EXPECT_GE(darkest, 3 * 8) << "the card's darkest shade is RGB(8, 8, 8)";
}

}  // namespace
