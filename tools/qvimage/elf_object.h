// The parts of an i386 ELF relocatable object that an image is made from: sections, symbols
// and the REL relocations of allocated sections, each offset and index checked on reading.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/result.h"
#include "core/types.h"

namespace qvimage {

// Section types and flags.
constexpr u32 kShtProgbits = 1;
constexpr u32 kShtSymtab = 2;
constexpr u32 kShtStrtab = 3;
constexpr u32 kShtRela = 4;
constexpr u32 kShtNote = 7;
constexpr u32 kShtNobits = 8;
constexpr u32 kShtRel = 9;
constexpr u32 kShtInitArray = 14;
constexpr u32 kShtFiniArray = 15;
constexpr u32 kShtPreinitArray = 16;
constexpr u32 kShfAlloc = 0x2;
constexpr u32 kShfExecInstr = 0x4;
constexpr u32 kShfTls = 0x400;

// Special symbol section indexes.
constexpr u16 kShnUndef = 0;
constexpr u16 kShnAbs = 0xfff1;
constexpr u16 kShnCommon = 0xfff2;

// Symbol binding and type.
constexpr u8 kStbLocal = 0;
constexpr u8 kSttSection = 3;

struct ElfSection {
    std::string name;
    u32 type = 0;
    u32 flags = 0;
    u32 size = 0;
    u32 link = 0;
    u32 info = 0;
    u32 alignment = 1;      // sh_addralign, 0 read as 1
    std::vector<u8> bytes;  // empty for SHT_NOBITS
};

struct ElfSymbol {
    std::string name;  // a section symbol carries its section's name
    u32 value = 0;
    u16 section = 0;  // st_shndx: a section index or one of the kShn values
    u8 binding = 0;
    u8 type = 0;
};

struct ElfRelocation {
    u32 offset = 0;  // in the target section
    u32 symbol = 0;  // index into ElfObject::symbols, valid
    u8 type = 0;
};

struct ElfRelocationSection {
    u32 target = 0;  // index of the allocated section that the entries patch
    std::vector<ElfRelocation> entries;
};

struct ElfObject {
    std::vector<ElfSection> sections;
    std::vector<ElfSymbol> symbols;
    std::vector<ElfRelocationSection> relocations;  // only those patching allocated sections
};

// Refuses anything that is not a little-endian 32-bit i386 relocatable object, and any
// header, name, symbol or relocation that points outside the file.
qv::Result<ElfObject> parse_elf_object(std::span<const u8> file);

}  // namespace qvimage
