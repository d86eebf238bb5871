/*
 * quaver.h: what application image code sees of the runtime.
 *
 * Image code is freestanding 32-bit C that calls nothing but the runtime's exported
 * routines. Every routine here is cdecl, takes and returns 32-bit values, and is bound by
 * name when the image is linked. The same header serves the runtime itself, which includes
 * it so that every definition is checked against its declaration here.
 *
 * Counting rule: string and object arguments are borrowed; string and object results are
 * new counts that the caller owns and must release (RuntimeUnlockString). Store a result
 * with RuntimeLockUnlockStrings(result, old) and then release the result. A null pointer is
 * the empty string.
 *
 * String constants: QV_STR("text") yields a RuntimeString* for a constant in the exact
 * layout of the image's data segment (20-byte header, length byte, text, zero byte, padding
 * to 4). Its encoding is ASCII when every byte is below 0x80 and UTF-8 otherwise; texts of
 * more than QV_STR_SCAN_LIMIT bytes are always tagged UTF-8. QV_BYTES("...") makes a constant
 * with the encoding unknown, for binary data such as property tables. A constant's count of
 * 1 belongs to the image and is never released, so balanced lock/unlock calls never free it.
 *
 *     RuntimeString* s = StringReplaceAllB(text, QV_STR("。"), QV_STR("ッ "));
 *     ...
 *     RuntimeUnlockString(s);
 *
 * Compiled for an image (QV_IMAGE defined), constants go to the section ".qvstr" with a null
 * buffer pointer, which the loader sets. Compiled into a hosted program they point at their
 * own buffer from the start.
 */
#ifndef QUAVER_SDK_QUAVER_H
#define QUAVER_SDK_QUAVER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Strings ------------------------------------------------------------------------- */

typedef struct RuntimeString {
    int32_t refCount;
    uint8_t* buffer;   /* length byte, text, zero byte */
    uint32_t capacity; /* bytes in buffer: length + 2 for runtime-made text */
    int32_t length;    /* bytes of text */
    uint32_t encoding; /* text-encoding tag */
} RuntimeString;

#define QV_ENCODING_UNKNOWN 0xFFFFu
#define QV_ENCODING_ASCII 0x0600u
#define QV_ENCODING_UTF16 0x0100u
#define QV_ENCODING_UTF8 0x08000100u

void RuntimeLockString(RuntimeString* s);
void RuntimeUnlockString(RuntimeString* s);
void RuntimeLockUnlockStrings(RuntimeString* newValue, RuntimeString* oldValue);
RuntimeString* RuntimeAddString(RuntimeString* a, RuntimeString* b);
int32_t RuntimeStringCompare(RuntimeString* a, RuntimeString* b);
const char* StringGetCString(RuntimeString* s);
const char* StringToCString(RuntimeString* s);
const uint8_t* StringGetPString(RuntimeString* s);
const uint8_t* StringToPString(RuntimeString* s);
uint32_t StringToOSType(RuntimeString* s);
RuntimeString* QuavBuildString(const void* bytes, int32_t count);
void QuavLockString(RuntimeString* s);
void QuavUnlockString(RuntimeString* s);
uint32_t QuavGetStringEncoding(RuntimeString* s);
void QuavSetStringEncoding(RuntimeString* s, uint32_t encoding);

/* Byte string functions: positions are 1-based and count bytes. */
int32_t StringInStrB(int32_t start, RuntimeString* source, RuntimeString* find);
RuntimeString* StringReplaceB(RuntimeString* source, RuntimeString* find, RuntimeString* replacement);
RuntimeString* StringReplaceAllB(RuntimeString* source, RuntimeString* find, RuntimeString* replacement);
RuntimeString* StringChr(int32_t value);
RuntimeString* StringDBCSChr(int32_t value);

/* String functions. Positions are 1-based. The DBCS names (and InStr, Replace and the other
 * plain ones) count characters: UTF-8 sequences, UTF-16 units, or the double-byte characters
 * of the system code page; the others count bytes. Doubles travel on the x87 stack. */
RuntimeString* StringLeft(RuntimeString* s, int32_t count);
RuntimeString* StringDBCSLeft(RuntimeString* s, int32_t count);
RuntimeString* StringRight(RuntimeString* s, int32_t count);
RuntimeString* StringDBCSRight(RuntimeString* s, int32_t count);
RuntimeString* StringMid2(RuntimeString* s, int32_t start);
RuntimeString* StringDBCSMid2(RuntimeString* s, int32_t start);
RuntimeString* StringMid3(RuntimeString* s, int32_t start, int32_t length);
RuntimeString* StringDBCSMid3(RuntimeString* s, int32_t start, int32_t length);
int32_t StringLen(RuntimeString* s);
int32_t StringDBCSLen(RuntimeString* s);
int32_t StringAsc(RuntimeString* s);
int32_t StringDBCSAsc(RuntimeString* s);
int32_t StringInStr(int32_t start, RuntimeString* source, RuntimeString* find);
int32_t StringDBCSInStr(int32_t start, RuntimeString* source, RuntimeString* find);
RuntimeString* StringReplace(RuntimeString* source, RuntimeString* find, RuntimeString* replacement);
RuntimeString* StringReplaceAll(RuntimeString* source, RuntimeString* find, RuntimeString* replacement);
RuntimeString* StringUCase(RuntimeString* s);
RuntimeString* StringLCase(RuntimeString* s);
RuntimeString* StringTitleCase(RuntimeString* s);
int32_t StringCountFields(RuntimeString* s, RuntimeString* separator);
RuntimeString* StringNthField(RuntimeString* s, RuntimeString* separator, int32_t index);
int32_t StringStrCompare(RuntimeString* a, RuntimeString* b, int32_t mode);
RuntimeString* runTrim(RuntimeString* s);
RuntimeString* runLTrim(RuntimeString* s);
RuntimeString* runRTrim(RuntimeString* s);
double StringVal(RuntimeString* s);
double runCDbl(RuntimeString* s);
RuntimeString* StringStr(double value);
RuntimeString* runCStr(double value);
RuntimeString* StringFormat(double value, RuntimeString* format);
RuntimeString* RuntimeHex(int32_t value);
RuntimeString* RuntimeOct(int32_t value);
RuntimeString* RuntimeBin(int32_t value);

/* ---- Objects and classes ------------------------------------------------------------ */

typedef struct ClassRecord ClassRecord;

/* Every object begins with this 28-byte header; instance fields follow at offset 28. */
typedef struct RuntimeObject {
    uint32_t firstWord; /* zero at creation */
    void* methods;      /* the class's method table: routine i at methods + 8i */
    ClassRecord* classRecord;
    void* events;     /* the class's event table */
    int32_t refCount; /* 1 at creation; an object at 0 is never counted or freed */
    struct RuntimeObject* prevLive;
    struct RuntimeObject* nextLive;
} RuntimeObject;

typedef void (*QvObjectRoutine)(RuntimeObject* object);

/* Method, event and static-method tables: a routine and its signature (or event name). */
typedef struct MethodEntry {
    void* routine;
    RuntimeString* signature;
} MethodEntry;

typedef struct PropertyEntry {
    RuntimeString* name; /* "name%typecode" */
    int32_t parameter;
    void* getter;
    void* setter;
} PropertyEntry;

typedef struct InterfaceEntry {
    ClassRecord* interfaceClass;
    int32_t methodCount;
    MethodEntry* methods;
} InterfaceEntry;

/* A class: this 64-byte header, then its interface, method, event, static-method and
 * property tables in one block. Classes are never freed. */
struct ClassRecord {
    ClassRecord* superclass;
    RuntimeString* name;
    uint32_t reserved;
    int32_t instanceSize;
    int32_t isAnInterface;
    QvObjectRoutine initializer;
    QvObjectRoutine finalizer;
    int32_t methodCount;
    MethodEntry* methodTable;
    int32_t eventCount;
    MethodEntry* eventTable;
    int32_t staticMethodCount;
    MethodEntry* staticMethodTable;
    int32_t propertyCount;
    PropertyEntry* propertyTable;
    int32_t interfaceCount;
    /* InterfaceEntry interfaces[interfaceCount] follows */
};

ClassRecord* RuntimeNewClass(ClassRecord* base, int32_t methodCount, int32_t interfaceCount, int32_t eventCount,
                             int32_t staticMethodCount, int32_t propertyCount);
