#include "runtime/strings/character_tables.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page_tables.h"
#include "platform/locale_compare.h"
#include "platform/system_code_page.h"

namespace qv {
namespace {

struct BuiltTables {
    CharacterTables tables;
    u32 code_page = 0;
    bool built = false;
};

u8 mapped_byte(u8 byte, platform::LetterCase target)
{
    u8 character = byte;
    platform::change_character_case(&character, 1, target);
    return character;
}

void build(CharacterTables& t)
{
    std::memset(&t, 0, sizeof t);
    for (int b = 0; b < 256; ++b) {
        t.lead[b] = platform::is_lead_byte(static_cast<u8>(b)) ? 1 : 0;
        t.dbcs |= t.lead[b];
    }
    if (t.dbcs)
        return;
    for (int b = 0; b < 256; ++b) {
        const u8 byte = static_cast<u8>(b);
        t.upper[b] = mapped_byte(byte, platform::LetterCase::Upper);
        t.lower[b] = mapped_byte(byte, platform::LetterCase::Lower);
        t.separator[b] = platform::is_space_character(&byte, 1) ? 1 : 0;
        t.collation_order[b] = byte;
    }
    // Stable, so bytes the locale finds equal (control characters, say) stay in byte order.
    std::stable_sort(std::begin(t.collation_order), std::end(t.collation_order), [](u8 a, u8 b) {
        return platform::compare_in_locale(&a, 1, &b, 1, platform::CaseMode::Sensitive) == platform::LocaleOrder::Less;
    });
    for (int rank = 0; rank < 256; ++rank)
        t.collation_rank[t.collation_order[rank]] = static_cast<u8>(rank);
}

}  // namespace

const CharacterTables& character_tables()
{
    static BuiltTables s_built;
    const u32 code_page = platform::system_code_page();
    if (!s_built.built || s_built.code_page != code_page) {
        build(s_built.tables);
        s_built.code_page = code_page;
        s_built.built = true;
    }
    return s_built.tables;
}

}  // namespace qv
