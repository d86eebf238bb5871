// The encoding classes' definitions, the shared TextEncoding objects and the system's default
// encoding. The exported routines over them are in runtime/exports/encoding_exports.cpp.
#include "runtime/encodings/text_encoding_objects.h"

#include <cstdlib>
#include <vector>

#include "core/once.h"
#include "platform/code_pages.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/memory/runtime_locks.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/encoding_conversion.h"
#include "runtime/text/encoding_tags.h"

namespace qv {
namespace {

const TypeDescriptor kTextEncodingType = object_type("TextEncoding");

void* routine(auto* function) { return reinterpret_cast<void*>(function); }

// ---- TextEncoding ---------------------------------------------------------------------

const PropertyRecord kTextEncodingProperties[] = {
    {0, "Base", &kIntegerType, routine(&textEncodingBaseGetter), "textEncodingBaseGetter", nullptr, nullptr, 0, 0},
    {0, "Variant", &kIntegerType, routine(&textEncodingVariantGetter), "textEncodingVariantGetter", nullptr, nullptr, 0,
     0},
    {0, "Format", &kIntegerType, routine(&textEncodingFormatGetter), "textEncodingFormatGetter", nullptr, nullptr, 0,
     0},
    {0, "InternetName", &kStringType, routine(&textEncodingInternetName), "textEncodingInternetName", nullptr, nullptr,
     0, 0},
};

const ParameterRecord kChrParameters[] = {{"code", &kIntegerType, 0}};
const ParameterRecord kEqualsParameters[] = {{"other", &kTextEncodingType, 0}};

const MethodRecord kTextEncodingMethods[] = {
    {"Chr", &kStringType, kChrParameters, 1, routine(&TextEncodingChr), "TextEncodingChr", nullptr, nullptr, 0},
    {"Equals", &kBooleanType, kEqualsParameters, 1, routine(&TextEncodingEquals), "TextEncodingEquals", nullptr,
     nullptr, 0},
};

// ---- TextConverter --------------------------------------------------------------------

const ParameterRecord kConvertParameters[] = {{"source", &kStringType, 0}};

const MethodRecord kTextConverterMethods[] = {
    {"Convert", &kStringType, kConvertParameters, 1, routine(&textConverterConvert), "textConverterConvert", nullptr,
     nullptr, 0},
    {"Clear", nullptr, nullptr, 0, routine(&textConverterClear), "textConverterClear", nullptr, nullptr, 0},
};

// ---- _Encodings -----------------------------------------------------------------------

constexpr const char* kEncodingsPropertyNames[kEncodingsPropertyCount] = {
    "UTF8",
    "UTF16",
    "UCS4",
    "MacRoman",
    "MacJapanese",
    "MacChineseTrad",
    "MacKorean",
    "MacArabic",
    "MacHebrew",
    "MacGreek",
    "MacCyrillic",
    "MacDevanagari",
    "MacGurmukhi",
    "MacGujarati",
    "MacOriya",
    "MacBengali",
    "MacTamil",
    "MacTelugu",
    "MacKannada",
    "MacMalayalam",
    "MacSinhalese",
    "MacBurmese",
    "MacKhmer",
    "MacThai",
    "MacLaotian",
    "MacGeorgian",
    "MacArmenian",
    "MacChineseSimp",
    "MacTibetan",
    "MacMongolian",
    "MacEthiopic",
    "MacCentralEurRoman",
    "MacVietnamese",
    "MacExtArabic",
    "MacSymbol",
    "MacDingbats",
    "MacTurkish",
    "MacCroatian",
    "MacIcelandic",
    "MacRomanian",
    "MacCeltic",
    "MacGaelic",
    "ISOLatin1",
    "ISOLatin2",
    "ISOLatin3",
    "ISOLatin4",
    "ISOLatinCyrillic",
    "ISOLatinArabic",
    "ISOLatinGreek",
    "ISOLatinHebrew",
    "ISOLatin5",
    "ISOLatin6",
    "ISOLatin7",
    "ISOLatin8",
    "ISOLatin9",
    "DOSLatinUS",
    "DOSGreek",
    "DOSBalticRim",
    "DOSLatin1",
    "DOSGreek1",
    "DOSLatin2",
    "DOSCyrillic",
    "DOSTurkish",
    "DOSPortuguese",
    "DOSIcelandic",
    "DOSHebrew",
    "DOSCanadianFrench",
    "DOSArabic",
    "DOSNordic",
    "DOSRussian",
    "DOSGreek2",
    "DOSThai",
    "DOSJapanese",
    "DOSChineseSimplif",
    "DOSKorean",
    "DOSChineseTrad",
    "WindowsLatin1",
    "WindowsANSI",
    "WindowsLatin2",
    "WindowsCyrillic",
    "WindowsGreek",
    "WindowsLatin5",
    "WindowsHebrew",
    "WindowsArabic",
    "WindowsBalticRim",
    "WindowsVietnamese",
    "WindowsKoreanJohab",
    "ASCII",
    "ShiftJIS",
    "KOI8_R",
    "MacRomanLatin1",
    "SystemDefault",
};

const std::vector<PropertyRecord>& encodings_properties()
{
    static const std::vector<PropertyRecord> s_records = [] {
        std::vector<PropertyRecord> records;
        for (i32 i = 0; i < kEncodingsPropertyCount; ++i)
            records.push_back({0, kEncodingsPropertyNames[i], &kTextEncodingType, routine(&EncodingsGetter),
                               "EncodingsGetter", nullptr, nullptr, i + 1, 0});
        return records;
    }();
    return s_records;
}

const ParameterRecord kGetFromCodeParameters[] = {{"code", &kIntegerType, 0}};

const MethodRecord kEncodingsMethods[] = {
    {"GetFromCode", &kTextEncodingType, kGetFromCodeParameters, 1, routine(&EncodingsGetFromCode),
     "EncodingsGetFromCode", nullptr, nullptr, 0},
};

ObjectDefinition s_text_encoding;
ObjectDefinition s_text_converter;
ObjectDefinition s_encodings;

// ---- The shared objects ---------------------------------------------------------------

// The header is the object's first member.
TextEncodingObject* as_text_encoding(RuntimeObject* object) { return reinterpret_cast<TextEncodingObject*>(object); }

struct SharedEncoding {
    u32 tag;
    ObjectRef object;  // the map's count keeps the shared object alive until exit
};

struct SharedEncodings {
    std::vector<SharedEncoding> entries;
    bool registered_exit = false;
};

SharedEncodings& shared()
{
    static SharedEncodings s_shared;
    return s_shared;
}

void release_at_exit() { release_text_encoding_state(); }

u32 s_font_encoding = kEncodingASCII;

}  // namespace

void register_encoding_classes()
{
    static Once s_once;
    s_once([&] {
        DefinitionSource encoding{};
        encoding.name = "TextEncoding";
        encoding.instance_size = sizeof(TextEncodingObject);
        encoding.properties = kTextEncodingProperties;
        encoding.methods = kTextEncodingMethods;
        build_definition(s_text_encoding, encoding);
        RegisterDefinition(&s_text_encoding);

        DefinitionSource converter{};
        converter.name = "TextConverter";
        converter.instance_size = sizeof(TextConverterObject);
        converter.methods = kTextConverterMethods;
        build_definition(s_text_converter, converter);
        RegisterDefinition(&s_text_converter);

        DefinitionSource encodings{};
        encodings.name = "_Encodings";
        encodings.instance_size = sizeof(RuntimeObject);
        encodings.properties = encodings_properties();
        encodings.methods = kEncodingsMethods;
        build_definition(s_encodings, encodings);
        RegisterDefinition(&s_encodings);
    });
}

ObjectDefinition* text_encoding_definition()
{
    register_encoding_classes();
    return &s_text_encoding;
}

ObjectDefinition* text_converter_definition()
{
    register_encoding_classes();
    return &s_text_converter;
}

ObjectDefinition* encodings_definition()
{
    register_encoding_classes();
    return &s_encodings;
}

ClassRecord* text_encoding_class()
{
    static ClassRecord* s_class = ClassFromDefinition(text_encoding_definition());
    return s_class;
}

ClassRecord* text_converter_class()
{
    static ClassRecord* s_class = ClassFromDefinition(text_converter_definition());
    return s_class;
}

ClassRecord* encodings_class()
{
    static ClassRecord* s_class = ClassFromDefinition(encodings_definition());
    return s_class;
}

TextEncodingObject* new_text_encoding(u32 base, u32 variant, u32 format)
{
    auto* object = reinterpret_cast<TextEncodingObject*>(RuntimeNewObject(text_encoding_class()));
    if (!object)
        return nullptr;
    object->base = base;
    object->variant = variant;
    object->format = format;
    object->valid = 1;
    object->tag = (base == 256 && format == 2) ? kEncodingUTF8 : base;
    return object;
}

TextEncodingObject* shared_text_encoding(u32 tag)
{
    if (tag == kEncodingUnknown)
        return nullptr;
    LockGuard guard(string_lock());
    SharedEncodings& s = shared();
    for (const SharedEncoding& entry : s.entries) {
        if (entry.tag == tag)
            return as_text_encoding(ObjectRef(entry.object).leak());
    }
    TextEncodingObject* object = new_text_encoding(tag, 0, 0);
    if (!object)
        return nullptr;
    if (!s.registered_exit) {
        s.registered_exit = true;
        std::atexit(&release_at_exit);
    }
    s.entries.push_back({tag, ObjectRef::adopt(&object->header)});  // the map keeps the creation count
    return as_text_encoding(ObjectRef(s.entries.back().object).leak());
}

u32 tag_of(const RuntimeObject* encoding)
{
    return encoding ? reinterpret_cast<const TextEncodingObject*>(encoding)->tag : kEncodingUnknown;
}

u32 system_default_text_encoding()
{
    switch (platform::user_default_language()) {
    case 1028:
    case 2052:
    case 3076:
    case 4100: return kEncodingDOSChineseTrad;
    case 1041: return kEncodingShiftJIS;
    default: return kEncodingWindowsLatin1;
    }
}

u32 font_text_encoding(bool font_name_given)
{
    if (font_name_given)
        s_font_encoding = system_default_text_encoding();
    return s_font_encoding;
}

void release_text_encoding_state()
{
    release_conversion_cache();
    std::vector<SharedEncoding> entries;  // let go of outside the lock: finalizers may run
    {
        LockGuard guard(string_lock());
        entries.swap(shared().entries);
    }
}

}  // namespace qv
