// Text through GDI, in the element's own font: the glyphs are drawn white
// on black into a DIB section and read back as coverage, so that the fore
// colour can be laid over whatever the elements below have drawn.
#pragma once

#include <windows.h>

#include <string>

#include "canvas.h"
#include "gauges.h"

namespace gauge_host {

// The face asked for when the element's own is not installed.
inline constexpr const char* fallback_font_face = "Liberation Serif";

bool font_face_installed(const char* face, UINT32 charset);

// The face GDI actually uses for the element: its own when installed,
// else fallback_font_face when that is, else GDI's choice.
std::string resolved_font_face(const ELEMENT_STRING& e);

// The character cell height the host asks GDI for, in gauge pixels: a
// font_size of 0 fits the whole cell (ascent and descent) to the box, a
// given font_size is the height of the characters themselves, as Windows
// reads a negative logical-font height.
int logical_font_height(const ELEMENT_STRING& e, int scale);

// One string element's text renderer at one scale, keeping its GDI
// objects, and the last text's coverage: readouts change rarely.
class text_renderer {
public:
    text_renderer() = default;
    ~text_renderer();
    text_renderer(const text_renderer&) = delete;
    text_renderer& operator=(const text_renderer&) = delete;

    const coverage_mask& render(const ELEMENT_STRING& e, const std::string& text, int scale);

private:
    void release();
    HDC dc_ = nullptr;
    HBITMAP dib_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ old_font_ = nullptr;
    void* bits_ = nullptr;
    int scale_ = 0;
    std::string last_text_;
    bool valid_ = false;
    coverage_mask mask_;
};

}  // namespace gauge_host
