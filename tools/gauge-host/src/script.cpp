#include "script.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "aircraft.h"
#include "errors.h"
#include "png.h"

namespace gauge_host {

std::optional<long> parse_integer(const std::string& s, long lo, long hi) {
    if (s.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(s.c_str(), &end, 0);
    if (errno || *end || v < lo || v > hi) return std::nullopt;
    return long(v);
}

std::optional<ID32> parse_token(const std::string& s) {
    const auto v = parse_integer(s, 1, 0x7FFFFFFF);
    if (!v) return std::nullopt;
    return ID32(*v);
}

std::optional<double> parse_value(const std::string& s) {
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (*end) return std::nullopt;
    return v;
}

const char* script_help() {
    return "  set TOKEN VALUE       give a token a value (also TOKEN=VALUE)\n"
           "  click X Y [BUTTON]    press and release BUTTON at gauge pixel X, Y\n"
           "  hold X Y N [BUTTON]   keep BUTTON down at X, Y for N repeats, one frame each:\n"
           "                        a repeating area is called every repeat, others once\n"
           "  frame [N]             run N frames (1 by default)\n"
           "  render FILE [SCALE]   run a frame and write it as PNG (scale 1 by default)\n"
           "  hover X Y             print the cursor and tooltip at X, Y\n"
           "  token TOKEN           print a token's value\n"
           "  texts                 print the text of every string element\n"
           "  BUTTON is left (default), middle or right. # starts a comment.\n";
}

std::vector<script_command> parse_script(const std::string& text, const std::string& name) {
    std::vector<script_command> out;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        // "set 107=5" reads as "set 107 5".
        if (w[0] == "set" && w.size() == 2 && w[1].find('=') != std::string::npos) {
            const auto eq = w[1].find('=');
            w = {"set", w[1].substr(0, eq), w[1].substr(eq + 1)};
        }
        auto fail = [&](const std::string& why) -> void {
            throw host_error(name + ":" + std::to_string(number) + ": " + why + ": " + line);
        };
        script_command c;
        c.line = number;
        auto point_at = [&](std::size_t i) {
            const auto x = parse_integer(w[i], -100000, 100000), y = parse_integer(w[i + 1], -100000, 100000);
            if (!x || !y) fail("X and Y must be whole numbers");
            c.point = {SINT32(*x), SINT32(*y)};
        };
        auto button_at = [&](std::size_t i) {
            if (w.size() <= i) return;
            if (w[i] == "left") c.button = mouse_button::left;
            else if (w[i] == "middle") c.button = mouse_button::middle;
            else if (w[i] == "right") c.button = mouse_button::right;
            else fail("unknown button '" + w[i] + "' (left, middle or right)");
        };
        const std::string& verb = w[0];
        if (verb == "set") {
            if (w.size() != 3) fail("set takes TOKEN VALUE");
            const auto t = parse_token(w[1]);
            const auto v = parse_value(w[2]);
            if (!t) fail("'" + w[1] + "' is not a token (a number from 1)");
            if (!v) fail("'" + w[2] + "' is not a number");
            c.kind = script_command::set, c.token_id = *t, c.value = *v;
        } else if (verb == "click") {
            if (w.size() < 3 || w.size() > 4) fail("click takes X Y [BUTTON]");
            c.kind = script_command::click;
            point_at(1);
            button_at(3);
        } else if (verb == "hold") {
            if (w.size() < 4 || w.size() > 5) fail("hold takes X Y N [BUTTON]");
            c.kind = script_command::hold;
            point_at(1);
            const auto n = parse_integer(w[3], 1, 1000000);
            if (!n) fail("N must be a whole number from 1");
            c.count = *n;
            button_at(4);
        } else if (verb == "frame") {
            if (w.size() > 2) fail("frame takes [N]");
            c.kind = script_command::frame;
            if (w.size() == 2) {
                const auto n = parse_integer(w[1], 0, 10000000);
                if (!n) fail("N must be a whole number from 0");
                c.count = *n;
            }
        } else if (verb == "render") {
            if (w.size() < 2 || w.size() > 3) fail("render takes FILE [SCALE]");
            c.kind = script_command::render, c.file = w[1];
            if (w.size() == 3) {
                const auto s = parse_integer(w[2], 1, 16);
                if (!s) fail("SCALE must be a whole number from 1 to 16");
                c.scale = int(*s);
            }
        } else if (verb == "hover") {
            if (w.size() != 3) fail("hover takes X Y");
            c.kind = script_command::hover;
            point_at(1);
        } else if (verb == "token") {
            if (w.size() != 2) fail("token takes TOKEN");
            const auto t = parse_token(w[1]);
            if (!t) fail("'" + w[1] + "' is not a token (a number from 1)");
            c.kind = script_command::token, c.token_id = *t;
        } else if (verb == "texts") {
            if (w.size() != 1) fail("texts takes nothing");
            c.kind = script_command::texts;
        } else {
            fail("unknown command '" + verb + "'");
        }
        out.push_back(c);
    }
    return out;
}

namespace {

const char* button_name(mouse_button b) {
    return b == mouse_button::left ? "left" : b == mouse_button::middle ? "middle" : "right";
}

std::string number(double v) {
    std::ostringstream s;
    s << std::setprecision(10) << v;
    return s.str();
}

class session {
public:
    session(module_host& host, std::ostream& out) : host_(host), out_(out) {}

