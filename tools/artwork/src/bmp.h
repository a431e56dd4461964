// Windows BMP files for the resource compiler: BITMAPFILEHEADER,
// BITMAPINFOHEADER, palette, bottom-up rows padded to four bytes, and a
// short trailer naming this program. Every byte is fixed by the picture,
// so the same picture always gives the same file.
#pragma once

#include "picture.h"

#include <string>
#include <vector>

std::vector<uint8_t> bmp_8bit(const Indexed& picture);
std::vector<uint8_t> bmp_24bit(const Picture& picture);

// Writes the file, making its directory if needed; exits on failure.
void write_file(const std::string& path, const std::vector<uint8_t>& bytes);
