#include "inspect.h"

#include <cstdio>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "rules.h"
#include "text.h"

namespace gauge_host {

namespace {

std::string hex(std::uint32_t v, int digits = 0) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, unsigned(v));
    return buf;
}

std::string ptr(const void* p) {
    if (!p) return "null";
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", unsigned(reinterpret_cast<std::uintptr_t>(p)));
    return buf;
}

std::string str(const char* s) {
    if (!s) return "null";
    if (!readable_string(s)) return "(unreadable)";
    return "\"" + std::string(s) + "\"";
}

std::string pt(PIXPOINT p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

std::string box(const PIXBOX& b) {
    if (b.x == 0 && b.y == 0 && b.w == 0 && b.h == 0) return "whole gauge";
    return std::to_string(b.x) + ", " + std::to_string(b.y) + ", " + std::to_string(b.w) + ", " +
           std::to_string(b.h);
}

std::string num(double v) {
    std::ostringstream s;
    s << std::setprecision(10) << v;
    return s.str();
}

std::string image_flags(FLAGS32 f) {
    std::string s = hex(f, 2);
    std::string names;
    auto add = [&](FLAGS32 bit, const char* name) {
        if (f & bit) names += (names.empty() ? "" : " | ") + std::string(name);
    };
    add(IMAGE_USE_TRANSPARENCY, "TRANSPARENCY");
    add(IMAGE_USE_ERASE, "ERASE");
    add(IMAGE_USE_BRIGHT, "BRIGHT");
    add(IMAGE_BILINEAR_COLOR, "BILINEAR_COLOR");
    return names.empty() ? s : s + " (" + names + ")";
}

std::string mouse_flags(FLAGS32 f) {
    std::string names;
    auto add = [&](FLAGS32 bit, const char* name) {
        if (f & bit) names += (names.empty() ? "" : " | ") + std::string(name);
    };
    add(MOUSE_RIGHTSINGLE, "RIGHTSINGLE");
    add(MOUSE_MIDDLESINGLE, "MIDDLESINGLE");
    add(MOUSE_LEFTSINGLE, "LEFTSINGLE");
    add(MOUSE_MOVE, "MOVE");
    add(MOUSE_DOWN_REPEAT, "DOWN_REPEAT");
    add(MOUSE_RIGHTRELEASE, "RIGHTRELEASE");
    add(MOUSE_MIDDLERELEASE, "MIDDLERELEASE");
    add(MOUSE_LEFTRELEASE, "LEFTRELEASE");
    return names.empty() ? hex(f, 8) : hex(f, 8) + " " + names;
}

std::string var(const MODULE_VAR& v) {
    return v.id ? "token " + std::to_string(v.id) + " (binding " + std::to_string(v.binding) +
                      ", value " + num(v.value) + ")"
                : "none";
}

std::string colour(RGB32 c) {
    return hex(c, 8) + " RGB(" + std::to_string(c & 0xFF) + ", " + std::to_string((c >> 8) & 0xFF) +
           ", " + std::to_string((c >> 16) & 0xFF) + ")";
}

void field(std::ostream& out, const char* name, const std::string& value) {
    out << "      " << std::left << std::setw(24) << name << value << "\n";
}

std::string failures(const FAILURE_RECORD* f) {
    if (!f) return "null";
    std::string s;
    int n = 0;
    for (; readable(f, sizeof *f) && n < 64; ++f, ++n) {
        if (f->key == FAILURE_NONE) break;
        s += (s.empty() ? "" : ", ") + std::string("key ") + std::to_string(f->key) + " action " +
             std::to_string(f->action);
    }
    return s.empty() ? "only its end entry" : s;
}

}  // namespace

