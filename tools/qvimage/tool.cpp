// File handling for qvimage. Each output is written beside its final name and renamed into
// place, so readers never see half an image.
#include "tools/qvimage/tool.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "tools/qvimage/elf_object.h"
#include "tools/qvimage/image_builder.h"
#include "tools/qvimage/image_package.h"
#include "tools/qvimage/pe_locator.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::Result;

Result<std::vector<u8>> read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Error{path + ": cannot open for reading"};
    std::vector<u8> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Error{path + ": cannot read"};
    return bytes;
}

Result<void> write_file(const std::filesystem::path& path, std::span<const u8> bytes)
{
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out || !out.flush()) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            return Error{path.string() + ": cannot write"};
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return Error{path.string() + ": cannot write"};
    }
    return {};
}

Result<ApplicationImage> build_from_options(const QvimageOptions& options)
{
    QV_TRY_ASSIGN(std::vector<u8> object_bytes, read_file(options.object));
    Result<ElfObject> object = parse_elf_object(object_bytes);
    if (!object)
        return Error{options.object + ": " + object.error()};
    Result<ApplicationImage> image = build_image(object.value(), options.entry);
    if (!image)
        return Error{options.object + ": " + image.error()};

    for (const ResourceArgument& resource : options.resources) {
        QV_TRY_ASSIGN(std::vector<u8> data, read_file(resource.file));
        if (Result<void> r = append_resource(image->resources, resource.type, resource.id, data); !r)
            return Error{resource.file + ": " + r.error()};
    }
    if (options.mdi_title)
        image->options = make_mdi_options(*options.mdi_title);
    return image;
}

}  // namespace

Result<void> run_qvimage(const QvimageOptions& options)
{
    QV_TRY_ASSIGN(ApplicationImage image, build_from_options(options));
    const std::vector<u8> packaged = package_image(image);

    std::vector<u8> output;
    if (!options.attach_runtime.empty()) {
        QV_TRY_ASSIGN(std::vector<u8> runtime, read_file(options.attach_runtime));
        Result<std::vector<u8>> attached = attach_image(runtime, packaged);
        if (!attached)
            return Error{options.attach_runtime + ": " + attached.error()};
        output = std::move(attached.value());
    } else if (!options.output.empty()) {
        output = packaged;
    }

    if (!options.output.empty()) {
        QV_TRY(write_file(options.output, output));
    }
    if (!options.split_folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.split_folder, error);
        if (error)
            return Error{options.split_folder + ": cannot create the folder"};
        for (const SegmentFile& file : segment_files(image)) {
            QV_TRY(write_file(std::filesystem::path(options.split_folder) / file.name, *file.bytes));
        }
    }
    return {};
}

}  // namespace qvimage
