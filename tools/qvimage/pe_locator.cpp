// PE reading limited to what finding one resource needs: the headers, the section table (to
// map RVAs to file offsets) and three levels of the resource directory (type, id, language).
#include "tools/qvimage/pe_locator.h"

#include <cstring>
#include <string>

#include "loader/image_format.h"
#include "loader/message_text.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::hex;
using qv::kLocatorId;
using qv::kLocatorMarkerSize;
using qv::kLocatorPlaceholder;
using qv::load_u16;
using qv::load_u32;
using qv::Result;
using qv::store_u32;

constexpr u32 kResourceDirectoryIndex = 2;
constexpr u32 kHighBit = 0x80000000;
constexpr char kLocatorType[] = "PICKLE";

struct DirectoryEntry {
    u32 name;    // an id, or kHighBit | offset of a counted UTF-16 name
    u32 target;  // kHighBit | offset of a subdirectory, or offset of a data entry
};

class PeFile {
public:
    explicit PeFile(std::span<const u8> file) : m_file(file) { }

    Result<void> read_headers()
    {
        if (m_file.size() < 64 || m_file[0] != 'M' || m_file[1] != 'Z')
            return Error{"not a Windows executable (no MZ header)"};
        const u32 pe = load_u32(at(0x3c));
        if (pe > m_file.size() || m_file.size() - pe < 24 || std::memcmp(at(pe), "PE\0\0", 4) != 0)
            return Error{"not a Windows executable (no PE header)"};
        const u32 section_count = load_u16(at(pe + 6));
        const u32 optional_size = load_u16(at(pe + 20));
        const u32 optional = pe + 24;
        if (m_file.size() - optional < optional_size)
            return Error{"the executable's optional header runs past the end of the file"};
        const u16 magic = optional_size >= 2 ? load_u16(at(optional)) : 0;
        if (magic != 0x10b && magic != 0x20b)
            return Error{"the executable's optional header has an unknown format"};
        const u32 count_field = magic == 0x10b ? 92 : 108;  // PE32 or PE32+
        const u32 directories = count_field + 4;
        const u32 directory = directories + kResourceDirectoryIndex * 8;
        if (optional_size < directory + 8 || load_u32(at(optional + count_field)) <= kResourceDirectoryIndex)
            return Error{"the executable has no resource directory"};
        m_resource_rva = load_u32(at(optional + directory));
        m_resource_size = load_u32(at(optional + directory + 4));
        if (m_resource_rva == 0 || m_resource_size == 0)
            return Error{"the executable has no resources"};
        m_sections = optional + optional_size;
        m_section_count = section_count;
        if (section_count > (m_file.size() - m_sections) / 40)
            return Error{"the executable's section table runs past the end of the file"};
        return {};
    }

    // The file offset of `length` bytes at `rva`, which must lie in one section's file data.
    Result<u32> file_offset(u32 rva, u32 length) const
    {
        for (u32 i = 0; i < m_section_count; ++i) {
            const u8* s = at(m_sections + i * 40);
            const u32 address = load_u32(s + 12);
            const u32 raw_size = load_u32(s + 16);
            const u32 raw_offset = load_u32(s + 20);
            if (rva < address || rva - address >= raw_size)
                continue;
            const u32 delta = rva - address;
            if (raw_size - delta < length || raw_offset > m_file.size() || m_file.size() - raw_offset < raw_size)
                break;
            return raw_offset + delta;
        }
        return Error{"the executable's resource data at RVA " + hex(rva) + " is not in its file"};
    }

    Result<std::span<const u8>> resource_directory() const
    {
        QV_TRY_ASSIGN(u32 offset, file_offset(m_resource_rva, m_resource_size));
        return m_file.subspan(offset, m_resource_size);
    }

private:
    const u8* at(u32 offset) const { return m_file.data() + offset; }

    std::span<const u8> m_file;
    u32 m_resource_rva = 0;
    u32 m_resource_size = 0;
    u32 m_sections = 0;
    u32 m_section_count = 0;
};

class ResourceDirectory {
public:
    explicit ResourceDirectory(std::span<const u8> bytes) : m_bytes(bytes) { }

