// The left tank's build of the fuel quantity gauge.
#pragma once

#define CISTERNA_DIAL_FILE "dial_left.bmp"

#ifndef RC_INVOKED
#include "cisterna.h"

inline constexpr cisterna_build build = {
    .gauge_name = "Cisterna_L",
    .needle_token = 304,
    .tooltip = "Left Fuel tank",
};
#endif
