// What the GaugeSound test doubles record, in a named shared-memory block
// that the test host creates, so that the record outlives every unload.
#pragma once

#include <windows.h>

inline constexpr char sound_log_name[] = "GaugeSoundDoubleLog";

// One letter per event, in order: 'A' attach and 'D' detach of the double
// that exports TerminateSounds, 'a' and 'd' of the one without it, 'T' a
// call of TerminateSounds.
struct sound_log {
    volatile LONG length;
    char events[4000];
};