    // The entries of the directory at `offset`: named ones first, then those with ids.
    Result<std::vector<DirectoryEntry>> entries(u32 offset, u32& named) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < 16)
            return damaged();
        named = load_u16(m_bytes.data() + offset + 12);
        const u32 count = named + load_u16(m_bytes.data() + offset + 14);
        if ((m_bytes.size() - offset - 16) / 8 < count)
            return damaged();
        std::vector<DirectoryEntry> out(count);
        for (u32 i = 0; i < count; ++i) {
            const u8* e = m_bytes.data() + offset + 16 + i * 8;
            out[i] = {load_u32(e), load_u32(e + 4)};
        }
        return out;
    }

    // Whether a name entry spells `name`, ignoring ASCII case as resource lookups do.
    bool name_equals(u32 field, const char* name) const
    {
        const u32 offset = field & ~kHighBit;
        if (offset > m_bytes.size() || m_bytes.size() - offset < 2)
            return false;
        const u32 length = load_u16(m_bytes.data() + offset);
        if (length != std::strlen(name) || (m_bytes.size() - offset - 2) / 2 < length)
            return false;
        for (u32 i = 0; i < length; ++i) {
            u16 c = load_u16(m_bytes.data() + offset + 2 + 2 * i);
            if (c >= 'a' && c <= 'z')
                c = static_cast<u16>(c - 'a' + 'A');
            if (c != static_cast<u8>(name[i]))
                return false;
        }
        return true;
    }

    // The data entry's RVA and size.
    Result<void> data_entry(u32 offset, u32& rva, u32& size) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < 16)
            return damaged();
        rva = load_u32(m_bytes.data() + offset);
        size = load_u32(m_bytes.data() + offset + 4);
        return {};
    }

    static Error damaged() { return Error{"the executable's resource directory is damaged"}; }

private:
    std::span<const u8> m_bytes;
};

const std::string kMissing = "the executable has no PICKLE resource with id 101 (compile loader/pickle_locator.rc "
                             "into it with windres)";

}  // namespace

Result<u32> find_locator_offset(std::span<const u8> executable)
{
    PeFile pe(executable);
    QV_TRY(pe.read_headers());
    QV_TRY_ASSIGN(std::span<const u8> bytes, pe.resource_directory());
    const ResourceDirectory directory(bytes);

    u32 named = 0;
    QV_TRY_ASSIGN(std::vector<DirectoryEntry> types, directory.entries(0, named));
    const DirectoryEntry* type = nullptr;
    for (u32 i = 0; i < named && !type; ++i) {
        if ((types[i].name & kHighBit) && directory.name_equals(types[i].name, kLocatorType))
            type = &types[i];
    }
    if (!type || !(type->target & kHighBit))
        return Error{kMissing};

    QV_TRY_ASSIGN(std::vector<DirectoryEntry> ids, directory.entries(type->target & ~kHighBit, named));
    const DirectoryEntry* id = nullptr;
    for (u32 i = named; i < ids.size() && !id; ++i) {
        if (ids[i].name == kLocatorId)
            id = &ids[i];
    }
    if (!id || !(id->target & kHighBit))
        return Error{kMissing};

    // Any language will do: the first one.
    QV_TRY_ASSIGN(std::vector<DirectoryEntry> languages, directory.entries(id->target & ~kHighBit, named));
    if (languages.empty() || (languages[0].target & kHighBit))
        return Error{kMissing};

    u32 rva = 0, size = 0;
    QV_TRY(directory.data_entry(languages[0].target, rva, size));
    if (size != sizeof kLocatorPlaceholder)
        return Error{"the PICKLE resource 101 holds " + std::to_string(size) + " bytes; the locator is 8 bytes"};
    return pe.file_offset(rva, size);
}

Result<void> point_locator_at_end(std::span<u8> executable, u64 image_size)
{
    QV_TRY_ASSIGN(u32 offset, find_locator_offset(executable));
    if (std::memcmp(executable.data() + offset, kLocatorPlaceholder, kLocatorMarkerSize) != 0)
        return Error{"the executable's locator already points at an attached image; attach to the runtime "
                     "executable as it was built"};
    if (image_size > 0xffffffffu - executable.size())
        return Error{"the executable with the image attached would exceed 4 GB"};
    store_u32(executable.data() + offset, static_cast<u32>(executable.size()));
    store_u32(executable.data() + offset + 4, 0);
    return {};
}

Result<std::vector<u8>> attach_image(std::span<const u8> executable, std::span<const u8> packaged_image)
{
    std::vector<u8> out(executable.begin(), executable.end());
    QV_TRY(point_locator_at_end(out, packaged_image.size()));
    out.insert(out.end(), packaged_image.begin(), packaged_image.end());
    return out;
}

}  // namespace qvimage
