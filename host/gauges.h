// The 2D panel host's binary interface, as the host publishes it: the records
// a gauge module hands the host, the host's function table and the codes
// both sides agree on. Modules and hosts are built separately against this
// header, so every layout is pinned below with static_assert.
//
// Target: 32-bit x86 Windows. Records follow the Microsoft x86 C layout
// (a FLOAT64 sits on an 8-byte boundary); every routine crossing the
// boundary is __stdcall.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

extern "C" {

// ---- Scalar types ---------------------------------------------------------

using UINT32 = std::uint32_t;
using SINT32 = std::int32_t;
using FLAGS32 = std::uint32_t;
using ID32 = std::uint32_t;  // a token or an event id; 0 means none
using FLOAT64 = double;
using RGB32 = std::uint32_t;  // 0x00BBGGRR
using BOOL32 = std::int32_t;
using ERR = std::uint32_t;  // 0 means done

constexpr RGB32 rgb32(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return RGB32(r) | (RGB32(g) << 8) | (RGB32(b) << 16);
}

// ---- Small records --------------------------------------------------------

struct PIXPOINT {
    SINT32 x;
    SINT32 y;
};

// Covers x <= px < x + w, y <= py < y + h. In a mouse record 0, 0, 0, 0
// means the whole gauge.
struct PIXBOX {
    SINT32 x;
    SINT32 y;
    SINT32 w;
    SINT32 h;
};

// Scratch space owned by the host: a module declares it zero and leaves it.
struct HOST_STATE {
    UINT32 slot[4];
};

struct MODULE_VAR {
    ID32 id;         // module: the token followed; 0 not bound
    UINT32 binding;  // host
    FLOAT64 value;   // host: written before each update
};

struct FAILURE_RECORD {
    FLAGS32 key;
    FLAGS32 action;
};

struct NONLINEARITY {
    PIXPOINT point;   // module
    FLOAT64 value;    // module
    FLOAT64 degrees;  // host works it out; declared 0.0
};

// ---- Elements -------------------------------------------------------------

struct GAUGEHDR;

struct ELEMENT_HEADER {
    UINT32 element_type;
    SINT32 resource_id;  // -1 where the element draws no bitmap
    PIXPOINT position;
    PIXPOINT offset;
    PIXPOINT previous_position;  // host
    GAUGEHDR* gauge;
    ELEMENT_HEADER* previous_element;  // host
    ELEMENT_HEADER** next_elements;    // null-terminated, or null
    FAILURE_RECORD* failure;
    FLAGS32 image_flags;
    FLAGS32 asi_flags;
    UINT32 reserved;
};

struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
    HOST_STATE host;
};

struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    FLOAT64(FSAPI* update_cb)(ELEMENT_NEEDLE*);
    NONLINEARITY* nonlinearity;
    UINT32 nonlinearity_count;
    HOST_STATE host;
};

struct ELEMENT_STRING {
    ELEMENT_HEADER header;
    MODULE_VAR source_var[3];
    SINT32 box_width;
    SINT32 box_height;
    char* text;            // host
    UINT32 text_capacity;  // host: bytes in text, ending zero included
    RGB32 fore_color;
    RGB32 back_color;
    RGB32 highlight_color;
    const char* font_name;
    SINT32 font_weight;
    UINT32 font_charset;
    SINT32 font_size;  // 0: the host fits it to box_height
    FLAGS32 draw_text_flags;
    FLOAT64(FSAPI* update_cb)(ELEMENT_STRING*);
    HOST_STATE host;
};

struct ELEMENT_ICON {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    FLOAT64(FSAPI* update_cb)(ELEMENT_ICON*);
    UINT32 switch_type;
    UINT32 icon_count;
    FLOAT64 scale;
    FLOAT64 offset;
    HOST_STATE host;
};

