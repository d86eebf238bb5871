/*
 * protected_call.h: calls a routine with an active landing record after the call, so that an
 * exception the routine raises and nothing below it handles ends up here instead of at the
 * unhandled-exception hook.
 */
#ifndef HOLLERPAD_APP_PROTECTED_CALL_H
#define HOLLERPAD_APP_PROTECTED_CALL_H

#include "sdk/quaver.h"

/* 1 when step returned normally, 0 when an exception landed (it is released). */
int32_t protected_call(void (*step)(void));

#endif /* HOLLERPAD_APP_PROTECTED_CALL_H */
