#include "host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>

#include "errors.h"
#include "rules.h"

namespace gauge_host {

namespace {

// trigger_key_event carries no context: the host being driven is the one
// loaded last, and calls into modules come from one thread.
module_host* active_host = nullptr;

ERR FSAPI host_trigger_key_event(ID32 id, UINT32 value) {
    return active_host ? active_host->trigger_key_event(id, value) : 0;
}

const char* current_context = "";
int current_context_number = 0;

std::string hex(std::uint32_t v, int digits = 0) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, unsigned(v));
    return buf;
}

std::string bitmap_name(SINT32 id) {
    return hex(std::uint32_t(id)) + " (" + std::to_string(id) + ")";
}

constexpr std::size_t max_elements = 4096;
constexpr std::size_t max_next = 1024;
constexpr std::size_t max_mouse_records = 4096;
constexpr std::size_t max_imports = 256;
constexpr UINT32 max_calibration = 4096;
constexpr UINT32 max_icons = 4096;
constexpr std::size_t text_capacity = 256;

std::string windows_message(DWORD code) {
    char buf[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   buf, sizeof buf, nullptr);
    std::string s = buf;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "Windows error " + std::to_string(code)
                     : s + " (Windows error " + std::to_string(code) + ")";
}

// Decodes an RT_BITMAP resource: a BITMAPINFOHEADER, its colour table,
// then the rows, bottom-up unless the height is negative.
std::string decode_bitmap(const void* data, DWORD size, image& out) {
    if (size < sizeof(BITMAPINFOHEADER)) return "is too short for a bitmap header";
    BITMAPINFOHEADER h;
    std::memcpy(&h, data, sizeof h);
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size) return "has no bitmap header";
    if (h.biPlanes != 1) return "has " + std::to_string(h.biPlanes) + " planes";
    const int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "has an unknown depth of " + std::to_string(bits) + " bits";
    if (h.biCompression != BI_RGB) return "is compressed (" + std::to_string(h.biCompression) + ")";
    const bool top_down = h.biHeight < 0;
    const long long width = h.biWidth, height = top_down ? -(long long)h.biHeight : h.biHeight;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return "has an impossible size " + std::to_string(width) + " x " + std::to_string(height);
    const std::size_t colours = bits <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bits)) : h.biClrUsed;
    const std::size_t stride = ((std::size_t(width) * bits + 31) / 32) * 4;
    const std::size_t need = h.biSize + colours * sizeof(RGBQUAD) + stride * std::size_t(height);
    if (colours > 65536 || need > size)
        return "holds " + std::to_string(size) + " bytes where its size needs " + std::to_string(need);
    const auto* base = static_cast<const std::uint8_t*>(data);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(base + h.biSize);
    const std::uint8_t* rows = base + h.biSize + colours * sizeof(RGBQUAD);
    out.width = int(width), out.height = int(height), out.bits = bits;
    out.pixels.resize(std::size_t(width) * height);
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* row = rows + stride * std::size_t(top_down ? y : out.height - 1 - y);
        for (int x = 0; x < out.width; ++x) {
            rgba p{0, 0, 0, 255};
            if (bits <= 8) {
                const int per_byte = 8 / bits;
                const int index = (row[x / per_byte] >> ((per_byte - 1 - x % per_byte) * bits)) &
                                  ((1 << bits) - 1);
                if (std::size_t(index) < colours) {
                    p.r = palette[index].rgbRed, p.g = palette[index].rgbGreen,
                    p.b = palette[index].rgbBlue;
                }
            } else if (bits == 16) {
                const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                p.r = std::uint8_t(((v >> 10) & 31) * 255 / 31);
                p.g = std::uint8_t(((v >> 5) & 31) * 255 / 31);
                p.b = std::uint8_t((v & 31) * 255 / 31);
            } else {
                const std::uint8_t* q = row + std::size_t(x) * (bits / 8);
                p.b = q[0], p.g = q[1], p.r = q[2];
            }
            out.pixels[std::size_t(y) * width + x] = p;
        }
    }
    return {};
}

}  // namespace