struct ELEMENT_MOVING_IMAGE {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    FLOAT64 x_range[2];
    FLOAT64(FSAPI* update_x_cb)(ELEMENT_MOVING_IMAGE*);
    MODULE_VAR source_var_y;
    FLOAT64 y_range[2];
    FLOAT64(FSAPI* update_y_cb)(ELEMENT_MOVING_IMAGE*);
    HOST_STATE host;
};

// ---- Mouse ----------------------------------------------------------------

struct MOUSE_TOOLTIP_ARG {
    ID32 token;
    const char* format;
};

struct MOUSERECT {
    UINT32 rect_type;
    PIXBOX relative_box;
    UINT32 cursor;
    ID32 help_id;
    FLAGS32 mouse_flags;
    ID32 event_id;
    BOOL32(FSAPI* mouse_function)(PIXPOINT* point, FLAGS32 mouse_flags);
    const char* tooltip_text;
    const MOUSE_TOOLTIP_ARG* tooltip_args;
};

// ---- Gauge and module records ---------------------------------------------

using GAUGE_ROUTINE = void(FSAPI*)(GAUGEHDR*);
using GAUGE_CALLBACK = void(FSAPI*)(GAUGEHDR* gauge, SINT32 service_id, UINT32 extra_data);

struct GAUGEHDR {
    UINT32 gauge_header_version;
    // Published as char*; the host never writes through it, and const lets
    // a module point it at a literal. The layout is the same.
    const char* gauge_name;
    ELEMENT_HEADER** elements_list;
    GAUGE_ROUTINE query_routine;
    GAUGE_ROUTINE install_routine;
    GAUGE_ROUTINE initialize_routine;
    GAUGE_ROUTINE update_routine;
    GAUGE_ROUTINE generate_routine;
    GAUGE_ROUTINE draw_routine;
    GAUGE_ROUTINE kill_routine;
    UINT32 reserved1;
    UINT32 size_x_mm;
    UINT32 size_y_mm;
    GAUGEHDR* parent;  // host
    GAUGEHDR* next;    // host
    MOUSERECT* mouse_rect;
    GAUGE_CALLBACK gauge_callback;
    UINT32 user_data;
    char* parameters;  // host
    char* usage;       // host
    HOST_STATE host;
};

// The host's function table. A host may append operations; modules read
// only these.
struct PANELS {
    UINT32 version;
    ERR(FSAPI* trigger_key_event)(ID32 event_id, UINT32 value);
};

struct IMPORT_ENTRY {
    ID32 id;
    void* ptr;
};

struct GAUGESIMPORT {
    IMPORT_ENTRY panels;
    IMPORT_ENTRY end;
};

constexpr UINT32 GAUGES_PER_MODULE = 1;

struct GAUGESLINKAGE {
    UINT32 module_id;
    void(FSAPI* module_init)(void);
    void(FSAPI* module_deinit)(void);
    FLAGS32 module_flags;
    UINT32 module_priority;
    UINT32 module_version;
    GAUGEHDR* gauge_header_ptr[GAUGES_PER_MODULE + 1];
};

}  // extern "C"

// ---- Constants ------------------------------------------------------------

constexpr UINT32 LINK_VERSION = 0x0800;
constexpr UINT32 GAUGE_HEADER_VERSION = 800;
constexpr ID32 IMPORT_ID_PANELS = 0x0F;

constexpr UINT32 ELEMENT_TYPE_STATIC_IMAGE = 0;
constexpr UINT32 ELEMENT_TYPE_NEEDLE = 1;
constexpr UINT32 ELEMENT_TYPE_STRING = 2;
constexpr UINT32 ELEMENT_TYPE_ICON = 3;
constexpr UINT32 ELEMENT_TYPE_MOVING_IMAGE = 4;

constexpr FLAGS32 IMAGE_USE_TRANSPARENCY = 0x01;
constexpr FLAGS32 IMAGE_USE_ERASE = 0x02;
constexpr FLAGS32 IMAGE_USE_BRIGHT = 0x04;
constexpr FLAGS32 IMAGE_BILINEAR_COLOR = 0x80;

