// Times one panel update of each module under the real loader: the
// PRE_UPDATE service call plus every value callback of the gauge. Against
// it, in the same process, the work the design mandates for an update: one
// GetModuleHandleA and one GetProcAddress, and for the autopilot the two
// readout formatting calls with the same values. Prints figures only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "gauges.h"
#include "timing.h"

namespace {

double now_ns() { return now_seconds() * 1e9; }

template <typename F>
double ns_per_call(int rounds, F&& f) {
    const double start = now_ns();
    for (int i = 0; i < rounds; ++i) f();
    return (now_ns() - start) / rounds;
}

// The best of several runs of each, taken in turn so that both see the
// same machine.
template <typename F, typename G>
std::pair<double, double> best_of_alternating(int rounds, F&& first, G&& second) {
    double a = 1e300, b = 1e300;
    for (int repeat = 0; repeat < 15; ++repeat) {
        a = std::min(a, ns_per_call(rounds, first));
        b = std::min(b, ns_per_call(rounds, second));
    }
    return {a, b};
}

char text_buffer[2][64];

void collect(ELEMENT_HEADER* e, std::vector<ELEMENT_HEADER*>& out) {
    if (!e) return;
    out.push_back(e);
    if (e->next_elements)
        for (ELEMENT_HEADER** n = e->next_elements; *n; ++n) collect(*n, out);
}

// Every value callback of the gauge, with values a panel would carry.
void update_elements(const std::vector<ELEMENT_HEADER*>& elements) {
    int strings = 0;
    for (ELEMENT_HEADER* e : elements) {
        switch (e->element_type) {
        case ELEMENT_TYPE_NEEDLE: {
            auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e);
            n->source_var.value = 155.0;
            if (n->update_cb) n->update_cb(n);
            break;
        }
        case ELEMENT_TYPE_MOVING_IMAGE: {
            auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
            m->source_var_x.value = 123.0;
            if (m->update_x_cb) m->update_x_cb(m);
            if (m->update_y_cb) m->update_y_cb(m);
            break;
        }
        case ELEMENT_TYPE_ICON: {
            auto* i = reinterpret_cast<ELEMENT_ICON*>(e);
            i->source_var.value = 1.0;
            if (i->update_cb) i->update_cb(i);
            break;
        }
        case ELEMENT_TYPE_STRING: {
            auto* s = reinterpret_cast<ELEMENT_STRING*>(e);
            s->source_var[0].value = strings == 0 ? 123.0 : 12500.0;
            s->text = text_buffer[strings % 2];
            s->text_capacity = sizeof text_buffer[0];
            ++strings;
            if (s->update_cb) s->update_cb(s);
            break;
        }
        default: break;
        }
    }
}

}  // namespace

int main() {
    const char* modules[] = {"Aquilo.gau", "Cisterna_L.gau", "Cisterna_R.gau"};
    std::printf("One panel update, best of 15 runs, nanoseconds per update:\n");
    std::printf("%-16s %10s %10s %10s %8s\n", "module", "update", "mandated", "beyond", "beyond%");
    SetDllDirectoryA(SOUND_DIR);
    for (const char* file : modules) {
        const std::string path = std::string(GAUGE_DIST_DIR) + "/" + file;
        HMODULE module = LoadLibraryA(path.c_str());
        if (!module) {
            std::printf("%-16s cannot be loaded\n", file);
            continue;
        }
        auto* linkage = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(module, "Linkage"));
        GAUGEHDR* gauge = linkage->gauge_header_ptr[0];
        std::vector<ELEMENT_HEADER*> elements;
        collect(gauge->elements_list[0], elements);
        gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_INITIALIZE, 0);

        bool formats = false;
        for (ELEMENT_HEADER* e : elements) formats = formats || e->element_type == ELEMENT_TYPE_STRING;
        volatile FARPROC sink = nullptr;
        const int rounds = 100000;
        const auto [update, mandated] = best_of_alternating(rounds, [&] {
            gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_UPDATE, 0);
            update_elements(elements);
        }, [&] {
            HMODULE sound = GetModuleHandleA("GaugeSound");
            sink = GetProcAddress(sound, "TerminateSounds");
            if (formats) {
                volatile float heading = 123.0f, altitude = 12500.0f;
                std::snprintf(text_buffer[0], sizeof text_buffer[0], "%03.0f", double(heading));
                std::snprintf(text_buffer[1], sizeof text_buffer[1], "%05.0f", double(altitude));
            }
        });
        (void)sink;
        std::printf("%-16s %10.0f %10.0f %10.0f %7.1f%%\n", file, update, mandated, update - mandated,
                    100.0 * (update - mandated) / update);

        // The library gone from the system: every update retries the load.
        gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_KILL, 0);
        SetDllDirectoryA(NO_SOUND_DIR);
        const double missing = ns_per_call(50, [&] {
            gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_UPDATE, 0);
            update_elements(elements);
        });
        std::printf("%-16s library missing: %.0f ns per update, %.1f ms per second at 18 Hz\n", "", missing,
                    missing * 18 / 1e6);
        SetDllDirectoryA(SOUND_DIR);
        gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_KILL, 0);
        FreeLibrary(module);
    }
    return 0;
}
