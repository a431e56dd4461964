// The modules the build delivers, for tests that every module must pass.
#pragma once

#include <string>
#include <vector>

struct module_file {
    const char* file;       // in the dist folder
    const char* gauge_name; // the file name without ".gau"
};

inline const std::vector<module_file>& delivered_modules() {
    static const std::vector<module_file> modules = {
        {"Aquilo.gau", "Aquilo"},
        {"Cisterna_L.gau", "Cisterna_L"},
        {"Cisterna_R.gau", "Cisterna_R"},
    };
    return modules;
}
