/*
 * conversion.h: Hollerpad's text conversion as a pure function of a text and nine switches,
 * and the clipboard form of its result. Written against the runtime's exported routines only,
 * so the same code runs in the application image and in hollerpad-convert.
 */
#ifndef HOLLERPAD_APP_CONVERSION_H
#define HOLLERPAD_APP_CONVERSION_H

#include "sdk/quaver.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Switch k (1 to 9) is bit k - 1. */
#define HOLLERPAD_SWITCH(k) (1u << ((k)-1))
/* Switches 1 to 8 on, 9 (the name line) off: what a fresh main window starts with. */
#define HOLLERPAD_DEFAULT_SWITCHES 0xFFu

/* Runs the 110 steps over UTF-8 text (borrowed); returns a new count. */
RuntimeString* ConvertText(RuntimeString* text, uint32_t switches);

/* The text with every carriage return followed by a line feed; returns a new count. */
RuntimeString* ClipboardForm(RuntimeString* text);

#ifdef __cplusplus
}
#endif

#endif /* HOLLERPAD_APP_CONVERSION_H */