void set_call_context(const char* what, int number) {
    current_context = what;
    current_context_number = number;
}

std::string call_context() {
    std::string s = current_context;
    if (current_context_number) s += " " + std::to_string(current_context_number);
    return s;
}

bool readable(const void* p, std::size_t size) {
    if (!p) return false;
    auto at = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t end = at + size;
    if (end < at) return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info)) return false;
        if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) ||
            !(info.Protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)))
            return false;
        at = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

bool readable_string(const char* s, std::size_t max) {
    for (std::size_t i = 0; i < max; ++i) {
        if ((i == 0 || (reinterpret_cast<std::uintptr_t>(s + i) & 0xFFF) == 0) && !readable(s + i, 1))
            return false;
        if (s[i] == 0) return true;
    }
    return false;
}

const char* element_type_name(UINT32 type) {
    switch (type) {
    case ELEMENT_TYPE_STATIC_IMAGE: return "static image";
    case ELEMENT_TYPE_NEEDLE: return "needle";
    case ELEMENT_TYPE_STRING: return "string";
    case ELEMENT_TYPE_ICON: return "icon";
    case ELEMENT_TYPE_MOVING_IMAGE: return "moving image";
    default: return "unknown";
    }
}

const char* cursor_name(UINT32 cursor) {
    static const char* const names[] = {"none",       "normal", "up-arrow",  "down-arrow", "left-arrow",
                                        "right-arrow", "hand",   "crosshair", "grab"};
    return cursor < std::size(names) ? names[cursor] : "unknown";
}

const char* rect_type_name(UINT32 type) {
    static const char* const names[] = {"EOL", "PARENT", "CHILD", "END_PARENT", "USER"};
    return type < std::size(names) ? names[type] : "unknown";
}

const char* service_name(SINT32 code) {
    static const char* const names[] = {"PRE_QUERY",     "POST_QUERY",    "PRE_INSTALL",
                                        "POST_INSTALL",  "PRE_INITIALIZE", "POST_INITIALIZE",
                                        "PRE_UPDATE",    "POST_UPDATE",   "PRE_GENERATE",
                                        "POST_GENERATE", "PRE_DRAW",      "POST_DRAW",
                                        "PRE_KILL",      "POST_KILL"};
    return code >= 0 && code < SINT32(std::size(names)) ? names[code] : "unknown";
}

FLAGS32 single_flag(mouse_button b) {
    switch (b) {
    case mouse_button::right: return MOUSE_RIGHTSINGLE;
    case mouse_button::middle: return MOUSE_MIDDLESINGLE;
    default: return MOUSE_LEFTSINGLE;
    }
}

FLAGS32 release_flag(mouse_button b) {
    switch (b) {
    case mouse_button::right: return MOUSE_RIGHTRELEASE;
    case mouse_button::middle: return MOUSE_MIDDLERELEASE;
    default: return MOUSE_LEFTRELEASE;
    }
}

// ---- Loading ---------------------------------------------------------------

