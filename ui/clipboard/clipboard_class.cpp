// The Clipboard class over the installed SystemClipboard. Text is read back as UTF-8; named data
// and text on systems without Unicode text travel in the ANSI code page and end at their first
// zero byte.
#include "ui/clipboard/clipboard_class.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/once.h"
#include "platform/code_pages.h"
#include "platform/system_code_page.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/strings/string_ref.h"
#include "ui/clipboard/system_clipboard.h"

namespace qv::ui {
namespace {

SystemClipboard* s_system = nullptr;
ObjectDefinition s_definition;

ClipboardObject* fields(RuntimeObject* object) { return reinterpret_cast<ClipboardObject*>(object); }

// Every operation first holds the clipboard open; false when it cannot be had.
bool hold_open(RuntimeObject* self)
{
    if (!self)
        return false;
    ClipboardObject* clipboard = fields(self);
    if (!clipboard->open) {
        if (!s_system || !s_system->open())
            return false;
        clipboard->open = 1;
    }
    return true;
}

// The string's UTF-16 units; none for nil or text that cannot be converted.
std::vector<u16> utf16_units(RuntimeString* text)
{
    const StringRef wide = StringRef::share(text).ToUTF16();
    std::vector<u16> units(static_cast<size_t>(wide.length() / 2));
    if (!units.empty())
        std::memcpy(units.data(), wide.WideText(), units.size() * 2);
    return units;
}

// The string in the ANSI code page. Text without a Unicode tag is taken to be in it already.
std::vector<u8> ansi_bytes(RuntimeString* text)
{
    const StringRef s = StringRef::share(text);
    if (s.encoding() == kEncodingUnknown || s.encoding() == kEncodingASCII)
        return std::vector<u8>(s.bytes(), s.bytes() + s.length());
    const std::vector<u16> units = utf16_units(text);
    std::vector<u8> out;
    if (!units.empty())
        platform::encode_code_page(platform::system_code_page(), units.data(), static_cast<i32>(units.size()), out);
    return out;
}

// Opens, empties once per object, and puts the block.
void write_block(RuntimeObject* self, u32 format, std::span<const u8> block)
{
    if (!format || !hold_open(self))
        return;
    ClipboardObject* clipboard = fields(self);
    if (!clipboard->emptied) {
        s_system->empty();
        clipboard->emptied = 1;
    }
    s_system->put(format, block);
}

std::vector<u8> with_zero(std::vector<u8> bytes)
{
    bytes.push_back(0);
    return bytes;
}

void write_text(RuntimeObject* self, RuntimeString* text)
{
    if (!self)
        return;
    if (s_system && s_system->wide_text()) {
        std::vector<u16> units = utf16_units(text);
        units.push_back(0);
        write_block(self, kClipboardUnicodeText,
                    std::span<const u8>(reinterpret_cast<const u8*>(units.data()), units.size() * 2));
    } else {
        write_block(self, kClipboardText, with_zero(ansi_bytes(text)));
    }
}

// The block's bytes up to the first zero byte, as a string of unknown encoding; nil for none.
RuntimeString* read_bytes(RuntimeObject* self, u32 format)
{
    std::vector<u8> block;
    if (!format || !hold_open(self) || !s_system->get(format, block))
        return nullptr;
    const auto end = std::find(block.begin(), block.end(), u8{0});
    StringRef s = StringRef::FromBytes(block.data(), static_cast<i32>(end - block.begin()));
    s.set_encoding(kEncodingUnknown);
    return s.leak();
}

RuntimeString* read_text(RuntimeObject* self)
{
    if (!hold_open(self))
        return nullptr;
    if (!s_system->wide_text())
        return read_bytes(self, kClipboardText);
    std::vector<u8> block;
    if (!s_system->get(kClipboardUnicodeText, block))
        return nullptr;
    std::vector<u16> units(block.size() / 2);
    std::memcpy(units.data(), block.data(), units.size() * 2);
    const auto end = std::find(units.begin(), units.end(), u16{0});
    return StringRef::FromWide(units.data(), static_cast<i32>(end - units.begin())).ToUTF8().leak();
}

// The format registered under the data type's name; 0 when it cannot be had.
u32 named_format(RuntimeString* type)
{
    if (!s_system)
        return 0;
    return s_system->register_format(with_zero(ansi_bytes(type)));
}

void finalize_clipboard(RuntimeObject* object) { clipboardClose(object); }

constexpr TypeDescriptor kPictureType = object_type("Picture");

// clang-format off
const PropertyRecord kProperties[] = {
    {0, "Text", &kStringType, QV_ROUTINE(clipboardTextGetter), QV_ROUTINE(clipboardTextSetter), 0, 0},
    {0, "Picture", &kPictureType, QV_ROUTINE(clipboardPictureGetter), QV_ROUTINE(clipboardPictureSetter), 0, 0},
};

const ParameterRecord kTextParameter[] = {{"text", &kStringType, 0}};
const ParameterRecord kTypeParameter[] = {{"type", &kStringType, 0}};
const ParameterRecord kTypeDataParameters[] = {{"type", &kStringType, 0}, {"data", &kStringType, 0}};

const MethodRecord kMethods[] = {
    {"SetText", nullptr, kTextParameter, 1, QV_ROUTINE(clipboardSetText), nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0, QV_ROUTINE(clipboardClose), nullptr, nullptr, 0},
    {"TextAvailable", &kBooleanType, nullptr, 0, QV_ROUTINE(clipboardTextAvailable), nullptr, nullptr, 0},
    {"PictureAvailable", &kBooleanType, nullptr, 0, QV_ROUTINE(clipboardPictureAvailable), nullptr, nullptr, 0},
    {"MacDataAvailable", &kBooleanType, kTypeParameter, 1, QV_ROUTINE(clipboardMacDataAvailable), nullptr, nullptr, 0},
    {"MacData", &kStringType, kTypeParameter, 1, QV_ROUTINE(clipboardMacData), nullptr, nullptr, 0},
    {"AddMacData", nullptr, kTypeDataParameters, 2, QV_ROUTINE(clipboardAddMacData), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{kProperties, kMethods}};

}  // namespace

SystemClipboard* set_system_clipboard(SystemClipboard* clipboard) { return std::exchange(s_system, clipboard); }

SystemClipboard* system_clipboard() { return s_system; }

bool system_clipboard_has_text()
{
    if (!s_system || !s_system->open())
        return false;
    const bool has = s_system->available(kClipboardText);
    s_system->close();
    return has;
}

std::u16string system_clipboard_unicode_text()
{
    std::u16string text;
    if (!s_system || !s_system->open())
        return text;
    std::vector<u8> block;
    if (s_system->get(kClipboardUnicodeText, block)) {
        text.resize(block.size() / 2);
        std::memcpy(text.data(), block.data(), text.size() * 2);
        text.resize(std::find(text.begin(), text.end(), u'\0') - text.begin());
    }
    s_system->close();
    return text;
}

Seam<ClipboardPictureBridge>& clipboard_picture_seam()
{
    static Seam<ClipboardPictureBridge> s_seam;
    return s_seam;
}

ClassTableList clipboard_class_tables() { return kTables; }

void register_clipboard_class()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "Clipboard";
        source.instance_size = sizeof(ClipboardObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.finalizer = &finalize_clipboard;
        build_definition(s_definition, source);
        RegisterDefinition(&s_definition);
    });
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

RuntimeString* clipboardTextGetter(RuntimeObject* clipboard) { return read_text(clipboard); }

void clipboardTextSetter(RuntimeObject* clipboard, int32_t, RuntimeString* text) { write_text(clipboard, text); }

void clipboardSetText(RuntimeObject* clipboard, RuntimeString* text) { write_text(clipboard, text); }

int32_t clipboardTextAvailable(RuntimeObject* clipboard)
{
    if (!hold_open(clipboard))
        return 0;
    if (s_system->available(kClipboardText))
        return 1;
    if (!s_system->wide_text() || !s_system->available(kClipboardUnicodeText))
        return 0;
    return !StringRef::adopt(read_text(clipboard)).is_nil();
}

int32_t clipboardPictureAvailable(RuntimeObject* clipboard)
{
    return hold_open(clipboard) && s_system->available(kClipboardDib);
}

RuntimeObject* clipboardPictureGetter(RuntimeObject* clipboard)
{
    std::vector<u8> dib;
    const ClipboardPictureBridge& pictures = clipboard_picture_seam().get();
    if (!pictures.from_dib || !hold_open(clipboard) || !s_system->get(kClipboardDib, dib) || dib.empty())
        return nullptr;
    return pictures.from_dib(dib.data(), static_cast<u32>(dib.size()));
}

void clipboardPictureSetter(RuntimeObject* clipboard, int32_t, RuntimeObject* picture)
{
    const ClipboardPictureBridge& pictures = clipboard_picture_seam().get();
    if (picture && pictures.put && hold_open(clipboard))
        pictures.put(picture);
}

int32_t clipboardMacDataAvailable(RuntimeObject* clipboard, RuntimeString* type)
{
    if (!hold_open(clipboard))
        return 0;
    const u32 format = named_format(type);
    return format && s_system->available(format);
}

RuntimeString* clipboardMacData(RuntimeObject* clipboard, RuntimeString* type)
{
    return read_bytes(clipboard, named_format(type));
}

void clipboardAddMacData(RuntimeObject* clipboard, RuntimeString* type, RuntimeString* data)
{
    write_block(clipboard, named_format(type), with_zero(ansi_bytes(data)));
}

void clipboardClose(RuntimeObject* clipboard)
{
    if (!clipboard)
        return;
    ClipboardObject* fields = reinterpret_cast<ClipboardObject*>(clipboard);
    if (!fields->open)
        return;
    if (s_system)
        s_system->close();
    fields->open = 0;
}

}  // extern "C"
