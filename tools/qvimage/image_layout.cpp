// Section placement: classify each section, then append each class in section order with the
// section's own alignment, and walk the string constants record by record.
#include "tools/qvimage/image_layout.h"

#include "loader/message_text.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::escaped;
using qv::hex;
using qv::kStringCapacityOffset;
using qv::kStringCountOffset;
using qv::kStringHeaderSize;
using qv::kStringLengthOffset;
using qv::kStringMinimumSize;
using qv::kStringTextPointerOffset;
using qv::load_u32;
using qv::Result;

constexpr u8 kCodePadding = 0xcc;  // int3: padding is never executed

bool is_strings_section(const std::string& name) { return name == ".qvstr" || name.starts_with(".qvstr."); }

Result<Placement> classify(const ElfSection& s)
{
    if ((s.flags & kShfAlloc) == 0 || s.type == kShtNote)
        return Placement::Ignored;
    if (s.flags & kShfTls)
        return Error{"section " + escaped(s.name) + " holds thread-local data, which an image cannot have"};
    if (s.name == ".eh_frame")
        return Error{"section .eh_frame holds unwind tables, which an image cannot use; compile with "
                     "-fno-asynchronous-unwind-tables"};
    if (s.type == kShtInitArray || s.type == kShtFiniArray || s.type == kShtPreinitArray)
        return Error{"section " + escaped(s.name) + " lists constructors or destructors, which an image never runs"};
    if (s.flags & kShfExecInstr) {
        if (s.type != kShtProgbits)
            return Error{"code section " + escaped(s.name) + " has no contents (type " + std::to_string(s.type) + ")"};
        return Placement::Code;
    }
    if (is_strings_section(s.name)) {
        if (s.type != kShtProgbits)
            return Error{"string-constant section " + escaped(s.name) + " has no contents"};
        return Placement::Strings;
    }
    if (s.type == kShtNobits)
        return Placement::Zero;
    if (s.type == kShtProgbits)
        return Placement::Data;
    return Error{"allocated section " + escaped(s.name) + " has type " + std::to_string(s.type) +
                 ", which an image cannot hold"};
}

// Appends a section's bytes (or zeros) at its alignment; `padding` fills the gap before it.
// Sizes are checked before anything grows, so an absurd header costs no memory.
Result<u32> append_section(std::vector<u8>& segment, const char* segment_name, const ElfSection& s, u32 alignment,
                           u8 padding)
{
    if ((alignment & (alignment - 1)) != 0)
        return Error{"section " + escaped(s.name) + " asks for alignment " + std::to_string(alignment) +
                     ", which is not a power of two"};
    if (alignment > kMaxSectionAlignment)
        return Error{"section " + escaped(s.name) + " asks for alignment " + std::to_string(alignment) +
                     "; an image aligns sections to at most " + std::to_string(kMaxSectionAlignment) + " bytes"};
    const u64 start = (static_cast<u64>(segment.size()) + alignment - 1) / alignment * alignment;
    if (start + s.size > kMaxSegmentSize)
        return Error{"section " + escaped(s.name) + " of " + std::to_string(s.size) + " bytes makes the image's " +
                     segment_name + " segment larger than " + std::to_string(kMaxSegmentSize >> 20) + " MB"};
    segment.resize(static_cast<size_t>(start), padding);
    if (s.type == kShtNobits)
        segment.resize(static_cast<size_t>(start + s.size), 0);
    else
        segment.insert(segment.end(), s.bytes.begin(), s.bytes.end());
    return static_cast<u32>(start);
}

// Each record: count 1, null text pointer, capacity = length + 2, length, encoding, the length
// byte (capped at 255), the text, a zero byte, and zero padding to the next multiple of 4.
Result<void> mark_records(const ElfSection& s, u32 base, ImageLayout& layout)
{
    const std::vector<u8>& b = s.bytes;
    for (u32 p = 0; p < b.size();) {
        const std::string where = escaped(s.name) + " offset " + hex(p);
        const u32 remaining = static_cast<u32>(b.size()) - p;
        if (remaining < kStringMinimumSize)
            return Error{where + ": the section ends inside a string constant"};
        const u8* r = b.data() + p;
        const u32 length = load_u32(r + kStringLengthOffset);
        if (length > remaining - kStringMinimumSize)
            return Error{where + ": a string constant of " + std::to_string(length) +
                         " bytes runs past the end of the section"};
        const u32 size = (kStringMinimumSize + length + 3) & ~3u;
        if (load_u32(r + kStringCountOffset) != 1 || load_u32(r + kStringTextPointerOffset) != 0 ||
            load_u32(r + kStringCapacityOffset) != length + 2 ||
            r[kStringHeaderSize] != (length > 255 ? 255 : length) || r[kStringHeaderSize + 1 + length] != 0 ||
            size > remaining)
            return Error{where +
                         ": not a string constant (expected count 1, a null text pointer, capacity = "
                         "length + 2, the length byte, the text and a zero byte, padded to 4)"};
        layout.mark_record_start(base + p);
        p += size;
    }
    return {};
}

}  // namespace

Result<ImageLayout> lay_out_image(const ElfObject& object)
{
    ImageLayout layout;
    const size_t count = object.sections.size();
    layout.places.resize(count);
    for (size_t i = 1; i < count; ++i) {
        QV_TRY_ASSIGN(Placement p, classify(object.sections[i]));
        layout.places[i].placement = p;
    }

    layout.code.assign(kEntryJumpSize, 0);
    // Data order: string constants, initialised data, zero-filled slots.
    for (Placement pass : {Placement::Code, Placement::Strings, Placement::Data, Placement::Zero}) {
        for (size_t i = 1; i < count; ++i) {
            if (layout.places[i].placement != pass)
                continue;
            const ElfSection& s = object.sections[i];
            const bool code = pass == Placement::Code;
            const u32 alignment = pass == Placement::Strings && s.alignment < 4 ? 4 : s.alignment;
            QV_TRY_ASSIGN(u32 offset,
                          append_section(code ? layout.code : layout.data, code ? "code" : "data", s, alignment,
                                         code ? kCodePadding : 0));
            layout.places[i].offset = offset;
        }
        if (pass == Placement::Strings)
            layout.strings_end = static_cast<u32>(layout.data.size());
    }

    layout.reserve_record_marks(layout.strings_end);
    for (size_t i = 1; i < count; ++i) {
        if (layout.places[i].placement != Placement::Strings)
            continue;
        QV_TRY(mark_records(object.sections[i], layout.places[i].offset, layout));
    }
    return layout;
}

}  // namespace qvimage
