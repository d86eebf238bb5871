// ELF reading: headers first, then section names and contents, the symbol table, and the
// relocation sections, so that later stages never see an unchecked offset.
#include "tools/qvimage/elf_object.h"

#include "loader/image_format.h"
#include "loader/message_text.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::escaped;
using qv::load_u16;
using qv::load_u32;
using qv::Result;

constexpr size_t kHeaderSize = 52;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kSymbolSize = 16;
constexpr size_t kRelSize = 8;
constexpr u16 kShnXindex = 0xffff;
constexpr u16 kShnLoReserve = 0xff00;
constexpr u32 kShfInfoLink = 0x40;  // sh_info names a section: set on relocation sections

struct SectionHeader {
    u32 name, type, flags, offset, size, link, info, alignment;
};

SectionHeader read_section_header(const u8* p)
{
    return {load_u32(p),      load_u32(p + 4),  load_u32(p + 8),  load_u32(p + 16),
            load_u32(p + 20), load_u32(p + 24), load_u32(p + 28), load_u32(p + 32)};
}

// A zero-terminated name inside a string table section.
Result<std::string> name_at(const ElfSection& table, u32 offset, const std::string& what)
{
    const std::vector<u8>& bytes = table.bytes;
    if (offset >= bytes.size())
        return Error{what + " lies outside its string table " + escaped(table.name)};
    for (size_t end = offset; end < bytes.size(); ++end) {
        if (bytes[end] == 0)
            return std::string(reinterpret_cast<const char*>(bytes.data() + offset), end - offset);
    }
    return Error{what + " runs past the end of its string table " + escaped(table.name)};
}

Result<void> check_identity(std::span<const u8> file)
{
    if (file.size() < kHeaderSize || file[0] != 0x7f || file[1] != 'E' || file[2] != 'L' || file[3] != 'F')
        return Error{"not an ELF object file"};
    if (file[4] != 1)
        return Error{"not a 32-bit ELF object (compile with -m32)"};
    if (file[5] != 1)
        return Error{"not a little-endian ELF object"};
    const u16 type = load_u16(file.data() + 16);
    if (type != 1)
        return Error{"not a relocatable object (ELF type " + std::to_string(type) +
                     "); give qvimage the .o file that gcc -c writes"};
    const u16 machine = load_u16(file.data() + 18);
    if (machine != 3)
        return Error{"built for ELF machine " + std::to_string(machine) + ", not i386 (compile with -m32)"};
    return {};
}

Result<std::vector<SectionHeader>> read_section_headers(std::span<const u8> file, u32& names_index)
{
    const u8* h = file.data();
    const u32 table = load_u32(h + 32);
    const u16 entry_size = load_u16(h + 46);
    u32 count = load_u16(h + 48);
    names_index = load_u16(h + 50);
    if (table == 0)
        return Error{"the object has no section headers"};
    if (entry_size != kSectionHeaderSize)
        return Error{"section headers are " + std::to_string(entry_size) + " bytes, expected 40"};
    if (table > file.size() || file.size() - table < kSectionHeaderSize)
        return Error{"the section header table lies outside the file"};
    // Objects with very many sections keep the real count and name index in section 0.
    const SectionHeader first = read_section_header(h + table);
    if (first.type != 0)
        return Error{"section 0 has type " + std::to_string(first.type) + "; the null section must have type 0"};
    if (count == 0)
        count = first.size;
    if (names_index == kShnXindex)
        names_index = first.link;
    if (count > (file.size() - table) / kSectionHeaderSize)
        return Error{"the section header table lies outside the file"};
    std::vector<SectionHeader> headers;
    headers.reserve(count);
    for (u32 i = 0; i < count; ++i)
        headers.push_back(read_section_header(h + table + i * kSectionHeaderSize));
    if (names_index >= count || headers[names_index].type != kShtStrtab)
        return Error{"the section name table index " + std::to_string(names_index) + " is not a string table"};
    return headers;
}

Result<void> read_sections(std::span<const u8> file, const std::vector<SectionHeader>& headers, u32 names_index,
                           std::vector<ElfSection>& sections)
{
    // Section 0 is the null section: its header may carry the extended section count, but it
    // is never a section, so it stays empty (type 0, no bytes).
    sections.resize(headers.size());
    for (size_t i = 1; i < headers.size(); ++i) {
        const SectionHeader& h = headers[i];
        ElfSection& s = sections[i];
        s.type = h.type;
        s.flags = h.flags;
        s.size = h.size;
        s.link = h.link;
        s.info = h.info;
        s.alignment = h.alignment == 0 ? 1 : h.alignment;
        if (h.type != kShtNobits) {
            if (h.offset > file.size() || file.size() - h.offset < h.size)
                return Error{"section " + std::to_string(i) + " extends past the end of the file"};
            s.bytes.assign(file.begin() + h.offset, file.begin() + h.offset + h.size);
        }
    }
    for (size_t i = 1; i < headers.size(); ++i) {
        QV_TRY_ASSIGN(std::string name,
                      name_at(sections[names_index], headers[i].name, "the name of section " + std::to_string(i)));
        sections[i].name = std::move(name);
    }
    return {};
}

