// What the autopilot panel shows: a chain of nine elements drawn in order
// over the background, each following one token through a value callback
// of its own. The host does all mapping from value to picture.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

#include "aquilo.h"
#include "frame.h"
#include "resources.h"

namespace {

// ---- Tokens -----------------------------------------------------------------

constexpr ID32 heading_token = 81;
constexpr ID32 centre_lamp_token = 103;
constexpr ID32 left_toggle_lamp_token = 106;
constexpr ID32 heading_select_token = 107;
constexpr ID32 right_toggle_lamp_token = 108;
constexpr ID32 altitude_select_token = 109;
constexpr ID32 apr_lamp_token = 112;
constexpr ID32 not_bound = 0;

// ---- Shared values ----------------------------------------------------------

// The strips run from their left end at the first value to their right end
// at the second, so headings fall from left to right on the card.
constexpr FLOAT64 heading_strip_left_end = 359.0;
constexpr FLOAT64 heading_select_strip_left_end = 359.9;
constexpr FLOAT64 strip_right_end = 0.0;

constexpr UINT32 lamp_images = 2;  // dark, then lit

constexpr RGB32 readout_cream = rgb32(231, 206, 133);
constexpr RGB32 black = rgb32(0, 0, 0);  // transparent behind the glyphs
constexpr SINT32 readout_box_height = 18;
constexpr SINT32 fit_to_box = 0;
// No alignment bits: each text stands at its box's top-left corner.
constexpr FLAGS32 readout_text_flags = DT_PATH_ELLIPSIS | DT_EXTERNALLEADING | DT_EXPANDTABS;

// ---- Value callbacks ----------------------------------------------------------

FLOAT64 shown_bright(ELEMENT_HEADER& header, const MODULE_VAR& var) {
    header.image_flags |= IMAGE_USE_BRIGHT;
    return var.value;
}

// The value goes through single precision first, as the panel always did:
// 359.9 reads "360". The volatile store makes the x87 unit really round.
// The text is bounded by the host's buffer and always zero-ended, cut short
// where it would not fit; the C99 formatter prints "nan" and "inf" rather
// than a number for values that are none.
FLOAT64 format_readout(ELEMENT_STRING& readout, const char* format) {
    volatile float narrowed = static_cast<float>(readout.source_var[0].value);
    const double value = narrowed;
    readout.header.image_flags |= IMAGE_USE_BRIGHT;
    if (readout.text && readout.text_capacity > 0)
        std::snprintf(readout.text, readout.text_capacity, format, value);
    return 0.0;
}

FLOAT64 FSAPI heading_strip_x_callback(ELEMENT_MOVING_IMAGE* strip) {
    return shown_bright(strip->header, strip->source_var_x);
}

FLOAT64 FSAPI heading_strip_y_callback(ELEMENT_MOVING_IMAGE* strip) {
    return shown_bright(strip->header, strip->source_var_y);
}

FLOAT64 FSAPI heading_select_strip_x_callback(ELEMENT_MOVING_IMAGE* strip) {
    return shown_bright(strip->header, strip->source_var_x);
}

FLOAT64 FSAPI heading_select_strip_y_callback(ELEMENT_MOVING_IMAGE* strip) {
    return shown_bright(strip->header, strip->source_var_y);
}

FLOAT64 FSAPI centre_lamp_callback(ELEMENT_ICON* lamp) {
    return shown_bright(lamp->header, lamp->source_var);
}

FLOAT64 FSAPI heading_select_readout_callback(ELEMENT_STRING* readout) {
    return format_readout(*readout, "%03.0f");
}

FLOAT64 FSAPI altitude_select_readout_callback(ELEMENT_STRING* readout) {
    return format_readout(*readout, "%05.0f");
}

FLOAT64 FSAPI apr_lamp_callback(ELEMENT_ICON* lamp) {
    return shown_bright(lamp->header, lamp->source_var);
}

FLOAT64 FSAPI left_toggle_lamp_callback(ELEMENT_ICON* lamp) {
    return shown_bright(lamp->header, lamp->source_var);
}

FLOAT64 FSAPI right_toggle_lamp_callback(ELEMENT_ICON* lamp) {
    return shown_bright(lamp->header, lamp->source_var);
}

// ---- The element chain, in drawing order ------------------------------------

extern ELEMENT_MOVING_IMAGE heading_strip;
extern ELEMENT_MOVING_IMAGE heading_select_strip;
extern ELEMENT_ICON centre_lamp;
extern ELEMENT_STRING heading_select_readout;
extern ELEMENT_STRING altitude_select_readout;
extern ELEMENT_ICON apr_lamp;
extern ELEMENT_ICON left_toggle_lamp;
extern ELEMENT_ICON right_toggle_lamp;

// One failure list per element, none reacting to any failure.
constinit FAILURE_RECORD autopilot_background_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD heading_strip_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD heading_select_strip_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD centre_lamp_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD heading_select_readout_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD altitude_select_readout_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD apr_lamp_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD left_toggle_lamp_failures[] = {{.key = FAILURE_NONE}};
constinit FAILURE_RECORD right_toggle_lamp_failures[] = {{.key = FAILURE_NONE}};

// Each element's only next element is the one after it in the chain.
constinit ELEMENT_HEADER* autopilot_background_next[] = {&heading_strip.header, nullptr};
constinit ELEMENT_HEADER* heading_strip_next[] = {&heading_select_strip.header, nullptr};
constinit ELEMENT_HEADER* heading_select_strip_next[] = {&centre_lamp.header, nullptr};
constinit ELEMENT_HEADER* centre_lamp_next[] = {&heading_select_readout.header, nullptr};
constinit ELEMENT_HEADER* heading_select_readout_next[] = {&altitude_select_readout.header, nullptr};
constinit ELEMENT_HEADER* altitude_select_readout_next[] = {&apr_lamp.header, nullptr};
constinit ELEMENT_HEADER* apr_lamp_next[] = {&left_toggle_lamp.header, nullptr};
constinit ELEMENT_HEADER* left_toggle_lamp_next[] = {&right_toggle_lamp.header, nullptr};

}  // namespace

