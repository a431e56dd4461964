// A stand-in for the outside sound library, built twice: with and without
// its TerminateSounds export. It records its process attach and detach and
// every TerminateSounds call in the test host's shared log.
#include <windows.h>

#include "sound_log.h"

namespace {

#if GAUGE_SOUND_HAS_TERMINATE
constexpr char attach_letter = 'A', detach_letter = 'D';
#else
constexpr char attach_letter = 'a', detach_letter = 'd';
#endif

HANDLE mapping = nullptr;
sound_log* log_block = nullptr;

void record(char letter) {
    if (!log_block) return;
    const LONG at = log_block->length;
    if (at < LONG(sizeof log_block->events)) {
        log_block->events[at] = letter;
        log_block->length = at + 1;
    }
}

}  // namespace

extern "C" {

#if GAUGE_SOUND_HAS_TERMINATE
__declspec(dllexport) void TerminateSounds() { record('T'); }
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, sound_log_name);
        if (mapping) log_block = static_cast<sound_log*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        record(attach_letter);
    } else if (reason == DLL_PROCESS_DETACH) {
        record(detach_letter);
        if (log_block) UnmapViewOfFile(log_block);
        if (mapping) CloseHandle(mapping);
        log_block = nullptr;
        mapping = nullptr;
    }
    return TRUE;
}

}  // extern "C"
