// An RT_BITMAP resource of a loaded module, read as the host reads it:
// looked up by id with language 1033, a BITMAPINFOHEADER, the colour table
// where there is one, then the rows bottom-up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

struct rgb {
    std::uint8_t r, g, b;
    bool operator==(const rgb&) const = default;
    bool is_black() const { return r == 0 && g == 0 && b == 0; }
};

struct resource_bitmap {
    const BITMAPINFOHEADER* info = nullptr;
    std::uint32_t resource_size = 0;
    int width = 0;
    int height = 0;
    int bits = 0;
    int colours = 0;  // colour table entries
    const RGBQUAD* palette = nullptr;
    const std::uint8_t* rows = nullptr;
    int stride = 0;

    // x, y from the top-left corner, as gauge pixels are counted.
    std::uint8_t index(int x, int y) const { return rows[(height - 1 - y) * stride + x]; }
    rgb pixel(int x, int y) const {
        const std::uint8_t* row = rows + (height - 1 - y) * stride;
        if (bits == 8) {
            const RGBQUAD& q = palette[row[x]];
            return {q.rgbRed, q.rgbGreen, q.rgbBlue};
        }
        const std::uint8_t* p = row + 3 * x;
        return {p[2], p[1], p[0]};
    }
    // Bytes the header, colour table and rows need.
    std::uint32_t image_bytes() const {
        return info->biSize + colours * sizeof(RGBQUAD) + std::uint32_t(stride) * height;
    }
};

inline constexpr WORD host_resource_language = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Nothing when the module holds no such bitmap in language 1033, or when
// it is not an uncompressed 8- or 24-bit bitmap that fits its resource.
std::optional<resource_bitmap> find_bitmap(HMODULE module, int id);
