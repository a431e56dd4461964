// The test host's view of a gauge module: where the built files are, and a
// module loaded as the host loads it.
#pragma once

#include <windows.h>

#include <string>

#include "gauges.h"

// GAUGE_DIST_DIR is where the build leaves the modules.
inline std::string module_path(const std::string& file) {
    return std::string(GAUGE_DIST_DIR) + "/" + file;
}

// Loaded for the test's lifetime and freed after it; every test starts
// from a freshly loaded module, its static records as declared.
struct loaded_module {
    HMODULE handle = nullptr;
    GAUGESLINKAGE* linkage = nullptr;
    GAUGESIMPORT* imports = nullptr;

    explicit loaded_module(const std::string& file)
        : handle(LoadLibraryA(module_path(file).c_str())) {
        if (!handle) return;
        linkage = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(handle, "Linkage"));
        imports = reinterpret_cast<GAUGESIMPORT*>(GetProcAddress(handle, "ImportTable"));
    }
    ~loaded_module() {
        if (handle) FreeLibrary(handle);
    }
    loaded_module(const loaded_module&) = delete;
    loaded_module& operator=(const loaded_module&) = delete;

    GAUGEHDR* gauge() const { return linkage ? linkage->gauge_header_ptr[0] : nullptr; }
    ELEMENT_HEADER* root() const { return gauge() ? gauge()->elements_list[0] : nullptr; }
};

// The element records reached from a header, by their record type.
template <typename T>
T* as(ELEMENT_HEADER* header) {
    return reinterpret_cast<T*>(header);
}

// The n-th element of a next-element list, or null past its end.
inline ELEMENT_HEADER* next_of(ELEMENT_HEADER* e, int n = 0) {
    if (!e || !e->next_elements) return nullptr;
    for (int i = 0; i < n; ++i)
        if (!e->next_elements[i]) return nullptr;
    return e->next_elements[n];
}
