/* image_support.h: small helpers for the test images, written against exported routines
 * only. Results are reported with RuntimeMsgBox, which the runners print on standard error. */
#ifndef QV_TEST_IMAGE_SUPPORT_H
#define QV_TEST_IMAGE_SUPPORT_H

#include "sdk/quaver.h"

/* Shows label followed by value, then releases value (a count the caller owned). */
static inline void say(RuntimeString* label, RuntimeString* value)
{
    RuntimeString* line = RuntimeAddString(label, value);
    RuntimeMsgBox(line);
    RuntimeUnlockString(line);
    RuntimeUnlockString(value);
}

/* The decimal text of a number, as a new count. */
static inline RuntimeString* number(int32_t value)
{
    static char digits[12];
    int n = 0;
    uint32_t v = value < 0 ? 0u - (uint32_t)value : (uint32_t)value;
    do {
        digits[11 - n++] = (char)('0' + v % 10);
        v /= 10;
    } while (v);
    if (value < 0)
        digits[11 - n++] = '-';
    return QuavBuildString(digits + 12 - n, n);
}

#endif
