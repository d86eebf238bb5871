// Fuzz target over everything the loader parses from an image: the options stream, the
// resource segment and the import stream (linked against a small code and data segment
// carved from the same input). Nothing may read or write outside its buffer, hang or crash.
#include <cstring>
#include <string>
#include <vector>

#include "loader/import_linker.h"
#include "loader/options_stream.h"
#include "loader/resource_segment.h"
#include "runtime/diagnostics/assertion.h"

namespace {

int g_target;

class FuzzResolver : public qv::ImportResolver {
public:
    const void* runtime_routine(std::string_view name) override { return name.size() % 2 ? &g_target : nullptr; }
    const void* unbound_import(std::string_view) override { return &g_target; }
    const void* library_procedure(std::string_view library, std::string_view, std::string& message) override
    {
        if (library.size() % 3 == 0) {
            message = "missing";
            return nullptr;
        }
        return &g_target;
    }
};

qv::AssertionAnswer answer_ok(const char*) { return qv::AssertionAnswer::Ok; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::set_assertion_responder(&answer_ok);
    if (size < 4)
        return 0;
    // Two length bytes choose the code and data segment sizes; the rest is the stream, which
    // also seeds the segments' contents so that chain links and offsets are fuzzed too.
    const size_t code_length = data[0] * 4u + data[1] % 4;
    const size_t data_length = data[2] * 2u;
    const std::vector<uint8_t> stream(data + 3, data + size);
    std::vector<uint8_t> code(code_length), image_data(data_length);
    for (size_t i = 0; i < code.size(); ++i)
        code[i] = stream.empty() ? 0 : stream[(i * 7) % stream.size()] % 64;
    for (size_t i = 0; i < image_data.size(); ++i)
        image_data[i] = stream.empty() ? 0 : stream[(i * 5) % stream.size()];

    FuzzResolver resolver;
    const qv::LoadedImage image{code.data(), static_cast<u32>(code.size()), image_data.data(),
                                static_cast<u32>(image_data.size())};
    (void)qv::LinkImage(stream, image, resolver);
    (void)qv::parse_options_stream(stream);
    qv::WindowsResourceManager index;
    if (qv::index_resource_segment(index, stream, 0)) {
        for (i32 i = 0; i < index.GetCount(); ++i) {
            const qv::ResourceEntry entry = index.GetAt(i);
            volatile uint8_t sink = 0;
            for (u32 k = 0; k < entry.length; ++k)
                sink = sink + entry.data[k];  // every indexed byte must lie in the segment
        }
    }
    return 0;
}
