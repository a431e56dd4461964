// `inspect`: the module's records as a gauge author reads them first.
#pragma once

#include <iosfwd>

#include "host.h"

namespace gauge_host {

void print_inspection(module_host& host, std::ostream& out);

}  // namespace gauge_host
