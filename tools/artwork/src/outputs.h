// Everything the program makes, in memory, before it is written out.
#pragma once

#include "picture.h"

#include <string>
#include <vector>

struct Output {
    std::string path;  // relative to the output root
    int depth;         // 8 or 24
    Indexed indexed;   // depth 8
    Picture rgb;       // depth 24; for depth 8 the expanded palette picture
};

std::vector<Output> make_outputs();
const Output& find_output(const std::vector<Output>& outputs, const std::string& path);

// Mechanical checks of the colour and layout rules; prints each failure and
// returns whether all held.
bool self_check(const std::vector<Output>& outputs);

// Full-colour previews, with the panel and dial put together as the host
// draws them.
void write_previews(const std::vector<Output>& outputs, const std::string& dir);
