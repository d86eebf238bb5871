// Parsing only: files are opened when the tool runs.
#include "tools/qvimage/command_line.h"

namespace qvimage {

using qv::Error;
using qv::Result;

const char* const kQvimageUsage =
    "usage: qvimage [-o OUT] [--split DIR] [--attach RUNTIME.exe] [--resource TYPE:ID:FILE]...\n"
    "               [--mdi TITLE] [--entry SYMBOL] OBJECT.o\n"
    "  -o OUT                  write the packaged image (with --attach: the executable) to OUT\n"
    "  --split DIR             write import.dat, code.dat, data.dat, rsrc.dat and options.dat into DIR\n"
    "  --attach RUNTIME.exe    append the image to a copy of RUNTIME.exe and point its locator at it\n"
    "  --resource TYPE:ID:FILE add FILE as a resource of four-character TYPE and id 0-65535\n"
    "  --mdi TITLE             run the application in an MDI frame titled TITLE (may be empty)\n"
    "  --entry SYMBOL          the image's entry function (default ImageEntry)";

Result<QvimageOptions> parse_command_line(const std::vector<std::string>& arguments)
{
    QvimageOptions options;
    bool have_entry = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            continue;
        }
        if (argument.empty() || argument[0] != '-') {
            if (!options.object.empty())
                return Error{"give exactly one object file (got '" + options.object + "' and '" + argument + "')"};
            options.object = argument;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return Error{name + " needs a value"};
        }
        auto set_once = [&](std::string& field, bool given) -> Result<void> {
            if (given)
                return Error{name + " is given twice"};
            if (value.empty())
                return Error{name + " needs a value"};
            field = value;
            return {};
        };
        Result<void> step;
        if (name == "-o") {
            step = set_once(options.output, !options.output.empty());
        } else if (name == "--split") {
            step = set_once(options.split_folder, !options.split_folder.empty());
        } else if (name == "--attach") {
            step = set_once(options.attach_runtime, !options.attach_runtime.empty());
        } else if (name == "--entry") {
            step = set_once(options.entry, have_entry);
            have_entry = true;
        } else if (name == "--mdi") {
            if (options.mdi_title)
                return Error{"--mdi is given twice"};
            options.mdi_title = value;
        } else if (name == "--resource") {
            QV_TRY_ASSIGN(ResourceArgument resource, parse_resource_argument(value));
            options.resources.push_back(std::move(resource));
        } else {
            return Error{"unknown option '" + name + "'"};
        }
        QV_TRY(step);
    }
    if (options.help)
        return options;
    if (options.object.empty())
        return Error{"no object file given"};
    if (options.output.empty() && options.split_folder.empty())
        return Error{"nothing to write: give -o OUT and/or --split DIR"};
    if (!options.attach_runtime.empty() && options.output.empty())
        return Error{"--attach needs -o OUT.exe for the executable it writes"};
    return options;
}

}  // namespace qvimage
