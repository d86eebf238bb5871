// The one list of the exported routines the runtime defines. Each name is taken by address
// from its declaration in sdk/quaver.h, so a routine missing there fails to compile and one
// that the runtime does not define fails to link.
#include "runtime/registry/provided_routines.h"

#include <vector>

#include "runtime/diagnostics/assertion.h"
#include "sdk/quaver.h"

namespace qv {
namespace {

// Order matters only for names outside the static export table: they are appended in it.
// clang-format off
const ProvidedRoutine kProvidedRoutines[] = {
    // strings
    QV_PROVIDED(RuntimeLockString),
    QV_PROVIDED(RuntimeUnlockString),
    QV_PROVIDED(RuntimeLockUnlockStrings),
    QV_PROVIDED(RuntimeAddString),
    QV_PROVIDED(RuntimeStringCompare),
    QV_PROVIDED(StringGetCString),
    QV_PROVIDED(StringToCString),
    QV_PROVIDED(StringGetPString),
    QV_PROVIDED(StringToPString),
    QV_PROVIDED(StringToOSType),
    QV_PROVIDED(QuavBuildString),
    QV_PROVIDED(QuavLockString),
    QV_PROVIDED(QuavUnlockString),
    QV_PROVIDED(QuavGetStringEncoding),
    QV_PROVIDED(QuavSetStringEncoding),
    // byte string functions
    QV_PROVIDED(StringInStrB),
    QV_PROVIDED(StringReplaceB),
    QV_PROVIDED(StringReplaceAllB),
    QV_PROVIDED(StringChr),
    QV_PROVIDED(StringDBCSChr),
    // string functions
    QV_PROVIDED(StringLeft),
    QV_PROVIDED(StringDBCSLeft),
    QV_PROVIDED(StringRight),
    QV_PROVIDED(StringDBCSRight),
    QV_PROVIDED(StringMid2),
    QV_PROVIDED(StringDBCSMid2),
    QV_PROVIDED(StringMid3),
    QV_PROVIDED(StringDBCSMid3),
    QV_PROVIDED(StringLen),
    QV_PROVIDED(StringDBCSLen),
    QV_PROVIDED(StringAsc),
    QV_PROVIDED(StringDBCSAsc),
    QV_PROVIDED(StringInStr),
    QV_PROVIDED(StringDBCSInStr),
    QV_PROVIDED(StringReplace),
    QV_PROVIDED(StringReplaceAll),
    QV_PROVIDED(StringUCase),
    QV_PROVIDED(StringLCase),
    QV_PROVIDED(StringTitleCase),
    QV_PROVIDED(StringCountFields),
    QV_PROVIDED(StringNthField),
    QV_PROVIDED(StringStrCompare),
    QV_PROVIDED(runTrim),
    QV_PROVIDED(runLTrim),
    QV_PROVIDED(runRTrim),
    QV_PROVIDED(StringVal),
    QV_PROVIDED(runCDbl),
    QV_PROVIDED(StringStr),
    QV_PROVIDED(runCStr),
    QV_PROVIDED(StringFormat),
    QV_PROVIDED(RuntimeHex),
    QV_PROVIDED(RuntimeOct),
    QV_PROVIDED(RuntimeBin),
    // objects and classes
    QV_PROVIDED(RuntimeNewClass),
    QV_PROVIDED(RuntimeNewVtable),
    QV_PROVIDED(RuntimeNewObject),
    QV_PROVIDED(RuntimeLockObject),
    QV_PROVIDED(RuntimeUnlockObject),
    QV_PROVIDED(RuntimeLockUnlockObjects),
    QV_PROVIDED(RuntimeObjectIsa),
    QV_PROVIDED(RuntimeCheckCast),
    QV_PROVIDED(RuntimeLookupInterfaceVtable),
    QV_PROVIDED(RuntimeNilObject),
    QV_PROVIDED(RuntimeDebugObjectCount),
    QV_PROVIDED(RuntimeDebugObjectID),
    QV_PROVIDED(RuntimeDebugObjectClass),
    QV_PROVIDED(RuntimeDebugObjectRefs),
    QV_PROVIDED(RuntimeDebugMemoryUsed),
    QV_PROVIDED(QuavLockObject),
    QV_PROVIDED(QuavUnlockObject),
    QV_PROVIDED(RuntimeLookupClass),
    QV_PROVIDED(CreateInstance),
    // exceptions
    QV_PROVIDED(RuntimeRaiseException),
    QV_PROVIDED(RuntimeReraiseException),
    QV_PROVIDED(RuntimeUnhandledException),
    // generic property accessors
    QV_PROVIDED(intGetter),
    QV_PROVIDED(boolGetter),
    QV_PROVIDED(boolSetter),
    QV_PROVIDED(objGetter),
    QV_PROVIDED(objSetter),
    QV_PROVIDED(intSetter),
    QV_PROVIDED(stringGetter),
    QV_PROVIDED(stringSetter),
    QV_PROVIDED(shortGetter),
    QV_PROVIDED(shortSetter),
    QV_PROVIDED(singleGetter),
    QV_PROVIDED(singleSetter),
    QV_PROVIDED(doubleGetter),
    QV_PROVIDED(doubleSetter),
    // messages
    QV_PROVIDED(RuntimeMsgBox),
    // resources of the image
    QV_PROVIDED(RuntimeGetTextFileFromResourceManager),
    QV_PROVIDED(RuntimeGetBitmapFromResourceManager),
    QV_PROVIDED(RuntimeGetCursorFromResourceManager),
    QV_PROVIDED(RuntimeGetSoundFromResourceManager),
    // arrays
    QV_PROVIDED(CreateArray),
    QV_PROVIDED(RuntimeLockArray),
    QV_PROVIDED(RuntimeUnlockArray),
    QV_PROVIDED(RuntimeLockUnlockArrays),
    QV_PROVIDED(RuntimeUBound),
    QV_PROVIDED(RuntimeUBound2Param),
    QV_PROVIDED(FindArrayElement),
    QV_PROVIDED(InsertElement),
    QV_PROVIDED(RemoveElement),
    QV_PROVIDED(SwapArrays),
    QV_PROVIDED(SortIntegerArray),
    QV_PROVIDED(SortFloatArray),
    QV_PROVIDED(SortStringArray),
    // variants
    QV_PROVIDED(intToVariant),
    QV_PROVIDED(doubleToVariant),
    QV_PROVIDED(DateToVariant),
    QV_PROVIDED(stringToVariant),
    QV_PROVIDED(objectToVariant),
    QV_PROVIDED(booleanToVariant),
    QV_PROVIDED(colorToVariant),
    QV_PROVIDED(getNilVariant),
    QV_PROVIDED(VarType),
    QV_PROVIDED(IsNumeric),
    QV_PROVIDED(IsNull),
    QV_PROVIDED(VariantIsA),
    QV_PROVIDED(VariantTypecast),
    QV_PROVIDED(VariantHash),
    QV_PROVIDED(VariantEqual),
    QV_PROVIDED(variantToInt),
    QV_PROVIDED(variantToColor),
    QV_PROVIDED(variantToDouble),
    QV_PROVIDED(variantToObject),
    QV_PROVIDED(variantToString),
    QV_PROVIDED(variantToBoolean),
    QV_PROVIDED(VariantToDate),
    // variant operators, in class order
    QV_PROVIDED(VariantCompare),
    QV_PROVIDED(VariantAdd),
    QV_PROVIDED(VariantSubtract),
    QV_PROVIDED(VariantMultiply),
    QV_PROVIDED(VariantDivide),
    QV_PROVIDED(VariantIntegerDivide),
    QV_PROVIDED(VariantModulo),
    QV_PROVIDED(VariantNegate),
    QV_PROVIDED(VariantAddRight),
    QV_PROVIDED(VariantSubtractRight),
    QV_PROVIDED(VariantDivideRight),
    QV_PROVIDED(VariantIntegerDivideRight),
    QV_PROVIDED(VariantModuloRight),
    // dictionaries
    QV_PROVIDED(dictionaryCount),
    QV_PROVIDED(dictionaryGetBins),
    QV_PROVIDED(dictionarySetBins),
    QV_PROVIDED(dictionaryHasKey),
    QV_PROVIDED(dictionaryValueGetter),
    QV_PROVIDED(dictionaryValueSetter),
    QV_PROVIDED(dictionaryKey),
    QV_PROVIDED(dictionaryRemove),
    QV_PROVIDED(dictionaryRemoveAll),
    // text encodings
    QV_PROVIDED(StringGetEncoding),
    QV_PROVIDED(StringSetEncoding),
    QV_PROVIDED(getTextEncoding),
    QV_PROVIDED(getInternetTextEncoding),
    QV_PROVIDED(getFontTextEncoding),
    QV_PROVIDED(textEncodingInternetName),
    QV_PROVIDED(textEncodingBaseGetter),
    QV_PROVIDED(textEncodingVariantGetter),
    QV_PROVIDED(textEncodingFormatGetter),
    QV_PROVIDED(TextEncodingChr),
    QV_PROVIDED(TextEncodingEquals),
    QV_PROVIDED(getTextConverter),
    QV_PROVIDED(textConverterConvert),
    QV_PROVIDED(textConverterClear),
    QV_PROVIDED(guessJapaneseEncoding),
    QV_PROVIDED(GetEncodingsObject),
    QV_PROVIDED(EncodingsGetter),
    QV_PROVIDED(EncodingsGetFromCode),
    QV_PROVIDED(GetEncodingFromTEObject),
    QV_PROVIDED(QuavConvertString),
    QV_PROVIDED(QuavGetFontEncoding),
    QV_PROVIDED(StringConvertEncoding),
};
// clang-format on

struct AddedLists {
    // One per list a layer or group adds: its hand-written list, its classes' tables.
    std::vector<std::span<const ProvidedRoutine>> lists;
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
    if (added.closed) {
        assertion_failed("EntryPointRegistry", 0, "routines are added before the registry is built");
        return;
    }
    added.lists.push_back(routines);
}

std::vector<std::span<const ProvidedRoutine>> all_provided_routines()
{
    AddedLists& added = added_lists();
    added.closed = true;
    std::vector<std::span<const ProvidedRoutine>> lists{provided_routines()};
    lists.insert(lists.end(), added.lists.begin(), added.lists.end());
    return lists;
}

}  // namespace qv
