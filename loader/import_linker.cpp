// The linker proper: a validating pass that decodes every record and checks every site, then
// a patching pass over the decoded records.
#include "loader/import_linker.h"

#include <algorithm>

#include "loader/byte_reader.h"
#include "loader/image_format.h"
#include "loader/message_text.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {
namespace {

// A decoded record. Names point into the stream; sites are a range of one shared array, so
// that a stream of many small fixups costs no allocation per record.
struct Record {
    ImportTag tag;
    bool relative;             // runtime imports
    std::string_view name;     // routine or procedure
    std::string_view library;  // library imports
    u32 first_site;            // index into Decoded::sites
    u32 site_count;
};

struct Decoded {
    std::vector<Record> records;
    std::vector<u32> sites;  // every patched site, record by record, in chain order
};

class Validator {
public:
    Validator(std::span<const u8> stream, const LoadedImage& image)
        : m_reader(stream), m_image(image), m_claimed(image.code_length / 64 + 2, 0)
    {
    }

    Result<Decoded> decode()
    {
        while (!m_reader.at_end()) {
            m_record_start = m_reader.position();
            u8 tag_byte;
            (void)m_reader.read_u8(tag_byte);
            const auto tag = static_cast<ImportTag>(tag_byte);
            Record record{tag, false, {}, {}, static_cast<u32>(m_decoded.sites.size()), 0};
            QV_TRY(decode_record(record));
            record.site_count = static_cast<u32>(m_decoded.sites.size()) - record.first_site;
            if (tag >= ImportTag::RuntimeImport && tag <= ImportTag::StringFixup)
                m_decoded.records.push_back(record);
        }
        QV_TRY(check_constants_apart());
        return std::move(m_decoded);
    }

private:
    Error fail(const std::string& what) const
    {
        return Error{"import stream record at offset " + std::to_string(m_record_start) + ": " + what};
    }

    Result<void> decode_record(Record& record)
    {
        switch (record.tag) {
        case ImportTag::RuntimeImport: {
            u8 mode;
            u32 head;
            if (!m_reader.read_u8(mode) || !m_reader.read_u32(head))
                return fail("runtime import is cut off");
            record.relative = mode == static_cast<u8>(ImportMode::Relative);
            QV_TRY(read_name(record.name, "routine name"));
            return walk_chain(head, record);
        }
        case ImportTag::LibraryImport: {
            u32 head;
            if (!m_reader.read_u32(head))
                return fail("library import is cut off");
            QV_TRY(read_name(record.name, "procedure name"));
            QV_TRY(read_name(record.library, "library name"));
            return walk_chain(head, record);
        }
        case ImportTag::DataFixup:
        case ImportTag::CodeFixup:
        case ImportTag::StringFixup: {
            u32 site;
            if (!m_reader.read_u32(site))
                return fail("fixup is cut off before its site");
            if (!claim_site(site))
                return site_refusal(site, "fixup");
            m_decoded.sites.push_back(site);
            if (record.tag == ImportTag::StringFixup)
                return check_string_constant(site);
            return {};
        }
        default: return {};  // no-op and unknown tags: the byte alone
        }
    }

    Result<void> read_name(std::string_view& out, const char* what)
    {
        u8 length;
        std::span<const u8> bytes;
        if (!m_reader.read_u8(length) || !m_reader.read_span(length, bytes) || !m_reader.skip(1))
            return fail(std::string(what) + " is cut off");
        out = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return {};
    }

    // A site is 4 bytes inside the code segment that no other fixup touches. One bit per code
    // byte; the site's four bits may straddle two 64-bit words.
    bool try_claim(u32 site)
    {
        const u32 word = site / 64, bit = site % 64;
        const u64 low = u64{0xF} << bit;
        const u64 high = bit > 60 ? u64{0xF} >> (64 - bit) : 0;
        if ((m_claimed[word] & low) || (m_claimed[word + 1] & high))
            return false;
        m_claimed[word] |= low;
        m_claimed[word + 1] |= high;
        return true;
    }

    // Where a site may lie: its 4 bytes inside the code segment. Bytes 0 to 4 are sites like
    // any other: an image's code may begin with the entry's own instructions.
    bool site_in_bounds(u32 site) const { return site <= m_image.code_length && m_image.code_length - site >= 4; }

    // Claims a site; false when it cannot be patched (site_refusal says why). The hot path
    // builds no Result: chains are long and mostly fine.
    bool claim_site(u32 site) { return site_in_bounds(site) && try_claim(site); }

    Result<void> site_refusal(u32 site, const char* owner_kind, std::string_view name = {})
    {
        const std::string owner = name.empty() ? owner_kind : std::string(owner_kind) + " '" + escaped(name) + "'";
        if (!site_in_bounds(site))
            return fail(owner + " names site " + hex(site) + ", outside the " + std::to_string(m_image.code_length) +
                        "-byte code segment");
        return fail(owner + " patches site " + hex(site) +
                    ", which another fixup already patches (or its chain loops)");
    }

    Result<void> walk_chain(u32 head, Record& record)
    {
        for (u32 site = head; site != 0;) {
            if (!claim_site(site))
                return site_refusal(site, "import", record.name);
            m_decoded.sites.push_back(site);
            site = load_u32(m_image.code + site);
        }
        return {};
    }

