// One pass over the relocations of the code sections. Each relocation costs a symbol lookup
// by index, a section placement lookup by index and, for data targets, one record-start test.
#include "tools/qvimage/relocations.h"

#include <algorithm>

#include "loader/message_text.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::escaped;
using qv::hex;
using qv::load_u32;
using qv::Result;
using qv::store_u32;

constexpr u8 kR386None = 0;
constexpr u8 kR386_32 = 1;
constexpr u8 kR386Pc32 = 2;
constexpr u8 kR386Plt32 = 4;

std::string type_name(u8 type)
{
    static const char* const names[] = {"R_386_NONE",     "R_386_32",     "R_386_PC32",     "R_386_GOT32",
                                        "R_386_PLT32",    "R_386_COPY",   "R_386_GLOB_DAT", "R_386_JMP_SLOT",
                                        "R_386_RELATIVE", "R_386_GOTOFF", "R_386_GOTPC",    "R_386_32PLT"};
    if (type < sizeof names / sizeof names[0])
        return std::string(" (") + names[type] + ")";
    return {};
}

// Long names are cut short in messages; the length says how long they were.
std::string quoted(const std::string& name)
{
    if (name.empty())
        return "(no symbol)";
    if (name.size() <= 40)
        return "'" + escaped(name) + "'";
    return "'" + escaped(name.substr(0, 40)) + "...'";
}

class RelocationResolver {
public:
    RelocationResolver(const ElfObject& object, ImageLayout& layout, ImportStreamBuilder& stream)
        : m_object(object), m_layout(layout), m_stream(stream), m_patched(layout.code.size(), false)
    {
    }

    Result<void> run()
    {
        for (const ElfRelocationSection& rs : m_object.relocations) {
            const SectionPlace& place = m_layout.places[rs.target];
            for (const ElfRelocation& r : rs.entries) {
                if (r.type == kR386None)
                    continue;
                if (place.placement == Placement::Ignored)
                    return Error{"relocation in " + where(rs.target, r) +
                                 " patches a section that is not part "
                                 "of the image"};
                Result<void> step =
                    place.placement == Placement::Code ? resolve(rs.target, r) : refuse_in_data(rs.target, r);
                if (!step)
                    return step;
            }
        }
        return {};
    }

private:
    std::string where(u32 section, const ElfRelocation& r) const
    {
        return escaped(m_object.sections[section].name) + " at offset " + hex(r.offset);
    }

    const ElfSymbol& symbol(const ElfRelocation& r) const { return m_object.symbols[r.symbol]; }

    Result<void> refuse_in_data(u32 section, const ElfRelocation& r) const
    {
        return Error{"relocation in data section " + where(section, r) + " against " + quoted(symbol(r).name) +
                     ": an image's data cannot hold addresses (such as pointer initialisers); set them at run time"};
    }

    Result<void> resolve(u32 section, const ElfRelocation& r)
    {
        const ElfSection& s = m_object.sections[section];
        if (r.offset > s.size || s.size - r.offset < 4)
            return Error{"relocation in " + where(section, r) + " runs past the end of the section"};
        const u32 site = m_layout.places[section].offset + r.offset;
        // The loader patches a site once; two relocations on overlapping bytes would also add
        // their addends together.
        for (u32 k = site; k < site + 4; ++k) {
            if (m_patched[k])
                return Error{"relocation in " + where(section, r) +
                             " patches bytes that another relocation "
                             "patches"};
        }
        std::fill_n(m_patched.begin() + site, 4, true);
        u8* field = m_layout.code.data() + site;
        const u32 addend = load_u32(field);
        const ElfSymbol& sym = symbol(r);

        if (r.type != kR386_32 && r.type != kR386Pc32 && r.type != kR386Plt32)
            return Error{"relocation type " + std::to_string(r.type) + type_name(r.type) + " in " + where(section, r) +
                         " against " + quoted(sym.name) + " cannot be expressed in an image"};
        const bool relative = r.type != kR386_32;

        if (sym.section == kShnUndef)
            return import_site(section, r, sym, relative, addend, site);
        if (sym.section == kShnCommon)
            return Error{"relocation in " + where(section, r) + " refers to " + quoted(sym.name) +
                         ", a common symbol; compile with -fno-common"};
        if (sym.section == kShnAbs) {
            if (relative)
                return Error{"PC-relative reference in " + where(section, r) + " to absolute symbol " +
                             quoted(sym.name) + " cannot be expressed in an image"};
            store_u32(field, sym.value + addend);
            return {};
        }
        if (sym.section >= m_layout.places.size())
            return Error{"relocation in " + where(section, r) + " refers to " + quoted(sym.name) +
                         " in a reserved section index"};

        const SectionPlace& target = m_layout.places[sym.section];
        const u32 offset = target.offset + sym.value + addend;
        switch (target.placement) {
        case Placement::Code:
            if (relative) {
                store_u32(field, offset - site);  // S + A - P, both in code offsets
            } else {
                store_u32(field, offset);
                m_stream.add_fixup(ImportTag::CodeFixup, site);
            }
            return {};
        case Placement::Strings:
        case Placement::Data:
        case Placement::Zero:
            if (relative)
                return Error{"PC-relative reference in " + where(section, r) + " to " + quoted(sym.name) +
                             " in data section " + escaped(m_object.sections[sym.section].name) +
                             " cannot be expressed in an image"};
            store_u32(field, offset);
            m_stream.add_fixup(m_layout.is_record_start(offset) ? ImportTag::StringFixup : ImportTag::DataFixup, site);
            return {};
        case Placement::Ignored: break;
        }
        return Error{"relocation in " + where(section, r) + " refers to " + quoted(sym.name) + " in section " +
                     escaped(m_object.sections[sym.section].name) + ", which is not part of the image"};
    }

    Result<void> import_site(u32 section, const ElfRelocation& r, const ElfSymbol& sym, bool relative, u32 addend,
                             u32 site)
    {
        if (r.symbol == 0 || sym.name.empty())
            return Error{"relocation in " + where(section, r) + " names no symbol"};
        if (sym.name.size() > kMaxNameLength)
            return Error{(relative ? "call in " : "reference in ") + where(section, r) + " names an import of " +
                         std::to_string(sym.name.size()) + " bytes, " + quoted(sym.name) +
                         "; import names are at most 255 bytes"};
        if (relative && addend != 0xfffffffc)
            return Error{"call in " + where(section, r) + " to imported " + quoted(sym.name) + " has addend " +
                         std::to_string(static_cast<i32>(addend)) + ", not -4; an import can only be called"};
        if (!relative && addend != 0)
            return Error{"reference in " + where(section, r) + " to imported " + quoted(sym.name) + " has addend " +
                         std::to_string(static_cast<i32>(addend)) + "; an import's address cannot carry an offset"};
        m_stream.add_import_site(sym.name, relative ? ImportMode::Relative : ImportMode::Absolute, site);
        return {};
    }

    const ElfObject& m_object;
    ImageLayout& m_layout;
    ImportStreamBuilder& m_stream;
    std::vector<bool> m_patched;  // by code offset: the bytes some relocation has written
};

}  // namespace

Result<void> resolve_relocations(const ElfObject& object, ImageLayout& layout, ImportStreamBuilder& stream)
{
    return RelocationResolver(object, layout, stream).run();
}

}  // namespace qvimage
