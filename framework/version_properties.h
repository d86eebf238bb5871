// The application's version properties (MajorVersion ... PackageInfo) from the values of the
// executable's version resource. Reading the resource is the Win32 side's job; it asks for
// each value under version_value_path and passes the texts here (empty when absent).
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"

namespace qv {

// "\StringFileInfo\040904E4\" followed by the value name.
std::string version_value_path(std::string_view value_name);

// Selectors 0..5: MajorVersion, MinorVersion, BugVersion (the first three "."-separated
// fields of FileVersion), StageCode (Release compared ignoring case with Development, Alpha,
// Beta, Final: 0..3, else -1), NonReleaseVersion (the fourth field), RegionCode (always -1).
// A missing field reads as 0; an unknown selector gives -1.
i32 version_integer(i32 selector, std::string_view file_version, std::string_view release);

// The value a string selector reads: 0 ShortVersion "Product Version", 1 LongVersion
// "LegalCopyright", 2 PackageInfo "FileDescription"; empty for any other selector.
std::string_view version_string_value_name(i32 selector);

// The leading decimal integer of a text: spaces, a sign, digits; 0 without digits. Too many
// digits wrap around in 32 bits rather than fail.
i32 leading_integer(std::string_view text);

}  // namespace qv
