// What a host relies on in every module's frame: how the file loads and
// unloads, what it exports and imports, its linkage and import records,
// the common gauge-header values, its entry point and version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <vector>

#include "frame_checks.h"
#include "gauge_module.h"
#include "modules.h"
#include "pe_file.h"
#include "version_block.h"

namespace {

class frame : public ::testing::TestWithParam<module_file> {};

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// In the manner of Wine's loader tests: load, check, free, check it is gone.
TEST_P(frame, loads_and_unloads_cleanly) {
    const auto& m = GetParam();
    ASSERT_EQ(GetModuleHandleA(m.file), nullptr) << "already loaded before the test";
    HMODULE h = LoadLibraryA(module_path(m.file).c_str());
    ASSERT_NE(h, nullptr) << "LoadLibrary failed, error " << GetLastError();
    EXPECT_EQ(GetModuleHandleA(m.file), h);
    EXPECT_NE(GetProcAddress(h, "Linkage"), nullptr);
    EXPECT_NE(GetProcAddress(h, "ImportTable"), nullptr);
    EXPECT_TRUE(FreeLibrary(h));
    EXPECT_EQ(GetModuleHandleA(m.file), nullptr) << "still loaded after FreeLibrary";
}

TEST_P(frame, export_directory_holds_exactly_the_two_data_records) {
    const auto& m = GetParam();
    const auto pe = read_pe_file(module_path(m.file));
    ASSERT_TRUE(pe.has_value()) << "not a PE file";
    EXPECT_TRUE(pe->is_i386_dll);
    EXPECT_EQ(pe->export_module_name, m.file);
    EXPECT_EQ(pe->ordinal_base, 1u);
    ASSERT_EQ(pe->exports.size(), 2u);
    const struct {
        const char* name;
        std::uint32_t ordinal;
    } expected[] = {{"Linkage", 1}, {"ImportTable", 2}};
    for (const auto& want : expected) {
        const auto it = std::find_if(pe->exports.begin(), pe->exports.end(),
                                     [&](const pe_export& e) { return e.name == want.name; });
        ASSERT_NE(it, pe->exports.end()) << want.name << " not exported";
        EXPECT_EQ(it->ordinal, want.ordinal) << want.name;
        EXPECT_FALSE(it->in_code) << want.name << " must be data, not a routine";
    }
}

TEST_P(frame, carries_relocations_and_loads_at_any_address) {
    const auto pe = read_pe_file(module_path(GetParam().file));
    ASSERT_TRUE(pe.has_value());
    EXPECT_GT(pe->relocation_bytes, 0u);
    EXPECT_FALSE(pe->characteristics & IMAGE_FILE_RELOCS_STRIPPED);
    EXPECT_TRUE(pe->dll_characteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
}

// A clean Windows has no toolchain DLLs: the module may need only the
// system's own.
TEST_P(frame, imports_only_system_dlls) {
    const std::set<std::string> system_dlls = {"kernel32.dll", "msvcrt.dll", "user32.dll",
                                               "advapi32.dll", "ntdll.dll"};
    const auto pe = read_pe_file(module_path(GetParam().file));
    ASSERT_TRUE(pe.has_value());
    EXPECT_FALSE(pe->imported_dlls.empty());
    for (const auto& dll : pe->imported_dlls)
        EXPECT_TRUE(system_dlls.count(lower(dll))) << "imports " << dll;
}

TEST_P(frame, linkage_as_declared) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.linkage, nullptr);
    EXPECT_EQ(m.linkage->module_id, 0x13u);
    EXPECT_NE(m.linkage->module_init, nullptr);
    EXPECT_NE(m.linkage->module_deinit, nullptr);
    EXPECT_EQ(m.linkage->module_flags, 0u);
    EXPECT_EQ(m.linkage->module_priority, 0u);
    EXPECT_EQ(m.linkage->module_version, LINK_VERSION);
    EXPECT_NE(m.linkage->gauge_header_ptr[0], nullptr);
    EXPECT_EQ(m.linkage->gauge_header_ptr[1], nullptr);
}

TEST_P(frame, import_table_is_unbound_until_the_host_binds_it) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.imports, nullptr);
    EXPECT_EQ(m.imports->panels.id, IMPORT_ID_PANELS);
    EXPECT_EQ(m.imports->panels.ptr, nullptr);
    EXPECT_EQ(m.imports->end.id, 0u);
    EXPECT_EQ(m.imports->end.ptr, nullptr);
}

TEST_P(frame, gauge_header_common_values) {
    loaded_module m(GetParam().file);
    GAUGEHDR* g = m.gauge();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->gauge_header_version, GAUGE_HEADER_VERSION);
    EXPECT_STREQ(g->gauge_name, GetParam().gauge_name);
    ASSERT_NE(g->elements_list, nullptr);
    EXPECT_NE(g->elements_list[0], nullptr);
    EXPECT_NO_GAUGE_ROUTINES(*g);
    EXPECT_EQ(g->reserved1, 0u);
    EXPECT_EQ(g->size_x_mm, 100u);
    EXPECT_EQ(g->size_y_mm, 0u);
    EXPECT_EQ(g->parent, nullptr);
    EXPECT_EQ(g->next, nullptr);
    EXPECT_NE(g->mouse_rect, nullptr);
    EXPECT_NE(g->gauge_callback, nullptr) << "the lifecycle callback";
    EXPECT_EQ(g->user_data, 0u);
    EXPECT_EQ(g->parameters, nullptr);
    EXPECT_EQ(g->usage, nullptr);
    EXPECT_HOST_STATE_ZERO(g->host);
}

