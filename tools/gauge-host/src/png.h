// PNG output through zlib: 8-bit RGBA, so that what no element drew stays
// transparent in the file.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace gauge_host {

std::vector<unsigned char> encode_png(const canvas& c);

// Throws host_error naming the file when it cannot be written.
void write_png(const canvas& c, const std::string& path);

}  // namespace gauge_host
