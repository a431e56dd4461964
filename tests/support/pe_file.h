// Reads a PE module from its file on disk, the way a tool would, without
// the loader: the export directory, the imported DLLs and the relocations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct pe_export {
    std::string name;  // empty for an export by ordinal only
    std::uint32_t ordinal;
    std::uint32_t rva;
    bool in_code;  // the address lies in an executable section
};

struct pe_file {
    bool is_i386_dll = false;
    std::uint32_t characteristics = 0;
    std::uint16_t dll_characteristics = 0;
    std::string export_module_name;
    std::uint32_t ordinal_base = 0;
    std::vector<pe_export> exports;
    std::vector<std::string> imported_dlls;
    std::uint32_t relocation_bytes = 0;
    std::uint32_t resource_bytes = 0;
};

// Nothing when the file cannot be read or is not a PE image.
std::optional<pe_file> read_pe_file(const std::string& path);
