// What tells one build of the fuel quantity gauge from the other. Each
// build's values live in its own build.h (left/ and right/), found on the
// build's include path.
#pragma once

#include "gauges.h"

struct cisterna_build {
    const char* gauge_name;  // also the module's file name without ".gau"
    ID32 needle_token;
    const char* tooltip;
};
