// The autopilot panel drawn and driven by the host, checked by what the
// pictures show: the compass cards under their index lines, the lamps,
// the readouts' glyphs, and a scripted session with the simulated aircraft.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli.h"
#include "host_test_support.h"

using namespace gauge_host;

namespace {

const std::string aquilo = dist_path("Aquilo.gau");

class aquilo_picture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!file_exists(aquilo)) GTEST_SKIP() << aquilo << " is not built yet";
        host = std::make_unique<module_host>(aquilo);
    }
    std::unique_ptr<module_host> host;

    const image& bitmap(SINT32 id) const {
        for (const auto& b : host->bitmaps())
            if (b.id == id) return b.picture;
        throw std::runtime_error("no bitmap " + std::to_string(id));
    }
};

// Card column under the window's index line (window columns 42 and 43):
// the offset at which the card, seen through the window, matches the
// picture best, plus 42.5.
double card_column_under_index(const canvas& c, const image& card, PIXPOINT window) {
    int best = -1;
    long best_cost = -1;
    for (int k = 0; k + 85 <= card.width; ++k) {
        long cost = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 85; ++x) {
                if (x == 42 || x == 43) continue;
                const rgba& p = c.at(window.x + x, window.y + y);
                const rgba& q = card.at(x + k, y);
                cost += std::abs(p.r - std::min(255, q.r + 1)) + std::abs(p.g - std::min(255, q.g + 1));
            }
        if (best_cost < 0 || cost < best_cost) best_cost = cost, best = k;
    }
    return best + 42.5;
}

// Where the card's labels stand: N centred near column 41 at the left end
// and 347 at the right, 0.85 pixel per degree, headings falling rightward.
double label_column(double heading_of_label, bool left_n) {
    return left_n && heading_of_label == 0 ? 41.0 : 347.0 - heading_of_label * 0.85;
}

TEST_F(aquilo_picture, strips_show_the_card_label_of_the_heading_under_the_index) {
    struct strip {
        const char* name;
        ID32 token;
        SINT32 card;
        PIXPOINT window;
        double left_end;
    };
    const strip strips[] = {{"heading strip", 81, 0x1400, {29, 52}, 359.0},
                            {"heading select strip", 107, 0x1200, {29, 33}, 359.9}};
    for (const auto& s : strips) {
        const struct {
            double heading;
            double label;  // heading of the label that must stand at the index
            bool left_n;
            const char* reads;
        } cases[] = {{0, 0, false, "N"},        {s.left_end, 0, true, "N"}, {90, 90, false, "E"},
                     {180, 180, false, "S"},    {270, 270, false, "W"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << s.name << " at " << c.heading << " reads " << c.reads);
            host->set_token(s.token, c.heading);
            const canvas picture = render_frame(*host);
            const double column = card_column_under_index(picture, bitmap(s.card), s.window);
            EXPECT_NEAR(column, label_column(c.label, c.left_n), 4.0);
            // The index line itself stands white over the card.
            EXPECT_EQ(picture.at(s.window.x + 42, s.window.y + 8), (rgba{255, 255, 255, 255}));
        }
    }
}

TEST_F(aquilo_picture, each_lamp_is_dark_at_0_and_lit_at_1) {
    const struct {
        const char* name;
        ID32 token;
        box_px box;
    } lamps[] = {{"centre", 103, {60, 104, 89, 134}},
                 {"APR", 112, {60, 142, 91, 172}},
                 {"left toggle", 106, {22, 97, 43, 118}},
                 {"right toggle", 108, {107, 97, 128, 118}}};
    auto bright_green = [](const rgba& p) { return p.g > 200 && p.r < 120 && p.b < 120; };
    for (const auto& lamp : lamps) {
        SCOPED_TRACE(lamp.name);
        host->set_token(lamp.token, 0);
        EXPECT_TRUE(pixels_where(render_frame(*host), bright_green, lamp.box).empty()) << "dark at 0";
        host->set_token(lamp.token, 1);
        EXPECT_GT(pixels_where(render_frame(*host), bright_green, lamp.box).size(), 8u) << "lit at 1";
        host->set_token(lamp.token, 0);
    }
}

