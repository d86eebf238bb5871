/*
 * application.h: the application object (class App), its menu bar (class MenuBar1) and the
 * handlers through which the menu items reach App's methods.
 */
#ifndef HOLLERPAD_APP_APPLICATION_H
#define HOLLERPAD_APP_APPLICATION_H

#include "sdk/quaver.h"

/* A new App object (a new count), or nil with NilObjectException raised. */
RuntimeObject* new_application(void);
/* A new MenuBar1 with its four menus (a new count). */
RuntimeObject* new_menu_bar(void);
/* Registers the five menu handlers with the application object. */
void add_menu_handlers(void);

#endif /* HOLLERPAD_APP_APPLICATION_H */
