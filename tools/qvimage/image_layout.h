// Where each section of the object goes in the image: code sections after the entry jump,
// then in the data segment the string constants, the other data, and the zero-filled slots.
#pragma once

#include <vector>

#include "core/result.h"
#include "core/types.h"
#include "loader/image_format.h"
#include "tools/qvimage/elf_object.h"

namespace qvimage {

// qvimage begins the code segment with "jmp rel32" to the entry function, whose code the
// compiler placed anywhere. Code sections are laid out after these five bytes and every
// relocation must lie inside its section, so no fixup ever patches the jump.
constexpr u8 kEntryJumpOpcode = 0xe9;
constexpr u32 kEntryJumpSize = 5;

// qvimage writes no code or data segment larger than this: far beyond any real image, small
// enough that none of its size computations comes near overflowing.
constexpr u32 kMaxSegmentSize = 64u << 20;
// The largest section alignment qvimage honours (a page).
constexpr u32 kMaxSectionAlignment = 4096;

enum class Placement : u8 {
    Ignored,  // not allocated, or notes: nothing of it reaches the image
    Code,
    Strings,  // .qvstr: string-constant records
    Data,     // initialised data
    Zero,     // SHT_NOBITS: global slots
};

struct SectionPlace {
    Placement placement = Placement::Ignored;
    u32 offset = 0;  // in the code or data segment
};

struct ImageLayout {
    std::vector<SectionPlace> places;  // by ELF section index
    std::vector<u8> code;              // the first kEntryJumpSize bytes are left for the entry jump
    std::vector<u8> data;
    u32 strings_end = 0;  // data bytes [0, strings_end) hold the string constants

    bool is_record_start(u32 data_offset) const
    {
        return data_offset < strings_end && data_offset % 4 == 0 && m_record_starts[data_offset / 4];
    }
    void mark_record_start(u32 data_offset) { m_record_starts[data_offset / 4] = true; }
    void reserve_record_marks(u32 strings_end_offset) { m_record_starts.assign(strings_end_offset / 4 + 1, false); }

private:
    std::vector<bool> m_record_starts;  // by data offset / 4
};

// Copies the sections into their segments and checks every string-constant record.
qv::Result<ImageLayout> lay_out_image(const ElfObject& object);

}  // namespace qvimage
