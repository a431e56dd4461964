// Bitmap ids of the fuel quantity gauge, shared by the code and the
// resource script.
#pragma once

#define FUEL_DIAL_BITMAP 0x100
#define FUEL_NEEDLE_BITMAP 0x1100
