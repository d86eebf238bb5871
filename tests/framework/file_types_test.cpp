// Whether a file is of a registered type: by its extension against the type's list, which
// image code writes in several ways; unknown types and types without extensions take any file.
#include <gtest/gtest.h>

#include "framework/file_types.h"

namespace qv {
namespace {

StringRef text(const char* s) { return StringRef::FromCString(s); }

// The list lives for the process: it is filled before any test measures the allocator.
class FileTypes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        register_file_type({text("image/png"), {}, text("PNGf"), text(".png")});
        register_file_type({text("Pictures"), {}, {}, text(".JPG; .jpeg,gif")});
        register_file_type({text("text"), text("R*ch"), text("TEXT"), {}});
    }
};

TEST_F(FileTypes, AFileIsOfATypeWhenItsExtensionIsListed)
{
    struct Case {
        const char* path;
        const char* type;
        bool want;
    };
    const Case cases[] = {
        {"C:\\photos\\a.png", "image/png", true},
        {"C:\\photos\\a.PNG", "IMAGE/PNG", true},  // names and extensions ignore case
        {"C:\\photos\\a.png.txt", "image/png", false},
        {"C:\\photos.png\\readme", "image/png", false},  // the dot is in a folder's name
        {"/home/u/no_extension", "image/png", false},
        {"C:\\a.jpg", "pictures", true},
        {"C:\\a.jpeg", "pictures", true},
        {"C:\\a.gif", "pictures", true},
        {"C:\\a.bmp", "pictures", false},
        {"C:\\notes.md", "text", true},  // registered without extensions
        {"C:\\notes.md", "never registered", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " / " + c.type);
        EXPECT_EQ(file_is_of_type(c.path, c.type), c.want);
    }
}

}  // namespace
}  // namespace qv
