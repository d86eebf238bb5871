// LinkImage: applies the image's import stream to the loaded code segment in place.
//
// Records (tag byte, then little-endian fields; names are counted strings: length byte, the
// bytes, and a zero byte that is not counted):
//   0            no-op (tags above 5 likewise)
//   1 RuntimeImport   mode byte (1 relative, else absolute), chain head u32, routine name
//   2 DataFixup       site u32: the data base is added to the u32 at the site
//   3 CodeFixup       site u32: the code base is added to the u32 at the site
//   4 LibraryImport   chain head u32, procedure name, library file name
//   5 StringFixup     site u32 holding a string constant's data offset: the data base is
//                     added, and the constant's text pointer is set once
// An import used at many sites is listed once: the record names the first site, and each
// site holds the code offset of the next one until a 0. Relative mode stores the call
// displacement target - (code base + site + 4); absolute mode stores the address itself.
//
// The stream comes from a file, so nothing in it is trusted: every site, chain link and string
// constant is checked against its segment (and string constants against each other) before it
// is read or written, a site may be patched only once (which also ends a chain that loops), and
// a truncated record refuses the image. Any 4 code bytes may be a site, the first five
// included: a chain cannot reach site 0 (a zero link ends it), but a fixup record may name it.
// A malformed stream is refused before the first write. Where a fixed-up address points is the
// image code's business: only the sites, and the string constants the linker writes to, are
// checked. Routine, procedure and library names are looked up up to their first NUL byte, as
// C strings.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "core/types.h"

namespace qv {

struct LoadedImage {
    u8* code = nullptr;
    u32 code_length = 0;
    u8* data = nullptr;
    u32 data_length = 0;
};

class ImportResolver {
public:
    virtual ~ImportResolver() = default;
    // An exported runtime routine by name (ignoring case), or null when there is none.
    virtual const void* runtime_routine(std::string_view name) = 0;
    // Where the sites of an import that is not exported are pointed instead: a routine that
    // reports the missing name and ends the application.
    virtual const void* unbound_import(std::string_view name) = 0;
    // A procedure of an external library; sets `message` and returns null on failure.
    virtual const void* library_procedure(std::string_view library, std::string_view procedure,
                                          std::string& message) = 0;
};

struct LinkReport {
    u32 runtime_imports = 0;
    u32 import_sites = 0;
    u32 data_fixups = 0;
    u32 code_fixups = 0;
    u32 string_fixups = 0;
    u32 library_imports = 0;
    std::vector<std::string> unbound;  // runtime imports that were not exported
};

// Refuses a malformed stream with a message naming what is wrong; a missing library or
// library routine fails with the message to show the user. Runtime routines that are not
// exported are reported as failed assertions ("Function '...' was not exported") and linked
// to resolver.unbound_import, and linking goes on.
Result<LinkReport> LinkImage(std::span<const u8> stream, const LoadedImage& image, ImportResolver& resolver);

}  // namespace qv
