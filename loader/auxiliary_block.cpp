#include "loader/auxiliary_block.h"

namespace qv {
namespace {

bool read_big_endian(platform::InputFile& file, i64 position, u32& out)
{
    u8 bytes[4];
    if (!file.seek(position) || !file.read(bytes))
        return false;
    out = (u32{bytes[0]} << 24) | (u32{bytes[1]} << 16) | (u32{bytes[2]} << 8) | u32{bytes[3]};
    return true;
}

}  // namespace

void AuxiliaryBlock::configure(std::string file, u32 offset)
{
    m_path = std::move(file);
    m_offset = offset;
    m_file = platform::InputFile();
}

std::optional<AuxiliaryBlock::Item> AuxiliaryBlock::FindAuxiliaryItem(i32 k)
{
    if (k < 1 || m_path.empty())
        return std::nullopt;
    if (!m_file.is_open()) {
        m_file = platform::open_for_reading(m_path);
        if (!m_file.is_open())
            return std::nullopt;
    }
    u32 count, item_offset;
    if (!read_big_endian(m_file, m_offset, count) || count < static_cast<u32>(k))
        return std::nullopt;
    if (!read_big_endian(m_file, m_offset + 4 * i64{k}, item_offset))
        return std::nullopt;
    const i64 position = i64{m_offset} + 4 + 4 * i64{count} + item_offset;
    if (position > m_file.size())
        return std::nullopt;  // an offset past the file: no item there to read
    return Item{&m_file, position};
}

AuxiliaryBlock& auxiliary_block()
{
    static auto* s_block = new AuxiliaryBlock;
    return *s_block;
}

}  // namespace qv
