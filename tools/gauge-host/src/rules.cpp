#include "rules.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace gauge_host {

double direction_degrees(PIXPOINT centre, PIXPOINT point) {
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    if (dx == 0 && dy == 0) return 0.0;
    // y grows downward, so "up" is -dy; atan2(dx, up) turns clockwise.
    double deg = std::atan2(dx, -dy) * 180.0 / std::numbers::pi;
    if (deg < 0) deg += 360.0;
    if (deg >= 360.0) deg -= 360.0;
    return deg;
}

double needle_angle(std::span<const NONLINEARITY> table, double value) {
    if (table.empty()) return 0.0;
    if (std::isnan(value) || value <= table.front().value) return table.front().degrees;
    if (value >= table.back().value) return table.back().degrees;
    for (std::size_t i = 0; i + 1 < table.size(); ++i) {
        const NONLINEARITY& lo = table[i];
        const NONLINEARITY& hi = table[i + 1];
        if (value > hi.value) continue;
        if (hi.value <= lo.value) return hi.degrees;
        const double t = (value - lo.value) / (hi.value - lo.value);
        const double sweep = std::fmod(std::fmod(hi.degrees - lo.degrees, 360.0) + 360.0, 360.0);
        double deg = std::fmod(lo.degrees + t * sweep, 360.0);
        if (deg < 0) deg += 360.0;
        return deg;
    }
    return table.back().degrees;
}

double strip_offset(double value, const FLOAT64 (&range)[2], int strip_extent, int window_extent) {
    const double span = range[1] - range[0];
    if (span == 0 || std::isnan(value)) return 0.0;
    double f = (value - range[0]) / span;
    if (f < 0) f = 0;
    if (f > 1) f = 1;
    return f * double(strip_extent - window_extent);
}

UINT32 icon_index(double value, UINT32 icon_count) {
    if (icon_count == 0 || std::isnan(value) || value < 1.0) return 0;
    if (value >= double(icon_count - 1)) return icon_count - 1;
    return UINT32(value);  // truncation toward zero
}

bool box_holds(const PIXBOX& box, PIXPOINT point, PIXPOINT gauge_size) {
    if (box.x == 0 && box.y == 0 && box.w == 0 && box.h == 0)
        return point.x >= 0 && point.y >= 0 && point.x < gauge_size.x && point.y < gauge_size.y;
    return point.x >= box.x && point.x < box.x + box.w && point.y >= box.y &&
           point.y < box.y + box.h;
}

int hit_test(std::span<const MOUSERECT> list, PIXPOINT point, FLAGS32 button, PIXPOINT gauge_size) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MOUSERECT& r = list[i];
        if (r.rect_type == MOUSE_RECT_EOL) break;
        if (r.rect_type != MOUSE_RECT_CHILD || !(r.mouse_flags & button)) continue;
        if (box_holds(r.relative_box, point, gauge_size)) return int(i);
    }
    return -1;
}

tooltip_format classify_tooltip_format(const char* format) {
    if (!format) return tooltip_format::invalid;
    tooltip_format kind = tooltip_format::invalid;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        if (kind != tooltip_format::invalid) return tooltip_format::invalid;  // a second one
        ++p;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        if (*p && std::strchr("eEfFgGaA", *p))
            kind = tooltip_format::floating;
        else if (*p && std::strchr("diouxX", *p))
            kind = tooltip_format::integer;
        else
            return tooltip_format::invalid;
    }
    return kind;
}

}  // namespace gauge_host