constinit ELEMENT_STATIC_IMAGE autopilot_background = {
    .header = {
        .element_type = ELEMENT_TYPE_STATIC_IMAGE,
        .resource_id = AUTOPILOT_BACKGROUND_BITMAP,
        .position = {.x = 0, .y = 0},
        .gauge = &gauge_header,
        .next_elements = autopilot_background_next,
        .failure = autopilot_background_failures,
        .image_flags = element_image_flags,
    },
};

namespace {

constinit ELEMENT_MOVING_IMAGE heading_strip = {
    .header = {
        .element_type = ELEMENT_TYPE_MOVING_IMAGE,
        .resource_id = HEADING_STRIP_BITMAP,
        .position = {.x = 29, .y = 52},
        .gauge = &gauge_header,
        .next_elements = heading_strip_next,
        .failure = heading_strip_failures,
        .image_flags = element_image_flags,
    },
    .source_var_x = {.id = heading_token},
    .x_range = {heading_strip_left_end, strip_right_end},
    .update_x_cb = heading_strip_x_callback,
    .source_var_y = {.id = not_bound},
    .y_range = {0.0, 0.0},
    .update_y_cb = heading_strip_y_callback,
};

constinit ELEMENT_MOVING_IMAGE heading_select_strip = {
    .header = {
        .element_type = ELEMENT_TYPE_MOVING_IMAGE,
        .resource_id = HEADING_SELECT_STRIP_BITMAP,
        .position = {.x = 29, .y = 33},
        .gauge = &gauge_header,
        .next_elements = heading_select_strip_next,
        .failure = heading_select_strip_failures,
        .image_flags = element_image_flags,
    },
    .source_var_x = {.id = heading_select_token},
    .x_range = {heading_select_strip_left_end, strip_right_end},
    .update_x_cb = heading_select_strip_x_callback,
    .source_var_y = {.id = not_bound},
    .y_range = {0.0, 0.0},
    .update_y_cb = heading_select_strip_y_callback,
};

constinit ELEMENT_ICON centre_lamp = {
    .header = {
        .element_type = ELEMENT_TYPE_ICON,
        .resource_id = CENTRE_LAMP_BITMAP,
        .position = {.x = 60, .y = 104},
        .gauge = &gauge_header,
        .next_elements = centre_lamp_next,
        .failure = centre_lamp_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {.id = centre_lamp_token},
    .update_cb = centre_lamp_callback,
    .switch_type = ICON_SWITCH_TYPE_SELECT,
    .icon_count = lamp_images,
    .scale = 0.0,
    .offset = 0.0,
};

constinit ELEMENT_STRING heading_select_readout = {
    .header = {
        .element_type = ELEMENT_TYPE_STRING,
        .resource_id = -1,
        .position = {.x = 24, .y = 122},
        .gauge = &gauge_header,
        .next_elements = heading_select_readout_next,
        .failure = heading_select_readout_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {{.id = heading_select_token}, {.id = not_bound}, {.id = not_bound}},
    .box_width = 124,
    .box_height = readout_box_height,
    .fore_color = readout_cream,
    .back_color = black,
    .highlight_color = black,
    .font_name = "Times New Roman",
    .font_weight = FW_THIN,
    .font_charset = DEFAULT_CHARSET,
    .font_size = fit_to_box,
    .draw_text_flags = readout_text_flags,
    .update_cb = heading_select_readout_callback,
};

constinit ELEMENT_STRING altitude_select_readout = {
    .header = {
        .element_type = ELEMENT_TYPE_STRING,
        .resource_id = -1,
        .position = {.x = 105, .y = 122},
        .gauge = &gauge_header,
        .next_elements = altitude_select_readout_next,
        .failure = altitude_select_readout_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {{.id = altitude_select_token}, {.id = not_bound}, {.id = not_bound}},
    .box_width = 43,
    .box_height = readout_box_height,
    .fore_color = readout_cream,
    .back_color = black,
    .highlight_color = black,
    .font_name = "Times New Roman",
    .font_weight = FW_THIN,
    .font_charset = DEFAULT_CHARSET,
    .font_size = fit_to_box,
    .draw_text_flags = readout_text_flags,
    .update_cb = altitude_select_readout_callback,
};

constinit ELEMENT_ICON apr_lamp = {
    .header = {
        .element_type = ELEMENT_TYPE_ICON,
        .resource_id = APR_LAMP_BITMAP,
        .position = {.x = 60, .y = 142},
        .gauge = &gauge_header,
        .next_elements = apr_lamp_next,
        .failure = apr_lamp_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {.id = apr_lamp_token},
    .update_cb = apr_lamp_callback,
    .switch_type = ICON_SWITCH_TYPE_SELECT,
    .icon_count = lamp_images,
    .scale = 0.0,
    .offset = 0.0,
};

constinit ELEMENT_ICON left_toggle_lamp = {
    .header = {
        .element_type = ELEMENT_TYPE_ICON,
        .resource_id = LEFT_TOGGLE_LAMP_BITMAP,
        .position = {.x = 22, .y = 97},
        .gauge = &gauge_header,
        .next_elements = left_toggle_lamp_next,
        .failure = left_toggle_lamp_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {.id = left_toggle_lamp_token},
    .update_cb = left_toggle_lamp_callback,
    .switch_type = ICON_SWITCH_TYPE_SELECT,
    .icon_count = lamp_images,
    .scale = 0.0,
    .offset = 0.0,
};

// The chain's end: no next-element list at all.
constinit ELEMENT_ICON right_toggle_lamp = {
    .header = {
        .element_type = ELEMENT_TYPE_ICON,
        .resource_id = RIGHT_TOGGLE_LAMP_BITMAP,
        .position = {.x = 107, .y = 97},
        .gauge = &gauge_header,
        .next_elements = nullptr,
        .failure = right_toggle_lamp_failures,
        .image_flags = element_image_flags,
    },
    .source_var = {.id = right_toggle_lamp_token},
    .update_cb = right_toggle_lamp_callback,
    .switch_type = ICON_SWITCH_TYPE_SELECT,
    .icon_count = lamp_images,
    .scale = 0.0,
    .offset = 0.0,
};

}  // namespace
