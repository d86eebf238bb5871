/*
 * app_windows.h: the application's three windows, each used through its implicit instance:
 * referring to one creates it when none exists. Each accessor gives a new count.
 */
#ifndef HOLLERPAD_APP_APP_WINDOWS_H
#define HOLLERPAD_APP_APP_WINDOWS_H

#include "sdk/quaver.h"

/* Window1: the text field, the three buttons and the hidden switches and backup text. */
RuntimeObject* main_window(void);
/* Window3: the switches as check boxes. */
RuntimeObject* settings_window(void);
/* Window2: name, version and the picture button. */
RuntimeObject* about_window(void);
/* Lets go of the about window's picture, which the application keeps until it ends. */
void release_about_picture(void);

/* The name of switch field k (1 to 9), "EditField1" to "EditField9", in both windows that
 * hold the switches. */
RuntimeString* switch_field_name(int32_t k);

/* The name of the main window's text field. */
#define MAIN_TEXT_FIELD QV_STR("EditField0")
/* The hidden static text holding the text as it was before the last conversion. */
#define MAIN_BACKUP_TEXT QV_STR("bk1")

#endif /* HOLLERPAD_APP_APP_WINDOWS_H */
