// The image's typed resource lookups. Text, pictures and cursors are served now; sounds,
// movies and databases answer nil until those object types exist in the runtime.
#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/exports/bitmap_resources.h"
#include "runtime/exports/cursor_resources.h"
#include "runtime/resources/resource_manager.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {
namespace {

BitmapResourceMaker s_bitmap_maker = nullptr;

}  // namespace

void set_bitmap_resource_maker(BitmapResourceMaker maker) { s_bitmap_maker = maker; }

Seam<CursorResourceMaker>& cursor_resource_seam()
{
    static Seam<CursorResourceMaker> s_seam;
    return s_seam;
}

}  // namespace qv

extern "C" {

RuntimeString* RuntimeGetTextFileFromResourceManager(int32_t id)
{
    const qv::ResourceEntry entry = qv::image_resources().Find(qv::four_char_code("TEXT"), id);
    if (!entry.data || entry.length == 0)
        return nullptr;
    qv::StringRef text = qv::StringRef::FromBytes(entry.data, static_cast<i32>(entry.length));
    text.set_encoding(qv::system_default_text_encoding());
    return text.leak();
}

// The record's data is the whole bitmap file, "BM" header included.
RuntimeObject* RuntimeGetBitmapFromResourceManager(int32_t id)
{
    const qv::ResourceEntry entry = qv::image_resources().Find(qv::four_char_code("BMP "), id);
    if (!entry.data || entry.length == 0 || !qv::s_bitmap_maker)
        return nullptr;
    return qv::s_bitmap_maker(entry.data, entry.length);
}

RuntimeObject* RuntimeGetCursorFromResourceManager(int32_t id)
{
    const qv::ResourceEntry entry = qv::image_resources().Find(qv::four_char_code("CURS"), id);
    const qv::CursorResourceMaker maker = qv::cursor_resource_seam().get();
    if (!entry.data || !maker)
        return nullptr;
    return maker(entry.data, entry.length);
}
RuntimeObject* RuntimeGetSoundFromResourceManager(int32_t) { return nullptr; }

}  // extern "C"
