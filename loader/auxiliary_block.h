// The auxiliary block: numbered items (custom cursors, movies) inside the executable at the
// locator's second offset, or at the start of "data3.dat". Integers here are big-endian.
#pragma once

#include <optional>
#include <string>

#include "core/types.h"
#include "platform/files.h"

namespace qv {

class AuxiliaryBlock {
public:
    // Where the block lies: a file and the offset of the block in it.
    void configure(std::string file, u32 offset);

    struct Item {
        platform::InputFile* file;  // open, owned by the block, positioned nowhere in particular
        i64 position;               // absolute position of the item's first byte
    };
    // Item k (1-based): fails for k < 1, a file that cannot be opened (tried again next time),
    // a count below k, or an item table that runs past the end of the file.
    std::optional<Item> FindAuxiliaryItem(i32 k);

private:
    std::string m_path;
    u32 m_offset = 0;
    platform::InputFile m_file;
};

// The process's block, configured by the loader.
AuxiliaryBlock& auxiliary_block();

}  // namespace qv
