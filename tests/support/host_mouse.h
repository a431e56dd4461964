// The host's side of a click, as the interface states it: the first child
// area in list order whose box holds the point and whose flags hold the
// button; and a PANELS table that records the events raised through it.
#pragma once

#include <vector>

#include "gauges.h"

inline bool box_holds(const PIXBOX& b, int x, int y) {
    return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
}

inline const MOUSERECT* area_at(const MOUSERECT* list, int x, int y, FLAGS32 button) {
    for (const MOUSERECT* r = list; r->rect_type != MOUSE_RECT_EOL; ++r)
        if (r->rect_type == MOUSE_RECT_CHILD && box_holds(r->relative_box, x, y) &&
            (r->mouse_flags & button))
            return r;
    return nullptr;
}

struct raised_event {
    ID32 id;
    UINT32 value;
    int table;  // which recording table it went through
};

// Two tables, so that a test can rebind the module between clicks and see
// which one a call went through.
struct event_recorder {
    static inline std::vector<raised_event> events;
    static ERR FSAPI first_table(ID32 id, UINT32 value) {
        events.push_back({id, value, 1});
        return 0;
    }
    static ERR FSAPI second_table(ID32 id, UINT32 value) {
        events.push_back({id, value, 2});
        return 0;
    }
    static inline PANELS first = {.version = 1, .trigger_key_event = first_table};
    static inline PANELS second = {.version = 1, .trigger_key_event = second_table};
};

// Calls the area's function the way the host does: the point relative to
// the box, the action's flags.
inline BOOL32 click(const MOUSERECT& area, int x, int y, FLAGS32 flags) {
    PIXPOINT relative = {x - area.relative_box.x, y - area.relative_box.y};
    return area.mouse_function(&relative, flags);
}
