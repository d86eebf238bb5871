// The one list of the exported routines the runtime defines. Each name is taken by address
// from its declaration in sdk/quaver.h, so a routine missing there fails to compile and one
// that the runtime does not define fails to link.
#include "runtime/registry/provided_routines.h"

#include <iterator>

#include "runtime/diagnostics/assertion.h"
#include "sdk/quaver.h"

// Order matters only for names outside the static export table: they are appended in it.
// clang-format off
#define QV_PROVIDED_ROUTINES(X)   \
    /* strings */                 \
    X(RuntimeLockString)          \
    X(RuntimeUnlockString)        \
    X(RuntimeLockUnlockStrings)   \
    X(RuntimeAddString)           \
    X(RuntimeStringCompare)       \
    X(StringGetCString)           \
    X(StringToCString)            \
    X(StringGetPString)           \
    X(StringToPString)            \
    X(StringToOSType)             \
    X(QuavBuildString)            \
    X(QuavLockString)             \
    X(QuavUnlockString)           \
    X(QuavGetStringEncoding)      \
    X(QuavSetStringEncoding)      \
    /* byte string functions */   \
    X(StringInStrB)               \
    X(StringReplaceB)             \
    X(StringReplaceAllB)          \
    X(StringChr)                  \
    X(StringDBCSChr)              \
    /* string functions */        \
    X(StringLeft)                 \
    X(StringDBCSLeft)             \
    X(StringRight)                \
    X(StringDBCSRight)            \
    X(StringMid2)                 \
    X(StringDBCSMid2)             \
    X(StringMid3)                 \
    X(StringDBCSMid3)             \
    X(StringLen)                  \
    X(StringDBCSLen)              \
    X(StringAsc)                  \
    X(StringDBCSAsc)              \
    X(StringInStr)                \
    X(StringDBCSInStr)            \
    X(StringReplace)              \
    X(StringReplaceAll)           \
    X(StringUCase)                \
    X(StringLCase)                \
    X(StringTitleCase)            \
    X(StringCountFields)          \
    X(StringNthField)             \
    X(StringStrCompare)           \
    X(runTrim)                    \
    X(runLTrim)                   \
    X(runRTrim)                   \
    X(StringVal)                  \
    X(runCDbl)                    \
    X(StringStr)                  \
    X(runCStr)                    \
    X(StringFormat)               \
    X(RuntimeHex)                 \
    X(RuntimeOct)                 \
    X(RuntimeBin)                 \
    /* objects and classes */     \
    X(RuntimeNewClass)            \
    X(RuntimeNewVtable)           \
    X(RuntimeNewObject)           \
    X(RuntimeLockObject)          \
    X(RuntimeUnlockObject)        \
    X(RuntimeLockUnlockObjects)   \
    X(RuntimeObjectIsa)           \
    X(RuntimeCheckCast)           \
    X(RuntimeLookupInterfaceVtable) \
    X(RuntimeNilObject)           \
    X(RuntimeDebugObjectCount)    \
    X(RuntimeDebugObjectID)       \
    X(RuntimeDebugObjectClass)    \
    X(RuntimeDebugObjectRefs)     \
    X(RuntimeDebugMemoryUsed)     \
    X(QuavLockObject)             \
    X(QuavUnlockObject)           \
    X(RuntimeLookupClass)         \
    X(CreateInstance)             \
    /* exceptions */              \
    X(RuntimeRaiseException)      \
    X(RuntimeReraiseException)    \
    X(RuntimeUnhandledException)  \
    /* generic property accessors */ \
    X(intGetter)                  \
    X(boolGetter)                 \
    X(boolSetter)                 \
    X(objGetter)                  \
    X(objSetter)                  \
    X(intSetter)                  \
    X(stringGetter)               \
    X(stringSetter)               \
    X(shortGetter)                \
    X(shortSetter)                \
    X(singleGetter)               \
    X(singleSetter)               \
    X(doubleGetter)               \
    X(doubleSetter)               \
    /* messages */                \
    X(RuntimeMsgBox)              \
    /* resources of the image */  \
    X(RuntimeGetTextFileFromResourceManager) \
    X(RuntimeGetBitmapFromResourceManager) \
    X(RuntimeGetCursorFromResourceManager) \
    X(RuntimeGetSoundFromResourceManager)              \
    /* arrays */                  \
    X(CreateArray)                \
    X(RuntimeLockArray)           \
    X(RuntimeUnlockArray)         \
    X(RuntimeLockUnlockArrays)    \
    X(RuntimeUBound)              \
    X(RuntimeUBound2Param)        \
    X(FindArrayElement)           \
    X(InsertElement)              \
    X(RemoveElement)              \
    X(SwapArrays)                 \
    X(SortIntegerArray)           \
    X(SortFloatArray)             \
    X(SortStringArray)            \
    /* variants */                \
    X(intToVariant)               \
    X(doubleToVariant)            \
    X(DateToVariant)              \
    X(stringToVariant)            \
    X(objectToVariant)            \
    X(booleanToVariant)           \
    X(colorToVariant)             \
    X(getNilVariant)              \
    X(VarType)                    \
    X(IsNumeric)                  \
    X(IsNull)                     \
    X(VariantIsA)                 \
    X(VariantTypecast)            \
    X(VariantHash)                \
    X(VariantEqual)               \
    X(variantToInt)               \
    X(variantToColor)             \
    X(variantToDouble)            \
    X(variantToObject)            \
    X(variantToString)            \
    X(variantToBoolean)           \
    X(VariantToDate)              \
    /* variant operators, in class order */ \
    X(VariantCompare)             \
    X(VariantAdd)                 \
    X(VariantSubtract)            \
    X(VariantMultiply)            \
    X(VariantDivide)              \
    X(VariantIntegerDivide)       \
    X(VariantModulo)              \
    X(VariantNegate)              \
    X(VariantAddRight)            \
    X(VariantSubtractRight)       \
    X(VariantDivideRight)         \
    X(VariantIntegerDivideRight)  \
    X(VariantModuloRight)         \
    /* dictionaries */            \
    X(dictionaryCount)            \
    X(dictionaryGetBins)          \
    X(dictionarySetBins)          \
    X(dictionaryHasKey)           \
    X(dictionaryValueGetter)      \
    X(dictionaryValueSetter)      \
    X(dictionaryKey)              \
    X(dictionaryRemove)           \
    X(dictionaryRemoveAll)        \
    /* text encodings */          \
    X(StringGetEncoding)          \
    X(StringSetEncoding)          \
    X(getTextEncoding)            \
    X(getInternetTextEncoding)    \
    X(getFontTextEncoding)        \
    X(textEncodingInternetName)   \
    X(textEncodingBaseGetter)     \
    X(textEncodingVariantGetter)  \
    X(textEncodingFormatGetter)   \
    X(TextEncodingChr)            \
    X(TextEncodingEquals)         \
    X(getTextConverter)           \
    X(textConverterConvert)       \
    X(textConverterClear)         \
    X(guessJapaneseEncoding)      \
    X(GetEncodingsObject)         \
    X(EncodingsGetter)            \
    X(EncodingsGetFromCode)       \
    X(GetEncodingFromTEObject)    \
    X(QuavConvertString)          \
    X(QuavGetFontEncoding)        \
    X(StringConvertEncoding)