MethodEntry* RuntimeNewVtable(int32_t count);
RuntimeObject* RuntimeNewObject(ClassRecord* classRecord);
void RuntimeLockObject(RuntimeObject* object);
void RuntimeUnlockObject(RuntimeObject* object);
void RuntimeLockUnlockObjects(RuntimeObject* newValue, RuntimeObject* oldValue);
int32_t RuntimeObjectIsa(RuntimeObject* object, ClassRecord* classRecord);
RuntimeObject* RuntimeCheckCast(RuntimeObject* object, ClassRecord* classRecord);
MethodEntry* RuntimeLookupInterfaceVtable(RuntimeObject* object, ClassRecord* interfaceClass);
void RuntimeNilObject(void);
int32_t RuntimeDebugObjectCount(RuntimeObject* exclude);
uint32_t RuntimeDebugObjectID(RuntimeObject* exclude, int32_t n);
RuntimeString* RuntimeDebugObjectClass(RuntimeObject* exclude, int32_t n);
int32_t RuntimeDebugObjectRefs(RuntimeObject* exclude, int32_t n);
int32_t RuntimeDebugMemoryUsed(void);
void QuavLockObject(RuntimeObject* object);
void QuavUnlockObject(RuntimeObject* object);

/* Built-in classes by name (ignoring case), made on first request; no count is added. */
ClassRecord* RuntimeLookupClass(RuntimeString* name);
/* A runtime class definition, which only the runtime reads. */
typedef struct ObjectDefinition ObjectDefinition;
RuntimeObject* CreateInstance(ObjectDefinition* definition);

/* Raising: both return normally; the return lands in the nearest active handler. */
void RuntimeRaiseException(RuntimeObject* exception);
void RuntimeReraiseException(RuntimeObject* exception);
void RuntimeUnhandledException(RuntimeObject* exception);

/* Generic property accessors: the field at byte offset param of the object. */
int32_t intGetter(RuntimeObject* object, int32_t param);
void intSetter(RuntimeObject* object, int32_t param, int32_t value);
RuntimeString* stringGetter(RuntimeObject* object, int32_t param);
void stringSetter(RuntimeObject* object, int32_t param, RuntimeString* value);
/* Booleans are one byte; objects are counted like strings. */
int32_t boolGetter(RuntimeObject* object, int32_t param);
void boolSetter(RuntimeObject* object, int32_t param, int32_t value);
RuntimeObject* objGetter(RuntimeObject* object, int32_t param);
void objSetter(RuntimeObject* object, int32_t param, RuntimeObject* value);
/* 16-bit fields widen to Integer; Single and Double fields are IEEE floats. */
int32_t shortGetter(RuntimeObject* object, int32_t param);
void shortSetter(RuntimeObject* object, int32_t param, int32_t value);
float singleGetter(RuntimeObject* object, int32_t param);
void singleSetter(RuntimeObject* object, int32_t param, float value);
double doubleGetter(RuntimeObject* object, int32_t param);
void doubleSetter(RuntimeObject* object, int32_t param, double value);

/* ---- Arrays -------------------------------------------------------------------------- */

/* Element types. The routines tell only doubles (8 bytes), strings and objects (one count per
 * element) from the rest; any other code is a 4-byte value. */
#define QV_ARRAY_VALUE32 0
#define QV_ARRAY_DOUBLE 1
#define QV_ARRAY_STRING 2
#define QV_ARRAY_OBJECT 3

/* A 24-byte header, then one upper bound per dimension (indexes run from 0 to the bound).
 * Elements lie with the first index varying fastest. Arrays are counted: CreateArray gives
 * a count of 1, RuntimeUnlockArray frees at 0. */
typedef struct RuntimeArray {
    int32_t refCount;
    int32_t elementType;
    int32_t dimensions;
    void* data;              /* null when the array holds no element */
    int32_t bufferLength;    /* bytes allocated for data */
    int32_t growthIncrement; /* elements added when a one-dimensional array grows */
    int32_t upperBounds[];
} RuntimeArray;

/* CreateArray(dimensions, elementType, bound1, ...); FindArrayElement(array, index1, ...). */
RuntimeArray* CreateArray(int32_t dimensions, int32_t elementType, ...);
void RuntimeLockArray(RuntimeArray* array);
void RuntimeUnlockArray(RuntimeArray* array);
void RuntimeLockUnlockArrays(RuntimeArray* newValue, RuntimeArray* oldValue);
int32_t RuntimeUBound(RuntimeArray* array);
int32_t RuntimeUBound2Param(RuntimeArray* array, int32_t dimension);
void* FindArrayElement(RuntimeArray* array, ...);
/* The new, zeroed slot; the caller stores the value (with its count) there. */
void* InsertElement(RuntimeArray* array, int32_t index);
void RemoveElement(RuntimeArray* array, int32_t index);
void SwapArrays(RuntimeArray* a, RuntimeArray* b);
void SortIntegerArray(RuntimeArray* array);
void SortFloatArray(RuntimeArray* array);
void SortStringArray(RuntimeArray* array);

/* ---- Variants and dictionaries ------------------------------------------------------- */

/* Variant type codes, as VarType returns them (0: a nil reference). */
#define QV_VARIANT_NIL 1
#define QV_VARIANT_INTEGER 2
#define QV_VARIANT_DOUBLE 5
#define QV_VARIANT_DATE 7
#define QV_VARIANT_STRING 8
#define QV_VARIANT_OBJECT 9
#define QV_VARIANT_BOOLEAN 11
#define QV_VARIANT_COLOR 16

/* An object of the built-in class Variant; never changed once made. value[0] holds a 32-bit
 * value, a RuntimeString* or a RuntimeObject* (each with one count); doubles and dates (total
 * seconds) take value[0..1]. Unused words are zero. */
typedef struct RuntimeVariant {
    RuntimeObject header;
    uint32_t type;
    uint32_t value[3];
} RuntimeVariant;

RuntimeObject* intToVariant(int32_t value);
RuntimeObject* doubleToVariant(double value);
RuntimeObject* DateToVariant(RuntimeObject* date);
RuntimeObject* stringToVariant(RuntimeString* value);
RuntimeObject* objectToVariant(RuntimeObject* value);
RuntimeObject* booleanToVariant(int32_t value);
RuntimeObject* colorToVariant(uint32_t value);
RuntimeObject* getNilVariant(void);

int32_t VarType(RuntimeObject* v);
int32_t IsNumeric(RuntimeObject* v);
int32_t IsNull(RuntimeObject* v);
int32_t VariantIsA(RuntimeObject* v, ClassRecord* classRecord);
RuntimeObject* VariantTypecast(RuntimeObject* v, ClassRecord* classRecord);
uint32_t VariantHash(RuntimeObject* v);
int32_t VariantEqual(RuntimeObject* a, RuntimeObject* b);

int32_t variantToInt(RuntimeObject* v);
uint32_t variantToColor(RuntimeObject* v);
double variantToDouble(RuntimeObject* v);
RuntimeObject* variantToObject(RuntimeObject* v);
RuntimeString* variantToString(RuntimeObject* v);
int32_t variantToBoolean(RuntimeObject* v);
RuntimeObject* VariantToDate(RuntimeObject* v);