constexpr FLAGS32 FAILURE_NONE = 0;

constexpr UINT32 ICON_SWITCH_TYPE_SELECT = 3;

constexpr UINT32 MOUSE_RECT_EOL = 0;
constexpr UINT32 MOUSE_RECT_PARENT = 1;
constexpr UINT32 MOUSE_RECT_CHILD = 2;
constexpr UINT32 MOUSE_RECT_END_PARENT = 3;
constexpr UINT32 MOUSE_RECT_USER = 4;

constexpr UINT32 CURSOR_NONE = 0;
constexpr UINT32 CURSOR_NORMAL = 1;
constexpr UINT32 CURSOR_UPARROW = 2;
constexpr UINT32 CURSOR_DOWNARROW = 3;
constexpr UINT32 CURSOR_LEFTARROW = 4;
constexpr UINT32 CURSOR_RIGHTARROW = 5;
constexpr UINT32 CURSOR_HAND = 6;
constexpr UINT32 CURSOR_CROSSHAIR = 7;
constexpr UINT32 CURSOR_GRAB = 8;

constexpr FLAGS32 MOUSE_NONE = 0;
constexpr FLAGS32 MOUSE_RIGHTSINGLE = 0x80000000;
constexpr FLAGS32 MOUSE_MIDDLESINGLE = 0x40000000;
constexpr FLAGS32 MOUSE_LEFTSINGLE = 0x20000000;
constexpr FLAGS32 MOUSE_MOVE = 0x00400000;
constexpr FLAGS32 MOUSE_DOWN_REPEAT = 0x00200000;
constexpr FLAGS32 MOUSE_RIGHTRELEASE = 0x00080000;
constexpr FLAGS32 MOUSE_MIDDLERELEASE = 0x00040000;
constexpr FLAGS32 MOUSE_LEFTRELEASE = 0x00020000;

constexpr SINT32 PANEL_SERVICE_PRE_QUERY = 0;
constexpr SINT32 PANEL_SERVICE_POST_QUERY = 1;
constexpr SINT32 PANEL_SERVICE_PRE_INSTALL = 2;
constexpr SINT32 PANEL_SERVICE_POST_INSTALL = 3;
constexpr SINT32 PANEL_SERVICE_PRE_INITIALIZE = 4;
constexpr SINT32 PANEL_SERVICE_POST_INITIALIZE = 5;
constexpr SINT32 PANEL_SERVICE_PRE_UPDATE = 6;
constexpr SINT32 PANEL_SERVICE_POST_UPDATE = 7;
constexpr SINT32 PANEL_SERVICE_PRE_GENERATE = 8;
constexpr SINT32 PANEL_SERVICE_POST_GENERATE = 9;
constexpr SINT32 PANEL_SERVICE_PRE_DRAW = 10;
constexpr SINT32 PANEL_SERVICE_POST_DRAW = 11;
constexpr SINT32 PANEL_SERVICE_PRE_KILL = 12;
constexpr SINT32 PANEL_SERVICE_POST_KILL = 13;

// ---- Layout as the host expects it (only meaningful on the 32-bit target) --