    void frame(canvas& c) {
        // Between frames the aircraft answers what was raised since.
        auto& raised = host_.events();
        for (; answered_ < raised.size(); ++answered_) answer_event(raised[answered_].id, host_.tokens());
        host_.frame(c);
    }
    void frame() {
        if (!scratch_.width) scratch_ = host_.make_canvas(1);
        frame(scratch_);
    }
    // Prints the events raised since the last print.
    void report_events(int line) {
        auto& raised = host_.events();
        for (; printed_ < raised.size(); ++printed_) {
            char id[16];
            std::snprintf(id, sizeof id, "0x%X", unsigned(raised[printed_].id));
            out_ << line << ": event " << raised[printed_].id << " (" << id << ") value "
                 << raised[printed_].value << "\n";
        }
    }
    void report_area(int line, const char* what, const script_command& c,
                     const module_host::mouse_result& r) {
        out_ << line << ": " << what << " (" << c.point.x << ", " << c.point.y << ") "
             << button_name(c.button) << ": ";
        if (r.area < 0)
            out_ << "no area\n";
        else
            out_ << "mouse record " << r.area + 1 << ", " << r.calls << " call"
                 << (r.calls == 1 ? "" : "s") << "\n";
    }

    module_host& host_;
    std::ostream& out_;
    std::size_t answered_ = 0, printed_ = 0;
    canvas scratch_;
};

}  // namespace

void run_script(module_host& host, const std::vector<script_command>& commands,
                const std::string& name, std::ostream& out) {
    session s(host, out);
    s.frame();
    s.report_events(0);
    for (const auto& c : commands) {
        switch (c.kind) {
        case script_command::set: host.set_token(c.token_id, c.value); break;
        case script_command::click: {
            auto r = host.press(c.point, c.button);
            const auto up = host.release(c.point, c.button);
            r.calls += up.calls;
            s.report_area(c.line, "click", c, r);
            s.report_events(c.line);
            break;
        }
        case script_command::hold: {
            module_host::mouse_result total;
            for (long k = 0; k < c.count; ++k) {
                const auto r = k == 0 ? host.press(c.point, c.button) : host.repeat(c.point, c.button);
                total.area = r.area, total.calls += r.calls;
                s.frame();
            }
            total.calls += host.release(c.point, c.button).calls;
            s.report_area(c.line, "hold", c, total);
            s.report_events(c.line);
            break;
        }
        case script_command::frame:
            for (long k = 0; k < c.count; ++k) s.frame();
            s.report_events(c.line);
            break;
        case script_command::render: {
            canvas picture = host.make_canvas(c.scale);
            s.frame(picture);
            s.report_events(c.line);
            try {
                write_png(picture, c.file);
            } catch (const host_error& e) {
                throw host_error(name + ":" + std::to_string(c.line) + ": " + e.what());
            }
            out << c.line << ": rendered " << c.file << " (" << picture.width << " x "
                << picture.height << ")\n";
            break;
        }
        case script_command::hover: {
            const auto h = host.hover(c.point);
            out << c.line << ": at (" << c.point.x << ", " << c.point.y << ") cursor "
                << cursor_name(h.cursor);
            if (h.area >= 0) out << ", mouse record " << h.area + 1;
            if (h.has_tooltip) out << ", tooltip \"" << h.tooltip << "\"";
            out << "\n";
            break;
        }
        case script_command::token:
            out << c.line << ": token " << c.token_id << " = " << number(host.token(c.token_id)) << "\n";
            break;
        case script_command::texts:
            for (const auto& e : host.elements())
                if (e.header->element_type == ELEMENT_TYPE_STRING)
                    out << c.line << ": element #" << e.number << " text \"" << e.text << "\"\n";
            break;
        }
    }
}

}  // namespace gauge_host