Result<void> read_symbols(const std::vector<ElfSection>& sections, u32 symtab_index, std::vector<ElfSymbol>& symbols)
{
    const ElfSection& table = sections[symtab_index];
    if (table.bytes.size() % kSymbolSize != 0)
        return Error{"the symbol table's size is not a multiple of 16"};
    if (table.link == 0 || table.link >= sections.size() || sections[table.link].type != kShtStrtab)
        return Error{"the symbol table names no string table"};
    const ElfSection& names = sections[table.link];
    const size_t count = table.bytes.size() / kSymbolSize;
    symbols.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const u8* p = table.bytes.data() + i * kSymbolSize;
        ElfSymbol& sym = symbols[i];
        sym.value = load_u32(p + 4);
        sym.binding = static_cast<u8>(p[12] >> 4);
        sym.type = static_cast<u8>(p[12] & 0xf);
        sym.section = load_u16(p + 14);
        const std::string label = "symbol " + std::to_string(i);
        if (sym.section == kShnXindex)
            return Error{label + " uses an extended section index, which qvimage does not read"};
        if (sym.section >= sections.size() && sym.section < kShnLoReserve)
            return Error{label + " names section " + std::to_string(sym.section) + ", which does not exist"};
        // A defined symbol lies inside its section (or just past its end, as an end marker).
        if (sym.section != kShnUndef && sym.section < sections.size() && sym.value > sections[sym.section].size)
            return Error{label + " has value " + qv::hex(sym.value) + ", beyond the end of its section " +
                         escaped(sections[sym.section].name)};
        QV_TRY_ASSIGN(std::string name, name_at(names, load_u32(p), "the name of " + label));
        sym.name = std::move(name);
        if (sym.type == kSttSection && sym.name.empty() && sym.section < sections.size())
            sym.name = sections[sym.section].name;
    }
    return {};
}

bool is_relocation_section(const ElfSection& s)
{
    return s.type == kShtRel || s.type == kShtRela || (s.flags & kShfInfoLink) != 0 || s.name.starts_with(".rel.") ||
        s.name.starts_with(".rela.");
}

// Every section that is meant to relocate an allocated section is read, or the object is
// refused: relocations that were silently dropped would leave the image running on addends.
Result<void> read_relocations(const std::vector<ElfSection>& sections, u32 symtab_index, size_t symbol_count,
                              std::vector<ElfRelocationSection>& out)
{
    for (u32 index = 1; index < sections.size(); ++index) {
        const ElfSection& s = sections[index];
        if (!is_relocation_section(s))
            continue;
        const std::string name = escaped(s.name);
        if (s.info == 0 || s.info >= sections.size())
            return Error{"relocation section " + name + " patches section " + std::to_string(s.info) +
                         ", which does not exist"};
        const ElfSection& target = sections[s.info];
        if ((target.flags & kShfAlloc) == 0)
            continue;  // debugging information and the like never reach the image
        if (s.type == kShtRela)
            return Error{"relocation section " + name +
                         " has explicit addends (RELA), which i386 objects "
                         "do not use; compile with gcc -m32"};
        if (s.type != kShtRel)
            return Error{"relocation section " + name + " for " + escaped(target.name) + " has type " +
                         std::to_string(s.type) + ", not REL (9)"};
        if (s.link != symtab_index || symtab_index == 0)
            return Error{"relocation section " + name + " does not use the object's symbol table"};
        if (s.bytes.size() % kRelSize != 0)
            return Error{"relocation section " + name + "'s size is not a multiple of 8"};
        ElfRelocationSection rs;
        rs.target = s.info;
        rs.entries.reserve(s.bytes.size() / kRelSize);
        for (size_t k = 0; k < s.bytes.size() / kRelSize; ++k) {
            const u8* p = s.bytes.data() + k * kRelSize;
            const u32 info = load_u32(p + 4);
            ElfRelocation r{load_u32(p), info >> 8, static_cast<u8>(info & 0xff)};
            if (r.symbol >= symbol_count)
                return Error{"relocation " + std::to_string(k) + " in " + name + " names symbol " +
                             std::to_string(r.symbol) + ", which does not exist"};
            rs.entries.push_back(r);
        }
        out.push_back(std::move(rs));
    }
    return {};
}

}  // namespace

Result<ElfObject> parse_elf_object(std::span<const u8> file)
{
    QV_TRY(check_identity(file));
    u32 names_index = 0;
    QV_TRY_ASSIGN(std::vector<SectionHeader> headers, read_section_headers(file, names_index));

    ElfObject object;
    QV_TRY(read_sections(file, headers, names_index, object.sections));

    u32 symtab_index = 0;
    for (u32 i = 1; i < object.sections.size(); ++i) {
        if (object.sections[i].type != kShtSymtab)
            continue;
        if (symtab_index != 0)
            return Error{"the object has more than one symbol table"};
        symtab_index = i;
    }
    if (symtab_index != 0) {
        QV_TRY(read_symbols(object.sections, symtab_index, object.symbols));
    }
    QV_TRY(read_relocations(object.sections, symtab_index, object.symbols.size(), object.relocations));
    return object;
}

}  // namespace qvimage
