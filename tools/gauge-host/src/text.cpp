#include "text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace gauge_host {

namespace {

int CALLBACK note_found(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Flags that would make DrawText measure instead of draw, or write into
// the text, are the host's business and not the element's.
constexpr FLAGS32 host_only_flags = DT_CALCRECT | DT_MODIFYSTRING;

}  // namespace

bool font_face_installed(const char* face, UINT32 charset) {
    if (!face || !*face || std::strlen(face) >= LF_FACESIZE) return false;
    LOGFONTA lf{};
    lf.lfCharSet = BYTE(charset);
    std::strcpy(lf.lfFaceName, face);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &lf, note_found, reinterpret_cast<LPARAM>(&found), 0);
    if (!found && charset != DEFAULT_CHARSET) {
        lf.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(dc, &lf, note_found, reinterpret_cast<LPARAM>(&found), 0);
    }
    ReleaseDC(nullptr, dc);
    return found;
}

static std::string face_to_ask(const ELEMENT_STRING& e) {
    if (font_face_installed(e.font_name, e.font_charset)) return e.font_name;
    if (font_face_installed(fallback_font_face, DEFAULT_CHARSET)) return fallback_font_face;
    return e.font_name && std::strlen(e.font_name) < LF_FACESIZE ? e.font_name : "";
}

int logical_font_height(const ELEMENT_STRING& e, int scale) {
    return e.font_size != 0 ? -e.font_size * scale : e.box_height * scale;
}

static HFONT make_font(const ELEMENT_STRING& e, int scale) {
    const std::string face = face_to_ask(e);
    return CreateFontA(logical_font_height(e, scale), 0, 0, 0, e.font_weight, FALSE, FALSE, FALSE,
                       BYTE(e.font_charset), OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, face.c_str());
}

std::string resolved_font_face(const ELEMENT_STRING& e) {
    HFONT font = make_font(e, 1);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return name;
}

text_renderer::~text_renderer() { release(); }

void text_renderer::release() {
    if (dc_) {
        SelectObject(dc_, old_font_);
        SelectObject(dc_, old_bitmap_);
        DeleteDC(dc_);
    }
    if (dib_) DeleteObject(dib_);
    if (font_) DeleteObject(font_);
    dc_ = nullptr, dib_ = nullptr, font_ = nullptr, bits_ = nullptr;
    valid_ = false;
}

const coverage_mask& text_renderer::render(const ELEMENT_STRING& e, const std::string& text,
                                           int scale) {
    const int w = std::max(0, e.box_width) * scale, h = std::max(0, e.box_height) * scale;
    if (valid_ && scale == scale_ && text == last_text_ && mask_.width == w && mask_.height == h)
        return mask_;
    if (scale != scale_ || mask_.width != w || mask_.height != h) release();
    scale_ = scale;
    mask_.width = w, mask_.height = h;
    mask_.alpha.assign(std::size_t(w) * h, 0);
    last_text_ = text;
    valid_ = true;
    if (w == 0 || h == 0) return mask_;

    if (!dc_) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;  // top row first
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dib_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        font_ = make_font(e, scale);
        if (!dc_ || !dib_ || !bits_ || !font_) {
            release();
            valid_ = true;
            return mask_;  // nothing drawn rather than a failed frame
        }
        old_bitmap_ = SelectObject(dc_, dib_);
        old_font_ = SelectObject(dc_, font_);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, RGB(255, 255, 255));
    }
    std::memset(bits_, 0, std::size_t(w) * h * 4);
    // DrawText may want room to add an ellipsis, whatever the flags say.
    std::vector<char> copy(text.begin(), text.end());
    copy.resize(text.size() + 8, '\0');
    RECT box{0, 0, w, h};
    DrawTextA(dc_, copy.data(), int(text.size()), &box, e.draw_text_flags & ~host_only_flags);
    GdiFlush();
    const auto* px = static_cast<const std::uint8_t*>(bits_);
    for (std::size_t i = 0; i < mask_.alpha.size(); ++i)
        mask_.alpha[i] = std::max({px[4 * i], px[4 * i + 1], px[4 * i + 2]});
    return mask_;
}

}  // namespace gauge_host
