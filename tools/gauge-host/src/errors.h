// Every failure the host reports: one message naming what is at fault
// (a file, a script line, a bitmap id), printed once by the command line.
#pragma once

#include <stdexcept>
#include <string>

namespace gauge_host {

struct host_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace gauge_host
