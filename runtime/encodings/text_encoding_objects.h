// The TextEncoding, TextConverter and _Encodings classes: their object layouts, their class
// definitions, the shared TextEncoding object of each tag, and the system's default encoding.
#pragma once

#include <cstddef>

#include "runtime/definitions/object_definition.h"
#include "runtime/objects/object_model.h"

namespace qv {

struct TextEncodingObject {
    RuntimeObject header;
    u32 base;
    u32 variant;
    u32 format;
    u32 valid;  // 1
    u32 tag;
};
static_assert(sizeof(TextEncodingObject) == 48);
static_assert(offsetof(TextEncodingObject, base) == 28);
static_assert(offsetof(TextEncodingObject, tag) == 44);

struct TextConverterObject {
    RuntimeObject header;
    u32 input;  // tags
    u32 output;
};
static_assert(sizeof(TextConverterObject) == 36);

// Registers the three class definitions (the first call only; their routines enter the
// EntryPointRegistry with them).
void register_encoding_classes();

ObjectDefinition* text_encoding_definition();
ObjectDefinition* text_converter_definition();
ObjectDefinition* encodings_definition();

// Their classes, made on first use and kept here for the process (which also keeps the
// _Encodings class, a heap block, in a leak checker's sight after the class cache is gone).
ClassRecord* text_encoding_class();
ClassRecord* text_converter_class();
ClassRecord* encodings_class();

// A new TextEncoding (count 1). The tag is UTF-8 for base 256 with format 2, else the base.
TextEncodingObject* new_text_encoding(u32 base, u32 variant, u32 format);

// The shared TextEncoding of a tag, with a count for the caller: the same object for the same
// tag while the process lives (base = tag, variant and format 0). Null for the unknown tag.
TextEncodingObject* shared_text_encoding(u32 tag);

// The tag of a TextEncoding object; unknown for null.
u32 tag_of(const RuntimeObject* encoding);

// The system's default text encoding, chosen by the user's default language: 1059 (DOS
// traditional Chinese) for Chinese, 2561 (Shift-JIS) for Japanese, else 1280 (Windows Latin 1).
u32 system_default_text_encoding();

// What the font-encoding routines answer: the system's default text encoding, except that a
// nil font name repeats the previous answer (ASCII before the first).
u32 font_text_encoding(bool font_name_given);

// The _Encodings properties: 92, numbered from 1.
inline constexpr i32 kEncodingsPropertyCount = 92;

// Releases the shared TextEncoding objects and the conversion cache: at process exit, and in
// tests between tests (they are process-lifetime state, not leaks).
void release_text_encoding_state();

}  // namespace qv
