#include "version_block.h"

#include <cstring>

namespace {

std::size_t align4(std::size_t n) { return (n + 3) & ~std::size_t(3); }

std::uint16_t word_at(const std::uint8_t* p) {
    std::uint16_t w;
    std::memcpy(&w, p, 2);
    return w;
}

// Reads a zero-ended UTF-16 string of ASCII characters; returns the bytes
// it took, its zero included.
std::size_t read_key(const std::uint8_t* p, std::size_t size, std::string& out) {
    std::size_t i = 0;
    for (; i + 1 < size; i += 2) {
        const std::uint16_t c = word_at(p + i);
        if (!c) return i + 2;
        out.push_back(c < 0x80 ? char(c) : '?');
    }
    return size;
}

}  // namespace

version_block parse_version_block(const std::uint8_t* data, std::size_t size) {
    version_block block;
    if (size < 6) return block;
    const std::size_t length = word_at(data);
    const std::size_t value_length = word_at(data + 2);
    const bool is_text = word_at(data + 4) == 1;
    if (length < 6 || length > size) return block;
    std::size_t at = 6 + read_key(data + 6, length - 6, block.key);
    at = align4(at);
    const std::size_t value_bytes = is_text ? 2 * value_length : value_length;
    if (is_text && at < length) {
        std::string text;
        read_key(data + at, std::min(value_bytes, length - at), text);
        block.text = text;
    }
    at = align4(at + value_bytes);
    while (at + 6 <= length) {
        const std::size_t child_length = word_at(data + at);
        if (child_length < 6 || at + child_length > length) break;
        block.children.push_back(parse_version_block(data + at, child_length));
        at = align4(at + child_length);
    }
    return block;
}

const version_block* child(const version_block& block, const std::string& key) {
    for (const auto& c : block.children)
        if (c.key == key) return &c;
    return nullptr;
}
