#include "png.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "errors.h"

namespace gauge_host {

namespace {

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(v >> 24), out.push_back(v >> 16), out.push_back(v >> 8), out.push_back(v);
}

void chunk(std::vector<unsigned char>& out, const char* type, const unsigned char* data,
           std::size_t size) {
    put32(out, std::uint32_t(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size) out.insert(out.end(), data, data + size);
    put32(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

unsigned char paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

}  // namespace

std::vector<unsigned char> encode_png(const canvas& c) {
    const std::size_t stride = std::size_t(c.width) * 4;
    // Each row takes whichever filter leaves the smallest sum of bytes,
    // the usual guess at what deflates best; gauge art is flat enough for
    // this to matter in the committed pictures.
    std::vector<unsigned char> filtered;
    filtered.reserve((stride + 1) * c.height);
    std::vector<unsigned char> candidates[5];
    for (auto& v : candidates) v.resize(stride);
    const unsigned char* prev = nullptr;
    for (int y = 0; y < c.height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(&c.pixels[std::size_t(y) * c.width]);
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0, b = prev ? prev[i] : 0,
                      cc = (prev && i >= 4) ? prev[i - 4] : 0;
            candidates[0][i] = row[i];
            candidates[1][i] = row[i] - a;
            candidates[2][i] = row[i] - b;
            candidates[3][i] = row[i] - ((a + b) >> 1);
            candidates[4][i] = row[i] - paeth(a, b, cc);
        }
        int best = 0;
        unsigned long best_sum = ~0ul;
        for (int f = 0; f < 5; ++f) {
            unsigned long sum = 0;
            for (unsigned char v : candidates[f]) sum += v < 128 ? v : 256 - v;
            if (sum < best_sum) best_sum = sum, best = f;
        }
        filtered.push_back(std::uint8_t(best));
        filtered.insert(filtered.end(), candidates[best].begin(), candidates[best].end());
        prev = row;
    }
    uLongf packed_size = compressBound(uLong(filtered.size()));
    std::vector<unsigned char> packed(packed_size);
    if (compress2(packed.data(), &packed_size, filtered.data(), uLong(filtered.size()), 9) != Z_OK)
        throw host_error("PNG compression failed");
    packed.resize(packed_size);

    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char header[13];
    const std::uint32_t w = c.width, h = c.height;
    const unsigned char ihdr[13] = {std::uint8_t(w >> 24), std::uint8_t(w >> 16),
                                    std::uint8_t(w >> 8),  std::uint8_t(w),
                                    std::uint8_t(h >> 24), std::uint8_t(h >> 16),
                                    std::uint8_t(h >> 8),  std::uint8_t(h),
                                    8, 6, 0, 0, 0};  // 8-bit RGBA, deflate, no interlace
    std::memcpy(header, ihdr, sizeof header);
    chunk(out, "IHDR", header, sizeof header);
    chunk(out, "IDAT", packed.data(), packed.size());
    chunk(out, "IEND", nullptr, 0);
    return out;
}

void write_png(const canvas& c, const std::string& path) {
    const auto bytes = encode_png(c);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw host_error(path + ": cannot open for writing");
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) throw host_error(path + ": write failed");
}

}  // namespace gauge_host
