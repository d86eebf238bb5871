// LoadApplicationImage: locate and read the image, link it into executable memory, index its
// resources and call its entry. The segments stay where they were loaded for the process's
// life, since linked code holds absolute pointers into both.
#pragma once

#include <string>

#include "core/result.h"
#include "loader/import_linker.h"
#include "loader/options_stream.h"

namespace qv {

struct ImageSource {
    enum class Kind { Executable, PackagedFile, SeparateFiles };
    Kind kind = Kind::Executable;
    std::string path;  // the packaged file, or the folder of the separate files ("" = current)
    u32 offset = 0;    // of the image inside a packaged file
};

// The loaded image's state, fixed once the loader has run.
const u8* image_code_base();
u32 image_code_size();  // bytes of the code segment; 0 before loading
const u8* image_data_base();
const ImageOptions& image_options();

// Reads, links and indexes the image without running it. A malformed image, a link failure
// or memory that cannot be made executable comes back as the message to show.
Result<LinkReport> load_and_link_image(const ImageSource& source);

// Calls the linked image's entry (its first code byte) with the C calling convention.
void call_image_entry();

// The whole load: on failure the message is shown with the runtime's message box and the
// result is false; true after the image's entry has returned.
bool LoadApplicationImage(const ImageSource& source);
bool LoadApplicationImage();  // from the running executable

}  // namespace qv
