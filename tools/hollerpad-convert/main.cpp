// hollerpad-convert: runs Hollerpad's conversion as a filter from stdin to stdout. Bytes go
// through as they come: no newline translation, invalid UTF-8 and NUL bytes included.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "app/conversion.h"
#include "platform/standard_streams.h"
#include "runtime/strings/string_ref.h"
#include "tools/hollerpad-convert/options.h"

namespace {

enum class ReadResult { Ok, Failed, OutOfMemory };

ReadResult read_all(std::FILE* in, std::vector<u8>& bytes)
{
    u8 chunk[65536];
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, in);
        if (n > 0) {
            if (bytes.size() + n > 0x7FFFFF00u)
                return ReadResult::Failed;  // beyond what one string can hold
            try {
                bytes.insert(bytes.end(), chunk, chunk + n);
            } catch (const std::bad_alloc&) {
                return ReadResult::OutOfMemory;
            }
        }
        if (n < sizeof chunk)
            return std::ferror(in) ? ReadResult::Failed : ReadResult::Ok;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    platform::set_binary_standard_streams();
    const hollerpad::ParsedOptions parsed =
        hollerpad::parse_convert_options(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "hollerpad-convert: %s (%s)\n", parsed.error.c_str(), hollerpad::kConvertUsage);
        return 2;
    }
    if (parsed.options.help) {
        std::printf("%s\n  --switches NNNNNNNNN  switches 1 to 9, each 0 or 1 (default 111111110)\n"
                    "  --clipboard           write line ends as CR LF, as copied to the clipboard\n",
                    hollerpad::kConvertUsage);
        return 0;
    }

    std::vector<u8> input;
    switch (read_all(stdin, input)) {
    case ReadResult::Ok: break;
    case ReadResult::Failed:
        std::fprintf(stderr, "hollerpad-convert: cannot read standard input (or it is larger than 2 GB)\n");
        return 1;
    case ReadResult::OutOfMemory: std::fprintf(stderr, "hollerpad-convert: out of memory\n"); return 1;
    }
    qv::StringRef text = qv::StringRef::FromBytes(input.data(), static_cast<i32>(input.size()));
    if (!input.empty() && text.is_nil()) {
        std::fprintf(stderr, "hollerpad-convert: out of memory\n");
        return 1;
    }
    text.set_encoding(qv::kEncodingUTF8);
    input = {};

    qv::StringRef result = qv::StringRef::adopt(ConvertText(text.get(), parsed.options.switches));
    if (parsed.options.clipboard)
        result = qv::StringRef::adopt(ClipboardForm(result.get()));
    // Every step keeps at least what it found, so only a failed allocation yields nothing.
    if (result.is_nil() && (text.length() > 0 || (parsed.options.switches & HOLLERPAD_SWITCH(9)))) {
        std::fprintf(stderr, "hollerpad-convert: out of memory\n");
        return 1;
    }
    const size_t n = static_cast<size_t>(result.length());
    if (std::fwrite(result.bytes(), 1, n, stdout) != n || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "hollerpad-convert: cannot write standard output\n");
        return 1;
    }
    return 0;
}
