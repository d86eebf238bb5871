// The image's typed resource lookups. Text is served now; pictures, cursors, sounds, movies
// and databases answer nil until those object types exist in the runtime.
#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/resources/resource_manager.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

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

RuntimeObject* RuntimeGetBitmapFromResourceManager(int32_t) { return nullptr; }
RuntimeObject* RuntimeGetCursorFromResourceManager(int32_t) { return nullptr; }
RuntimeObject* RuntimeGetSoundFromResourceManager(int32_t) { return nullptr; }

}  // extern "C"