void print_inspection(module_host& host, std::ostream& out) {
    const GAUGESLINKAGE& l = host.linkage();
    out << "Module " << host.path() << "\n\n";
    out << "Linkage\n";
    field(out, "module_id", hex(l.module_id));
    field(out, "module_init", ptr(reinterpret_cast<const void*>(l.module_init)));
    field(out, "module_deinit", ptr(reinterpret_cast<const void*>(l.module_deinit)));
    field(out, "module_flags", hex(l.module_flags));
    field(out, "module_priority", std::to_string(l.module_priority));
    field(out, "module_version", hex(l.module_version, 4) + " (LINK_VERSION)");
    for (UINT32 i = 0; i <= GAUGES_PER_MODULE; ++i)
        field(out, ("gauge_header_ptr[" + std::to_string(i) + "]").c_str(), ptr(l.gauge_header_ptr[i]));

    out << "\nImportTable\n";
    int n = 0;
    for (const IMPORT_ENTRY* e = &host.import_table()->panels;; ++e, ++n) {
        std::string what = e->id == 0 ? "end" : e->id == IMPORT_ID_PANELS ? "PANELS" : "unknown to this host";
        std::string bound = e->ptr == &host.panels() ? " -> this host's PANELS" : " -> " + ptr(e->ptr);
        field(out, ("entry " + std::to_string(n + 1)).c_str(),
              "id " + hex(e->id, 2) + " " + what + (e->id ? bound : ""));
        if (e->id == 0) break;
    }

    const GAUGEHDR& g = host.gauge();
    out << "\nGauge header\n";
    field(out, "gauge_header_version", std::to_string(g.gauge_header_version) + " (GAUGE_HEADER_VERSION)");
    field(out, "gauge_name", str(g.gauge_name));
    field(out, "elements_list", ptr(g.elements_list));
    const struct {
        const char* name;
        GAUGE_ROUTINE r;
    } routines[] = {{"query_routine", g.query_routine},         {"install_routine", g.install_routine},
                    {"initialize_routine", g.initialize_routine}, {"update_routine", g.update_routine},
                    {"generate_routine", g.generate_routine},   {"draw_routine", g.draw_routine},
                    {"kill_routine", g.kill_routine}};
    for (const auto& r : routines) field(out, r.name, ptr(reinterpret_cast<const void*>(r.r)));
    field(out, "reserved1", std::to_string(g.reserved1));
    field(out, "size_x_mm, size_y_mm", std::to_string(g.size_x_mm) + ", " + std::to_string(g.size_y_mm));
    field(out, "parent, next", ptr(g.parent) + ", " + ptr(g.next));
    field(out, "mouse_rect", ptr(g.mouse_rect));
    field(out, "gauge_callback", ptr(reinterpret_cast<const void*>(g.gauge_callback)));
    field(out, "user_data", hex(g.user_data));
    field(out, "parameters, usage", str(g.parameters) + ", " + str(g.usage));
    field(out, "gauge pixels", std::to_string(host.gauge_size().x) + " x " + std::to_string(host.gauge_size().y));

    out << "\nElements, in drawing order\n";
    for (const auto& e : host.elements()) {
        const ELEMENT_HEADER& h = *e.header;
        out << "  #" << e.number << std::string(std::size_t(2 * e.depth + 1), ' ')
            << element_type_name(h.element_type) << " at " << ptr(&h) << "\n";
        field(out, "element_type", std::to_string(h.element_type));
        field(out, "resource_id", h.resource_id < 0 ? std::to_string(h.resource_id)
                                                   : hex(std::uint32_t(h.resource_id)));
        field(out, "position", pt(h.position));
        field(out, "offset", pt(h.offset));
        field(out, "previous_position", pt(h.previous_position));
        field(out, "gauge", ptr(h.gauge) + (h.gauge == &host.gauge() ? " (this gauge)" : " (another!)"));
        field(out, "previous_element", ptr(h.previous_element));
        std::string next = "none";
        if (h.next_elements) {
            next.clear();
            for (int i = 0; h.next_elements[i]; ++i)
                for (const auto& other : host.elements())
                    if (other.header == h.next_elements[i])
                        next += (next.empty() ? "#" : ", #") + std::to_string(other.number);
        }
        field(out, "next_elements", next);
        field(out, "failure", failures(h.failure));
        field(out, "image_flags", image_flags(h.image_flags));
        field(out, "asi_flags", hex(h.asi_flags));
        field(out, "reserved", std::to_string(h.reserved));
        switch (h.element_type) {
        case ELEMENT_TYPE_NEEDLE: {
            const auto& nd = reinterpret_cast<const ELEMENT_NEEDLE&>(h);
            field(out, "source_var", var(nd.source_var));
            field(out, "update_cb", ptr(reinterpret_cast<const void*>(nd.update_cb)));
            field(out, "nonlinearity", ptr(nd.nonlinearity) + ", " + std::to_string(nd.nonlinearity_count) + " entries");
            out << "      calibration         point        value        degrees (the host's)\n";
            for (UINT32 i = 0; i < nd.nonlinearity_count; ++i) {
                const NONLINEARITY& c = nd.nonlinearity[i];
                char row[160];
                std::snprintf(row, sizeof row, "        %-18u%-13s%-13s%.2f\n", unsigned(i + 1),
                              pt(c.point).c_str(), num(c.value).c_str(), c.degrees);
                out << row;
            }
            break;
        }
        case ELEMENT_TYPE_STRING: {
            const auto& s = reinterpret_cast<const ELEMENT_STRING&>(h);
            for (int i = 0; i < 3; ++i)
                field(out, ("source_var[" + std::to_string(i) + "]").c_str(), var(s.source_var[i]));
            field(out, "box", std::to_string(s.box_width) + " x " + std::to_string(s.box_height));
            field(out, "text, text_capacity", ptr(s.text) + ", " + std::to_string(s.text_capacity));
            field(out, "fore_color", colour(s.fore_color));
            field(out, "back_color", colour(s.back_color));
            field(out, "highlight_color", colour(s.highlight_color));
            field(out, "font_name", str(s.font_name) + ", drawn with \"" + resolved_font_face(s) + "\"");
            field(out, "font_weight", std::to_string(s.font_weight));
            field(out, "font_charset", std::to_string(s.font_charset));
            field(out, "font_size", std::to_string(s.font_size) + " (cell height asked: " +
                                        std::to_string(logical_font_height(s, 1)) + ")");
            field(out, "draw_text_flags", hex(s.draw_text_flags, 4));
            field(out, "update_cb", ptr(reinterpret_cast<const void*>(s.update_cb)));
            break;
        }
        case ELEMENT_TYPE_ICON: {
            const auto& ic = reinterpret_cast<const ELEMENT_ICON&>(h);
            field(out, "source_var", var(ic.source_var));
            field(out, "update_cb", ptr(reinterpret_cast<const void*>(ic.update_cb)));
            field(out, "switch_type", std::to_string(ic.switch_type) +
                                          (ic.switch_type == ICON_SWITCH_TYPE_SELECT ? " (select)" : ""));
            field(out, "icon_count", std::to_string(ic.icon_count));
            field(out, "scale, offset", num(ic.scale) + ", " + num(ic.offset));
            break;
        }
        case ELEMENT_TYPE_MOVING_IMAGE: {
            const auto& m = reinterpret_cast<const ELEMENT_MOVING_IMAGE&>(h);
            field(out, "source_var_x", var(m.source_var_x));
            field(out, "x_range", num(m.x_range[0]) + " .. " + num(m.x_range[1]));
            field(out, "update_x_cb", ptr(reinterpret_cast<const void*>(m.update_x_cb)));
            field(out, "source_var_y", var(m.source_var_y));
            field(out, "y_range", num(m.y_range[0]) + " .. " + num(m.y_range[1]));
            field(out, "update_y_cb", ptr(reinterpret_cast<const void*>(m.update_y_cb)));
            if (e.images.size() == 2 && e.images[0] && e.images[1])
                field(out, "travel", std::to_string(e.images[0]->width - e.images[1]->width) + " x " +
                                         std::to_string(e.images[0]->height - e.images[1]->height) + " pixels");
            break;
        }
        default: break;
        }
    }

    out << "\nMouse list\n";
    const auto list = host.mouse_list();
    if (list.empty()) out << "      none\n";
    int depth = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MOUSERECT& r = list[i];
        if (r.rect_type == MOUSE_RECT_END_PARENT && depth > 0) --depth;
        char row[256];
        std::snprintf(row, sizeof row, "  %2u %s%-10s box %-18s cursor %-11s help %u  flags %s",
                      unsigned(i + 1), std::string(std::size_t(2 * depth), ' ').c_str(),
                      rect_type_name(r.rect_type), box(r.relative_box).c_str(), cursor_name(r.cursor),
                      unsigned(r.help_id), mouse_flags(r.mouse_flags).c_str());
        out << row;
        if (r.event_id) out << "  event " << r.event_id;
        if (r.mouse_function) out << "  function " << ptr(reinterpret_cast<const void*>(r.mouse_function));
        if (r.rect_type == MOUSE_RECT_USER)
            out << "  tooltip " << str(r.tooltip_text) << " shown as \"" << host.mouse_tooltip(i) << "\"";
        out << "\n";
        if (r.rect_type == MOUSE_RECT_PARENT) ++depth;
    }
    out << "  " << std::setw(2) << std::right << list.size() + 1 << " EOL\n";

    out << "\nBitmaps (RT_BITMAP, language 1033)\n";
    for (const auto& b : host.bitmaps()) {
        char row[256];
        if (b.found)
            std::snprintf(row, sizeof row, "  %-8s %4d x %-4d %2d-bit  %s\n",
                          hex(std::uint32_t(b.id)).c_str(), b.picture.width, b.picture.height,
                          b.picture.bits, b.role.c_str());
        else
            std::snprintf(row, sizeof row, "  %-8s MISSING: %s  %s\n", hex(std::uint32_t(b.id)).c_str(),
                          b.problem.c_str(), b.role.c_str());
        out << row;
    }
}

}  // namespace gauge_host
