// The character tables of the system code page that the string functions consult: lead
// bytes, byte case mapping, separator flags and the locale's collation order of single bytes.
#pragma once

#include "core/types.h"

namespace qv {

// One block of 6 x 256 + 1 bytes. On a double-byte (DBCS) system only the lead-byte table is
// filled: its case mapping and character types are asked of the platform per character.
struct CharacterTables {
    u8 lead[256];   // 1 for a lead byte
    u8 upper[256];  // each byte upper-cased in the code page
    u8 lower[256];
    u8 separator[256];        // bit 0: the byte's character type is space or blank
    u8 collation_order[256];  // byte values sorted by the locale's comparison
    u8 collation_rank[256];   // the inverse: each byte value's place in that order
    u8 dbcs;                  // 1 when some byte is a lead byte
};
static_assert(sizeof(CharacterTables) == 6 * 256 + 1);

// Built on first use. Callers run on the application's thread, so there is no lock; the
// tables are rebuilt when the system code page has changed since (only tests change it).
const CharacterTables& character_tables();

inline bool is_dbcs_system() { return character_tables().dbcs != 0; }

}  // namespace qv
