// Walks a version resource's block tree (VS_VERSIONINFO and its children)
// so that tests can see the string table's keys in the order stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct version_block {
    std::string key;
    std::string text;  // the value, for a text block
    std::vector<version_block> children;
};

// Parses one block and its children from raw resource bytes; an empty key
// where the bytes do not hold a well-formed block.
version_block parse_version_block(const std::uint8_t* data, std::size_t size);

// The child with this key, or null.
const version_block* child(const version_block& block, const std::string& key);