#if defined(_WIN32) && !defined(_WIN64)
#define GAUGES_LAYOUT(rec, size) static_assert(sizeof(rec) == (size), #rec " size")
#define GAUGES_AT(rec, field, off) \
    static_assert(offsetof(rec, field) == (off), #rec "." #field " offset")

GAUGES_LAYOUT(MODULE_VAR, 16);
GAUGES_AT(MODULE_VAR, value, 8);
GAUGES_LAYOUT(NONLINEARITY, 24);
GAUGES_AT(NONLINEARITY, value, 8);
GAUGES_AT(NONLINEARITY, degrees, 16);
GAUGES_LAYOUT(ELEMENT_HEADER, 60);
GAUGES_AT(ELEMENT_HEADER, gauge, 32);
GAUGES_AT(ELEMENT_HEADER, image_flags, 48);
GAUGES_LAYOUT(ELEMENT_STATIC_IMAGE, 76);
GAUGES_LAYOUT(ELEMENT_NEEDLE, 112);
GAUGES_AT(ELEMENT_NEEDLE, source_var, 64);
GAUGES_AT(ELEMENT_NEEDLE, update_cb, 80);
GAUGES_AT(ELEMENT_NEEDLE, nonlinearity, 84);
GAUGES_AT(ELEMENT_NEEDLE, nonlinearity_count, 88);
GAUGES_AT(ELEMENT_NEEDLE, host, 92);
GAUGES_LAYOUT(ELEMENT_STRING, 184);
GAUGES_AT(ELEMENT_STRING, source_var, 64);
GAUGES_AT(ELEMENT_STRING, box_width, 112);
GAUGES_AT(ELEMENT_STRING, text, 120);
GAUGES_AT(ELEMENT_STRING, text_capacity, 124);
GAUGES_AT(ELEMENT_STRING, fore_color, 128);
GAUGES_AT(ELEMENT_STRING, font_name, 140);
GAUGES_AT(ELEMENT_STRING, draw_text_flags, 156);
GAUGES_AT(ELEMENT_STRING, update_cb, 160);
GAUGES_AT(ELEMENT_STRING, host, 164);
GAUGES_LAYOUT(ELEMENT_ICON, 128);
GAUGES_AT(ELEMENT_ICON, source_var, 64);
GAUGES_AT(ELEMENT_ICON, update_cb, 80);
GAUGES_AT(ELEMENT_ICON, switch_type, 84);
GAUGES_AT(ELEMENT_ICON, icon_count, 88);
GAUGES_AT(ELEMENT_ICON, scale, 96);
GAUGES_AT(ELEMENT_ICON, offset, 104);
GAUGES_AT(ELEMENT_ICON, host, 112);
GAUGES_LAYOUT(ELEMENT_MOVING_IMAGE, 160);
GAUGES_AT(ELEMENT_MOVING_IMAGE, source_var_x, 64);
GAUGES_AT(ELEMENT_MOVING_IMAGE, x_range, 80);
GAUGES_AT(ELEMENT_MOVING_IMAGE, update_x_cb, 96);
GAUGES_AT(ELEMENT_MOVING_IMAGE, source_var_y, 104);
GAUGES_AT(ELEMENT_MOVING_IMAGE, y_range, 120);
GAUGES_AT(ELEMENT_MOVING_IMAGE, update_y_cb, 136);
GAUGES_AT(ELEMENT_MOVING_IMAGE, host, 140);
GAUGES_LAYOUT(MOUSERECT, 48);
GAUGES_AT(MOUSERECT, cursor, 20);
GAUGES_AT(MOUSERECT, mouse_function, 36);
GAUGES_AT(MOUSERECT, tooltip_args, 44);
GAUGES_LAYOUT(MOUSE_TOOLTIP_ARG, 8);
GAUGES_LAYOUT(GAUGEHDR, 96);
GAUGES_AT(GAUGEHDR, reserved1, 40);
GAUGES_AT(GAUGEHDR, size_x_mm, 44);
GAUGES_AT(GAUGEHDR, mouse_rect, 60);
GAUGES_AT(GAUGEHDR, gauge_callback, 64);
GAUGES_AT(GAUGEHDR, user_data, 68);
GAUGES_AT(GAUGEHDR, host, 80);
GAUGES_LAYOUT(PANELS, 8);
GAUGES_LAYOUT(IMPORT_ENTRY, 8);
GAUGES_LAYOUT(GAUGESIMPORT, 16);
GAUGES_LAYOUT(GAUGESLINKAGE, 32);
GAUGES_AT(GAUGESLINKAGE, module_version, 20);
GAUGES_AT(GAUGESLINKAGE, gauge_header_ptr, 24);

#undef GAUGES_LAYOUT
#undef GAUGES_AT
#endif
