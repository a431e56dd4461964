// The command line, apart from the process around it, so that the tests
// reach every command as the program runs it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace gauge_host {

// Exit status: 0 done, 1 a failure with its message on err, 2 a misused
// command line.
int run_command_line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace gauge_host
