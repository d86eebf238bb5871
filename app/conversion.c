/* conversion.c: the conversion steps applied in order with StringReplaceAllB. */
#include "app/conversion.h"

#include "app/conversion_steps.h"

/* Replaces the held text by the result of one step, keeping the counts balanced. */
static RuntimeString* replace_all(RuntimeString* text, RuntimeString* find, RuntimeString* replacement)
{
    RuntimeString* result = StringReplaceAllB(text, find, replacement);
    RuntimeUnlockString(text);
    return result;
}

static RuntimeString* prepend(RuntimeString* text, RuntimeString* head)
{
    RuntimeString* result = RuntimeAddString(head, text);
    RuntimeUnlockString(text);
    return result;
}

static int switch_on(uint32_t switches, int k) { return k == 0 || (switches & HOLLERPAD_SWITCH(k)) != 0; }

RuntimeString* ConvertText(RuntimeString* text, uint32_t switches)
{
    RuntimeLockString(text);
    /* No step empties a text, so a step that gives nothing for something could not allocate
     * its result: the conversion ends there with nil, which a later prepend would otherwise
     * turn into the name line alone. */
#define HOLLERPAD_RUN_STEP(n, sw, find, repl)                 \
    if (switch_on(switches, (sw))) {                          \
        RuntimeString* before = text;                         \
        text = replace_all(text, QV_STR(find), QV_STR(repl)); \
        if (before && !text)                                  \
            return 0;                                         \
    }
#define HOLLERPAD_RUN_PREPEND(n, sw, head)  \
    if (switch_on(switches, (sw))) {        \
        RuntimeString* before = text;       \
        text = prepend(text, QV_STR(head)); \
        if (before && !text)                \
            return 0;                       \
    }
    HOLLERPAD_CONVERSION_STEPS(HOLLERPAD_RUN_STEP, HOLLERPAD_RUN_PREPEND)
#undef HOLLERPAD_RUN_STEP
#undef HOLLERPAD_RUN_PREPEND
    return text;
}

RuntimeString* ClipboardForm(RuntimeString* text) { return StringReplaceAllB(text, QV_STR("\r"), QV_STR("\r\n")); }
