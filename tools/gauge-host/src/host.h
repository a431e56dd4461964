// A gauge module loaded and driven as a panel host drives it: the load
// checks, the host's own PANELS, the gauge's life from PRE_QUERY to
// POST_KILL, the element update and drawing of each frame, and the mouse.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "canvas.h"
#include "gauges.h"
#include "text.h"

namespace gauge_host {

// The host's own table version, handed to every module it binds.
inline constexpr UINT32 host_panels_version = 0x0800;

struct raised_event {
    ID32 id;
    UINT32 value;
};

enum class mouse_button { left, middle, right };
FLAGS32 single_flag(mouse_button b);
FLAGS32 release_flag(mouse_button b);

// What the host knows of one element beside its record.
struct element_state {
    ELEMENT_HEADER* header = nullptr;
    int number = 0;  // 1-based, in tree order
    int depth = 0;
    double value_x = 0;  // needle or icon value, or the strip's x value
    double value_y = 0;
    std::vector<char> text_buffer;  // string elements: the module writes here
    std::string text;               // what it wrote, as drawn
    std::vector<const image*> images;  // icon images, strip then window, or the one bitmap
    std::unique_ptr<text_renderer> renderer;
};

// One bitmap the elements need, found or not.
struct bitmap_entry {
    SINT32 id = 0;
    std::string role;  // which element uses it, and how
    bool found = false;
    std::string problem;  // why it could not be used
    image picture;
};

struct load_options {
    // inspect shows a module whose bitmaps are missing; render and run
    // refuse it.
    bool require_bitmaps = true;
};

class module_host {
public:
    explicit module_host(const std::string& path, load_options options = {});
    ~module_host();
    module_host(const module_host&) = delete;
    module_host& operator=(const module_host&) = delete;

    // PRE_KILL, POST_KILL, module_deinit and FreeLibrary; idempotent.
    void unload();

    const std::string& path() const { return path_; }
    HMODULE handle() const { return handle_; }
    GAUGESLINKAGE& linkage() const { return *linkage_; }
    GAUGESIMPORT* import_table() const { return imports_; }
    GAUGEHDR& gauge() const { return *gauge_; }
    const PANELS& panels() const { return panels_; }
    // The background's size: the root element's bitmap, else what the
    // elements cover from the origin.
    PIXPOINT gauge_size() const { return size_; }

    void set_token(ID32 token, double value) { tokens_[token] = value; }
    double token(ID32 token) const;
    std::map<ID32, double>& tokens() { return tokens_; }

    // One whole frame: PRE_UPDATE, element update, POST_UPDATE,
    // PRE_GENERATE, POST_GENERATE, PRE_DRAW, drawing into c, POST_DRAW.
    void frame(canvas& c);
    // A canvas of the gauge's size at scale.
    canvas make_canvas(int scale) const { return canvas(size_.x, size_.y, scale); }
    // Draws one element as the frame does, from its last update.
    void draw_element(const element_state& e, canvas& c);
    std::vector<element_state>& elements() { return elements_; }
    const std::vector<bitmap_entry>& bitmaps() const { return bitmaps_; }
    std::span<const MOUSERECT> mouse_list() const { return mouse_list_; }
    std::string mouse_tooltip(std::size_t user_record) const;

    // Events raised through trigger_key_event or a mouse record's
    // event_id, in order.
    std::vector<raised_event>& events() { return events_; }

    struct mouse_result {
        int area = -1;  // index in the mouse list, or -1
        int calls = 0;
    };
    // The button going down at point: the first matching area is called.
    mouse_result press(PIXPOINT point, mouse_button b);
    // One repeat while the button stays down: called again only where the
    // area repeats.
    mouse_result repeat(PIXPOINT point, mouse_button b);
    // The button coming up: an area that asks for the release is called.
    mouse_result release(PIXPOINT point, mouse_button b);

    struct hover_result {
        int area = -1;
        UINT32 cursor = CURSOR_NONE;
        bool has_tooltip = false;
        std::string tooltip;
    };
    hover_result hover(PIXPOINT point) const;

    // Called by the host's PANELS table.
    ERR trigger_key_event(ID32 id, UINT32 value);

private:
    void check_file() const;
    void find_records();
    void walk_elements();
    void check_element(element_state& e);
    void load_bitmaps();
    const image* need_bitmap(SINT32 id, const std::string& role);
    void check_mouse_list();
    void work_out_calibration();
    void service(SINT32 code);
    void update_elements();
    void draw_elements(canvas& c);
    int call_area(int area, PIXPOINT point, FLAGS32 flags);
    std::string where(const element_state& e) const;

    std::string path_;
    load_options options_;
    HMODULE handle_ = nullptr;
    GAUGESLINKAGE* linkage_ = nullptr;
    GAUGESIMPORT* imports_ = nullptr;
    GAUGEHDR* gauge_ = nullptr;
    PANELS panels_{};
    bool initialised_ = false;  // module_init has run
    bool gauge_alive_ = false;  // PRE_QUERY has been sent, PRE_KILL not yet
    PIXPOINT size_{0, 0};
    std::map<ID32, double> tokens_;
    std::vector<element_state> elements_;
    std::vector<bitmap_entry> bitmaps_;
    std::vector<MOUSERECT> mouse_list_;  // a copy up to EOL, for the rules
    std::vector<raised_event> events_;
    module_host* previous_active_ = nullptr;
};

// What a call into the module is doing, for the crash report: a fixed
// text and, where not 0, the element or mouse record number. Cheap, as it
// is set for every callback of every frame.
void set_call_context(const char* what, int number = 0);
std::string call_context();

const char* element_type_name(UINT32 type);
const char* cursor_name(UINT32 cursor);
const char* rect_type_name(UINT32 type);
const char* service_name(SINT32 code);

// Whether size bytes at p can be read: module records are trusted only
// after this, so that a broken pointer is a message, not a crash.
bool readable(const void* p, std::size_t size);
// A zero-ended string of at most max bytes, or nothing where it cannot be
// read or does not end.
bool readable_string(const char* s, std::size_t max = 4096);

}  // namespace gauge_host
