// The linker proper: one walk over the import stream that checks it and plans the patching,
// then the patching. Nothing is allocated per record or per site but a word of the plan.
#include "loader/import_linker.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "loader/byte_reader.h"
#include "loader/image_format.h"
#include "loader/message_text.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {
namespace {

// One record as read from the stream. Names point into the stream.
struct Record {
    ImportTag tag = ImportTag::NoOp;
    bool relative = false;     // runtime imports
    u32 site = 0;              // chain head, or the fixup's site
    std::string_view name;     // routine or procedure
    std::string_view library;  // library imports
};

// Reads records one at a time; a record the stream ends inside of is reported, not read.
class RecordReader {
public:
    explicit RecordReader(std::span<const u8> stream) : m_reader(stream) { }

    bool at_end() const { return m_reader.at_end(); }
    size_t remaining() const { return m_reader.remaining(); }
    size_t record_start() const { return m_record_start; }
    // What was cut off when next() returned false.
    const char* problem() const { return m_problem; }

    bool next(Record& record)
    {
        m_record_start = m_reader.position();
        u8 tag = 0;
        (void)m_reader.read_u8(tag);
        record.tag = static_cast<ImportTag>(tag);
        switch (record.tag) {
        case ImportTag::RuntimeImport: {
            u8 mode;
            if (!m_reader.read_u8(mode) || !m_reader.read_u32(record.site))
                return cut_off("runtime import is cut off");
            record.relative = mode == static_cast<u8>(ImportMode::Relative);
            return read_name(record.name, "routine name is cut off");
        }
        case ImportTag::LibraryImport:
            record.relative = true;  // library imports are always calls
            if (!m_reader.read_u32(record.site))
                return cut_off("library import is cut off");
            return read_name(record.name, "procedure name is cut off") &&
                read_name(record.library, "library name is cut off");
        case ImportTag::DataFixup:
        case ImportTag::CodeFixup:
        case ImportTag::StringFixup:
            return m_reader.read_u32(record.site) || cut_off("fixup is cut off before its site");
        default: return true;  // no-op and unknown tags: the byte alone
        }
    }

private:
    bool cut_off(const char* what)
    {
        m_problem = what;
        return false;
    }

    bool read_name(std::string_view& out, const char* cut)
    {
        u8 length;
        std::span<const u8> bytes;
        if (!m_reader.read_u8(length) || !m_reader.read_span(length, bytes) || !m_reader.skip(1))
            return cut_off(cut);
        out = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return true;
    }

    ByteReader m_reader;
    size_t m_record_start = 0;
    const char* m_problem = "";
};

// The code bytes that sites occupy, one bit per byte, so that no byte is patched twice (which
// also ends a chain that loops). A site's four bits always lie in the 16 bits from the byte
// holding its first one: one unaligned 16-bit access claims them. Large bitmaps come zeroed
// from the system without a fill.
class SiteClaims {
public:
    explicit SiteClaims(u32 code_length) : m_bits(static_cast<u8*>(std::calloc(code_length / 8 + 2, 1))) { }
    bool ready() const { return m_bits != nullptr; }

    // False when one of the site's four bytes is already claimed.
    bool claim(u32 site)
    {
        u8* at = m_bits.get() + site / 8;
        u16 bits;
        std::memcpy(&bits, at, 2);
        const auto mask = static_cast<u16>(0xF << (site % 8));
        if (bits & mask)
            return false;
        bits = static_cast<u16>(bits | mask);
        std::memcpy(at, &bits, 2);
        return true;
    }

private:
    struct Free {
        void operator()(u8* p) const { std::free(p); }
    };
    std::unique_ptr<u8, Free> m_bits;
};

// Names are looked up as the C strings they are copied into: a NUL byte ends one.
std::string_view looked_up(std::string_view name) { return name.substr(0, name.find('\0')); }

// Links in one walk over the stream and one over a compact plan made from it. The walk
// decodes every record, checks each site (following each chain through the code once) and
// claims it, and writes down what is to be done: one word per site, tagged with what goes
// there. Nothing is written to the image and nothing is resolved until the whole stream has
// been found sound, so a malformed stream is refused untouched, before any routine is
// reported missing or any library loaded. The plan is then carried out in stream order.
class Linker {
public:
    Linker(std::span<const u8> stream, const LoadedImage& image, ImportResolver& resolver)
        : m_reader(stream), m_image(image), m_resolver(resolver), m_claims(image.code_length)
    {
    }

