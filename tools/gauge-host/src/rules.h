// The host's drawing and mouse rules as plain functions of plain values, so
// that each rule can be checked on its own, away from any module.
#pragma once

#include <cstddef>
#include <span>

#include "gauges.h"

namespace gauge_host {

// Direction of point seen from centre, clockwise from straight up, in
// [0, 360). A point on the centre itself has no direction; it counts as 0.
double direction_degrees(PIXPOINT centre, PIXPOINT point);

// The angle a needle shows for value, from calibration entries whose
// degrees are already worked out. Values beyond either end rest on that
// end; between neighbours the angle turns clockwise from the lower entry.
// A NaN rests on the first entry, like an instrument without power.
double needle_angle(std::span<const NONLINEARITY> table, double value);

// How far into the strip the window looks along one axis: f * (strip -
// window) with f = (v - first) / (second - first) held within [0, 1]. An
// axis whose two range values are equal does not travel.
double strip_offset(double value, const FLOAT64 (&range)[2], int strip_extent, int window_extent);

// The image index picked under ICON_SWITCH_TYPE_SELECT: the value truncated
// toward zero, held within 0 .. icon_count - 1.
UINT32 icon_index(double value, UINT32 icon_count);

// Whether box holds point; the all-zero box stands for the whole gauge.
bool box_holds(const PIXBOX& box, PIXPOINT point, PIXPOINT gauge_size);

// The index of the first MOUSE_RECT_CHILD, in list order, whose box holds
// point and whose flags hold button; -1 where none does. The list is the
// records before MOUSE_RECT_EOL.
int hit_test(std::span<const MOUSERECT> list, PIXPOINT point, FLAGS32 button, PIXPOINT gauge_size);

// A printf format for one tooltip argument is trusted only when it holds a
// single numeric conversion: anything else could read past the argument.
enum class tooltip_format { invalid, floating, integer };
tooltip_format classify_tooltip_format(const char* format);

}  // namespace gauge_host
