// Checks of host records against a row of expected values. Each is a macro
// over a helper so that a failure names the caller's line.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "gauges.h"

struct expected_element {
    UINT32 element_type;
    SINT32 resource_id;
    PIXPOINT position;
    PIXPOINT offset;
    FLAGS32 image_flags;
};

struct expected_mouse_rect {
    UINT32 rect_type;
    PIXBOX box;
    UINT32 cursor;
    FLAGS32 mouse_flags;
    bool has_function;
    const char* tooltip;  // null: none
};

inline bool operator==(const PIXPOINT& a, const PIXPOINT& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const PIXBOX& a, const PIXBOX& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline std::ostream& operator<<(std::ostream& os, const PIXPOINT& p) {
    return os << "(" << p.x << ", " << p.y << ")";
}
inline std::ostream& operator<<(std::ostream& os, const PIXBOX& b) {
    return os << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

inline void check_host_state_zero(const HOST_STATE& s) {
    for (UINT32 slot : s.slot) EXPECT_EQ(slot, 0u);
}

inline void check_no_gauge_routines(const GAUGEHDR& g) {
    EXPECT_EQ(g.query_routine, nullptr);
    EXPECT_EQ(g.install_routine, nullptr);
    EXPECT_EQ(g.initialize_routine, nullptr);
    EXPECT_EQ(g.update_routine, nullptr);
    EXPECT_EQ(g.generate_routine, nullptr);
    EXPECT_EQ(g.draw_routine, nullptr);
    EXPECT_EQ(g.kill_routine, nullptr);
}

// The header as the module declares it, with every host-owned field zero,
// a failure list of its own holding only the terminator, and the gauge
// pointing back at its own header.
inline void check_element_header(const ELEMENT_HEADER& h, const expected_element& want,
                                 const GAUGEHDR* gauge) {
    EXPECT_EQ(h.element_type, want.element_type);
    EXPECT_EQ(h.resource_id, want.resource_id);
    EXPECT_EQ(h.position, want.position);
    EXPECT_EQ(h.offset, want.offset);
    EXPECT_EQ(h.previous_position, (PIXPOINT{0, 0}));
    EXPECT_EQ(h.gauge, gauge);
    EXPECT_EQ(h.previous_element, nullptr);
    ASSERT_NE(h.failure, nullptr);
    EXPECT_EQ(h.failure[0].key, FAILURE_NONE);
    EXPECT_EQ(h.image_flags, want.image_flags);
    EXPECT_EQ(h.asi_flags, 0u);
    EXPECT_EQ(h.reserved, 0u);
}

inline void check_mouse_rect(const MOUSERECT& r, const expected_mouse_rect& want) {
    EXPECT_EQ(r.rect_type, want.rect_type);
    EXPECT_EQ(r.relative_box, want.box);
    EXPECT_EQ(r.cursor, want.cursor);
    EXPECT_EQ(r.help_id, 0u);
    EXPECT_EQ(r.mouse_flags, want.mouse_flags);
    EXPECT_EQ(r.event_id, 0u) << "no area uses the host's own event field";
    EXPECT_EQ(r.mouse_function != nullptr, want.has_function);
    if (want.tooltip) {
        ASSERT_NE(r.tooltip_text, nullptr);
        EXPECT_STREQ(r.tooltip_text, want.tooltip);
        ASSERT_NE(r.tooltip_args, nullptr) << "a tooltip has an argument list";
        EXPECT_EQ(r.tooltip_args[0].token, 0u) << "the argument list holds only its end";
        EXPECT_EQ(r.tooltip_args[0].format, nullptr);
    } else {
        EXPECT_EQ(r.tooltip_text, nullptr);
        EXPECT_EQ(r.tooltip_args, nullptr);
    }
}

#define EXPECT_HOST_STATE_ZERO(state)           \
    do {                                        \
        SCOPED_TRACE(#state " is host-owned");  \
        check_host_state_zero(state);           \
    } while (0)

#define EXPECT_NO_GAUGE_ROUTINES(gauge)     \
    do {                                    \
        SCOPED_TRACE("routine slots");      \
        check_no_gauge_routines(gauge);     \
    } while (0)

#define EXPECT_ELEMENT_HEADER(header, want, gauge) \
    do {                                           \
        SCOPED_TRACE(#header);                     \
        check_element_header(header, want, gauge); \
    } while (0)

#define EXPECT_MOUSE_RECT(rect, want, what) \
    do {                                    \
        SCOPED_TRACE(what);                 \
        check_mouse_rect(rect, want);       \
    } while (0)
