/* image_plugin_extension.c: calls the members that a plug-in library (extension_plugin.c) adds
 * to the built-in Dictionary, through a plug-in entry table filled by name. */
#include "tests/images/image_support.h"

enum { TALLY, SIZE_GET, ENTRY_COUNT };

void ImageEntry(void)
{
    void** entries = RuntimeAllocatePluginEntrypointsTable(ENTRY_COUNT);
    entries[TALLY] = RuntimeLookupPluginEntrypoint(QV_STR("Dictionary.Tally(extra As Integer) As Integer"));
    entries[SIZE_GET] = RuntimeLookupPluginEntrypoint(QV_STR("dictionary.size.get"));
    if (!entries[TALLY] || !entries[SIZE_GET]) {
        RuntimeMsgBox(QV_STR("no extension"));
        return;
    }
    int32_t (*tally)(RuntimeObject*, int32_t) = (int32_t(*)(RuntimeObject*, int32_t))entries[TALLY];
    int32_t (*size)(RuntimeObject*, int32_t) = (int32_t(*)(RuntimeObject*, int32_t))entries[SIZE_GET];

    RuntimeObject* dictionary = RuntimeNewObject(RuntimeLookupClass(QV_STR("Dictionary")));
    RuntimeObject* key = intToVariant(7);
    dictionaryValueSetter(dictionary, key, key);
    say(QV_STR("Tally(5): "), number(tally(dictionary, 5)));
    say(QV_STR("Size: "), number(size(dictionary, 0)));
    /* The class lists the method among its own, with its signature. */
    ClassRecord* c = dictionary->classRecord;
    for (int32_t i = 0; i < c->staticMethodCount; ++i) {
        if (c->staticMethodTable[i].routine == entries[TALLY]) {
            RuntimeLockString(c->staticMethodTable[i].signature);
            say(QV_STR("Dictionary lists "), c->staticMethodTable[i].signature);
        }
    }
    RuntimeUnlockObject(key);
    RuntimeUnlockObject(dictionary);
}
