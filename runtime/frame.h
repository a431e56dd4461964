// What every gauge module carries around its one gauge: the exported
// linkage and import records, and the gauge-header values all gauges share.
#pragma once

#include "gauges.h"

// Every element is declared drawn with transparency, erase and bilinear
// colour; value callbacks add IMAGE_USE_BRIGHT at run time.
inline constexpr FLAGS32 element_image_flags =
    IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_BILINEAR_COLOR;

// A mouse box of all zeroes stands for the whole gauge.
inline constexpr PIXBOX whole_gauge = {.x = 0, .y = 0, .w = 0, .h = 0};

extern "C" {
// Data exports, named by the module definition file.
extern GAUGESLINKAGE Linkage;
extern GAUGESIMPORT ImportTable;
}

// Each module defines its one gauge header; Linkage names it.
extern GAUGEHDR gauge_header;

// The lifecycle callback every gauge header names, with its module's own
// binding to the sound library.
void FSAPI gauge_service_callback(GAUGEHDR* gauge, SINT32 service_id, UINT32 extra_data);

// The values every gauge header shares; a gauge supplies its name, its
// root element and its mouse list.
constexpr GAUGEHDR gauge_header_for(const char* name, ELEMENT_HEADER** elements,
                                    MOUSERECT* mouse_list) {
    return {
        .gauge_header_version = GAUGE_HEADER_VERSION,
        .gauge_name = name,
        .elements_list = elements,
        .reserved1 = 0,
        .size_x_mm = 100,
        .size_y_mm = 0,
        .mouse_rect = mouse_list,
        .gauge_callback = gauge_service_callback,
        .user_data = 0,
    };
}

// The host's function table, read from ImportTable at the moment of each
// call: the host may bind it again at any time, so no copy is kept.
inline PANELS* host_panels() {
    return static_cast<PANELS*>(ImportTable.panels.ptr);
}
