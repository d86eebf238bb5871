// Exported string routines: counting, joining, comparing, text accessors, plug-in names.
// Arguments are borrowed; string results are new counts the caller owns.
#include <cstring>
#include <new>

#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/memory/runtime_locks.h"
#include "runtime/strings/encoding_reconcile.h"
#include "runtime/strings/string_compare.h"
#include "runtime/strings/string_ref.h"

using qv::StringRef;

extern "C" {

void RuntimeLockString(RuntimeString* s) { qv::retain_string(s); }

void RuntimeUnlockString(RuntimeString* s) { qv::release_string(s); }

void RuntimeLockUnlockStrings(RuntimeString* newValue, RuntimeString* oldValue)
{
    if (newValue == oldValue)
        return;
    qv::LockGuard guard(qv::string_lock());
    qv::retain_string(newValue);
    qv::release_string(oldValue);
}

RuntimeString* RuntimeAddString(RuntimeString* a, RuntimeString* b)
{
    // Joining texts of two encodings converts one through std containers; a failed
    // allocation there is nil, like a failed join.
    try {
        return StringRef::Concat(StringRef::share(a), StringRef::share(b)).leak();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int32_t RuntimeStringCompare(RuntimeString* a, RuntimeString* b)
{
    return qv::compare_strings_nocase(StringRef::share(a), StringRef::share(b));
}

const char* StringGetCString(RuntimeString* s) { return StringRef::share(s).CText(); }

const char* StringToCString(RuntimeString* s) { return StringGetCString(s); }

const uint8_t* StringGetPString(RuntimeString* s) { return StringRef::share(s).PText(); }

const uint8_t* StringToPString(RuntimeString* s) { return StringGetPString(s); }

uint32_t StringToOSType(RuntimeString* s)
{
    StringRef text = StringRef::share(s);
    if (text.length() == 0)
        return 0x3F3F3F3F;  // "????"
    // In the system's default text encoding; text that cannot be converted is taken as it is.
    StringRef converted = qv::convert_encoding(text, qv::system_default_text_encoding());
    if (!converted.is_nil())
        text = converted;
    uint32_t code = 0;
    const i32 n = text.length() < 4 ? text.length() : 4;
    std::memcpy(&code, text.bytes(), static_cast<size_t>(n));
    return code;
}

RuntimeString* QuavBuildString(const void* bytes, int32_t count) { return StringRef::FromBytes(bytes, count).leak(); }

void QuavLockString(RuntimeString* s) { RuntimeLockString(s); }

void QuavUnlockString(RuntimeString* s) { RuntimeUnlockString(s); }

uint32_t QuavGetStringEncoding(RuntimeString* s) { return qv::string_encoding(s); }

void QuavSetStringEncoding(RuntimeString* s, uint32_t encoding)
{
    if (s)
        s->encoding = encoding;
}

}  // extern "C"
