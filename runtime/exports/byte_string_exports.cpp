// Exported byte-counting string functions (InStrB, ReplaceB, ReplaceAllB, ChrB, Chr).
#include "runtime/strings/byte_functions.h"

using qv::StringRef;

extern "C" {

int32_t StringInStrB(int32_t start, RuntimeString* source, RuntimeString* find)
{
    return qv::in_str_b(start, StringRef::share(source), StringRef::share(find));
}

RuntimeString* StringReplaceB(RuntimeString* source, RuntimeString* find, RuntimeString* replacement)
{
    return qv::replace_b(StringRef::share(source), StringRef::share(find), StringRef::share(replacement),
                         qv::ReplaceCount::First)
        .leak();
}

RuntimeString* StringReplaceAllB(RuntimeString* source, RuntimeString* find, RuntimeString* replacement)
{
    return qv::replace_b(StringRef::share(source), StringRef::share(find), StringRef::share(replacement),
                         qv::ReplaceCount::All)
        .leak();
}

RuntimeString* StringChr(int32_t value) { return qv::chr_b(value).leak(); }

RuntimeString* StringDBCSChr(int32_t value) { return qv::dbcs_chr(value).leak(); }

}  // extern "C"