    Result<LinkReport> run()
    {
        if (!m_claims.ready())
            return Error{"there is no memory to link the image"};
        try {
            // A fixup record takes at least 5 bytes of the stream; chains grow the plan as they go.
            m_plan.reserve(m_reader.remaining() / 5);
            QV_TRY(plan());
            QV_TRY(check_constants_apart());
            QV_TRY(carry_out());
        } catch (const std::bad_alloc&) {
            return Error{"there is no memory to link the image"};
        }
        return std::move(m_report);
    }

private:
    // A plan word: a site in the low half and, in the high half, what it gets. An import's
    // sites follow a word that names the import (its index in m_imports) in place of a site.
    enum Step : u32 { kImport, kImportSite, kDataFixup, kCodeFixup, kStringFixup };
    static u64 word(Step step, u32 site) { return u64{step} << 32 | site; }

    Result<void> plan()
    {
        Record record;
        while (!m_reader.at_end()) {
            if (!m_reader.next(record))
                return fail(m_reader.problem());
            switch (record.tag) {
            case ImportTag::LibraryImport:
            case ImportTag::RuntimeImport:
                m_plan.push_back(word(kImport, static_cast<u32>(m_imports.size())));
                m_imports.push_back(record);
                QV_TRY(plan_chain(record));
                break;
            case ImportTag::DataFixup:
            case ImportTag::CodeFixup:
                if (!claim(record.site))
                    return site_refusal(record.site, "fixup");
                m_plan.push_back(word(record.tag == ImportTag::DataFixup ? kDataFixup : kCodeFixup, record.site));
                break;
            case ImportTag::StringFixup:
                if (!claim(record.site))
                    return site_refusal(record.site, "fixup");
                QV_TRY(check_string_constant(record.site));
                m_plan.push_back(word(kStringFixup, record.site));
                break;
            default: break;
            }
        }
        return {};
    }

    // The chain's sites in order. The loop works on locals: every store to the plan could
    // otherwise alias the members it reads.
    Result<void> plan_chain(const Record& record)
    {
        const u8* code = m_image.code;
        const u32 code_length = m_image.code_length;
        SiteClaims& claims = m_claims;
        for (u32 site = record.site; site != 0; site = load_u32(code + site)) {
            if (site > code_length || code_length - site < 4 || !claims.claim(site))
                return site_refusal(site, "import", record.name);
            m_plan.push_back(word(kImportSite, site));
        }
        return {};
    }