module_host::module_host(const std::string& path, load_options options)
    : path_(path), options_(options) {
    check_file();
    // No dialog boxes: a module that cannot load is a message, not a wait.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    set_call_context("loading the module (DllMain)");
    handle_ = LoadLibraryA(path_.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(old_mode);
    if (!handle_) throw host_error(path_ + ": cannot be loaded: " + windows_message(error));
    try {
        find_records();
        walk_elements();
        load_bitmaps();
        check_mouse_list();
        work_out_calibration();
    } catch (...) {
        FreeLibrary(handle_);
        handle_ = nullptr;
        throw;
    }
    // Bind the host's table into every entry this host knows.
    panels_.version = host_panels_version;
    panels_.trigger_key_event = host_trigger_key_event;
    for (IMPORT_ENTRY* entry = &imports_->panels; entry->id != 0; ++entry)
        if (entry->id == IMPORT_ID_PANELS) entry->ptr = &panels_;
    previous_active_ = active_host;
    active_host = this;

    if (linkage_->module_init) {
        set_call_context("module_init");
        linkage_->module_init();
    }
    initialised_ = true;
    gauge_alive_ = true;
    for (SINT32 code = PANEL_SERVICE_PRE_QUERY; code <= PANEL_SERVICE_POST_INITIALIZE; ++code)
        service(code);
}

module_host::~module_host() { unload(); }

void module_host::unload() {
    if (!handle_) return;
    if (gauge_alive_) {
        service(PANEL_SERVICE_PRE_KILL);
        service(PANEL_SERVICE_POST_KILL);
        gauge_alive_ = false;
    }
    if (initialised_ && linkage_->module_deinit) {
        set_call_context("module_deinit");
        linkage_->module_deinit();
    }
    initialised_ = false;
    for (auto& e : elements_) e.renderer.reset();
    set_call_context("unloading the module (DllMain)");
    FreeLibrary(handle_);
    handle_ = nullptr;
    if (active_host == this) active_host = previous_active_;
    set_call_context("");
}

void module_host::check_file() const {
    const DWORD attributes = GetFileAttributesA(path_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw host_error(path_ + ": no such file");
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw host_error(path_ + ": is a folder, not a module");
    FILE* f = std::fopen(path_.c_str(), "rb");
    if (!f) throw host_error(path_ + ": cannot be read");
    unsigned char head[1024] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    auto u16 = [&](std::size_t at) { return unsigned(head[at] | (head[at + 1] << 8)); };
    auto u32 = [&](std::size_t at) { return std::uint32_t(u16(at) | (u16(at + 2) << 16)); };
    const std::string not_pe = path_ + ": not a PE module (no Windows DLL header)";
    if (got < 64 || head[0] != 'M' || head[1] != 'Z') throw host_error(not_pe);
    const std::uint32_t pe = u32(0x3C);
    if (pe + 24 > got || std::memcmp(head + pe, "PE\0\0", 4) != 0) throw host_error(not_pe);
    const unsigned machine = u16(pe + 4), characteristics = u16(pe + 22);
    if (machine != IMAGE_FILE_MACHINE_I386)
        throw host_error(path_ + ": a PE module for machine " + hex(machine, 4) +
                         ", not 32-bit x86 (0x014C)");
    if (!(characteristics & IMAGE_FILE_DLL))
        throw host_error(path_ + ": a program, not a DLL module");
}

void module_host::find_records() {
    linkage_ = reinterpret_cast<GAUGESLINKAGE*>(GetProcAddress(handle_, "Linkage"));
    imports_ = reinterpret_cast<GAUGESIMPORT*>(GetProcAddress(handle_, "ImportTable"));
    if (!linkage_) throw host_error(path_ + ": does not export Linkage");
    if (!imports_) throw host_error(path_ + ": does not export ImportTable");
    if (!readable(linkage_, sizeof *linkage_)) throw host_error(path_ + ": Linkage cannot be read");
    if (linkage_->module_version != LINK_VERSION)
        throw host_error(path_ + ": link version " + hex(linkage_->module_version, 4) +
                         ", this host needs " + hex(LINK_VERSION, 4) + " (LINK_VERSION)");
    std::size_t n = 0;
    for (const IMPORT_ENTRY* entry = &imports_->panels;; ++entry, ++n) {
        if (n == max_imports || !readable(entry, sizeof *entry))
            throw host_error(path_ + ": ImportTable has no end entry (id 0)");
        if (entry->id == 0) break;
    }
    gauge_ = linkage_->gauge_header_ptr[0];
    if (!gauge_) throw host_error(path_ + ": Linkage names no gauge header");
    if (!readable(gauge_, sizeof *gauge_)) throw host_error(path_ + ": gauge header cannot be read");
    if (gauge_->gauge_header_version != GAUGE_HEADER_VERSION)
        throw host_error(path_ + ": gauge header version " +
                         std::to_string(gauge_->gauge_header_version) + ", this host needs " +
                         std::to_string(GAUGE_HEADER_VERSION) + " (GAUGE_HEADER_VERSION)");
    if (gauge_->gauge_name && !readable_string(gauge_->gauge_name))
        throw host_error(path_ + ": gauge name cannot be read");
}

std::string module_host::where(const element_state& e) const {
    return path_ + ": element #" + std::to_string(e.number) + " (" +
           element_type_name(e.header->element_type) + ")";
}

void module_host::walk_elements() {
    if (!gauge_->elements_list || !readable(gauge_->elements_list, sizeof(ELEMENT_HEADER*)) ||
        !gauge_->elements_list[0])
        throw host_error(path_ + ": gauge has no element list");
    std::set<const ELEMENT_HEADER*> seen;
    struct pending {
        ELEMENT_HEADER* e;
        int depth;
    };
    std::vector<pending> stack = {{gauge_->elements_list[0], 0}};
    while (!stack.empty()) {
        const pending p = stack.back();
        stack.pop_back();
        const int number = int(elements_.size()) + 1;
        if (!readable(p.e, sizeof(ELEMENT_HEADER)))
            throw host_error(path_ + ": element #" + std::to_string(number) + " cannot be read");
        if (!seen.insert(p.e).second)
            throw host_error(path_ + ": the element tree comes back to an element at #" +
                             std::to_string(number));
        if (elements_.size() == max_elements)
            throw host_error(path_ + ": more than " + std::to_string(max_elements) + " elements");
        element_state& st = elements_.emplace_back();
        st.header = p.e;
        st.number = number;
        st.depth = p.depth;
        check_element(st);
        if (p.e->next_elements) {
            std::vector<ELEMENT_HEADER*> next;
            for (std::size_t i = 0;; ++i) {
                if (i == max_next || !readable(p.e->next_elements + i, sizeof(ELEMENT_HEADER*)))
                    throw host_error(where(st) + ": next-element list has no null end");
                if (!p.e->next_elements[i]) break;
                next.push_back(p.e->next_elements[i]);
            }
            // Depth first, in list order: the first next element is
            // visited (and drawn) first.
            for (auto it = next.rbegin(); it != next.rend(); ++it) stack.push_back({*it, p.depth + 1});
        }
    }
}

void module_host::check_element(element_state& st) {
    ELEMENT_HEADER* h = st.header;
    std::size_t size = 0;
    switch (h->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE: size = sizeof(ELEMENT_STATIC_IMAGE); break;
    case ELEMENT_TYPE_NEEDLE: size = sizeof(ELEMENT_NEEDLE); break;
    case ELEMENT_TYPE_STRING: size = sizeof(ELEMENT_STRING); break;
    case ELEMENT_TYPE_ICON: size = sizeof(ELEMENT_ICON); break;
    case ELEMENT_TYPE_MOVING_IMAGE: size = sizeof(ELEMENT_MOVING_IMAGE); break;
    default:
        throw host_error(path_ + ": element #" + std::to_string(st.number) + " has unknown type " +
                         std::to_string(h->element_type));
    }
    if (!readable(h, size)) throw host_error(where(st) + ": record cannot be read");
    if (h->element_type == ELEMENT_TYPE_NEEDLE) {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(h);
        if (n->nonlinearity_count == 0 || !n->nonlinearity)
            throw host_error(where(st) + ": no calibration entries");
        if (n->nonlinearity_count > max_calibration ||
            !readable(n->nonlinearity, n->nonlinearity_count * sizeof(NONLINEARITY)))
            throw host_error(where(st) + ": calibration of " + std::to_string(n->nonlinearity_count) +
                             " entries cannot be read");
        for (UINT32 i = 1; i < n->nonlinearity_count; ++i)
            if (!(n->nonlinearity[i].value >= n->nonlinearity[i - 1].value))
                throw host_error(where(st) + ": calibration entry " + std::to_string(i + 1) +
                                 " does not rise in value");
    } else if (h->element_type == ELEMENT_TYPE_ICON) {
        auto* icon = reinterpret_cast<ELEMENT_ICON*>(h);
        if (icon->icon_count == 0 || icon->icon_count > max_icons)
            throw host_error(where(st) + ": icon count " + std::to_string(icon->icon_count));
        if (icon->switch_type != ICON_SWITCH_TYPE_SELECT)
            throw host_error(where(st) + ": switch type " + std::to_string(icon->switch_type) +
                             " is not one this host draws (only " +
                             std::to_string(ICON_SWITCH_TYPE_SELECT) + ", select)");
    } else if (h->element_type == ELEMENT_TYPE_STRING) {
        auto* s = reinterpret_cast<ELEMENT_STRING*>(h);
        if (s->font_name && !readable_string(s->font_name, LF_FACESIZE + 1))
            throw host_error(where(st) + ": font name cannot be read");
        if (s->box_width < 0 || s->box_height < 0 || s->box_width > 16384 || s->box_height > 16384)
            throw host_error(where(st) + ": impossible text box " + std::to_string(s->box_width) +
                             " x " + std::to_string(s->box_height));
        st.text_buffer.assign(text_capacity, '\0');
        st.renderer = std::make_unique<text_renderer>();
    }
}

const image* module_host::need_bitmap(SINT32 id, const std::string& role) {
    for (auto& b : bitmaps_)
        if (b.id == id) return b.found ? &b.picture : nullptr;
    bitmap_entry& b = bitmaps_.emplace_back();
    b.id = id;
    b.role = role;
    HRSRC found = FindResourceExA(handle_, RT_BITMAP, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (id < 0 || id > 0xFFFF || !found) {
        b.problem = "has no RT_BITMAP resource in language 1033";
    } else {
        HGLOBAL loaded = LoadResource(handle_, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data)
            b.problem = "cannot be loaded";
        else
            b.problem = decode_bitmap(data, SizeofResource(handle_, found), b.picture);
    }
    b.found = b.problem.empty();
    if (!b.found && options_.require_bitmaps)
        throw host_error(path_ + ": bitmap " + bitmap_name(id) + " (" + role + ") " + b.problem);
    return b.found ? &b.picture : nullptr;
}

void module_host::load_bitmaps() {
    // Bitmaps are held in order of need, so that bitmaps() lists them the
    // way the tree uses them.
    // Elements hold pointers into bitmaps_; reserve so none moves.
    std::size_t needed = 0;
    for (const auto& e : elements_) {
        if (e.header->element_type == ELEMENT_TYPE_ICON)
            needed += reinterpret_cast<ELEMENT_ICON*>(e.header)->icon_count;
        else if (e.header->element_type != ELEMENT_TYPE_STRING)
            needed += 2;
    }
    bitmaps_.reserve(needed);
    for (auto& e : elements_) {
        ELEMENT_HEADER* h = e.header;
        const std::string who = "element #" + std::to_string(e.number) + ", " + element_type_name(h->element_type);
        switch (h->element_type) {
        case ELEMENT_TYPE_STATIC_IMAGE:
        case ELEMENT_TYPE_NEEDLE:
            e.images = {need_bitmap(h->resource_id, who)};
            break;
        case ELEMENT_TYPE_ICON: {
            const UINT32 count = reinterpret_cast<ELEMENT_ICON*>(h)->icon_count;
            for (UINT32 k = 0; k < count; ++k)
                e.images.push_back(need_bitmap(h->resource_id + SINT32(k),
                                               who + " image " + std::to_string(k + 1)));
            break;
        }
        case ELEMENT_TYPE_MOVING_IMAGE:
            e.images = {need_bitmap(h->resource_id, who + " strip"),
                        need_bitmap(h->resource_id + 1, who + " window")};
            break;
        default: break;
        }
    }
    // The gauge's pixel space is its background's; without one, whatever
    // the elements cover.
    const element_state& root = elements_.front();
    if (root.header->element_type == ELEMENT_TYPE_STATIC_IMAGE && root.images[0]) {
        size_ = {root.header->position.x + root.images[0]->width,
                 root.header->position.y + root.images[0]->height};
        return;
    }
    for (const auto& e : elements_) {
        PIXPOINT end = e.header->position;
        if (e.header->element_type == ELEMENT_TYPE_STRING) {
            auto* s = reinterpret_cast<ELEMENT_STRING*>(e.header);
            end.x += s->box_width, end.y += s->box_height;
        } else if (e.header->element_type == ELEMENT_TYPE_MOVING_IMAGE) {
            if (e.images[1]) end.x += e.images[1]->width, end.y += e.images[1]->height;
        } else if (e.header->element_type == ELEMENT_TYPE_NEEDLE) {
            if (e.images[0]) {
                const int reach = int(std::ceil(std::hypot(e.images[0]->width, e.images[0]->height)));
                end.x += reach, end.y += reach;
            }
        } else if (!e.images.empty() && e.images[0]) {
            end.x += e.images[0]->width, end.y += e.images[0]->height;
        }
        size_.x = std::max(size_.x, end.x), size_.y = std::max(size_.y, end.y);
    }
    size_.x = std::max(size_.x, 1), size_.y = std::max(size_.y, 1);
}

void module_host::check_mouse_list() {
    if (!gauge_->mouse_rect) return;
    for (std::size_t i = 0;; ++i) {
        const MOUSERECT* r = gauge_->mouse_rect + i;
        if (i == max_mouse_records || !readable(r, sizeof *r))
            throw host_error(path_ + ": mouse list has no end record (MOUSE_RECT_EOL)");
        if (r->rect_type == MOUSE_RECT_EOL) break;
        if (r->rect_type > MOUSE_RECT_USER)
            throw host_error(path_ + ": mouse record " + std::to_string(i + 1) + " has unknown type " +
                             std::to_string(r->rect_type));
        if (r->rect_type == MOUSE_RECT_USER && r->tooltip_text && !readable_string(r->tooltip_text))
            throw host_error(path_ + ": mouse record " + std::to_string(i + 1) +
                             ": tooltip text cannot be read");
        mouse_list_.push_back(*r);
    }
}

void module_host::work_out_calibration() {
    for (auto& e : elements_) {
        if (e.header->element_type != ELEMENT_TYPE_NEEDLE) continue;
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e.header);
        for (UINT32 i = 0; i < n->nonlinearity_count; ++i)
            n->nonlinearity[i].degrees = direction_degrees(n->header.position, n->nonlinearity[i].point);
    }
}

// ---- Running ---------------------------------------------------------------

double module_host::token(ID32 token) const {
    const auto it = tokens_.find(token);
    return it == tokens_.end() ? 0.0 : it->second;
}

ERR module_host::trigger_key_event(ID32 id, UINT32 value) {
    events_.push_back({id, value});
    return 0;
}

void module_host::service(SINT32 code) {
    if (!gauge_->gauge_callback) return;
    static const char* const contexts[] = {
        "gauge_callback PRE_QUERY",     "gauge_callback POST_QUERY",    "gauge_callback PRE_INSTALL",
        "gauge_callback POST_INSTALL",  "gauge_callback PRE_INITIALIZE", "gauge_callback POST_INITIALIZE",
        "gauge_callback PRE_UPDATE",    "gauge_callback POST_UPDATE",   "gauge_callback PRE_GENERATE",
        "gauge_callback POST_GENERATE", "gauge_callback PRE_DRAW",      "gauge_callback POST_DRAW",
        "gauge_callback PRE_KILL",      "gauge_callback POST_KILL"};
    set_call_context(contexts[code]);
    gauge_->gauge_callback(gauge_, code, 0);
}

void module_host::frame(canvas& c) {
    service(PANEL_SERVICE_PRE_UPDATE);
    update_elements();
    service(PANEL_SERVICE_POST_UPDATE);
    service(PANEL_SERVICE_PRE_GENERATE);
    service(PANEL_SERVICE_POST_GENERATE);
    service(PANEL_SERVICE_PRE_DRAW);
    c.clear();
    draw_elements(c);
    service(PANEL_SERVICE_POST_DRAW);
}

void module_host::update_elements() {
    auto bind = [this](MODULE_VAR& v) {
        if (v.id) v.value = token(v.id);
    };
    for (auto& e : elements_) {
        ELEMENT_HEADER* h = e.header;
        switch (h->element_type) {
        case ELEMENT_TYPE_NEEDLE: {
            auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(h);
            bind(n->source_var);
            set_call_context("update of element", e.number);
            e.value_x = n->update_cb ? n->update_cb(n) : n->source_var.value;
            break;
        }
        case ELEMENT_TYPE_ICON: {
            auto* icon = reinterpret_cast<ELEMENT_ICON*>(h);
            bind(icon->source_var);
            set_call_context("update of element", e.number);
            e.value_x = icon->update_cb ? icon->update_cb(icon) : icon->source_var.value;
            break;
        }
        case ELEMENT_TYPE_MOVING_IMAGE: {
            auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(h);
            bind(m->source_var_x);
            bind(m->source_var_y);
            set_call_context("update of element", e.number);
            e.value_x = m->update_x_cb ? m->update_x_cb(m) : m->source_var_x.value;
            e.value_y = m->update_y_cb ? m->update_y_cb(m) : m->source_var_y.value;
            break;
        }
        case ELEMENT_TYPE_STRING: {
            auto* s = reinterpret_cast<ELEMENT_STRING*>(h);
            for (auto& v : s->source_var) bind(v);
            s->text = e.text_buffer.data();
            s->text_capacity = UINT32(e.text_buffer.size());
            if (s->update_cb) {
                set_call_context("update of element", e.number);
                s->update_cb(s);
            }
            // The buffer is ours whatever the module did with the pointer.
            e.text_buffer.back() = '\0';
            e.text = e.text_buffer.data();
            break;
        }
        default: break;
        }
    }
    set_call_context("");
}

void module_host::draw_elements(canvas& c) {
    for (auto& e : elements_) draw_element(e, c);
}

void module_host::draw_element(const element_state& e, canvas& c) {
    ELEMENT_HEADER* h = e.header;
    const bool transparency = h->image_flags & IMAGE_USE_TRANSPARENCY;
    switch (h->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE:
        if (e.images[0]) draw_image(c, *e.images[0], h->position, transparency);
        break;
    case ELEMENT_TYPE_NEEDLE: {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(h);
        const double angle = needle_angle({n->nonlinearity, n->nonlinearity_count}, e.value_x);
        if (e.images[0]) draw_needle(c, *e.images[0], h->position, h->offset, angle, transparency);
        break;
    }
    case ELEMENT_TYPE_ICON: {
        auto* icon = reinterpret_cast<ELEMENT_ICON*>(h);
        const image* img = e.images[icon_index(e.value_x, icon->icon_count)];
        if (img) draw_image(c, *img, h->position, transparency);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(h);
        const image *strip = e.images[0], *window = e.images[1];
        if (!strip || !window) break;
        const double ox = strip_offset(e.value_x, m->x_range, strip->width, window->width);
        const double oy = strip_offset(e.value_y, m->y_range, strip->height, window->height);
        draw_strip(c, *strip, *window, h->position, ox, oy, transparency);
        break;
    }
    case ELEMENT_TYPE_STRING: {
        auto* s = reinterpret_cast<ELEMENT_STRING*>(h);
        const coverage_mask& mask = e.renderer->render(*s, e.text, c.scale);
        draw_text_box(c, mask, h->position, s->fore_color, s->back_color,
                      transparency && (s->back_color & 0xFFFFFF) == 0);
        break;
    }
    default: break;
    }
}

// ---- Mouse -----------------------------------------------------------------

int module_host::call_area(int area, PIXPOINT point, FLAGS32 flags) {
    const MOUSERECT& r = mouse_list_[std::size_t(area)];
    const bool whole = r.relative_box.x == 0 && r.relative_box.y == 0 && r.relative_box.w == 0 &&
                       r.relative_box.h == 0;
    PIXPOINT relative = whole ? point : PIXPOINT{point.x - r.relative_box.x, point.y - r.relative_box.y};
    if (r.mouse_function) {
        set_call_context("mouse function of mouse record", area + 1);
        r.mouse_function(&relative, flags);
        set_call_context("");
    }
    if (r.event_id) trigger_key_event(r.event_id, 0);
    return 1;
}

module_host::mouse_result module_host::press(PIXPOINT point, mouse_button b) {
    mouse_result result;
    result.area = hit_test(mouse_list_, point, single_flag(b), size_);
    if (result.area >= 0) result.calls = call_area(result.area, point, single_flag(b));
    return result;
}

module_host::mouse_result module_host::repeat(PIXPOINT point, mouse_button b) {
    mouse_result result;
    result.area = hit_test(mouse_list_, point, single_flag(b), size_);
    if (result.area >= 0 && (mouse_list_[std::size_t(result.area)].mouse_flags & MOUSE_DOWN_REPEAT))
        result.calls = call_area(result.area, point, single_flag(b) | MOUSE_DOWN_REPEAT);
    return result;
}

module_host::mouse_result module_host::release(PIXPOINT point, mouse_button b) {
    mouse_result result;
    result.area = hit_test(mouse_list_, point, release_flag(b), size_);
    if (result.area >= 0) result.calls = call_area(result.area, point, release_flag(b));
    return result;
}

std::string module_host::mouse_tooltip(std::size_t user_record) const {
    const MOUSERECT& r = mouse_list_.at(user_record);
    if (!r.tooltip_text) return {};
    std::vector<std::string> args;
    if (r.tooltip_args && readable(r.tooltip_args, sizeof(MOUSE_TOOLTIP_ARG))) {
        for (const MOUSE_TOOLTIP_ARG* a = r.tooltip_args; args.size() < 99; ++a) {
            if (!readable(a, sizeof *a) || (a->token == 0 && a->format == nullptr)) break;
            char buf[64] = "?";
            if (readable_string(a->format, 64)) {
                const double v = token(a->token);
                switch (classify_tooltip_format(a->format)) {
                case tooltip_format::floating: std::snprintf(buf, sizeof buf, a->format, v); break;
                case tooltip_format::integer: std::snprintf(buf, sizeof buf, a->format, int(v)); break;
                default: std::snprintf(buf, sizeof buf, "%s", a->format); break;
                }
            }
            args.push_back(buf);
        }
    }
    std::string out;
    for (const char* p = r.tooltip_text; *p; ++p) {
        if (*p == '%' && p[1] >= '1' && p[1] <= '9') {
            int n = 0;
            const char* q = p + 1;
            while (*q >= '0' && *q <= '9' && n < 100) n = n * 10 + (*q++ - '0');
            if (n >= 1 && std::size_t(n) <= args.size()) {
                out += args[std::size_t(n) - 1];
                p = q - 1;
                continue;
            }
        }
        out += *p;
    }
    return out;
}

module_host::hover_result module_host::hover(PIXPOINT point) const {
    hover_result result;
    // Groups nest: the deepest open group holding the point gives the
    // tooltip, and its parent record the cursor where no area does.
    std::vector<bool> open;  // whether each open group holds the point
    int best_user = -1, best_user_depth = -1, best_parent = -1, best_parent_depth = -1;
    for (std::size_t i = 0; i < mouse_list_.size(); ++i) {
        const MOUSERECT& r = mouse_list_[i];
        const int depth = int(open.size());
        const bool inside = open.empty() || open.back();
        switch (r.rect_type) {
        case MOUSE_RECT_PARENT: {
            const bool holds = inside && box_holds(r.relative_box, point, size_);
            if (holds && depth > best_parent_depth) best_parent = int(i), best_parent_depth = depth;
            open.push_back(holds);
            break;
        }
        case MOUSE_RECT_USER:
            if (inside && box_holds(r.relative_box, point, size_) && depth > best_user_depth)
                best_user = int(i), best_user_depth = depth;
            break;
        case MOUSE_RECT_END_PARENT:
            if (!open.empty()) open.pop_back();
            break;
        case MOUSE_RECT_CHILD:
            if (result.area < 0 && box_holds(r.relative_box, point, size_))
                result.area = int(i);
            break;
        default: break;
        }
    }
    if (result.area >= 0)
        result.cursor = mouse_list_[std::size_t(result.area)].cursor;
    else if (best_parent >= 0)
        result.cursor = mouse_list_[std::size_t(best_parent)].cursor;
    if (best_user >= 0 && mouse_list_[std::size_t(best_user)].tooltip_text) {
        result.has_tooltip = true;
        result.tooltip = mouse_tooltip(std::size_t(best_user));
    }
    return result;
}

}  // namespace gauge_host
