// An executable's version resource, read whole: the application's version properties read
// their own executable's, and tests read another program's the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

class VersionResource {
public:
    // Empty when the file has no version resource or cannot be read.
    explicit VersionResource(const std::wstring& path);

    // The value's text as UTF-8 from the "040904E4" string table; empty when missing.
    std::string value(std::string_view name) const;
    // What AppIntegerVersionStuffGetter and AppStringVersionStuffGetter give for a selector
    // (the string one as a new string, nil for an unknown selector).
    i32 integer(i32 selector) const;
    RuntimeString* string(i32 selector) const;

private:
    std::vector<u8> m_block;
};

}  // namespace qv
