#include "pe_file.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

struct image {
    std::vector<unsigned char> bytes;
    const IMAGE_NT_HEADERS32* nt = nullptr;
    const IMAGE_SECTION_HEADER* sections = nullptr;
    unsigned section_count = 0;

    const IMAGE_SECTION_HEADER* section_of(std::uint32_t rva) const {
        for (unsigned i = 0; i < section_count; ++i) {
            const auto& s = sections[i];
            const std::uint32_t size = s.Misc.VirtualSize ? s.Misc.VirtualSize : s.SizeOfRawData;
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + size) return &s;
        }
        return nullptr;
    }

    // A pointer into the file for an address of the loaded image, checked
    // against the file's end.
    const unsigned char* at(std::uint32_t rva, std::size_t size = 1) const {
        const auto* s = section_of(rva);
        if (!s) return nullptr;
        const std::size_t offset = s->PointerToRawData + (rva - s->VirtualAddress);
        if (offset + size > bytes.size()) return nullptr;
        return bytes.data() + offset;
    }

    std::string string_at(std::uint32_t rva) const {
        const auto* p = at(rva);
        if (!p) return {};
        const auto* end = bytes.data() + bytes.size();
        const auto* stop = static_cast<const unsigned char*>(std::memchr(p, 0, end - p));
        return std::string(reinterpret_cast<const char*>(p), stop ? stop - p : end - p);
    }

    const IMAGE_DATA_DIRECTORY& directory(unsigned index) const {
        return nt->OptionalHeader.DataDirectory[index];
    }
};

template <typename T>
const T* record_at(const image& img, std::uint32_t rva) {
    return reinterpret_cast<const T*>(img.at(rva, sizeof(T)));
}

void read_exports(const image& img, pe_file& out) {
    const auto& dir = img.directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!dir.VirtualAddress) return;
    const auto* exp = record_at<IMAGE_EXPORT_DIRECTORY>(img, dir.VirtualAddress);
    if (!exp) return;
    out.export_module_name = img.string_at(exp->Name);
    out.ordinal_base = exp->Base;
    for (std::uint32_t i = 0; i < exp->NumberOfFunctions; ++i) {
        const auto* rva = record_at<DWORD>(img, exp->AddressOfFunctions + 4 * i);
        if (!rva || !*rva) continue;
        pe_export e{.name = {}, .ordinal = exp->Base + i, .rva = *rva, .in_code = false};
        if (const auto* s = img.section_of(*rva))
            e.in_code = (s->Characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
        for (std::uint32_t n = 0; n < exp->NumberOfNames; ++n) {
            const auto* ord = record_at<WORD>(img, exp->AddressOfNameOrdinals + 2 * n);
            const auto* name = record_at<DWORD>(img, exp->AddressOfNames + 4 * n);
            if (ord && name && *ord == i) e.name = img.string_at(*name);
        }
        out.exports.push_back(e);
    }
}

void read_imports(const image& img, pe_file& out) {
    const auto& dir = img.directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!dir.VirtualAddress) return;
    for (std::uint32_t rva = dir.VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* d = record_at<IMAGE_IMPORT_DESCRIPTOR>(img, rva);
        if (!d || !d->Name) break;
        out.imported_dlls.push_back(img.string_at(d->Name));
    }
}

}  // namespace

std::optional<pe_file> read_pe_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    image img;
    img.bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (img.bytes.size() < sizeof(IMAGE_DOS_HEADER)) return std::nullopt;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(img.bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
    if (std::size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > img.bytes.size()) return std::nullopt;
    img.nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(img.bytes.data() + dos->e_lfanew);
    if (img.nt->Signature != IMAGE_NT_SIGNATURE ||
        img.nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return std::nullopt;
    const std::size_t sections_at = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                                    img.nt->FileHeader.SizeOfOptionalHeader;
    img.section_count = img.nt->FileHeader.NumberOfSections;
    if (sections_at + img.section_count * sizeof(IMAGE_SECTION_HEADER) > img.bytes.size())
        return std::nullopt;
    img.sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(img.bytes.data() + sections_at);

    pe_file out;
    out.characteristics = img.nt->FileHeader.Characteristics;
    out.dll_characteristics = img.nt->OptionalHeader.DllCharacteristics;
    out.is_i386_dll = img.nt->FileHeader.Machine == IMAGE_FILE_MACHINE_I386 &&
                      (out.characteristics & IMAGE_FILE_DLL);
    out.relocation_bytes = img.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size;
    out.resource_bytes = img.directory(IMAGE_DIRECTORY_ENTRY_RESOURCE).Size;
    read_exports(img, out);
    read_imports(img, out);
    return out;
}
