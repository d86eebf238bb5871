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

static int switch_on(uint32_t switches, int k)
{
    return k == 0 || (switches & HOLLERPAD_SWITCH(k)) != 0;
}

RuntimeString* ConvertText(RuntimeString* text, uint32_t switches)
{
    RuntimeLockString(text);
#define HOLLERPAD_RUN_STEP(n, sw, find, repl) \
    if (switch_on(switches, (sw)))            \
        text = replace_all(text, QV_STR(find), QV_STR(repl));
#define HOLLERPAD_RUN_PREPEND(n, sw, head) \
    if (switch_on(switches, (sw)))         \
        text = prepend(text, QV_STR(head));
    HOLLERPAD_CONVERSION_STEPS(HOLLERPAD_RUN_STEP, HOLLERPAD_RUN_PREPEND)
#undef HOLLERPAD_RUN_STEP
#undef HOLLERPAD_RUN_PREPEND
    return text;
}

RuntimeString* ClipboardForm(RuntimeString* text)
{
    return StringReplaceAllB(text, QV_STR("\r"), QV_STR("\r\n"));
}
