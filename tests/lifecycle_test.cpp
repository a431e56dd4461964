// The lifecycle callback's binding to the sound library, on the real
// loader: test doubles of GaugeSound.dll record their attach, detach and
// TerminateSounds calls, and each case chooses which double the bare name
// "GaugeSound" finds (SetDllDirectoryA on a folder holding one, or none).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "gauge_module.h"
#include "modules.h"
#include "sound_log.h"

namespace {

enum class installed { none, with_terminate, without_terminate };

std::string folder_of(installed which) {
    const char* leaf = which == installed::with_terminate      ? "with_terminate"
                       : which == installed::without_terminate ? "without_terminate"
                                                               : "none";
    return std::string(SOUND_DOUBLES_DIR) + "/" + leaf;
}

void install(installed which) { ASSERT_TRUE(SetDllDirectoryA(folder_of(which).c_str())); }

bool sound_library_present() { return GetModuleHandleA("GaugeSound") != nullptr; }

// ---- Scripts ----------------------------------------------------------------

struct step {
    enum kind { service, install_double, host_load, host_free } what;
    int module = 0;  // which of the loaded modules
    SINT32 code = 0;
    installed library = installed::none;
};

step initialise(int m) { return {step::service, m, PANEL_SERVICE_PRE_INITIALIZE}; }
step update(int m) { return {step::service, m, PANEL_SERVICE_PRE_UPDATE}; }
step kill(int m) { return {step::service, m, PANEL_SERVICE_PRE_KILL}; }
step code(int m, SINT32 c) { return {step::service, m, c}; }
step install_step(installed which) { return {step::install_double, 0, 0, which}; }
step host_loads() { return {step::host_load}; }
step host_frees() { return {step::host_free}; }

constexpr int A = 0, B = 1, C = 2;

class lifecycle : public ::testing::Test {
protected:
    HANDLE mapping = nullptr;
    sound_log* log = nullptr;
    std::vector<loaded_module*> modules;
    HMODULE host_reference = nullptr;

    void SetUp() override {
        ASSERT_FALSE(sound_library_present()) << "a double is loaded before the test";
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(sound_log),
                                     sound_log_name);
        ASSERT_NE(mapping, nullptr);
        log = static_cast<sound_log*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        ASSERT_NE(log, nullptr);
        log->length = 0;
        for (const auto& m : delivered_modules()) modules.push_back(new loaded_module(m.file));
        for (auto* m : modules) ASSERT_NE(m->gauge(), nullptr);
        install(installed::with_terminate);
    }

    void TearDown() override {
        for (auto* m : modules) delete m;
        modules.clear();
        host_reference = nullptr;
        // Whatever references a case left, the next one starts without the
        // library in the process.
        for (int i = 0; i < 100 && sound_library_present(); ++i) FreeLibrary(GetModuleHandleA("GaugeSound"));
        SetDllDirectoryA(nullptr);
        UnmapViewOfFile(log);
        CloseHandle(mapping);
    }

    std::string events() const { return std::string(log->events, log->length); }

    void run(const step& s) {
        switch (s.what) {
        case step::service: {
            GAUGEHDR* g = modules[s.module]->gauge();
            g->gauge_callback(g, s.code, 0);
            break;
        }
        case step::install_double: install(s.library); break;
        case step::host_load: host_reference = LoadLibraryA("GaugeSound"); break;
        case step::host_free:
            if (host_reference) FreeLibrary(host_reference);
            host_reference = nullptr;
            break;
        }
    }
};

struct lifecycle_script {
    const char* name;
    std::vector<step> steps;
    const char* events;  // what the doubles recorded, in order
    bool present;        // the library in the process at the end
};

