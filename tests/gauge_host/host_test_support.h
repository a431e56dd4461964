// What the host's tests share: where the modules are, a picture's pixels
// by predicate, and the program run as a child process with its output.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "canvas.h"
#include "host.h"

inline std::string fixture_path(const std::string& name) {
    return std::string(GAUGE_HOST_FIXTURE_DIR) + "/" + name + ".gau";
}

inline std::string dist_path(const std::string& file) { return std::string(GAUGE_DIST_DIR) + "/" + file; }

inline bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A frame of the module as it stands, at scale.
inline gauge_host::canvas render_frame(gauge_host::module_host& host, int scale = 1) {
    gauge_host::canvas c = host.make_canvas(scale);
    host.frame(c);
    return c;
}

struct box_px {
    int x0, y0, x1, y1;  // gauge pixels, end exclusive
    bool holds(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Gauge pixels of a scale-1 canvas for which pred holds.
inline std::vector<PIXPOINT> pixels_where(const gauge_host::canvas& c,
                                          const std::function<bool(const gauge_host::rgba&)>& pred,
                                          box_px within = {0, 0, 1 << 20, 1 << 20}) {
    std::vector<PIXPOINT> out;
    for (int y = std::max(0, within.y0); y < std::min(c.height, within.y1); ++y)
        for (int x = std::max(0, within.x0); x < std::min(c.width, within.x1); ++x)
            if (pred(c.at(x, y))) out.push_back({x, y});
    return out;
}

inline bool drawn_pure_black(const gauge_host::rgba& p) {
    return p.a != 0 && p.r == 0 && p.g == 0 && p.b == 0;
}

struct program_result {
    DWORD status = 0;
    std::string out, err;
};

// Runs gauge-host.exe with args, waiting at most a minute for it.
inline program_result run_program(const std::string& args, const std::string& input = {}) {
    program_result result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_read, out_write, err_read, err_write, in_read, in_write;
    CreatePipe(&out_read, &out_write, &inherit, 0);
    CreatePipe(&err_read, &err_write, &inherit, 0);
    CreatePipe(&in_read, &in_write, &inherit, 0);
    SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out_write;
    si.hStdError = err_write;
    si.hStdInput = in_read;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + std::string(GAUGE_HOST_PROGRAM) + "\" " + args;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << command;
        return result;
    }
    CloseHandle(out_write), CloseHandle(err_write), CloseHandle(in_read);
    DWORD written;
    if (!input.empty()) WriteFile(in_write, input.data(), DWORD(input.size()), &written, nullptr);
    CloseHandle(in_write);
    auto drain = [](HANDLE h, std::string& into) {
        char buf[4096];
        DWORD got;
        while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) into.append(buf, got);
    };
    // Both pipes at once: a child blocked on a full one would never end.
    std::thread err_reader([&] { drain(err_read, result.err); });
    drain(out_read, result.out);
    err_reader.join();
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 99);
        ADD_FAILURE() << "gauge-host did not end: " << args;
    }
    GetExitCodeProcess(pi.hProcess, &result.status);
    CloseHandle(pi.hProcess), CloseHandle(pi.hThread), CloseHandle(out_read), CloseHandle(err_read);
    return result;
}

// A file in the temporary folder, removed when the test ends.
struct temp_file {
    std::string path;
    explicit temp_file(const std::string& name, const std::string& content = {}) {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        path = std::string(dir) + "gauge_host_test_" + std::to_string(GetCurrentProcessId()) + "_" + name;
        if (!content.empty() || name.find(".png") == std::string::npos) {
            FILE* f = std::fopen(path.c_str(), "wb");
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
    }
    ~temp_file() { DeleteFileA(path.c_str()); }
};