TEST_P(frame, gauge_name_is_the_export_name_without_extension) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.gauge(), nullptr);
    const auto pe = read_pe_file(module_path(GetParam().file));
    ASSERT_TRUE(pe.has_value());
    EXPECT_EQ(std::string(m.gauge()->gauge_name) + ".gau", pe->export_module_name);
}

TEST_P(frame, module_init_and_deinit_change_nothing) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.linkage, nullptr);
    const GAUGESLINKAGE linkage_before = *m.linkage;
    const GAUGESIMPORT imports_before = *m.imports;
    const GAUGEHDR gauge_before = *m.gauge();
    for (int i = 0; i < 3; ++i) {
        m.linkage->module_deinit();
        m.linkage->module_init();
        m.linkage->module_init();
    }
    m.linkage->module_deinit();
    EXPECT_EQ(std::memcmp(&linkage_before, m.linkage, sizeof linkage_before), 0);
    EXPECT_EQ(std::memcmp(&imports_before, m.imports, sizeof imports_before), 0);
    EXPECT_EQ(std::memcmp(&gauge_before, m.gauge(), sizeof gauge_before), 0);
}

// The loader itself proves the process notifications: a FALSE from attach
// fails LoadLibrary (loads_and_unloads_cleanly). The others go to the
// entry point directly, with whatever handle and reserved pointer.
TEST_P(frame, entry_point_accepts_every_other_notification) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.handle, nullptr);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m.handle);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        reinterpret_cast<const BYTE*>(m.handle) + dos->e_lfanew);
    using entry_point = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
    const auto entry = reinterpret_cast<entry_point>(reinterpret_cast<BYTE*>(m.handle) +
                                                     nt->OptionalHeader.AddressOfEntryPoint);
    int reserved_dummy = 0;
    const struct {
        const char* name;
        HINSTANCE handle;
        DWORD reason;
        LPVOID reserved;
    } cases[] = {
        {"thread attach", m.handle, DLL_THREAD_ATTACH, nullptr},
        {"thread detach", m.handle, DLL_THREAD_DETACH, nullptr},
        {"thread attach, null handle", nullptr, DLL_THREAD_ATTACH, &reserved_dummy},
        {"thread detach, null handle", nullptr, DLL_THREAD_DETACH, &reserved_dummy},
        {"reason out of range", m.handle, 4, nullptr},
        {"reason far out of range", nullptr, 0xFFFFFFFF, &reserved_dummy},
    };
    for (const auto& c : cases) EXPECT_EQ(entry(c.handle, c.reason, c.reserved), TRUE) << c.name;
}

TEST_P(frame, version_resource_fixed_info) {
    const std::string path = module_path(GetParam().file);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixed_size));
    ASSERT_GE(fixed_size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, DWORD(VS_FFI_FILEFLAGSMASK));
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_DOS_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
    EXPECT_EQ(fixed->dwFileDateMS, 0u);
    EXPECT_EQ(fixed->dwFileDateLS, 0u);

    const struct {
        const char* query;
        const char* value;
    } strings[] = {
        {"\\StringFileInfo\\040904b0\\FileVersion", "1.0"},
        {"\\StringFileInfo\\040904b0\\ProductVersion", "1.0"},
    };
    for (const auto& s : strings) {
        char* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), s.query, reinterpret_cast<void**>(&value), &length))
            << s.query;
        EXPECT_STREQ(value, s.value) << s.query;
    }
    WORD* translation = nullptr;
    UINT translation_size = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &translation_size));
    ASSERT_EQ(translation_size, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04b0);
}

TEST_P(frame, version_string_table_in_order) {
    loaded_module m(GetParam().file);
    ASSERT_NE(m.handle, nullptr);
    HRSRC found = FindResourceExA(m.handle, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(found, nullptr) << "no version resource 1 in language 1033";
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(m.handle, found)));
    const version_block root = parse_version_block(bytes, SizeofResource(m.handle, found));
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    const version_block* strings = child(root, "StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u) << "exactly one string table";
    const version_block& table = strings->children[0];
    EXPECT_EQ(table.key, "040904b0");
    ASSERT_EQ(table.children.size(), 7u);
    // Keys the implementer chose are checked only for being there.
    const char* keys[] = {"CompanyName", "FileDescription", "FileVersion", nullptr,
                          "ProductName", "ProductVersion", nullptr};
    for (std::size_t i = 0; i < table.children.size(); ++i) {
        if (keys[i]) EXPECT_EQ(table.children[i].key, keys[i]) << "entry " << i + 1;
        EXPECT_FALSE(table.children[i].key.empty()) << "entry " << i + 1;
        EXPECT_FALSE(table.children[i].text.empty()) << table.children[i].key;
    }
    EXPECT_EQ(table.children[2].text, "1.0");
    EXPECT_EQ(table.children[5].text, "1.0");
    ASSERT_NE(child(root, "VarFileInfo"), nullptr);
}

// Identical in every module.
TEST(version_resource, same_bytes_in_every_module) {
    std::vector<std::vector<std::uint8_t>> seen;
    for (const auto& mf : delivered_modules()) {
        loaded_module m(mf.file);
        ASSERT_NE(m.handle, nullptr) << mf.file;
        HRSRC found = FindResourceExA(m.handle, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        ASSERT_NE(found, nullptr) << mf.file;
        const auto* p = static_cast<const std::uint8_t*>(LockResource(LoadResource(m.handle, found)));
        seen.emplace_back(p, p + SizeofResource(m.handle, found));
    }
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], seen[0]) << delivered_modules()[i].file;
}

INSTANTIATE_TEST_SUITE_P(modules, frame, ::testing::ValuesIn(delivered_modules()),
                         [](const auto& info) { return std::string(info.param.gauge_name); });

}  // namespace