TEST_F(lifecycle, scripts) {
    std::vector<step> ignored_codes;
    for (SINT32 c : {0, 1, 2, 3, 5, 7, 8, 9, 10, 11, 13, 14, 99, -1}) ignored_codes.push_back(code(A, c));

    const lifecycle_script scripts[] = {
        {"codes other than 4, 6 and 12 do nothing", ignored_codes, "", false},
        {"ignored codes leave a held binding alone",
         {initialise(A), code(A, 10), code(A, 13), code(A, 0), kill(A)}, "ATD", false},
        {"initialise loads the library and keeps it", {initialise(A)}, "A", true},
        {"two initialises take one reference", {initialise(A), initialise(A), kill(A)}, "ATD", false},
        {"update loads the library when it is absent", {update(A)}, "A", true},
        {"update while the host holds the library takes no reference",
         {host_loads(), update(A), update(A), host_frees()}, "AD", false},
        {"kill releases a reference found in the process",
         {host_loads(), update(A), kill(A)}, "ATD", false},
        {"update after the library left the process loads it again",
         {update(A), kill(B), update(A)}, "ATDA", true},
        {"kill with the library absent from the system does nothing",
         {install_step(installed::none), initialise(A), kill(A)}, "", false},
        {"the binding is empty after a kill that found nothing",
         {install_step(installed::none), kill(A), install_step(installed::with_terminate), initialise(A)}, "A", true},
        {"kill while installed but not in the process loads, terminates and releases",
         {kill(A)}, "ATD", false},
        {"initialise after kill loads again", {initialise(A), kill(A), initialise(A)}, "ATDA", true},
        {"a library without TerminateSounds is still released",
         {install_step(installed::without_terminate), initialise(A), update(A), kill(A)}, "ad", false},
        {"two modules each take their own reference",
         {initialise(A), initialise(B), kill(A)}, "AT", true},
        {"the last module's kill lets the library go",
         {initialise(A), initialise(B), initialise(C), kill(A), kill(B), kill(C)}, "ATTTD", false},
        {"every update retries a failed load",
         {install_step(installed::none), initialise(A), update(A), update(A),
          install_step(installed::with_terminate), update(A), kill(A)},
         "ATD", false},
        {"update while another module holds the library takes no reference",
         {initialise(B), update(A), update(A), kill(B)}, "ATD", false},
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.name);
        TearDown();
        SetUp();
        for (const step& s : script.steps) run(s);
        EXPECT_EQ(events(), script.events);
        EXPECT_EQ(sound_library_present(), script.present);
    }
}

// ---- Against a model ------------------------------------------------------------

// What the callback does to its binding and the loader's count, as a small
// model: each module only knows whether it holds a handle.
struct loader_model {
    installed folder = installed::with_terminate;
    installed loaded = installed::none;  // none: not in the process
    int references = 0;
    bool bound[3] = {};
    std::string events;

    bool in_process() const { return references > 0; }
    char attach_letter() const { return loaded == installed::with_terminate ? 'A' : 'a'; }
    char detach_letter() const { return loaded == installed::with_terminate ? 'D' : 'd'; }

    // LoadLibraryA by the bare name: finds the loaded copy, else the
    // installed file, else fails.
    bool load() {
        if (in_process()) return ++references, true;
        if (folder == installed::none) return false;
        loaded = folder;
        references = 1;
        events += attach_letter();
        return true;
    }
    void release() {
        if (--references == 0) {
            events += detach_letter();
            loaded = installed::none;
        }
    }
    bool find_or_load() { return in_process() || load(); }

    void service(int m, SINT32 code) {
        switch (code) {
        case PANEL_SERVICE_PRE_INITIALIZE:
            if (!bound[m]) bound[m] = load();
            break;
        case PANEL_SERVICE_PRE_UPDATE: bound[m] = find_or_load(); break;
        case PANEL_SERVICE_PRE_KILL:
            if (find_or_load()) {
                if (loaded == installed::with_terminate) events += 'T';
                release();
            }
            bound[m] = false;
            break;
        default: break;
        }
    }
};

TEST_F(lifecycle, random_sequences_follow_the_model) {
    const std::uint32_t seed = 20261211;
    std::mt19937 random(seed);
    const SINT32 codes[] = {PANEL_SERVICE_PRE_INITIALIZE, PANEL_SERVICE_PRE_UPDATE, PANEL_SERVICE_PRE_KILL,
                            PANEL_SERVICE_PRE_UPDATE,     PANEL_SERVICE_PRE_DRAW,   PANEL_SERVICE_POST_KILL, 3};
    const installed folders[] = {installed::with_terminate, installed::without_terminate, installed::none};
    for (int sequence = 0; sequence < 40; ++sequence) {
        TearDown();
        SetUp();
        loader_model model;
        std::string trail;
        for (int n = 0; n < 60; ++n) {
            step s;
            if (random() % 8 == 0) {
                s = install_step(folders[random() % 3]);
                trail += " install" + std::to_string(int(s.library));
                // The bare name finds the loaded copy whatever the folder.
                model.folder = s.library;
            } else {
                s = code(int(random() % 3), codes[random() % std::size(codes)]);
                trail += " " + std::to_string(s.module) + ":" + std::to_string(s.code);
                model.service(s.module, s.code);
            }
            run(s);
            ASSERT_EQ(events(), model.events)
                << "seed " << seed << ", sequence " << sequence << ", after" << trail;
            ASSERT_EQ(sound_library_present(), model.in_process())
                << "seed " << seed << ", sequence " << sequence << ", after" << trail;
        }
    }
}

}  // namespace
