// The autopilot panel's parts as its gauge header names them.
#pragma once

#include "gauges.h"

// The root of the element chain: the panel's background.
extern ELEMENT_STATIC_IMAGE autopilot_background;

extern MOUSERECT autopilot_mouse_list[];
