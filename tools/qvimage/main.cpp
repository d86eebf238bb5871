// qvimage: turns an i386 ELF object of image code into an application image, as one packaged
// file, as five segment files, or appended to a copy of the runtime executable.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/qvimage/command_line.h"
#include "tools/qvimage/tool.h"

int main(int argc, char** argv)
{
    const qv::Result<qvimage::QvimageOptions> options =
        qvimage::parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::fprintf(stderr, "qvimage: %s\n%s\n", options.error().c_str(), qvimage::kQvimageUsage);
        return 2;
    }
    if (options.value().help) {
        std::printf("%s\n", qvimage::kQvimageUsage);
        return 0;
    }
    if (const qv::Result<void> run = qvimage::run_qvimage(options.value()); !run) {
        std::fprintf(stderr, "qvimage: %s\n", run.error().c_str());
        return 1;
    }
    return 0;
}
