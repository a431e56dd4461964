// The autopilot panel's gauge header: its name, its element chain and its
// mouse list, on the values every gauge shares.
#include "aquilo.h"
#include "frame.h"

namespace {

constinit ELEMENT_HEADER* autopilot_elements[] = {&autopilot_background.header};

}  // namespace

constinit GAUGEHDR gauge_header =
    gauge_header_for("Aquilo", autopilot_elements, autopilot_mouse_list);
