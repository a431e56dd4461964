// gauge-host: a panel host of the project's own, for looking at gauges and
// driving them without the simulator.
#include <windows.h>

#include <cstdio>
#include <iostream>

#include "cli.h"
#include "host.h"

namespace {

// A module that faults must end the run with a message, not with a
// debugger waiting for someone (which is what Wine does by default).
LONG WINAPI report_crash(EXCEPTION_POINTERS* info) {
    const auto* record = info->ExceptionRecord;
    const std::string during = gauge_host::call_context();
    std::fflush(stdout);
    std::fprintf(stderr, "gauge-host: the program stopped on exception 0x%08lX at 0x%08lX%s%s\n",
                 static_cast<unsigned long>(record->ExceptionCode),
                 static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(record->ExceptionAddress)),
                 during.empty() ? "" : " during ", during.c_str());
    std::fflush(stderr);
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(report_crash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = gauge_host::run_command_line(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
