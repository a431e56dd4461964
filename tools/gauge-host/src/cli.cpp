#include "cli.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "aircraft.h"
#include "errors.h"
#include "host.h"
#include "inspect.h"
#include "png.h"
#include "script.h"
#include "text.h"

namespace gauge_host {

namespace {

struct usage_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const char* const main_help =
    "usage: gauge-host COMMAND ...\n"
    "\n"
    "Loads a 2D panel gauge module (.gau) as a panel host does, and draws or\n"
    "drives its gauge without the simulator.\n"
    "\n"
    "commands:\n"
    "  render MODULE [--set TOKEN=VALUE ...] [--scale N] -o FILE.png\n"
    "                        draw one frame into a PNG\n"
    "  run MODULE SCRIPT     drive the gauge from a script (- reads standard input)\n"
    "  inspect MODULE        print the module's records\n"
    "\n"
    "gauge-host COMMAND --help tells more.\n";

const char* const render_help =
    "usage: gauge-host render MODULE [--set TOKEN=VALUE ...] [--scale N] -o FILE.png\n"
    "\n"
    "Loads MODULE, gives each token its value (every other token reads 0), runs\n"
    "one frame and writes it as an RGBA PNG: what no element draws, and pure\n"
    "black under transparency, stays transparent.\n"
    "\n"
    "  --set TOKEN=VALUE  a token's value; TOKEN in decimal or 0x hex; repeatable\n"
    "  --scale N          output pixels per gauge pixel, 1 to 16 (1 by default);\n"
    "                     needles, strips and text are drawn at that resolution\n"
    "  -o FILE.png        where the picture goes\n";

std::string run_help() {
    std::string s =
        "usage: gauge-host run MODULE SCRIPT\n"
        "\n"
        "Loads MODULE, runs one frame and then the SCRIPT's commands, one a line,\n"
        "printing what happens, each line led by its script line number:\n"
        "\n";
    s += script_help();
    s += "\nBetween frames a simulated aircraft answers these events:\n";
    for (const auto& v : aircraft_vocabulary()) s += "  " + v + "\n";
    s += "Every token starts at 0.\n";
    return s;
}

const char* const inspect_help =
    "usage: gauge-host inspect MODULE\n"
    "\n"
    "Loads MODULE and prints its linkage, import table, gauge header, element\n"
    "tree with every field, needle calibration with the degrees this host works\n"
    "out, mouse list and bitmaps. A bitmap that cannot be found is listed as\n"
    "MISSING and makes the exit status 1.\n";

bool wants_help(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h") return true;
    return false;
}

int render(const std::vector<std::string>& args, std::ostream& out) {
    std::optional<std::string> module, output;
    std::vector<std::pair<ID32, double>> sets;
    int scale = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::string {
            if (i + 1 >= args.size()) throw usage_error(a + " needs " + what);
            return args[++i];
        };
        if (a == "--set") {
            const std::string s = value("TOKEN=VALUE");
            const auto eq = s.find('=');
            const auto t = eq == std::string::npos ? std::nullopt : parse_token(s.substr(0, eq));
            const auto v = eq == std::string::npos ? std::nullopt : parse_value(s.substr(eq + 1));
            if (!t || !v) throw usage_error("--set " + s + ": expected TOKEN=VALUE, e.g. 107=90");
            sets.emplace_back(*t, *v);
        } else if (a == "--scale") {
            const std::string s = value("N");
            const auto n = parse_integer(s, 1, 16);
            if (!n) throw usage_error("--scale " + s + ": expected a whole number from 1 to 16");
            scale = int(*n);
        } else if (a == "-o" || a == "--output") {
            output = value("FILE.png");
        } else if (!a.empty() && a[0] == '-') {
            throw usage_error("unknown option " + a);
        } else if (!module) {
            module = a;
        } else {
            throw usage_error("one MODULE only; unexpected " + a);
        }
    }
    if (!module) throw usage_error("MODULE missing");
    if (!output) throw usage_error("-o FILE.png missing");
    module_host host(*module);
    for (const auto& [t, v] : sets) host.set_token(t, v);
    canvas c = host.make_canvas(scale);
    host.frame(c);
    write_png(c, *output);
    out << *output << ": " << c.width << " x " << c.height << "\n";
    return 0;
}

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (args.size() != 2) throw usage_error("expected MODULE SCRIPT");
    std::string text;
    if (args[1] == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        text = all.str();
    } else {
        std::ifstream in(args[1], std::ios::binary);
        if (!in) throw host_error(args[1] + ": cannot be read");
        std::ostringstream all;
        all << in.rdbuf();
        text = all.str();
    }
    const std::string name = args[1] == "-" ? "(standard input)" : args[1];
    // The whole script is checked before the module is even loaded.
    const auto commands = parse_script(text, name);
    module_host host(args[0]);
    run_script(host, commands, name, out);
    return 0;
}

int inspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) throw usage_error("expected MODULE");
    module_host host(args[0], load_options{.require_bitmaps = false});
    print_inspection(host, out);
    int status = 0;
    for (const auto& b : host.bitmaps())
        if (!b.found) {
            err << "gauge-host: " << host.path() << ": bitmap 0x" << std::hex << std::uppercase
                << b.id << std::dec << " (" << b.id << ", " << b.role << ") " << b.problem << "\n";
            status = 1;
        }
    return status;
}

}  // namespace

int run_command_line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << main_help;
        return 2;
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << main_help;
        return 0;
    }
    try {
        if (command == "render") {
            if (wants_help(rest)) return out << render_help, 0;
            return render(rest, out);
        }
        if (command == "run") {
            if (wants_help(rest)) return out << run_help(), 0;
            return run(rest, out);
        }
        if (command == "inspect") {
            if (wants_help(rest)) return out << inspect_help, 0;
            return inspect(rest, out, err);
        }
        err << "gauge-host: unknown command '" << command << "'\n\n" << main_help;
        return 2;
    } catch (const usage_error& e) {
        err << "gauge-host " << command << ": " << e.what() << "\n(gauge-host " << command
            << " --help tells how)\n";
        return 2;
    } catch (const host_error& e) {
        err << "gauge-host: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "gauge-host: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace gauge_host
