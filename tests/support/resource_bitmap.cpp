#include "resource_bitmap.h"

std::optional<resource_bitmap> find_bitmap(HMODULE module, int id) {
    HRSRC found = FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(id), host_resource_language);
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return std::nullopt;
    resource_bitmap bmp;
    bmp.resource_size = SizeofResource(module, found);
    bmp.info = static_cast<const BITMAPINFOHEADER*>(LockResource(loaded));
    if (!bmp.info || bmp.resource_size < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    const auto& h = *bmp.info;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || h.biPlanes != 1 ||
        (h.biBitCount != 8 && h.biBitCount != 24) || h.biWidth <= 0 || h.biHeight <= 0)
        return std::nullopt;
    bmp.width = h.biWidth;
    bmp.height = h.biHeight;
    bmp.bits = h.biBitCount;
    bmp.colours = h.biBitCount == 8 ? (h.biClrUsed ? int(h.biClrUsed) : 256) : int(h.biClrUsed);
    bmp.stride = ((bmp.width * bmp.bits + 31) / 32) * 4;
    const auto* base = reinterpret_cast<const std::uint8_t*>(bmp.info);
    bmp.palette = reinterpret_cast<const RGBQUAD*>(base + h.biSize);
    bmp.rows = base + h.biSize + bmp.colours * sizeof(RGBQUAD);
    if (bmp.image_bytes() > bmp.resource_size) return std::nullopt;
    return bmp;
}
