// Frames per second of the panel host for each delivered gauge, at scale 1
// and 4: a frame is the whole update and drawing, without PNG encoding,
// which is timed on its own.
//
// "no sound lib" is the frame as gauge-host runs it here: the modules look
// for their sound library before every update, and where it is missing
// that lookup is a failed LoadLibrary, which under Wine costs more than the
// whole drawing. "still" and "moving" have a stand-in library loaded, as
// in the simulator: "still" keeps every token where it is, so the readouts'
// text is laid out once; "moving" changes every token each frame, so every
// readout goes through GDI every frame.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host.h"
#include "png.h"
#include "timing.h"

namespace {

struct gauge_under_test {
    const char* file;
    std::vector<ID32> tokens;
};

// Runs frames for about `seconds` and returns frames per second.
double frames_per_second(gauge_host::module_host& host, const gauge_under_test& g, int scale,
                         bool moving, double seconds) {
    gauge_host::canvas c = host.make_canvas(scale);
    long frames = 0;
    const double start = now_seconds();
    double elapsed = 0;
    while (elapsed < seconds) {
        for (int k = 0; k < 50; ++k, ++frames) {
            if (moving)
                for (ID32 t : g.tokens) host.set_token(t, double(frames % 360));
            host.frame(c);
        }
        elapsed = now_seconds() - start;
    }
    return double(frames) / elapsed;
}

double png_milliseconds(gauge_host::module_host& host, int scale) {
    gauge_host::canvas c = host.make_canvas(scale);
    host.frame(c);
    int runs = 0;
    const double start = now_seconds();
    std::size_t bytes = 0;
    while (now_seconds() - start < 0.5 || runs < 3) {
        bytes = gauge_host::encode_png(c).size();
        ++runs;
    }
    (void)bytes;
    return (now_seconds() - start) * 1000.0 / runs;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const gauge_under_test gauges[] = {
        {"Cisterna_L.gau", {304}},
        {"Cisterna_R.gau", {303}},
        {"Aquilo.gau", {81, 103, 106, 107, 108, 109, 112}},
    };
    std::printf("%-16s %6s %16s %12s %12s %9s\n", "gauge", "scale", "no sound lib fps",
                "still fps", "moving fps", "PNG ms");
    struct row {
        const gauge_under_test* g;
        int scale;
        double absent, still, moving, png;
    };
    std::vector<row> rows;
    // Without the library first: once loaded it stays for the process.
    for (const auto& g : gauges) {
        const std::string path = std::string(GAUGE_DIST_DIR) + "/" + g.file;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        try {
            gauge_host::module_host host(path);
            for (int scale : {1, 4}) {
                for (ID32 t : g.tokens) host.set_token(t, 155);
                rows.push_back({&g, scale, frames_per_second(host, g, scale, false, seconds), 0, 0, 0});
            }
        } catch (const std::exception& e) {
            std::printf("%-16s failed: %s\n", g.file, e.what());
        }
    }
    if (!LoadLibraryA(GAUGE_SOUND_LIBRARY)) std::printf("stand-in sound library not loaded\n");
    for (auto& r : rows) {
        const std::string path = std::string(GAUGE_DIST_DIR) + "/" + r.g->file;
        gauge_host::module_host host(path);
        for (ID32 t : r.g->tokens) host.set_token(t, 155);
        r.still = frames_per_second(host, *r.g, r.scale, false, seconds);
        r.moving = frames_per_second(host, *r.g, r.scale, true, seconds);
        r.png = png_milliseconds(host, r.scale);
    }
    for (const auto& r : rows)
        std::printf("%-16s %6d %16.0f %12.0f %12.0f %9.2f\n", r.g->file, r.scale, r.absent, r.still,
                    r.moving, r.png);
    for (const auto& g : gauges) {
        const std::string path = std::string(GAUGE_DIST_DIR) + "/" + g.file;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            std::printf("%-16s not built\n", g.file);
    }
    return 0;
}
