// How the autopilot panel answers the mouse: eight areas over its buttons
// and knobs, each raising one simulator event. The panel keeps no state:
// what a click changes comes back through the tokens it shows.
#include "aquilo.h"
#include "frame.h"

namespace {

// ---- Events ---------------------------------------------------------------

constexpr ID32 heading_select_up_event = 65879;
constexpr ID32 heading_select_down_event = 65880;
constexpr ID32 centre_button_event = 65580;
constexpr ID32 altitude_select_up_event = 65892;
constexpr ID32 altitude_select_down_event = 65893;
constexpr ID32 apr_button_event = 65724;
constexpr ID32 left_toggle_event = 65798;
constexpr ID32 right_toggle_event = 65799;

constexpr FLAGS32 click = MOUSE_LEFTSINGLE;
constexpr FLAGS32 click_and_hold = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

// ---- Mouse callbacks --------------------------------------------------------

// The table is read afresh at every click: the host may bind it again at
// any time. The host binds it before any mouse callback can run.
BOOL32 raise(ID32 event) {
    host_panels()->trigger_key_event(event, 0);
    return 0;
}

BOOL32 FSAPI heading_select_up_callback(PIXPOINT*, FLAGS32) {
    return raise(heading_select_up_event);
}

BOOL32 FSAPI heading_select_down_callback(PIXPOINT*, FLAGS32) {
    return raise(heading_select_down_event);
}

BOOL32 FSAPI centre_button_callback(PIXPOINT*, FLAGS32) {
    return raise(centre_button_event);
}

BOOL32 FSAPI altitude_select_up_callback(PIXPOINT*, FLAGS32) {
    return raise(altitude_select_up_event);
}

BOOL32 FSAPI altitude_select_down_callback(PIXPOINT*, FLAGS32) {
    return raise(altitude_select_down_event);
}

BOOL32 FSAPI apr_button_callback(PIXPOINT*, FLAGS32) {
    return raise(apr_button_event);
}

BOOL32 FSAPI left_toggle_callback(PIXPOINT*, FLAGS32) {
    return raise(left_toggle_event);
}

BOOL32 FSAPI right_toggle_callback(PIXPOINT*, FLAGS32) {
    return raise(right_toggle_event);
}

constinit MOUSE_TOOLTIP_ARG autopilot_tooltip_args[] = {{.token = 0, .format = nullptr}};

}  // namespace

// The select buttons are split into a down part on the left and an up
// part on the right, with a strip of columns between them that answers
// nothing.
constinit MOUSERECT autopilot_mouse_list[] = {
    {.rect_type = MOUSE_RECT_PARENT, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
    {.rect_type = MOUSE_RECT_USER, .relative_box = whole_gauge, .cursor = CURSOR_NONE,
     .tooltip_text = "Old italian Autopilot", .tooltip_args = autopilot_tooltip_args},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 34, .y = 138, .w = 17, .h = 35},
     .cursor = CURSOR_UPARROW, .mouse_flags = click_and_hold,
     .mouse_function = heading_select_up_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 7, .y = 137, .w = 20, .h = 37},
     .cursor = CURSOR_DOWNARROW, .mouse_flags = click_and_hold,
     .mouse_function = heading_select_down_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 63, .y = 101, .w = 23, .h = 31},
     .cursor = CURSOR_HAND, .mouse_flags = click,
     .mouse_function = centre_button_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 120, .y = 139, .w = 20, .h = 32},
     .cursor = CURSOR_UPARROW, .mouse_flags = click_and_hold,
     .mouse_function = altitude_select_up_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 94, .y = 137, .w = 21, .h = 35},
     .cursor = CURSOR_DOWNARROW, .mouse_flags = click_and_hold,
     .mouse_function = altitude_select_down_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 64, .y = 143, .w = 22, .h = 28},
     .cursor = CURSOR_HAND, .mouse_flags = click,
     .mouse_function = apr_button_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 20, .y = 95, .w = 24, .h = 26},
     .cursor = CURSOR_HAND, .mouse_flags = click,
     .mouse_function = left_toggle_callback},
    {.rect_type = MOUSE_RECT_CHILD, .relative_box = {.x = 103, .y = 96, .w = 26, .h = 26},
     .cursor = CURSOR_HAND, .mouse_flags = click,
     .mouse_function = right_toggle_callback},
    {.rect_type = MOUSE_RECT_END_PARENT, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
    {.rect_type = MOUSE_RECT_EOL, .relative_box = whole_gauge, .cursor = CURSOR_NONE},
};
