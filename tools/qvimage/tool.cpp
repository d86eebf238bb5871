// File handling for qvimage. Each output is written beside its final name and renamed into
// place, so readers never see half an image, and straight from the segments, so that no
// second copy of the image is made. Messages name the file first, escaped like every name
// that may come from elsewhere, so that each refusal is one line.
#include "tools/qvimage/tool.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <system_error>

#include "loader/message_text.h"
#include "tools/qvimage/elf_object.h"
#include "tools/qvimage/image_builder.h"
#include "tools/qvimage/image_package.h"
#include "tools/qvimage/pe_locator.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::escaped;
using qv::Result;

Result<std::vector<u8>> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Error{escaped(path) + ": cannot open for reading"};
    std::vector<u8> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Error{escaped(path) + ": cannot read"};
    return bytes;
}

using Pieces = std::function<void(std::span<const u8>)>;

// `produce` hands the file's bytes to the writer it is given, in order.
Result<void> write_file(const std::filesystem::path& path, const std::function<void(const Pieces&)>& produce)
{
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (out) {
            produce([&](std::span<const u8> bytes) {
                out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            });
        }
        if (!out || !out.flush()) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return Error{escaped(path.string()) + ": cannot write"};
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return Error{escaped(path.string()) + ": cannot write"};
    }
    return {};
}

Result<ApplicationImage> build_from_options(const QvimageOptions& options)
{
    QV_TRY_ASSIGN(std::vector<u8> object_bytes, read_file(options.object));
    Result<ElfObject> object = parse_elf_object(object_bytes);
    if (!object)
        return Error{escaped(options.object) + ": " + object.error()};
    Result<ApplicationImage> image = build_image(object.value(), options.entry);
    if (!image)
        return Error{escaped(options.object) + ": " + image.error()};

    for (const ResourceArgument& resource : options.resources) {
        QV_TRY_ASSIGN(std::vector<u8> data, read_file(resource.file));
        if (Result<void> r = append_resource(image->resources, resource.type, resource.id, data); !r)
            return Error{escaped(resource.file) + ": " + r.error()};
    }
    if (options.mdi_title)
        image->options = make_mdi_options(*options.mdi_title);
    return image;
}

}  // namespace

Result<void> run_qvimage(const QvimageOptions& options)
{
    QV_TRY_ASSIGN(ApplicationImage image, build_from_options(options));
    if (!options.attach_runtime.empty()) {
        QV_TRY_ASSIGN(std::vector<u8> runtime, read_file(options.attach_runtime));
        if (Result<void> r = point_locator_at_end(runtime, packaged_size(image)); !r)
            return Error{escaped(options.attach_runtime) + ": " + r.error()};
        QV_TRY(write_file(options.output, [&](const Pieces& write) {
            write(runtime);
            for_each_packaged_piece(image, write);
        }));
    } else if (!options.output.empty()) {
        QV_TRY(write_file(options.output, [&](const Pieces& write) { for_each_packaged_piece(image, write); }));
    }
    if (!options.split_folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.split_folder, error);
        if (error)
            return Error{escaped(options.split_folder) + ": cannot create the folder"};
        for (const SegmentFile& file : segment_files(image)) {
            QV_TRY(write_file(std::filesystem::path(options.split_folder) / file.name,
                              [&](const Pieces& write) { write(*file.bytes); }));
        }
    }
    return {};
}

}  // namespace qvimage