    // Data and code fixups add a base to whatever the site holds: the result is an address the
    // image's code computes with (it may lie before or past its segment, as &g[i - 1] does),
    // not one the linker touches. A string fixup's constant is written to, so it must fit.
    Result<void> check_string_constant(u32 site)
    {
        const u32 offset = load_u32(m_image.code + site);
        if (offset > m_image.data_length || m_image.data_length - offset < kStringMinimumSize)
            return fail("string fixup at site " + hex(site) + ": the constant at data offset " + hex(offset) +
                        " does not fit in the data segment");
        const u32 length = load_u32(m_image.data + offset + kStringLengthOffset);
        if (length > m_image.data_length - offset - kStringMinimumSize)
            return fail("string fixup at site " + hex(site) + ": the constant at data offset " + hex(offset) +
                        " declares " + std::to_string(length) + " text bytes, more than the data segment holds");
        m_constants.push_back({offset, offset + kStringMinimumSize + length, site, m_record_start});
        return {};
    }

    // Constants lie one after another. Setting the text pointer of one that overlaps another
    // would change the other's length or text pointer after it was checked.
    Result<void> check_constants_apart()
    {
        std::sort(m_constants.begin(), m_constants.end(),
                  [](const Constant& a, const Constant& b) { return a.offset < b.offset; });
        for (size_t i = 1; i < m_constants.size(); ++i) {
            const Constant& before = m_constants[i - 1];
            const Constant& constant = m_constants[i];
            if (constant.offset == before.offset || constant.offset >= before.end)
                continue;  // the same constant again, or the next one
            m_record_start = constant.record_start;
            return fail("string fixup at site " + hex(constant.site) + ": the constant at data offset " +
                        hex(constant.offset) + " overlaps the one at data offset " + hex(before.offset));
        }
        return {};
    }

    struct Constant {
        u32 offset;
        u32 end;  // past its zero byte
        u32 site;
        size_t record_start;
    };

    ByteReader m_reader;
    const LoadedImage& m_image;
    std::vector<Constant> m_constants;  // named by string fixups
    std::vector<u64> m_claimed;         // one bit per code byte
    Decoded m_decoded;
    size_t m_record_start = 0;
};

// Names are looked up as the C strings they are copied into: a NUL byte ends one.
std::string_view looked_up(std::string_view name) { return name.substr(0, name.find('\0')); }

}  // namespace

Result<LinkReport> LinkImage(std::span<const u8> stream, const LoadedImage& image, ImportResolver& resolver)
{
    Validator validator(stream, image);
    QV_TRY_ASSIGN(Decoded decoded, validator.decode());
    const std::vector<u32>& sites = decoded.sites;

    const auto code_base = reinterpret_cast<uintptr_t>(image.code);
    const auto data_base = reinterpret_cast<uintptr_t>(image.data);
    LinkReport report;
    auto patch_chain = [&](const Record& record, const void* target) {
        const auto address = reinterpret_cast<uintptr_t>(target);
        for (u32 k = record.first_site; k < record.first_site + record.site_count; ++k) {
            const u32 site = sites[k];
            store_u32(image.code + site,
                      record.relative ? static_cast<u32>(address - (code_base + site + 4)) : static_cast<u32>(address));
        }
        report.import_sites += record.site_count;
    };
    for (Record& record : decoded.records) {
        switch (record.tag) {
        case ImportTag::RuntimeImport: {
            ++report.runtime_imports;
            const void* routine = resolver.runtime_routine(looked_up(record.name));
            if (!routine) {
                const std::string message = "Function '" + escaped(record.name) + "' was not exported";
                assertion_failed("loaderX86", 206, "foundFunction", message.c_str());
                report.unbound.emplace_back(record.name);
                routine = resolver.unbound_import(record.name);
            }
            patch_chain(record, routine);
            break;
        }
        case ImportTag::LibraryImport: {
            ++report.library_imports;
            std::string message;
            const void* procedure =
                resolver.library_procedure(looked_up(record.library), looked_up(record.name), message);
            if (!procedure)
                return Error{message};
            record.relative = true;  // library imports are always calls
            patch_chain(record, procedure);
            break;
        }
        case ImportTag::DataFixup: {
            u8* site = image.code + sites[record.first_site];
            store_u32(site, static_cast<u32>(load_u32(site) + data_base));
            ++report.data_fixups;
            break;
        }
        case ImportTag::CodeFixup: {
            u8* site = image.code + sites[record.first_site];
            store_u32(site, static_cast<u32>(load_u32(site) + code_base));
            ++report.code_fixups;
            break;
        }
        case ImportTag::StringFixup: {
            u8* site = image.code + sites[record.first_site];
            const u32 offset = load_u32(site);
            store_u32(site, static_cast<u32>(offset + data_base));
            u8* constant = image.data + offset;
            if (load_u32(constant + kStringTextPointerOffset) == 0)  // the first fixup makes it live
                store_u32(constant + kStringTextPointerOffset,
                          static_cast<u32>(data_base + offset + kStringHeaderSize));
            ++report.string_fixups;
            break;
        }
        default: break;
        }
    }
    return report;
}

}  // namespace qv
