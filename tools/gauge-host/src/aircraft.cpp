#include "aircraft.h"

#include <cmath>

namespace gauge_host {

namespace {

void flip(std::map<ID32, double>& t, ID32 token) { t[token] = t[token] != 0 ? 0.0 : 1.0; }

double wrap_heading(double h) {
    h = std::fmod(h, 360.0);
    return h < 0 ? h + 360.0 : h;
}

}  // namespace

bool answer_event(ID32 event, std::map<ID32, double>& t) {
    switch (event) {
    case events::heading_select_up: t[tokens::heading_select] = wrap_heading(t[tokens::heading_select] + 1); return true;
    case events::heading_select_down: t[tokens::heading_select] = wrap_heading(t[tokens::heading_select] - 1); return true;
    case events::altitude_select_up:
        t[tokens::altitude_select] = std::min(altitude_select_max, t[tokens::altitude_select] + 100);
        return true;
    case events::altitude_select_down:
        t[tokens::altitude_select] = std::max(0.0, t[tokens::altitude_select] - 100);
        return true;
    case events::centre_button: flip(t, tokens::centre_lamp); return true;
    case events::apr: flip(t, tokens::apr); return true;
    case events::left_toggle: flip(t, tokens::left_toggle); return true;
    case events::right_toggle: flip(t, tokens::right_toggle); return true;
    default: return false;
    }
}

std::vector<std::string> aircraft_vocabulary() {
    return {
        "65879 heading select up: token 107 + 1 degree, 359 wraps to 0",
        "65880 heading select down: token 107 - 1 degree, 0 wraps to 359",
        "65892 altitude select up: token 109 + 100, at most 99900",
        "65893 altitude select down: token 109 - 100, at least 0",
        "65580 centre button: token 103 flips between 0 and 1",
        "65724 APR button: token 112 flips between 0 and 1",
        "65798 left toggle: token 106 flips between 0 and 1",
        "65799 right toggle: token 108 flips between 0 and 1",
        "token 81 (heading) is never moved by the aircraft: set it",
    };
}

}  // namespace gauge_host