    Result<void> carry_out()
    {
        // Locals throughout: the stores into the code are byte stores, which may alias anything.
        u8* const code = m_image.code;
        u8* const data = m_image.data;
        const auto code_base = static_cast<u32>(reinterpret_cast<uintptr_t>(code));
        const auto data_base = static_cast<u32>(reinterpret_cast<uintptr_t>(data));
        u32 address = 0;        // of the current import's target
        u32 relative_base = 0;  // its call displacement from site 0: address - (code base + 4)
        bool relative = false;
        u32 import_sites = 0, data_fixups = 0, code_fixups = 0, string_fixups = 0;
        for (const u64 step : m_plan) {
            const auto kind = static_cast<Step>(step >> 32);
            const auto site = static_cast<u32>(step);  // an import's index for kImport
            if (kind == kImport) {
                const Record& record = m_imports[site];
                QV_TRY_ASSIGN(const void* target, resolve(record));
                address = static_cast<u32>(reinterpret_cast<uintptr_t>(target));
                relative_base = address - code_base - 4;
                relative = record.relative;
                continue;
            }
            // Only sites planned inside the code get here: with no code there are none.
            u8* const slot = code + site;
            switch (kind) {
            case kImport: break;
            case kImportSite:
                store_u32(slot, relative ? relative_base - site : address);
                ++import_sites;
                break;
            case kDataFixup:
                store_u32(slot, load_u32(slot) + data_base);
                ++data_fixups;
                break;
            case kCodeFixup:
                store_u32(slot, load_u32(slot) + code_base);
                ++code_fixups;
                break;
            case kStringFixup: {
                const u32 offset = load_u32(slot);
                store_u32(slot, offset + data_base);
                u8* constant = data + offset;
                if (load_u32(constant + kStringTextPointerOffset) == 0)  // the first fixup makes it live
                    store_u32(constant + kStringTextPointerOffset, data_base + offset + kStringHeaderSize);
                ++string_fixups;
                break;
            }
            }
        }
        m_report.import_sites = import_sites;
        m_report.data_fixups = data_fixups;
        m_report.code_fixups = code_fixups;
        m_report.string_fixups = string_fixups;
        return {};
    }

    // A missing runtime routine is reported and stood in for; a missing library or library
    // routine stops the linking with the resolver's message.
    Result<const void*> resolve(const Record& record)
    {
        if (record.tag == ImportTag::LibraryImport) {
            ++m_report.library_imports;
            std::string message;
            const void* procedure =
                m_resolver.library_procedure(looked_up(record.library), looked_up(record.name), message);
            if (!procedure)
                return Error{message};
            return procedure;
        }
        ++m_report.runtime_imports;
        if (const void* routine = m_resolver.runtime_routine(looked_up(record.name)))
            return routine;
        const std::string message = "Function '" + escaped(record.name) + "' was not exported";
        assertion_failed("loaderX86", 206, "foundFunction", message.c_str());
        m_report.unbound.emplace_back(record.name);
        return m_resolver.unbound_import(record.name);
    }

    Error fail(const std::string& what) const { return fail_at(m_reader.record_start(), what); }
    static Error fail_at(size_t record_start, const std::string& what)
    {
        return Error{"import stream record at offset " + std::to_string(record_start) + ": " + what};
    }

    // Where a site may lie: its 4 bytes inside the code segment. Bytes 0 to 4 are sites like
    // any other: an image's code may begin with the entry's own instructions.
    bool site_in_bounds(u32 site) const { return site <= m_image.code_length && m_image.code_length - site >= 4; }

    // Claims a site; false when it cannot be patched (site_refusal says why).
    bool claim(u32 site) { return site_in_bounds(site) && m_claims.claim(site); }

    Error site_refusal(u32 site, const char* owner_kind, std::string_view name = {}) const
    {
        const std::string owner = name.empty() ? owner_kind : std::string(owner_kind) + " '" + escaped(name) + "'";
        if (!site_in_bounds(site))
            return fail(owner + " names site " + hex(site) + ", outside the " + std::to_string(m_image.code_length) +
                        "-byte code segment");
        return fail(owner + " patches site " + hex(site) +
                    ", which another fixup already patches (or its chain loops)");
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
        m_constants.push_back({offset, offset + kStringMinimumSize + length, site, m_reader.record_start()});
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
            return fail_at(constant.record_start,
                           "string fixup at site " + hex(constant.site) + ": the constant at data offset " +
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

    RecordReader m_reader;
    const LoadedImage& m_image;
    ImportResolver& m_resolver;
    SiteClaims m_claims;
    std::vector<u64> m_plan;
    std::vector<Record> m_imports;      // one per import record, in stream order
    std::vector<Constant> m_constants;  // named by string fixups
    LinkReport m_report;
};

}  // namespace

Result<LinkReport> LinkImage(std::span<const u8> stream, const LoadedImage& image, ImportResolver& resolver)
{
    return Linker(stream, image, resolver).run();
}

}  // namespace qv
