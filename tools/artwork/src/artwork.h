// The drawings, one function per bitmap (or family of bitmaps drawn by the
// same code), each returning full-colour pictures for the quantiser.
#pragma once

#include "picture.h"

#include <string>

// Fuel quantity dial.
inline constexpr double dial_cx = 151.5, dial_cy = 151.5;  // centre of pixel (151, 151)
inline constexpr Rgb dial_face{7, 7, 7};
inline constexpr Rgb needle_hub{115, 115, 107};
enum class Tank { left, right };
Picture draw_fuel_dial(Tank tank);
Picture draw_fuel_needle();
// Degrees clockwise from straight up of scale mark `i` (0..36).
double dial_mark_angle(int i);

// Autopilot panel.
inline constexpr Rgb divider_grey{198, 198, 198};
inline constexpr Rgb window_field{1, 1, 1};
inline constexpr Rgb index_white{255, 255, 255};
inline constexpr Rgb lamp_green{0, 255, 0};
inline constexpr Rgb card_darkest{8, 8, 8};

struct PanelState {
    bool centre_lit = false, apr_lit = false, toggles_lit = false;
};
Picture draw_panel(const PanelState& state);
Picture draw_centre_lamp(bool lit);  // transparent outside the ring
Picture draw_compass_card();
Picture draw_card_window();

// Where the host places the lamp pictures over the panel.
inline constexpr int centre_lamp_x = 60, centre_lamp_y = 104, centre_lamp_w = 29, centre_lamp_h = 30;
inline constexpr int apr_lamp_x = 60, apr_lamp_y = 142, apr_lamp_w = 31, apr_lamp_h = 30;
inline constexpr int toggle_left_x = 22, toggle_right_x = 107, toggle_y = 97, toggle_size = 21;
inline constexpr int card_width = 387, card_height = 16, card_period = 306;
inline constexpr int window_width = 85, window_height = 16;

// Continuous x on the card (pixel c spans [c, c+1)) where heading h is
// printed; repeats every card_period pixels.
double card_x(double heading);
