// The right tank's build of the fuel quantity gauge. The right tank has
// the lower token.
#pragma once

#define CISTERNA_DIAL_FILE "dial_right.bmp"

#ifndef RC_INVOKED
#include "cisterna.h"

inline constexpr cisterna_build build = {
    .gauge_name = "Cisterna_R",
    .needle_token = 303,
    .tooltip = "Right Fuel tank",
};
#endif
