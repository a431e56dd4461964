// The program as users run it: every command's help, and each kind of bad
// input ending with one message that names the culprit and a non-zero
// status, never a crash or a wait.
#include <gtest/gtest.h>

#include "host_test_support.h"

namespace {

#define EXPECT_PROGRAM(args, status, stream, text) \
    do {                                           \
        SCOPED_TRACE(args);                        \
        expect_program(args, status, stream, text);\
    } while (0)

enum which { out, err };

void expect_program(const std::string& args, DWORD status, which stream, const std::string& text) {
    const program_result r = run_program(args);
    EXPECT_EQ(r.status, status) << "out: " << r.out << "\nerr: " << r.err;
    const std::string& s = stream == out ? r.out : r.err;
    EXPECT_NE(s.find(text), std::string::npos) << "wanted \"" << text << "\" in: " << s;
}

std::string in_quotes(const std::string& s) { return "\"" + s + "\""; }

TEST(command_line, every_command_explains_itself) {
    EXPECT_PROGRAM("--help", 0, out, "render MODULE");
    EXPECT_PROGRAM("render --help", 0, out, "--scale N");
    EXPECT_PROGRAM("run --help", 0, out, "65879 heading select up");
    EXPECT_PROGRAM("inspect --help", 0, out, "MISSING");
    EXPECT_PROGRAM("", 2, err, "usage: gauge-host");
    EXPECT_PROGRAM("paint x.gau", 2, err, "unknown command 'paint'");
    EXPECT_PROGRAM("render " + in_quotes(fixture_path("fixture_panel")), 2, err, "-o FILE.png missing");
    EXPECT_PROGRAM("render m.gau --scale 0 -o x.png", 2, err, "--scale 0");
    EXPECT_PROGRAM("render m.gau --set 107 -o x.png", 2, err, "expected TOKEN=VALUE");
}

TEST(command_line, refuses_what_is_not_a_good_module_with_its_name_and_the_reason) {
    temp_file text("not_a_module.gau", "just some text, not a DLL\n");
    const std::string missing = fixture_path("no_such_module");
    const struct {
        const char* name;
        std::string module;
        std::string message;
    } cases[] = {
        {"missing file", missing, missing + ": no such file"},
        {"not a PE file", text.path, text.path + ": not a PE module"},
        {"a DLL without the exports", fixture_path("fixture_no_exports"), "does not export Linkage"},
        {"wrong link version", fixture_path("fixture_wrong_link"),
         "link version 0x0700, this host needs 0x0800"},
        {"wrong gauge header version", fixture_path("fixture_wrong_header"),
         "gauge header version 700, this host needs 800"},
        {"a bitmap id with no resource", fixture_path("fixture_missing_bitmap"),
         "bitmap 0x303 (771) (element #3, icon image 4) has no RT_BITMAP resource"},
        {"an element tree that loops", fixture_path("fixture_loop"), "element tree comes back"},
    };
    temp_file picture("refused.png");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& command : {"render " + in_quotes(c.module) + " -o " + in_quotes(picture.path),
                                           "inspect " + in_quotes(c.module)}) {
            if (command.rfind("inspect", 0) == 0 && c.module == fixture_path("fixture_missing_bitmap"))
                continue;  // inspect shows such a module: below
            EXPECT_PROGRAM(command, 1, err, c.message);
        }
        EXPECT_FALSE(file_exists(picture.path)) << "no picture of a refused module";
    }
}

TEST(command_line, inspect_lists_a_missing_bitmap_and_still_fails) {
    const program_result r = run_program("inspect " + in_quotes(fixture_path("fixture_missing_bitmap")));
    EXPECT_EQ(r.status, 1u);
    EXPECT_NE(r.out.find("0x303    MISSING: has no RT_BITMAP resource in language 1033"), std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("bitmap 0x303 (771, element #3, icon image 4)"), std::string::npos) << r.err;
}

TEST(command_line, a_bad_script_line_is_named_before_anything_runs) {
    temp_file picture("never.png");
    temp_file script("bad.txt", "set 1 5\nrender " + picture.path + "\nfly 1 2\n");
    EXPECT_PROGRAM("run " + in_quotes(fixture_path("fixture_panel")) + " " + in_quotes(script.path), 1, err,
                   script.path + ":3: unknown command 'fly'");
    EXPECT_FALSE(file_exists(picture.path));
    EXPECT_PROGRAM("run " + in_quotes(fixture_path("fixture_panel")) + " " + in_quotes(script.path + ".none"), 1,
                   err, script.path + ".none: cannot be read");
}

TEST(command_line, render_writes_a_png_of_the_gauge_at_its_scale) {
    temp_file picture("fixture.png");
    EXPECT_PROGRAM("render " + in_quotes(fixture_path("fixture_panel")) + " --set 1=5 --scale 2 -o " +
                       in_quotes(picture.path),
                   0, out, ": 128 x 96");
    FILE* f = std::fopen(picture.path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char head[24] = {};
    std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head + 1), 3), "PNG");
    EXPECT_EQ(head[19], 128) << "width";
    EXPECT_EQ(head[23], 96) << "height";
}

TEST(command_line, inspect_prints_every_record_with_the_host_degrees) {
    const program_result r = run_program("inspect " + in_quotes(fixture_path("fixture_panel")));
    EXPECT_EQ(r.status, 0u) << r.err;
    for (const char* want : {"module_version          0x0800 (LINK_VERSION)",
                             "id 0x0F PANELS -> this host's PANELS", "gauge_name              \"fixture_panel\"",
                             "#4     moving image", "x_range                 0 .. 100",
                             "travel                  30 x 0 pixels", "(48, 24)     40           90.00",
                             "switch_type             3 (select)", "tooltip \"Needle %1, icon %2\" shown as \"Needle 0.0, icon 0\"",
                             "0x401      10 x 4     8-bit  element #4, moving image window"})
        EXPECT_NE(r.out.find(want), std::string::npos) << "wanted: " << want << "\n" << r.out;
}

}  // namespace
