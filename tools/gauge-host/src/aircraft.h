// The little aircraft behind `run`: it answers the autopilot panel's events
// between frames, so that a scripted click shows on the next picture.
#pragma once

#include <map>
#include <span>
#include <string>
#include <vector>

#include "host.h"

namespace gauge_host {

namespace tokens {
inline constexpr ID32 heading = 81;
inline constexpr ID32 centre_lamp = 103;
inline constexpr ID32 left_toggle = 106;
inline constexpr ID32 heading_select = 107;
inline constexpr ID32 right_toggle = 108;
inline constexpr ID32 altitude_select = 109;
inline constexpr ID32 apr = 112;
}  // namespace tokens

namespace events {
inline constexpr ID32 heading_select_up = 65879;
inline constexpr ID32 heading_select_down = 65880;
inline constexpr ID32 centre_button = 65580;
inline constexpr ID32 altitude_select_up = 65892;
inline constexpr ID32 altitude_select_down = 65893;
inline constexpr ID32 apr = 65724;
inline constexpr ID32 left_toggle = 65798;
inline constexpr ID32 right_toggle = 65799;
}  // namespace events

// Altitude select stays within what a five-digit readout shows.
inline constexpr double altitude_select_max = 99900;

// What the aircraft does with one event; false for one it does not know.
bool answer_event(ID32 event, std::map<ID32, double>& tokens);

// One line per event the aircraft knows, for --help and the README.
std::vector<std::string> aircraft_vocabulary();

}  // namespace gauge_host