/* Operators: each result is a new variant; the ...Right routines exchange the operands. */
int32_t VariantCompare(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantAdd(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantSubtract(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantMultiply(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantDivide(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantIntegerDivide(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantModulo(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantNegate(RuntimeObject* a);
RuntimeObject* VariantAddRight(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantSubtractRight(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantDivideRight(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantIntegerDivideRight(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* VariantModuloRight(RuntimeObject* a, RuntimeObject* b);

/* An object of the built-in class Dictionary: variant keys and values, hashed into bins, the
 * entries also kept in a vector for access by index. */
typedef struct DictionaryEntry DictionaryEntry;
typedef struct RuntimeDictionary {
    RuntimeObject header;
    uint8_t fixedBins;   /* the program set the bin count: no automatic growth */
    uint32_t growthStep; /* slots the entry vector grows by; 0: by its own capacity */
    DictionaryEntry** entries;
    uint32_t count;
    uint32_t capacity; /* slots in entries */
    uint32_t binCount;
    DictionaryEntry** bins;
    uint8_t busy; /* held by every operation that changes the table */
} RuntimeDictionary;

int32_t dictionaryCount(RuntimeObject* dictionary);
int32_t dictionaryGetBins(RuntimeObject* dictionary);
void dictionarySetBins(RuntimeObject* dictionary, int32_t bins);
int32_t dictionaryHasKey(RuntimeObject* dictionary, RuntimeObject* key);
RuntimeObject* dictionaryValueGetter(RuntimeObject* dictionary, RuntimeObject* key);
void dictionaryValueSetter(RuntimeObject* dictionary, RuntimeObject* key, RuntimeObject* value);
RuntimeObject* dictionaryKey(RuntimeObject* dictionary, int32_t index);
void dictionaryRemove(RuntimeObject* dictionary, RuntimeObject* key);
void dictionaryRemoveAll(RuntimeObject* dictionary);

/* ---- Text encodings ------------------------------------------------------------------ */

/* Tags of the Japanese encodings (the others: QV_ENCODING_* above; Windows Latin 1 is 1280). */
#define QV_ENCODING_SHIFT_JIS 2561u
#define QV_ENCODING_EUC_JP 2336u
#define QV_ENCODING_ISO_2022_JP 2080u

/* TextEncoding, TextConverter and _Encodings objects are RuntimeObjects; nil is allowed for
 * every encoding argument and stands for the unknown encoding (0xFFFF). */
RuntimeObject* StringGetEncoding(RuntimeString* s);
RuntimeString* StringSetEncoding(RuntimeString* s, RuntimeObject* encoding);
RuntimeString* StringConvertEncoding(RuntimeString* s, RuntimeObject* encoding);
RuntimeObject* getTextEncoding(int32_t base, int32_t variant, int32_t format);
RuntimeObject* getInternetTextEncoding(RuntimeString* name);
RuntimeObject* getFontTextEncoding(RuntimeString* fontName);
RuntimeString* textEncodingInternetName(RuntimeObject* encoding, int32_t param);
int32_t textEncodingBaseGetter(RuntimeObject* encoding, int32_t param);
int32_t textEncodingVariantGetter(RuntimeObject* encoding, int32_t param);
int32_t textEncodingFormatGetter(RuntimeObject* encoding, int32_t param);
RuntimeString* TextEncodingChr(RuntimeObject* encoding, int32_t code);
int32_t TextEncodingEquals(RuntimeObject* a, RuntimeObject* b);
RuntimeObject* getTextConverter(RuntimeObject* input, RuntimeObject* output);
RuntimeString* textConverterConvert(RuntimeObject* converter, RuntimeString* s);
void textConverterClear(RuntimeObject* converter);
RuntimeObject* guessJapaneseEncoding(RuntimeString* s);
RuntimeObject* GetEncodingsObject(void);
RuntimeObject* EncodingsGetter(RuntimeObject* encodings, int32_t index);
RuntimeObject* EncodingsGetFromCode(RuntimeObject* encodings, int32_t tag);
uint32_t GetEncodingFromTEObject(RuntimeObject* encoding);
RuntimeString* QuavConvertString(RuntimeString* s, uint32_t encoding);
uint32_t QuavGetFontEncoding(RuntimeString* fontName);

/* ---- Resources of the image ---------------------------------------------------------- */

/* By resource id (low 16 bits). Text comes tagged with the system's default encoding;
 * sounds are nil until the runtime has those objects. */
RuntimeString* RuntimeGetTextFileFromResourceManager(int32_t id);
RuntimeObject* RuntimeGetBitmapFromResourceManager(int32_t id);
RuntimeObject* RuntimeGetCursorFromResourceManager(int32_t id);
RuntimeObject* RuntimeGetSoundFromResourceManager(int32_t id);

/* ---- Messages ------------------------------------------------------------------------ */

/* Shows the text in a message box with one button and an information icon (standard error
 * where there is no desktop). The text up to its first blank line ("\r\n\r\n", not at the very
 * start) is the message, the rest the explanation; the box shows the message, then a blank line
 * and the explanation when there is one. The box belongs to the front runtime window, whose
 * title is its caption. */
void RuntimeMsgBox(RuntimeString* text);

/* ---- Debugger entry ------------------------------------------------------------------ */

/* For images compiled for debugging. DebugRuntimeInit connects to the debugger at
 * 127.0.0.1:13897 (ending the process with exit code 1 when none answers within about five
 * seconds); RuntimeDebuggerEntry is called before every source line with the line's number
 * and stops there when the debugger asks; RuntimeDebuggerShutdown closes the connection. */
void DebugRuntimeInit(void);
void RuntimeDebuggerEntry(int32_t line);
void RuntimeDebuggerShutdown(void);

/* ---- Controls ------------------------------------------------------------------------ */

/* Sets many properties of a control or window in one call. The table's bytes are entries of a
 * 2-byte big-endian index into the target's property table, then the value after the
 * property's type: b 1 byte (non-zero is True), c 3 bytes red, green, blue, i 4 bytes and
 * f 4 bytes big-endian, d 8 bytes big-endian, s a 4-byte big-endian length and that many
 * bytes of UTF-8. A nil target or table does nothing. Build tables with QV_BYTES. */
void RuntimeMassPropertySetter(RuntimeObject* target, RuntimeString* table);

/* ---- Control base (Win32 controls) --------------------------------------------------- */

/* Sections marked "(Win32 controls)" are provided by the Windows control library. Accessors
 * take the control, the property record's param and, for setters, the value. */
RuntimeObject* RuntimeControlFetch(RuntimeObject* window, RuntimeString* name); /* borrowed */
RuntimeObject* RuntimeControlReference(RuntimeObject* window, RuntimeString* name);
RuntimeObject* RuntimeControlArrayItemReference(RuntimeObject* window, RuntimeString* name, int32_t index);
void RectControlDefaultConstructor(RuntimeObject* self);
void ControlClose(RuntimeObject* self);
void ControlAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler);
void ControlTabPanelIndexSetter(RuntimeObject* self, int32_t param, int32_t index);
int32_t controlMouseXGetter(RuntimeObject* self, int32_t param);
int32_t controlMouseYGetter(RuntimeObject* self, int32_t param);
RuntimeObject* controlWindowGetter(RuntimeObject* self, int32_t param);
int32_t controlMacControlHandleGetter(RuntimeObject* self, int32_t param);
int32_t controlActiveGetter(RuntimeObject* self, int32_t param);
void controlHelpTagSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void controlBalloonHelpSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void controlDisabledBalloonHelpSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void controlMouseCursorSetter(RuntimeObject* self, int32_t param, RuntimeObject* cursor);
int32_t controlAutoDeactivateGetter(RuntimeObject* self, int32_t param);
void controlAutoDeactivateSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t controlLockLeftGetter(RuntimeObject* self, int32_t param);
void controlLockLeftSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t controlLockTopGetter(RuntimeObject* self, int32_t param);
void controlLockTopSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t controlLockRightGetter(RuntimeObject* self, int32_t param);
void controlLockRightSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t controlLockBottomGetter(RuntimeObject* self, int32_t param);
void controlLockBottomSetter(RuntimeObject* self, int32_t param, int32_t on);
/* Visible and Enabled pass on to the controls inside this one, without changing their own. */
int32_t controlVisibleGetter(RuntimeObject* self, int32_t param);
void ControlVisibleSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t controlEnabledGetter(RuntimeObject* self, int32_t param);
void controlEnabledSetter(RuntimeObject* self, int32_t param, int32_t on);
/* param 0 Left, 1 Top, 2 Width, 3 Height, in window coordinates. */
int32_t ctlPosGetter(RuntimeObject* self, int32_t param);
void ctlPosSetter(RuntimeObject* self, int32_t param, int32_t value);
RuntimeObject* ControlParentGetter(RuntimeObject* self, int32_t param);
void ControlParentSetter(RuntimeObject* self, int32_t param, RuntimeObject* parent);
void ControlInitialParentSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void RuntimeControlRefresh(RuntimeObject* self);
void RuntimeControlRefreshRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeSetFocus(RuntimeObject* self);
void controlAcceptTextDrop(RuntimeObject* self);
void controlAcceptPictureDrop(RuntimeObject* self);
void controlAcceptFileDrop(RuntimeObject* self, RuntimeString* type);
void controlAcceptMacDataDrop(RuntimeObject* self, RuntimeString* type);
RuntimeObject* controlNewDragItem(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
/* Generic setters that also repaint the control. */
void intInvalidateSetter(RuntimeObject* self, int32_t param, int32_t value);
void boolInvalidateSetter(RuntimeObject* self, int32_t param, int32_t value);
/* Pane accessors: param bits 0..9 are the field's byte offset in the control; a setter also
 * repaints the control. */
RuntimeString* paneStringGetter(RuntimeObject* self, int32_t param);
void paneStringSetter(RuntimeObject* self, int32_t param, RuntimeString* value);
int32_t paneBoolGetter(RuntimeObject* self, int32_t param);
void paneBoolSetter(RuntimeObject* self, int32_t param, int32_t value);
int32_t paneIntGetter(RuntimeObject* self, int32_t param);
void paneIntSetter(RuntimeObject* self, int32_t param, int32_t value);
RuntimeObject* paneObjGetter(RuntimeObject* self, int32_t param);
void paneObjSetter(RuntimeObject* self, int32_t param, RuntimeObject* value);
int32_t paneShortGetter(RuntimeObject* self, int32_t param);
void paneShortSetter(RuntimeObject* self, int32_t param, int32_t value);

/* ---- Plug-in controls (Win32 controls) --------------------------------------------- */

/* For plug-in controls: their action receivers (told most recently added first, as for the
 * built-in buttons; these serve as the addActionNotificationReceiver and
 * removeActionNotificationReceiver methods), and a repaint of the control's peer. */
void PluginControlAddActionReceiver(RuntimeObject* self, RuntimeObject* receiver);
void PluginControlRemoveActionReceiver(RuntimeObject* self, RuntimeObject* receiver);
void PluginControlNotifyActionReceivers(RuntimeObject* self);
void PluginControlRefresh(RuntimeObject* self);

/* ---- Edit fields (Win32 controls) --------------------------------------------------- */

/* Text crosses as UTF-8 with lone CR line ends; selection positions count UTF-16 units. */
RuntimeString* editTextGetter(RuntimeObject* self, int32_t param);
void editTextSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
RuntimeString* editTextStyleDataGetter(RuntimeObject* self, int32_t param);
void editSetTextAndStyle(RuntimeObject* self, RuntimeString* text, RuntimeString* style);
int32_t editBorderGetter(RuntimeObject* self, int32_t param);
void editBorderSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editMultiLineGetter(RuntimeObject* self, int32_t param);
void editMultiLineSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editScrollBarGetter(RuntimeObject* self, int32_t param);
void editScrollBarSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editReadOnlyGetter(RuntimeObject* self, int32_t param);
void editReadOnlySetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editPasswordGetter(RuntimeObject* self, int32_t param);
void editPasswordSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editLimitTextGetter(RuntimeObject* self, int32_t param);
void editLimitTextSetter(RuntimeObject* self, int32_t param, int32_t limit);
void editTextColorSetter(RuntimeObject* self, int32_t param, int32_t colour);
void editBackColorSetter(RuntimeObject* self, int32_t param, int32_t colour);
void EditAlignmentSetter(RuntimeObject* self, int32_t param, int32_t alignment);
RuntimeString* editTextFontGetter(RuntimeObject* self, int32_t param);
void editTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t editTextSizeGetter(RuntimeObject* self, int32_t param);
void editTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t editBoldGetter(RuntimeObject* self, int32_t param);
void editBoldSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editItalicGetter(RuntimeObject* self, int32_t param);
void editItalicSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editUnderlineGetter(RuntimeObject* self, int32_t param);
void editUnderlineSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editSelStartGetter(RuntimeObject* self, int32_t param);
void editSelStartSetter(RuntimeObject* self, int32_t param, int32_t start);
int32_t editSelLengthGetter(RuntimeObject* self, int32_t param);
void editSelLengthSetter(RuntimeObject* self, int32_t param, int32_t length);
RuntimeString* editSelTextGetter(RuntimeObject* self, int32_t param);
void editSelTextSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
int32_t editSelBoldGetter(RuntimeObject* self, int32_t param);
void editSelBoldSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editSelItalicGetter(RuntimeObject* self, int32_t param);
void editSelItalicSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editSelUnderlineGetter(RuntimeObject* self, int32_t param);
void editSelUnderlineSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editSelPlainGetter(RuntimeObject* self, int32_t param);
void editSelPlainSetter(RuntimeObject* self, int32_t param, int32_t v);
int32_t editSelOutlineGetter(RuntimeObject* self, int32_t param);
int32_t editSelShadowGetter(RuntimeObject* self, int32_t param);
int32_t editSelCondenseGetter(RuntimeObject* self, int32_t param);
int32_t editSelExtendGetter(RuntimeObject* self, int32_t param);
void editSelOutlineSetter(RuntimeObject* self, int32_t param, int32_t value);
void editSelShadowSetter(RuntimeObject* self, int32_t param, int32_t value);
void editSelCondenseSetter(RuntimeObject* self, int32_t param, int32_t value);
void editSelExtendSetter(RuntimeObject* self, int32_t param, int32_t value);
void editToggleSelectionOutline(RuntimeObject* self);
void editToggleSelectionShadow(RuntimeObject* self);
void editToggleSelectionCondense(RuntimeObject* self);
void editToggleSelectionExtend(RuntimeObject* self);
void editToggleSelectionBold(RuntimeObject* self);
void editToggleSelectionItalic(RuntimeObject* self);
void editToggleSelectionUnderline(RuntimeObject* self);
RuntimeString* editSelTextFontGetter(RuntimeObject* self, int32_t param);
void editSelTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t editSelTextSizeGetter(RuntimeObject* self, int32_t param);
void editSelTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t editSelTextColorGetter(RuntimeObject* self, int32_t param);
void editSelTextColorSetter(RuntimeObject* self, int32_t param, int32_t colour);
int32_t EditSelAlignmentGetter(RuntimeObject* self, int32_t param);
void EditSelAlignmentSetter(RuntimeObject* self, int32_t param, int32_t alignment);
RuntimeString* EditDataSourceGetter(RuntimeObject* self, int32_t param);
void EditDataSourceSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void EditDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void editCopyToClipboard(RuntimeObject* self);
void editPasteFromClipboard(RuntimeObject* self);
int32_t editLineNumAtCharPos(RuntimeObject* self, int32_t position);
int32_t editCharPosAtLineNum(RuntimeObject* self, int32_t line);
int32_t editCharPosAtXY(RuntimeObject* self, int32_t x, int32_t y);
int32_t editInsertionPosAtXY(RuntimeObject* self, int32_t x, int32_t y);
int32_t editScrollPositionGetter(RuntimeObject* self);
int32_t EditScrollPositionXGetter(RuntimeObject* self);
RuntimeObject* editStyleTextPrinter(RuntimeObject* self, RuntimeObject* graphics, int32_t width);
/* Styled text from a file (RTF when it starts with "{\rtf", else plain text) and to one, as RTF. */
void FolderItemOpenStyledEditField(RuntimeObject* folderItem, RuntimeObject* field);
void FolderItemSaveStyledEditField(RuntimeObject* folderItem, RuntimeObject* field);
/* ---- Clipboard ----------------------------------------------------------------------- */

/* Clipboard objects. An object opens the system clipboard on first use and holds it until
 * clipboardClose or its destruction: close it after each use. Its first write empties the
 * clipboard, later ones add formats. Text is read back as UTF-8, exactly as it was put (line
 * ends included); named data (the Mac data routines: a format registered under the type's
 * name) goes in the ANSI code page and ends at its first zero byte. A clipboard that cannot be
 * opened reads nil or False and takes no writes. Pictures need the graphics layer: until it is
 * there the Picture property reads nil. */
RuntimeString* clipboardTextGetter(RuntimeObject* clipboard);
void clipboardTextSetter(RuntimeObject* clipboard, int32_t param, RuntimeString* text);
void clipboardSetText(RuntimeObject* clipboard, RuntimeString* text);
void clipboardClose(RuntimeObject* clipboard);
int32_t clipboardTextAvailable(RuntimeObject* clipboard);
int32_t clipboardPictureAvailable(RuntimeObject* clipboard);
RuntimeObject* clipboardPictureGetter(RuntimeObject* clipboard);
void clipboardPictureSetter(RuntimeObject* clipboard, int32_t param, RuntimeObject* picture);
int32_t clipboardMacDataAvailable(RuntimeObject* clipboard, RuntimeString* type);
RuntimeString* clipboardMacData(RuntimeObject* clipboard, RuntimeString* type);
void clipboardAddMacData(RuntimeObject* clipboard, RuntimeString* type, RuntimeString* data);

/* ---- Notifications and binding ------------------------------------------------------- */

/* The built-in interfaces (actionSource, actionNotificationReceiver, dataNotifier,
 * dataNotificationReceiver, BooleanProvider, StringProvider, StringInterface, ...) are classes
 * for RuntimeLookupClass; their methods are called by name, ignoring case. Receivers are told
 * most recently added first; one added twice is told twice, and removing it once leaves one.
 * The controls carry these routines in their interface tables. Bound parts: the names
 * "getCheckedAction" and "getUncheckedAction" (exactly) give a new part; any other name nil. */
void pbAddActionNotificationReceiver(RuntimeObject* button, RuntimeObject* receiver);
void pbRemoveActionNotificationReceiver(RuntimeObject* button, RuntimeObject* receiver);
int32_t checkBoxGetBoolean(RuntimeObject* box);
void checkBoxSetBoolean(RuntimeObject* box, int32_t value);
void checkBoxAddDataNotificationReceiver(RuntimeObject* box, RuntimeObject* receiver);
void checkBoxRemoveDataNotificationReceiver(RuntimeObject* box, RuntimeObject* receiver);
RuntimeObject* checkBoxGetBoundPart(RuntimeObject* box, RuntimeString* name);
RuntimeObject* radioGetBoundPart(RuntimeObject* button, RuntimeString* name);
void cbaAddActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver);
void cbaRemoveActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver);
void rbaAddActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver);
void rbaRemoveActionNotificationReceiver(RuntimeObject* part, RuntimeObject* receiver);
void editSetString(RuntimeObject* field, RuntimeString* text);

/* The binders' bind (binder, source, target) and reload (DataChanged) methods. enablingBinder
 * enables the target with the source's getBoolean (False for a source without it);
 * stringBinder gives the source's getString to the target's setString and enables a control
 * target while the source's dataAvailable holds; both follow the source's data notifications.
 * actionBinder makes the target an action receiver of the source; listBinder (list, source)
 * calls the list's BindList. */
void enablingBinderBind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target);
void enablingBinderReload(RuntimeObject* binder);
void stringBinderBind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target);
void stringBinderReload(RuntimeObject* binder);
void actionBinderBind(RuntimeObject* binder, RuntimeObject* source, RuntimeObject* target);
void listBinderBind(RuntimeObject* binder, RuntimeObject* list, RuntimeObject* source);

/* ---- Drag items ---------------------------------------------------------------------- */

/* DragItem: items that travel together in a drag (NewDragItem of a window or control), or that
 * were dropped (the DropObject event). One item is current: the properties read and write it,
 * AddItem appends one and makes it current, NextItem moves on (False at the last). Each item has
 * a rectangle (DropLeft, DropTop, DropWidth, DropHeight: as given to NewDragItem or AddItem; in
 * a dropped item the drop point in the receiving window's coordinates, with no size) and any of
 * Text, Picture, FolderItem and named data (MacData, matched without regard to case; private
 * data never leaves the DragItem). Drag starts the system's drag of the items (the first
 * item's text and named data, every item's FolderItem) and returns when it ends. */
int32_t dragItemDropLeft(RuntimeObject* self, int32_t param);
int32_t dragItemDropTop(RuntimeObject* self, int32_t param);
int32_t dragItemDropWidth(RuntimeObject* self, int32_t param);
int32_t dragItemDropHeight(RuntimeObject* self, int32_t param);
RuntimeString* dragItemTextGetter(RuntimeObject* self, int32_t param);
void dragItemTextSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
RuntimeObject* dragItemPictureGetter(RuntimeObject* self, int32_t param);
void dragItemPictureSetter(RuntimeObject* self, int32_t param, RuntimeObject* picture);
RuntimeObject* dragItemFolderItemGetter(RuntimeObject* self, int32_t param);
void dragItemFolderItemSetter(RuntimeObject* self, int32_t param, RuntimeObject* item);
int32_t DragItemTextAvailable(RuntimeObject* self);
int32_t DragItemPictureAvailable(RuntimeObject* self);
int32_t DragItemFolderItemAvailable(RuntimeObject* self);
int32_t DragItemMacDataAvailable(RuntimeObject* self, RuntimeString* type);
RuntimeString* DragItemGetMacData(RuntimeObject* self, RuntimeString* type);
void DragItemSetMacData(RuntimeObject* self, RuntimeString* type, RuntimeString* data);
void DragItemSetPrivateMacData(RuntimeObject* self, RuntimeString* type, RuntimeString* data);
void DragItemAddItem(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height);
int32_t DragItemNextItem(RuntimeObject* self);
void DragItemDrag(RuntimeObject* self);

/* ---- Buttons, check boxes, static text and group boxes (Win32 controls) --------------- */

/* Values set from code notify no receiver and run no Action; pushButtonPush acts as a click. */
RuntimeString* pushButtonTextFontGetter(RuntimeObject* self, int32_t param);
void pushButtonTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t pushButtonTextSizeGetter(RuntimeObject* self, int32_t param);
void pushButtonTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t pushButtonBoldGetter(RuntimeObject* self, int32_t param);
void pushButtonBoldSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t pushButtonItalicGetter(RuntimeObject* self, int32_t param);
void pushButtonItalicSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t pushButtonUnderlineGetter(RuntimeObject* self, int32_t param);
void pushButtonUnderlineSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* checkBoxTextFontGetter(RuntimeObject* self, int32_t param);
void checkBoxTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t checkBoxTextSizeGetter(RuntimeObject* self, int32_t param);
void checkBoxTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t checkBoxBoldGetter(RuntimeObject* self, int32_t param);
void checkBoxBoldSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t checkBoxItalicGetter(RuntimeObject* self, int32_t param);
void checkBoxItalicSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t checkBoxUnderlineGetter(RuntimeObject* self, int32_t param);
void checkBoxUnderlineSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* radioTextFontGetter(RuntimeObject* self, int32_t param);
void radioTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t radioTextSizeGetter(RuntimeObject* self, int32_t param);
void radioTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t radioBoldGetter(RuntimeObject* self, int32_t param);
void radioBoldSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t radioItalicGetter(RuntimeObject* self, int32_t param);
void radioItalicSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t radioUnderlineGetter(RuntimeObject* self, int32_t param);
void radioUnderlineSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* groupTextFontGetter(RuntimeObject* self, int32_t param);
void groupTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t groupTextSizeGetter(RuntimeObject* self, int32_t param);
void groupTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
int32_t groupBoldGetter(RuntimeObject* self, int32_t param);
void groupBoldSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t groupItalicGetter(RuntimeObject* self, int32_t param);
void groupItalicSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t groupUnderlineGetter(RuntimeObject* self, int32_t param);
void groupUnderlineSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* pushButtonTitleGetter(RuntimeObject* self, int32_t param);
void pushButtonTitleSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
int32_t pushButtonDefaultGetter(RuntimeObject* self, int32_t param);
void pushButtonDefaultSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t pushButtonCancelGetter(RuntimeObject* self, int32_t param);
void pushButtonCancelSetter(RuntimeObject* self, int32_t param, int32_t on);
void pushButtonPush(RuntimeObject* self);
RuntimeString* checkBoxTitleGetter(RuntimeObject* self, int32_t param);
void checkBoxTitleSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
int32_t checkBoxValueGetter(RuntimeObject* self, int32_t param);
void checkBoxValueSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* CheckBoxDataSourceGetter(RuntimeObject* self, int32_t param);
void CheckBoxDataSourceSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void CheckBoxDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
RuntimeString* radioTitleGetter(RuntimeObject* self, int32_t param);
void radioTitleSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
int32_t radioValueGetter(RuntimeObject* self, int32_t param);
void radioValueSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeString* groupCaptionGetter(RuntimeObject* self, int32_t param);
void groupCaptionSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void staticCaptionSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void staticTextAlignSetter(RuntimeObject* self, int32_t param, int32_t align);
void staticTextColorSetter(RuntimeObject* self, int32_t param, int32_t colour);
void staticAttributeSetter(RuntimeObject* self, int32_t param, int32_t on);
void staticTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void staticTextSizeSetter(RuntimeObject* self, int32_t param, int32_t size);
RuntimeString* StaticTextDataSourceGetter(RuntimeObject* self, int32_t param);
void StaticTextDataSourceSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
void StaticTextDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name);

/* ---- Application services (Win32 framework) ------------------------------------------ */

/* Sections marked "(Win32 framework)" are provided by the Windows framework library, not by
 * the runtime; each is checked against its own routine list by the framework's tests. */

/* Version properties from the executable's version resource, read once. Integer selectors:
 * 0 MajorVersion, 1 MinorVersion, 2 BugVersion, 3 StageCode, 4 NonReleaseVersion,
 * 5 RegionCode (-1); string selectors: 0 ShortVersion, 1 LongVersion, 2 PackageInfo. */
int32_t AppIntegerVersionStuffGetter(RuntimeObject* self, int32_t selector);
RuntimeString* AppStringVersionStuffGetter(RuntimeObject* self, int32_t selector);

/* Screens: one per monitor, cached until the display settings change. getScreen adds a count;
 * nil outside 0 .. getScreenCount() - 1. */
int32_t getScreenCount(void);
RuntimeObject* getScreen(int32_t index);
int32_t screenLeftGetter(RuntimeObject* self, int32_t param);
int32_t screenTopGetter(RuntimeObject* self, int32_t param);
int32_t screenWidthGetter(RuntimeObject* self, int32_t param);
int32_t screenHeightGetter(RuntimeObject* self, int32_t param);
int32_t screenDepthGetter(RuntimeObject* self, int32_t param);

/* The keyboard: masks 0x100 Command (Windows keys), 0x200 Shift, 0x800 Option (Alt),
 * 0x1000 Control. modifierKeyGetter reads the state of the last mouse-down or command,
 * asyncModifierKeyGetter the keys as held now; keyboardAsyncKeyDown takes a classic key code. */
RuntimeObject* getKeyboardObject(void);
int32_t modifierKeyGetter(RuntimeObject* self, int32_t mask);
int32_t asyncModifierKeyGetter(RuntimeObject* self, int32_t mask);
int32_t keyboardAsyncKeyDown(RuntimeObject* self, int32_t keyCode);

/* ArrowCursor, WatchCursor, IBeamCursor: a new MouseCursor over the system's arrow, hourglass
 * and text-beam cursor. */
RuntimeObject* getArrowCursor(void);
RuntimeObject* getWatchCursor(void);
RuntimeObject* getIBeamCursor(void);

/* FolderItem: its path, the path's last component, and whether something exists there. */
RuntimeString* fileAbsolutePathGetter(RuntimeObject* self, int32_t param);
RuntimeString* fileNameGetter(RuntimeObject* self, int32_t param);
int32_t fileExistsGetter(RuntimeObject* self, int32_t param);

/* ---- Application, start-up and the event loop (Win32 framework) ---------------------- */

/* The image's entry: RuntimeInit (plug-ins, the MDI frame), then RuntimeRegisterAppObject with
 * its application object (nil makes a plain Application; the object's Open event fires, then
 * OpenDocument for each document on the command line, or NewDocument), then RuntimeRun, which
 * returns once the application has quit, then RuntimeExit. */
void RuntimeInit(void);
void RuntimeRegisterAppObject(RuntimeObject* app);
void RuntimeRun(void);
void RuntimeExit(void);
void RuntimeStackCheck(void);
void QuavInitStackChecker(int32_t stackSize);
void RuntimeRegisterFileType(RuntimeString* name, RuntimeString* creator, RuntimeString* type,
                             RuntimeString* extensions);
/* The process's whole command line, UTF-8. */
RuntimeString* SystemGetCommandLine(void);

/* Application events by index: 0 Open, 1 Close, 2 EnableMenuItems, 3 NewDocument,
 * 4 OpenDocument(item), 5 HandleAppleEvent, 6 Activate, 7 Deactivate,
 * 8 UnhandledException(error) returning a Boolean. */
RuntimeObject* getAppObject(void);
void ApplicationNewDocument(RuntimeObject* self);
void ApplicationOpenDocument(RuntimeObject* self, RuntimeObject* item);
void ApplicationAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler);
/* Quits when every window agrees: raises an EndException (unless called from inside the
 * UnhandledException event), which the runtime takes as a quiet end. */
void ApplicationQuit(RuntimeObject* self);
RuntimeObject* AppMenuBarGetter(RuntimeObject* self);
void AppMenuBarSetter(RuntimeObject* self, RuntimeObject* menuBar);
int32_t AppBalloonHelpVisibleGetter(RuntimeObject* self);
void AppBalloonHelpVisibleSetter(RuntimeObject* self, int32_t on);
void appMouseCursorSetter(RuntimeObject* self, RuntimeObject* cursor);
RuntimeObject* appResourceForkGetter(RuntimeObject* self);
RuntimeObject* AppDockItemGetter(RuntimeObject* self);
RuntimeObject* DockItemIconGraphicsGetter(RuntimeObject* self);
void DockItemResetIcon(RuntimeObject* self);
void DockItemIconUpdate(RuntimeObject* self);

/* Ticks are sixtieths of a second since the system started. RuntimeBackgroundTask lets long
 * image code give the runtime its periodic work (cheap: nothing until the clock moves). */
void RuntimeBackgroundTask(void);
void QuavYieldToQV(void);
int32_t RuntimeTicks(void);
double RuntimeMicroseconds(void);
void RuntimeBeep(void);
void DisableAutoWaitCursor(void);
void EnableAutoWaitCursor(void);
int32_t getUserCancelled(void);

/* ---- Plug-ins (Win32 framework) ----------------------------------------------------- */

/* Plug-in libraries carried in the image are loaded at start-up (quaver_plugin.h describes
 * what they register). Compiled code reaches their members through a table it fills by name:
 * RuntimeAllocatePluginEntrypointsTable(n) gives n slots (nil for 0, never freed), and
 * RuntimeLookupPluginEntrypoint gives the routine of "Class.Property.Set", "Class.Property.Get"
 * or "Class.declaration" (ignoring case), or reports a failed assertion and gives nil. */
struct QvPluginClass;
struct QvPluginControl;
struct QvPluginMethod;
void** RuntimeAllocatePluginEntrypointsTable(int32_t count);
void* RuntimeLookupPluginEntrypoint(RuntimeString* name);
/* What a plug-in registers from its QuavPluginMain: classes, interfaces, controls, global
 * methods, extensions of existing classes (an extension of "SystemClass" applies to
 * "_SystemClass"), and database engines and cursors (recorded only). */
void PluginRegisterClass(const struct QvPluginClass* description);
void PluginRegisterInterface(const struct QvPluginClass* description);
void PluginRegisterControl(const struct QvPluginControl* description);
void PluginRegisterMethod(const struct QvPluginMethod* description);
void PluginRegisterClassExtension(const struct QvPluginClass* description);
void PluginRegisterDBEngine(const void* description);
void PluginRegisterDBCursor(const void* description);
/* The class's own instance data in an instance of it (or of a subclass), or null when the
 * object is nil or the class is not built. */
void* PluginInstanceData(RuntimeObject* self, const struct QvPluginClass* description);
/* Fires the class's own event `index` (its place in the description's event list) with no
 * arguments; a Boolean event's result, 0 when the event is not implemented. */
int32_t PluginFireEvent(RuntimeObject* self, const struct QvPluginClass* description, int32_t index);

/* ---- Menus (Win32 framework) ------------------------------------------------------- */

/* MenuItem objects (MenuBar, QuitMenuItem, PrefsMenuItem and AppleMenuItem are MenuItems).
 * Each owns a native menu entry once inserted into a parent. A nil self raises
 * NilObjectException and gives nil, 0 or false; a bad index raises OutOfBoundsException.
 * Names compare ignoring case. Booleans are 0 or 1. */
RuntimeObject* RuntimeMenuItemItem(RuntimeObject* self, int32_t index);
int32_t RuntimeMenuItemCount(RuntimeObject* self);
RuntimeObject* RuntimeMenuItemChild(RuntimeObject* self, RuntimeString* name);
void RuntimeMenuItemAppend(RuntimeObject* self, RuntimeObject* item);
void RuntimeMenuItemInsert(RuntimeObject* self, int32_t index, RuntimeObject* item);
void RuntimeMenuItemRemoveIndex(RuntimeObject* self, int32_t index);
void RuntimeMenuItemRemoveItem(RuntimeObject* self, RuntimeObject* item);
/* Depth-first over the whole tree below self: the first item with this Name and Index (-1 for
 * an item outside an item array); nil, without raising, when self or name is nil. */
RuntimeObject* RuntimeMenuItemLookup(RuntimeObject* self, RuntimeString* name);
RuntimeObject* RuntimeMenuItemLookupArray(RuntimeObject* self, RuntimeString* name, int32_t index);
RuntimeString* RuntimeMenuItemNameGetter(RuntimeObject* self);
void RuntimeMenuItemNameSetter(RuntimeObject* self, RuntimeString* name);
int32_t RuntimeMenuItemIndexGetter(RuntimeObject* self);
void RuntimeMenuItemIndexSetter(RuntimeObject* self, int32_t index);
RuntimeObject* RuntimeMenuItemTagGetter(RuntimeObject* self);
void RuntimeMenuItemTagSetter(RuntimeObject* self, RuntimeObject* tag);
RuntimeString* RuntimeMenuItemBalloonHelpGetter(RuntimeObject* self);
void RuntimeMenuItemBalloonHelpSetter(RuntimeObject* self, RuntimeString* text);
RuntimeString* RuntimeMenuItemDisabledHelpGetter(RuntimeObject* self);
void RuntimeMenuItemDisabledHelpSetter(RuntimeObject* self, RuntimeString* text);
RuntimeString* RuntimeMenuItemTextGetter(RuntimeObject* self);
void RuntimeMenuItemTextSetter(RuntimeObject* self, RuntimeString* text);
int32_t RuntimeMenuItemCheckedGetter(RuntimeObject* self);
void RuntimeMenuItemCheckedSetter(RuntimeObject* self, int32_t on);
int32_t RuntimeMenuItemEnabledGetter(RuntimeObject* self);
void RuntimeMenuItemEnabledSetter(RuntimeObject* self, int32_t on);
int32_t RuntimeMenuItemVisibleGetter(RuntimeObject* self);
void RuntimeMenuItemVisibleSetter(RuntimeObject* self, int32_t on);
/* "Shift-S" and the like: shown as "Ctrl+Shift+S" after a tab, and pressing it chooses the item. */
RuntimeString* RuntimeMenuItemCommandKeyGetter(RuntimeObject* self);
void RuntimeMenuItemCommandKeySetter(RuntimeObject* self, RuntimeString* key);
int32_t RuntimeMenuItemBoldGetter(RuntimeObject* self);
void RuntimeMenuItemBoldSetter(RuntimeObject* self, int32_t on);
int32_t RuntimeMenuItemItalicsGetter(RuntimeObject* self);
void RuntimeMenuItemItalicsSetter(RuntimeObject* self, int32_t on);
int32_t RuntimeMenuItemUnderlineGetter(RuntimeObject* self);
void RuntimeMenuItemUnderlineSetter(RuntimeObject* self, int32_t on);
int32_t RuntimeMenuItemAutoEnableGetter(RuntimeObject* self);
void RuntimeMenuItemAutoEnableSetter(RuntimeObject* self, int32_t on);
void RuntimeEnableMenu(RuntimeObject* self);
/* Removes self from its parent in the application's menu bar. */
void RuntimeCloseMenuItem(RuntimeObject* self);
void RuntimeMenuItemDefaultConstructor(RuntimeObject* self);
/* Puts item into the bar next to the bar's item of the same Name (at the end when none). */
void MenuBarInstallClone(RuntimeObject* menuBar, RuntimeObject* item);
/* The item of that name in the menu bar shown for the front window, or nil. */
RuntimeObject* RuntimeMenuReference(RuntimeString* name);
/* Runs the menu-enabling cycle with every event. */
void enableMenuItems(void);

/* ---- Graphics and pictures (Win32 graphics) ----------------------------------------- */

/* Sections marked "(Win32 graphics)" are provided by the Windows graphics library, above the
 * framework; the graphics tests check them against its routine list.
 *
 * Graphics objects draw on a window, a control or a picture with one foreground colour, a
 * rectangular pen and a font. Coordinates are pixels from the surface's top-left corner; a
 * rectangle whose width or height is negative reaches back from x or y. Colours are
 * 0x00RRGGBB. Property accessors take the object and a param, setters the value after it. A
 * nil self raises NilObjectException and gives 0 or nil. Lines are drawn from the end with
 * the smaller x, so both directions give the same pixels, the end point included. */
uint32_t graphicsForeColorGetter(RuntimeObject* self, int32_t param);
void graphicsForeColorSetter(RuntimeObject* self, int32_t param, uint32_t color);
int32_t graphicsWidthGetter(RuntimeObject* self, int32_t param);
int32_t graphicsHeightGetter(RuntimeObject* self, int32_t param);
/* "System" (or an empty name) is the system's message font; size 0 is 12 points. */
RuntimeString* graphicsTextFontGetter(RuntimeObject* self, int32_t param);
void graphicsTextFontSetter(RuntimeObject* self, int32_t param, RuntimeString* name);
int32_t graphicsTextSizeGetter(RuntimeObject* self, int32_t param);
void graphicsTextSizeSetter(RuntimeObject* self, int32_t param, int32_t points);
int32_t graphicsCopiesGetter(RuntimeObject* self, int32_t param);
int32_t graphicsFirstPageGetter(RuntimeObject* self, int32_t param);
int32_t graphicsLastPageGetter(RuntimeObject* self, int32_t param);
int32_t graphicsBoldGetter(RuntimeObject* self, int32_t param);
void graphicsBoldSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t graphicsItalicGetter(RuntimeObject* self, int32_t param);
void graphicsItalicSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t graphicsUnderlineGetter(RuntimeObject* self, int32_t param);
void graphicsUnderlineSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t graphicsPenWidthGetter(RuntimeObject* self, int32_t param);
void graphicsPenWidthSetter(RuntimeObject* self, int32_t param, int32_t width);
int32_t graphicsPenHeightGetter(RuntimeObject* self, int32_t param);
void graphicsPenHeightSetter(RuntimeObject* self, int32_t param, int32_t height);
int32_t graphicsUseOldRendererGetter(RuntimeObject* self, int32_t param);
void graphicsUseOldRendererSetter(RuntimeObject* self, int32_t param, int32_t on);
void RuntimeGraphicsClearRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsDrawLine(RuntimeObject* self, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void RuntimeGraphicsDrawOval(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsDrawRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsDrawRoundRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height,
                                  int32_t ovalWidth, int32_t ovalHeight);
void RuntimeGraphicsFillOval(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsFillRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height);
void RuntimeGraphicsFillRoundRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height,
                                  int32_t ovalWidth, int32_t ovalHeight);
/* Sizes and source offsets of -10000 take defaults: the destination size is the picture's,
 * the source size the destination's, the source offset 0. A source rectangle reaching outside
 * the picture is cut to it and the destination shrinks alike; a nil picture draws nothing. */
void RuntimeGraphicsDrawPicture(RuntimeObject* self, RuntimeObject* picture, int32_t x, int32_t y, int32_t destWidth,
                                int32_t destHeight, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                                int32_t sourceHeight);
/* y is the baseline; the text wraps at wrapWidth pixels (0: no wrapping). */
void RuntimeGraphicsDrawString(RuntimeObject* self, RuntimeString* text, int32_t x, int32_t y, int32_t wrapWidth);
/* Vector shapes: there are no shape classes yet, so every object draws nothing. */
void RuntimeGraphicsDrawObjectXY(RuntimeObject* self, RuntimeObject* object, int32_t x, int32_t y);
int32_t RuntimeGraphicsStringWidth(RuntimeObject* self, RuntimeString* text);
int32_t RuntimeGraphicsStringHeight(RuntimeObject* self, RuntimeString* text, int32_t wrapWidth);
int32_t RuntimeGraphicsTextHeight(RuntimeObject* self);
int32_t RuntimeGraphicsTextAscent(RuntimeObject* self);
/* Begins a new page on a printer's graphics; nothing elsewhere. */
void RuntimeGraphicsNextPage(RuntimeObject* self);
/* The 32 x 32 system icons with their top-left corner at x, y. */
void graphicsDrawStopIcon(RuntimeObject* self, int32_t x, int32_t y);
void graphicsDrawNoteIcon(RuntimeObject* self, int32_t x, int32_t y);
void graphicsDrawCautionIcon(RuntimeObject* self, int32_t x, int32_t y);
uint32_t graphicsPixelGetter(RuntimeObject* self, int32_t x, int32_t y);
void graphicsPixelSetter(RuntimeObject* self, int32_t x, int32_t y, uint32_t color);
/* Points from an Integer array: elements 1 and 2 are the first point's x and y, 3 and 4 the
 * second's, and so on; element 0 and an unpaired last element are not used. DrawPolygon
 * closes the shape with a last side back to the first point. */
void graphicsDrawPolygon(RuntimeObject* self, RuntimeArray* points);
void graphicsFillPolygon(RuntimeObject* self, RuntimeArray* points);

/* Pictures: bitmaps of a size fixed at creation, white at first. newPicture gives nil for a
 * width or height below 1 or a depth outside 1 .. 32. A picture's Graphics is one object for
 * the picture's life (the getter adds a count); once the picture is gone it draws nothing.
 * With Transparent 1, white pixels are left out when the picture is drawn. */
RuntimeObject* newPicture(int32_t width, int32_t height, int32_t depth);
void PictureConstructor(RuntimeObject* self, int32_t width, int32_t height, int32_t depth);
int32_t pictureWidthGetter(RuntimeObject* self, int32_t param);
int32_t pictureHeightGetter(RuntimeObject* self, int32_t param);
int32_t PictureDepthGetter(RuntimeObject* self, int32_t param);
RuntimeObject* pictureGraphicsGetter(RuntimeObject* self, int32_t param);
int32_t pictureTransparentGetter(RuntimeObject* self, int32_t param);
void pictureTransparentSetter(RuntimeObject* self, int32_t param, int32_t transparent);

/* ---- Windows (Win32 windows) ------------------------------------------------------- */

/* Sections marked "(Win32 windows)" are provided by the Windows window layer, above the
 * framework; the window tests check them against its routine list. */

/* Window objects: the image subclasses Window and creates an instance (RuntimeNewObject), whose
 * class constructor RuntimeCreateWindow fires the hidden events 0 Layout (set the stored
 * properties), 1 CreateControls (WindowAllocateObject, RuntimeMassPropertySetter,
 * WindowAddControl) and 2 SetupBindings, and builds the hidden native window; the image's
 * constructor then calls WindowDefaultConstructor, which fires Open. The window shows at the
 * event loop's next turn, or at once with Show. Events by index: 3 Open, 4 Close, 5 CancelClose
 * (Boolean: True keeps the window), 6 KeyDown(key) Boolean, 7 MouseMove(x, y), 8 MouseEnter,
 * 9 MouseExit, 10 Paint(g), 11 MouseDown(x, y) Boolean, 12 MouseDrag(x, y), 13 MouseUp(x, y),
 * 14 EnableMenuItems, 15 Resized, 16 Resizing, 17 Moved, 18 DropObject(obj), 19 Activate,
 * 20 Deactivate. Fields for the generic accessors: Composite 32 (Boolean), MinWidth 92,
 * MinHeight 94, MaxWidth 96, MaxHeight 98 (16-bit), MouseCursor 100, BalloonHelp 104,
 * FloaterProcess 112, MacProcId 116. Frame 0..10, Placement 0..4 (0: the frame's own). */
void RuntimeCreateWindow(RuntimeObject* self);
void WindowDefaultConstructor(RuntimeObject* self);
/* A new instance of c belonging to window (a RectControl gets window as its window). */
RuntimeObject* WindowAllocateObject(RuntimeObject* window, ClassRecord* c);
/* Files the control under its Name, or Name$Index for a member of a control array. */
void WindowAddControl(RuntimeObject* self, RuntimeObject* control);
void WindowAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler);
/* The window of that class name with a new count, or nil: nil the first time a name is asked
 * for (the image then creates the window, which is filed under the name) and again once the
 * window has closed. */
RuntimeObject* RuntimeGetImplicitWindow(RuntimeString* name);
void RuntimeShowWindow(RuntimeObject* self);
void RuntimeShowWithinWindow(RuntimeObject* self, RuntimeObject* parent, int32_t value);
void RuntimeShowModalWithinWindow(RuntimeObject* self, RuntimeObject* parent);
void RuntimeHideWindow(RuntimeObject* self);
/* CancelClose first: True keeps the window. */
void RuntimeCloseWindow(RuntimeObject* self);
/* Shows the window and runs the event loop until it closes or hides. */
void RuntimeShowModal(RuntimeObject* self);
void formRefresh(RuntimeObject* self);
void formRefreshRect(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height);
void formSetFocus(RuntimeObject* self);
void WindowForceUpdateFrontBuffer(RuntimeObject* self);
RuntimeObject* formNewDragItem(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height);
void formAcceptTextDrop(RuntimeObject* self);
void formAcceptPictureDrop(RuntimeObject* self);
void formAcceptFileDrop(RuntimeObject* self, RuntimeString* fileType);
void formAcceptMacDataDrop(RuntimeObject* self, RuntimeString* dataType);
void formDrawInto(RuntimeObject* self, RuntimeObject* g, int32_t x, int32_t y);
/* The index-th RectControl in the order the controls were added (a new count), or nil. */
RuntimeObject* windowControl(RuntimeObject* self, int32_t index);
int32_t windowControlCountGetter(RuntimeObject* self, int32_t param);
int32_t WindowVisibleGetter(RuntimeObject* self, int32_t param);
void WindowVisibleSetter(RuntimeObject* self, int32_t param, int32_t on);
/* Selectors: 0 Left, 1 Top, 2 Width, 3 Height of the content area, in screen coordinates. */
int32_t windowPosGetter(RuntimeObject* self, int32_t selector);
void windowPosSetter(RuntimeObject* self, int32_t selector, int32_t value);
int32_t windowPlacementGetter(RuntimeObject* self, int32_t param);
void windowPlacementSetter(RuntimeObject* self, int32_t param, int32_t placement);
RuntimeString* windowTitleGetter(RuntimeObject* self, int32_t param);
void windowTitleSetter(RuntimeObject* self, int32_t param, RuntimeString* title);
int32_t windowFullScreenGetter(RuntimeObject* self, int32_t param);
void windowFullScreenSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t windowMenusVisibleGetter(RuntimeObject* self, int32_t param);
void windowMenusVisibleSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t windowCloseBoxGetter(RuntimeObject* self, int32_t param);
void windowCloseBoxSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t windowGrowIconGetter(RuntimeObject* self, int32_t param);
void windowGrowIconSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t windowZoomIconGetter(RuntimeObject* self, int32_t param);
void windowZoomIconSetter(RuntimeObject* self, int32_t param, int32_t on);
int32_t windowFrameGetter(RuntimeObject* self, int32_t param);
void windowFrameSetter(RuntimeObject* self, int32_t param, int32_t frame);
int32_t windowLiveResizeGetter(RuntimeObject* self, int32_t param);
void windowLiveResizeSetter(RuntimeObject* self, int32_t param, int32_t on);
RuntimeObject* windowBackdropGetter(RuntimeObject* self, int32_t param);
void windowBackdropSetter(RuntimeObject* self, int32_t param, RuntimeObject* picture);
RuntimeObject* windowGraphicsGetter(RuntimeObject* self, int32_t param);
int32_t windowHasBackColorGetter(RuntimeObject* self, int32_t param);
void windowHasBackColorSetter(RuntimeObject* self, int32_t param, int32_t on);
/* Colours are 0x00RRGGBB. */
int32_t windowBackColorGetter(RuntimeObject* self, int32_t param);
void windowBackColorSetter(RuntimeObject* self, int32_t param, int32_t colour);
void windowBalloonHelpSetter(RuntimeObject* self, int32_t param, RuntimeString* text);
void formMouseCursorSetter(RuntimeObject* self, int32_t param, RuntimeObject* cursor);
/* The cursor in the window's client coordinates; 0 without a native window. */
int32_t windowMouseXGetter(RuntimeObject* self, int32_t param);
int32_t windowMouseYGetter(RuntimeObject* self, int32_t param);
RuntimeObject* windowWindowPtrGetter(RuntimeObject* self, int32_t param);
int32_t windowHWNDGetter(RuntimeObject* self, int32_t param);
RuntimeObject* WindowDockItemGetter(RuntimeObject* self, int32_t param);
RuntimeObject* WindowMenuBarGetter(RuntimeObject* self, int32_t param);
void WindowMenuBarSetter(RuntimeObject* self, int32_t param, RuntimeObject* menuBar);

/* ---- Timers and threads (Win32 framework) ------------------------------------------- */

/* Timer: Mode (offset 32: 0 off, 1 single, 2 multiple), Period (36, milliseconds, at least 1,
 * 1000 at creation) and Enabled (44) are read with intGetter; Enabled is written with
 * intSetter. Setting Mode arms the timer from now; a Period change while armed counts the
 * remaining time from the last arming, firing or Reset. Action fires on the user-interface
 * thread, inside system modal loops too; a single timer reads Mode 0 once it fired. */
void timerModeSetter(RuntimeObject* self, int32_t mode);
void timerPeriodSetter(RuntimeObject* self, int32_t period);
/* Restarts the time a later Period change counts from; the timer itself runs on untouched. */
void RuntimeTimerReset(RuntimeObject* self);

/* Thread: Run starts an operating-system thread that fires the Run event (ignored while it
 * runs; it may run again once the event returned). StackSize is in bytes, 925696 when 0 or
 * less; setting it while the thread runs raises ThreadAlreadyRunningException. ThreadID is
 * non-zero exactly while the thread runs. Nothing else is locked for threads: guard shared data
 * with a Semaphore (one holder; Signal waits without a time-out) or a CriticalSection. */
void threadRun(RuntimeObject* self);
int32_t ThreadGetStackSize(RuntimeObject* self);
void ThreadSetStackSize(RuntimeObject* self, int32_t size);
int32_t ThreadGetID(RuntimeObject* self);
void semaphore_signal(RuntimeObject* self);
void semaphore_release(RuntimeObject* self);
void criticalsection_enter(RuntimeObject* self);
void criticalsection_leave(RuntimeObject* self);

/* ---- String constants ---------------------------------------------------------------- */

#define QV_STR_SCAN_LIMIT 256

/* Nonzero when byte k of the literal exists (before its terminator) and has its top bit set. */
#define QV_HI_(s, k) (sizeof(s) > (k) + 1 && ((s)[(k) + 1 < sizeof(s) ? (k) : 0] & 0x80))
#define QV_HI4_(s, k) (QV_HI_(s, k) || QV_HI_(s, (k) + 1) || QV_HI_(s, (k) + 2) || QV_HI_(s, (k) + 3))
#define QV_HI16_(s, k) (QV_HI4_(s, k) || QV_HI4_(s, (k) + 4) || QV_HI4_(s, (k) + 8) || QV_HI4_(s, (k) + 12))
#define QV_HI64_(s, k) (QV_HI16_(s, k) || QV_HI16_(s, (k) + 16) || QV_HI16_(s, (k) + 32) || QV_HI16_(s, (k) + 48))
#define QV_HI256_(s) (QV_HI64_(s, 0) || QV_HI64_(s, 64) || QV_HI64_(s, 128) || QV_HI64_(s, 192))
#define QV_LITERAL_ENCODING_(s) \
    ((sizeof(s) - 1 > QV_STR_SCAN_LIMIT || QV_HI256_(s)) ? QV_ENCODING_UTF8 : QV_ENCODING_ASCII)

#ifdef QV_IMAGE
#define QV_CONSTANT_SECTION_ __attribute__((section(".qvstr"), aligned(4)))
#define QV_CONSTANT_BUFFER_(name) 0
#else
#define QV_CONSTANT_SECTION_ __attribute__((aligned(4)))
#define QV_CONSTANT_BUFFER_(name) &name.lengthByte
#endif

/* clang-format off */
#define QV_CONSTANT_(lit, enc)                                                             \
    __extension__({                                                                        \
        static struct {                                                                    \
            int32_t refCount;                                                              \
            uint8_t* buffer;                                                               \
            uint32_t capacity;                                                             \
            int32_t length;                                                                \
            uint32_t encoding;                                                             \
            uint8_t lengthByte;                                                            \
            char text[sizeof(lit)];                                                        \
        } qv_constant_ QV_CONSTANT_SECTION_ = {                                            \
            1, QV_CONSTANT_BUFFER_(qv_constant_), sizeof(lit) + 1, sizeof(lit) - 1, (enc), \
            (uint8_t)(sizeof(lit) - 1 > 255 ? 255 : sizeof(lit) - 1), lit};                \
        (RuntimeString*)&qv_constant_;                                                     \
    })
/* clang-format on */

#define QV_STR(lit) QV_CONSTANT_(lit, QV_LITERAL_ENCODING_(lit))
#define QV_BYTES(lit) QV_CONSTANT_(lit, QV_ENCODING_UNKNOWN)

#ifdef __cplusplus
}
#endif

#endif /* QUAVER_SDK_QUAVER_H */