TEST_F(aquilo_picture, transparent_black_is_never_drawn) {
    for (double v : {0.0, 1.0}) {
        for (ID32 t : {103, 106, 108, 112}) host->set_token(t, v);
        const canvas picture = render_frame(*host);
        EXPECT_TRUE(pixels_where(picture, drawn_pure_black).empty());
        // Outside the centre lamp's ring the background shows through.
        canvas background = host->make_canvas(1);
        host->draw_element(host->elements()[0], background);
        for (PIXPOINT p : {PIXPOINT{60, 104}, PIXPOINT{88, 104}, PIXPOINT{60, 133}, PIXPOINT{88, 133}})
            EXPECT_EQ(picture.at(p.x, p.y), background.at(p.x, p.y)) << p.x << ", " << p.y;
    }
}

// Cream glyph pixels: the text colour RGB(231, 206, 133), or nearly.
bool cream(const rgba& p) { return p.r > 150 && p.g > 130 && p.b > 60 && p.r > p.b + 40; }

TEST_F(aquilo_picture, readouts_show_cream_glyphs_in_their_windows) {
    host->set_token(107, 123);
    host->set_token(109, 4560);
    const canvas picture = render_frame(*host);
    const box_px left_window{15, 121, 49, 138}, right_window{101, 121, 142, 138};
    const auto left = pixels_where(picture, cream, {0, 115, 100, 145});
    const auto right = pixels_where(picture, cream, {100, 115, 146, 145});
    EXPECT_GT(left.size(), 30u) << "\"123\"";
    EXPECT_GT(right.size(), 50u) << "\"04560\"";
    for (PIXPOINT p : left) EXPECT_TRUE(left_window.holds(p.x, p.y)) << p.x << ", " << p.y;
    // Five digits at the box's height run about 41 px from x = 105: they
    // stay in the window's rows and start inside it.
    int first = 1000;
    for (PIXPOINT p : right) {
        EXPECT_TRUE(p.y >= right_window.y0 && p.y < right_window.y1) << p.x << ", " << p.y;
        first = std::min(first, p.x);
    }
    EXPECT_GE(first, right_window.x0);
    host->set_token(107, 0);
    host->set_token(109, 0);
    render_frame(*host);
    EXPECT_EQ(host->elements()[4].text, "000");
    EXPECT_EQ(host->elements()[5].text, "00000");
}

TEST_F(aquilo_picture, scripted_heading_select_hold_raises_once_per_repeat_and_moves_the_readout) {
    host.reset();  // the script loads its own
    temp_file picture("aquilo_hold.png");
    temp_file script("aquilo.txt",
                     "set 107 358\n"
                     "hold 40 150 5        # HDG SEL, up part\n"
                     "texts\n"
                     "token 107\n"
                     "hold 70 115 4        # centre button: no repeat\n"
                     "click 30 150         # between the two parts\n"
                     "click 40 150 right\n"
                     "hover 40 150\n"
                     "render " + picture.path + "\n"
                     "token 103\n");
    std::ostringstream out, err;
    const int status = run_command_line({"run", aquilo, script.path}, out, err);
    ASSERT_EQ(status, 0) << err.str();
    const std::string log = out.str();
    auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("2: event 65879 (0x10157) value 0"), 5u) << log;
    EXPECT_EQ(count("event 65879"), 5u);
    EXPECT_NE(log.find("3: element #5 text \"003\""), std::string::npos) << "358 + 5 wraps to 3\n" << log;
    EXPECT_NE(log.find("4: token 107 = 3"), std::string::npos) << log;
    EXPECT_EQ(count("5: event 65580"), 1u) << "held, but raised once\n" << log;
    EXPECT_NE(log.find("6: click (30, 150) left: no area"), std::string::npos) << log;
    EXPECT_NE(log.find("7: click (40, 150) right: no area"), std::string::npos) << log;
    EXPECT_NE(log.find("8: at (40, 150) cursor up-arrow, mouse record 3, tooltip \"Old italian Autopilot\""),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("10: token 103 = 1"), std::string::npos) << "the aircraft lit the lamp\n" << log;
    EXPECT_TRUE(file_exists(picture.path));
}

}  // namespace