// clang-format on

namespace qv {
namespace {

#define QV_PROVIDED_ENTRY(name) {#name, reinterpret_cast<void*>(&name)},
const ProvidedRoutine kProvidedRoutines[] = {QV_PROVIDED_ROUTINES(QV_PROVIDED_ENTRY)};
#undef QV_PROVIDED_ENTRY

struct AddedLists {
    std::span<const ProvidedRoutine> lists[16];  // one per layer or group: the framework alone has five
    size_t count = 0;
    bool closed = false;
};

AddedLists& added_lists()
{
    static AddedLists s_added;
    return s_added;
}

}  // namespace

std::span<const ProvidedRoutine> provided_routines() { return kProvidedRoutines; }

void add_provided_routines(std::span<const ProvidedRoutine> routines)
{
    AddedLists& added = added_lists();
    if (added.closed || added.count == std::size(added.lists)) {
        assertion_failed("EntryPointRegistry", 0, "routines are added before the registry is built");
        return;
    }
    added.lists[added.count++] = routines;
}

std::vector<std::span<const ProvidedRoutine>> all_provided_routines()
{
    AddedLists& added = added_lists();
    added.closed = true;
    std::vector<std::span<const ProvidedRoutine>> lists{provided_routines()};
    lists.insert(lists.end(), added.lists, added.lists + added.count);
    return lists;
}

}  // namespace qv
