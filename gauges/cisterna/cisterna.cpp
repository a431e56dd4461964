// The fuel quantity gauge: a dial with one needle that follows the tank's
// token, clamped to the printed scale. Built twice; build.h says which tank.
#include <iterator>

#include "build.h"
#include "frame.h"
#include "resources.h"

namespace {

// The scale's ends, in the token's own units: 0 and 310 stand on the
// printed marks 0 and 120.
constexpr FLOAT64 fuel_empty = 0.0;
constexpr FLOAT64 fuel_full = 310.0;

constexpr PIXPOINT dial_centre = {.x = 151, .y = 151};
constexpr PIXPOINT needle_rotation_point = {.x = 67, .y = 12};

// Ordered comparisons only: a NaN fails both and goes to the host as it is,
// and negative zero keeps its sign.
FLOAT64 FSAPI fuel_needle_callback(ELEMENT_NEEDLE* needle) {
    needle->header.image_flags |= IMAGE_USE_BRIGHT;
    const FLOAT64 value = needle->source_var.value;
    if (value > fuel_full) return fuel_full;
    if (value < fuel_empty) return fuel_empty;
    return value;
}

constinit FAILURE_RECORD fuel_dial_failures[] = {{.key = FAILURE_NONE, .action = 0}};
constinit FAILURE_RECORD fuel_needle_failures[] = {{.key = FAILURE_NONE, .action = 0}};

// Both points lie on the long marks, about 108 px out from the centre:
// 0 at 201.1 degrees, 310 at 157.7 degrees.
constinit NONLINEARITY fuel_needle_table[] = {
    {.point = {.x = 112, .y = 252}, .value = fuel_empty, .degrees = 0.0},
    {.point = {.x = 192, .y = 251}, .value = fuel_full, .degrees = 0.0},
};

constinit ELEMENT_NEEDLE fuel_needle = {
    .header = {
        .element_type = ELEMENT_TYPE_NEEDLE,
        .resource_id = FUEL_NEEDLE_BITMAP,
        .position = dial_centre,
        .offset = needle_rotation_point,
        .gauge = &gauge_header,
        .next_elements = nullptr,
        .failure = fuel_needle_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {.id = build.needle_token},
    .update_cb = fuel_needle_callback,
    .nonlinearity = fuel_needle_table,
    .nonlinearity_count = std::size(fuel_needle_table),
};

constinit ELEMENT_HEADER* fuel_dial_next[] = {&fuel_needle.header, nullptr};

constinit ELEMENT_STATIC_IMAGE fuel_dial = {
    .header = {
        .element_type = ELEMENT_TYPE_STATIC_IMAGE,
        .resource_id = FUEL_DIAL_BITMAP,
        .position = {.x = 0, .y = 0},
        .offset = {.x = 0, .y = 0},
        .gauge = &gauge_header,
        .next_elements = fuel_dial_next,
        .failure = fuel_dial_failures,
        .image_flags = element_image_flags,
    },
};

constinit ELEMENT_HEADER* fuel_elements[] = {&fuel_dial.header};

constinit MOUSE_TOOLTIP_ARG fuel_tooltip_args[] = {{.token = 0, .format = nullptr}};

// Only a tooltip over the whole dial: no area answers a click.
constinit MOUSERECT fuel_mouse_list[] = {
    {.rect_type = MOUSE_RECT_PARENT, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
    {.rect_type = MOUSE_RECT_USER, .relative_box = whole_gauge, .cursor = CURSOR_NONE,
     .tooltip_text = build.tooltip, .tooltip_args = fuel_tooltip_args},
    {.rect_type = MOUSE_RECT_END_PARENT, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
    {.rect_type = MOUSE_RECT_EOL, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
};

}  // namespace

constinit GAUGEHDR gauge_header =
    gauge_header_for(build.gauge_name, fuel_elements, fuel_mouse_list);
