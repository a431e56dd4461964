// Bitmap ids of the autopilot panel, shared by the code and the resource
// script. A strip's window and a lamp's lit image take the next id.
#pragma once

#define AUTOPILOT_BACKGROUND_BITMAP 0x1800
#define HEADING_SELECT_STRIP_BITMAP 0x1200
#define HEADING_SELECT_WINDOW_BITMAP 0x1201
#define HEADING_STRIP_BITMAP 0x1400
#define HEADING_WINDOW_BITMAP 0x1401
#define CENTRE_LAMP_BITMAP 0x1600
#define CENTRE_LAMP_LIT_BITMAP 0x1601
#define APR_LAMP_BITMAP 0x1900
#define APR_LAMP_LIT_BITMAP 0x1901
#define LEFT_TOGGLE_LAMP_BITMAP 0x2000
#define LEFT_TOGGLE_LAMP_LIT_BITMAP 0x2001
#define RIGHT_TOGGLE_LAMP_BITMAP 0x2100
#define RIGHT_TOGGLE_LAMP_LIT_BITMAP 0x2101
