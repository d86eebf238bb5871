#include "loader/application_image.h"

#include <cstring>

#include "loader/auxiliary_block.h"
#include "loader/image_container.h"
#include "loader/resource_segment.h"
#include "loader/runtime_import_resolver.h"
#include "platform/exec_memory.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {
namespace {

struct LoadedState {
    platform::ExecRegion code;
    std::vector<u8> data;       // never resized after loading
    std::vector<u8> resources;  // the resource index points into it
    ImageOptions options;
    bool loaded = false;
};

LoadedState& state()
{
    static auto* s_state = new LoadedState;
    return *s_state;
}

Result<ImageSegments> read_image(const ImageSource& source)
{
    switch (source.kind) {
    case ImageSource::Kind::SeparateFiles: return read_separate_image(source.path);
    case ImageSource::Kind::PackagedFile: {
        platform::InputFile file = platform::open_for_reading(source.path);
        if (!file.is_open())
            return Error{"the image file " + source.path + " could not be opened"};
        return read_packaged_image(file, source.offset);
    }
    case ImageSource::Kind::Executable: break;
    }
    const ImageLocation location = decode_locator(platform::find_image_locator());
    const std::string self = platform::executable_path();
    // A block offset of 0 (always so for separate files) means the block is "data3.dat".
    if (location.packaged && location.auxiliary_offset != 0)
        auxiliary_block().configure(self, location.auxiliary_offset);
    else
        auxiliary_block().configure("data3.dat", 0);
    if (!location.packaged)
        return read_separate_image("");
    platform::InputFile file = platform::open_for_reading(self);
    if (!file.is_open()) {
        assertion_failed("loaderX86", 540, "0");
        return Error{"the program file " + self + " could not be opened to read its application image"};
    }
    return read_packaged_image(file, location.image_offset);
}

}  // namespace

const u8* image_code_base() { return state().code.base; }
u32 image_code_size() { return static_cast<u32>(state().code.size); }
const u8* image_data_base() { return state().data.data(); }
const ImageOptions& image_options() { return state().options; }

Result<LinkReport> load_and_link_image(const ImageSource& source)
{
    LoadedState& loaded = state();
    if (loaded.loaded)
        return Error{"an application image is already loaded"};
    QV_TRY_ASSIGN(ImageSegments segments, read_image(source));
    if (segments.code.empty())
        return Error{"the application image has no code"};

    QV_TRY_ASSIGN(ImageOptions options, parse_options_stream(segments.options));

    platform::ExecRegion code;
    if (platform::ExecStatus status = platform::allocate_writable_region(segments.code.size(), code); !status.ok())
        return Error{std::string("no memory for the image's code (") + status.failed_call + " failed)"};
    std::memcpy(code.base, segments.code.data(), segments.code.size());
    loaded.data = std::move(segments.data);

    RuntimeImportResolver resolver;
    const LoadedImage image{code.base, static_cast<u32>(segments.code.size()), loaded.data.data(),
                            static_cast<u32>(loaded.data.size())};
    Result<LinkReport> report = LinkImage(segments.imports, image, resolver);
    if (!report) {
        platform::free_region(code);
        return report;
    }
    if (platform::ExecStatus status = platform::make_executable(code); !status.ok()) {
        platform::free_region(code);
        return Error{std::string("the image's code could not be made executable (") + status.failed_call + " failed)"};
    }

    loaded.resources = std::move(segments.resources);
    QV_TRY(index_resource_segment(image_resources(), loaded.resources, segments.resource_file_position));
    loaded.code = code;
    loaded.options = std::move(options);
    loaded.loaded = true;
    return report;
}

void call_image_entry()
{
    using Entry = void (*)();
    reinterpret_cast<Entry>(state().code.base)();
}

bool LoadApplicationImage(const ImageSource& source)
{
    Result<LinkReport> linked = load_and_link_image(source);
    if (!linked) {
        platform::show_message("", linked.error().c_str());
        return false;
    }
    call_image_entry();
    return true;
}

bool LoadApplicationImage() { return LoadApplicationImage(ImageSource{}); }

}  // namespace qv
