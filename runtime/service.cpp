// The lifecycle callback every gauge header names. Its only work is to keep
// the module bound to the outside sound library: load it when the gauge is
// initialised, find it again before every update, and at the kill let it
// stop its sounds and release it.
//
// Update and kill take the handle afresh from the process and resolve the
// entry point again each time, so a library that left the process since
// is simply loaded again: the binding heals itself, and a failed load is
// retried at the next update rather than remembered.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "frame.h"

namespace {

// The bare name: the loader's default extension and search order decide
// which file it is.
constexpr char sound_library_name[] = "GaugeSound";
constexpr char terminate_sounds_name[] = "TerminateSounds";

// Empty means not bound. The entry point is only ever resolved from the
// handle held at the same moment.
constinit HMODULE sound_module = nullptr;
constinit FARPROC terminate_sounds = nullptr;

void resolve_terminate_sounds() {
    terminate_sounds = sound_module ? GetProcAddress(sound_module, terminate_sounds_name) : nullptr;
}

// Takes no reference while the library is in the process, whoever loaded it.
void find_or_load_sound_library() {
    sound_module = GetModuleHandleA(sound_library_name);
    if (!sound_module) sound_module = LoadLibraryA(sound_library_name);
}

void initialize_sound() {
    if (!sound_module) sound_module = LoadLibraryA(sound_library_name);
    resolve_terminate_sounds();
}

void update_sound() {
    find_or_load_sound_library();
    resolve_terminate_sounds();
}

void kill_sound() {
    find_or_load_sound_library();
    resolve_terminate_sounds();
    if (terminate_sounds) reinterpret_cast<void (*)()>(terminate_sounds)();
    if (sound_module) FreeLibrary(sound_module);
    sound_module = nullptr;
    terminate_sounds = nullptr;
}

}  // namespace

void FSAPI gauge_service_callback(GAUGEHDR*, SINT32 service_id, UINT32) {
    switch (service_id) {
    case PANEL_SERVICE_PRE_INITIALIZE: initialize_sound(); break;
    case PANEL_SERVICE_PRE_UPDATE: update_sound(); break;
    case PANEL_SERVICE_PRE_KILL: kill_sound(); break;
    default: break;
    }
}
