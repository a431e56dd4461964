// The module frame: the two data exports through which the host finds the
// gauge and hands over its function table, and the routines it calls on
// the module as a whole.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "frame.h"

namespace {

constexpr UINT32 module_id = 0x13;

void FSAPI module_init() {}
void FSAPI module_deinit() {}

}  // namespace

extern "C" {

constinit GAUGESLINKAGE Linkage = {
    .module_id = module_id,
    .module_init = module_init,
    .module_deinit = module_deinit,
    .module_flags = 0,
    .module_priority = 0,
    .module_version = LINK_VERSION,
    .gauge_header_ptr = {&gauge_header, nullptr},
};

// The host writes its PANELS address into the first entry when it binds
// the module.
constinit GAUGESIMPORT ImportTable = {
    .panels = {.id = IMPORT_ID_PANELS, .ptr = nullptr},
    .end = {.id = 0, .ptr = nullptr},
};

// The module never refuses to load and keeps nothing from the loader.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

}  // extern "C"
