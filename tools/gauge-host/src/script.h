// `run` scripts: one command a line, checked whole before anything runs,
// so that a typing error costs nothing but its message.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "host.h"

namespace gauge_host {

struct script_command {
    enum kind_t { set, click, hold, frame, render, hover, token, texts } kind;
    int line = 0;
    ID32 token_id = 0;
    double value = 0;
    PIXPOINT point{0, 0};
    mouse_button button = mouse_button::left;
    long count = 1;  // repeats, frames
    int scale = 1;
    std::string file;
};

// Throws host_error "SCRIPT:LINE: ..." for the first bad line.
std::vector<script_command> parse_script(const std::string& text, const std::string& name);

// The commands and their arguments, for --help.
const char* script_help();

// Runs the commands on a loaded module, printing what happens to out.
// One frame runs before the first command, so the panel is up.
void run_script(module_host& host, const std::vector<script_command>& commands,
                const std::string& name, std::ostream& out);

// Shared with the command line: "TOKEN=VALUE", "0x6B=5".
std::optional<ID32> parse_token(const std::string& s);
std::optional<double> parse_value(const std::string& s);
std::optional<long> parse_integer(const std::string& s, long lo, long hi);

}  // namespace gauge_host
