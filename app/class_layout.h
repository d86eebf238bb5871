/*
 * class_layout.h: where the built-in classes the application uses keep their members, as
 * compiled code knows them: property indices in the flattened property tables (with the type
 * letter of each declaration, which decides how a mass table encodes the value), event
 * indices in the flattened event tables, and the byte offsets that BevelButton's setters take
 * as their parameter. A test checks every number against the runtime and the plug-in.
 */
#ifndef HOLLERPAD_APP_CLASS_LAYOUT_H
#define HOLLERPAD_APP_CLASS_LAYOUT_H

/* Window (letters: b Boolean, i Integer, s String, c Color). */
#define WINDOW_VISIBLE 0         /* b */
#define WINDOW_WIDTH 3           /* i */
#define WINDOW_HEIGHT 4          /* i */
#define WINDOW_TITLE 6           /* s */
#define WINDOW_MENUBAR_VISIBLE 8 /* b */
#define WINDOW_CLOSE_BOX 9       /* b */
#define WINDOW_GROW_ICON 10      /* b */
#define WINDOW_ZOOM_ICON 11      /* b */
#define WINDOW_LIVE_RESIZE 14    /* b */
#define WINDOW_BACK_COLOR 18     /* c */
#define WINDOW_MIN_WIDTH 20      /* i */
#define WINDOW_MIN_HEIGHT 21     /* i */
#define WINDOW_MAX_WIDTH 22      /* i */
#define WINDOW_MAX_HEIGHT 23     /* i */

/* Control and RectControl: the first 25 entries of every control class. */
#define CONTROL_NAME 0             /* s */
#define CONTROL_VISIBLE 11         /* b */
#define CONTROL_LEFT 12            /* i */
#define CONTROL_TOP 13             /* i */
#define CONTROL_WIDTH 14           /* i */
#define CONTROL_HEIGHT 15          /* i */
#define CONTROL_ENABLED 16         /* b */
#define CONTROL_AUTO_DEACTIVATE 18 /* b */
#define CONTROL_LOCK_LEFT 19       /* b */
#define CONTROL_LOCK_TOP 20        /* b */
#define CONTROL_LOCK_RIGHT 21      /* b */
#define CONTROL_LOCK_BOTTOM 22     /* b */
#define CONTROL_INITIAL_PARENT 24  /* s */

/* EditField. */
#define EDIT_TEXT 25               /* s */
#define EDIT_BORDER 27             /* b */
#define EDIT_MULTILINE 28          /* b */
#define EDIT_READ_ONLY 29          /* b */
#define EDIT_BACK_COLOR 34         /* c */
#define EDIT_SCROLLBAR_VERTICAL 36 /* b */
#define EDIT_SCROLLBAR 37          /* b */
#define EDIT_TEXT_FONT 38          /* s */
#define EDIT_TEXT_SIZE 39          /* i */
#define EDIT_USE_FOCUS_RING 59     /* b */

/* PushButton. */
#define BUTTON_CAPTION 25   /* s */
#define BUTTON_DEFAULT 26   /* b */
#define BUTTON_TEXT_FONT 28 /* s */
#define BUTTON_TEXT_SIZE 29 /* i */

/* CheckBox. */
#define CHECKBOX_CAPTION 25   /* s */
#define CHECKBOX_VALUE 26     /* b */
#define CHECKBOX_TEXT_FONT 28 /* s */
#define CHECKBOX_TEXT_SIZE 29 /* i */

/* StaticText. */
#define STATIC_TEXT 25      /* s */
#define STATIC_TEXT_FONT 29 /* s */
#define STATIC_TEXT_SIZE 30 /* i */
#define STATIC_MULTILINE 34 /* b */

/* GroupBox. */
#define GROUP_CAPTION 25   /* s */
#define GROUP_TEXT_FONT 26 /* s */
#define GROUP_TEXT_SIZE 27 /* i */

/* Parameters of the accessors the application calls directly. */
#define STATIC_TEXT_PARAM 116 /* the field StaticText keeps its text in */

/* Event indices. */
#define WINDOW_EVENT_LAYOUT 0
#define WINDOW_EVENT_CREATE_CONTROLS 1
#define WINDOW_EVENT_OPEN 3
#define CONTROL_EVENT_MOUSE_EXIT 5 /* RectControl's */
#define BUTTON_EVENT_ACTION 7      /* PushButton and CheckBox */
#define EDIT_EVENT_TEXT_CHANGE 13
#define BEVEL_EVENT_ACTION 7

/* BevelButton: the byte offset of each field, which its setters take as the parameter. */
#define BEVEL_CAPTION 112
#define BEVEL_CAPTION_ALIGN 116
#define BEVEL_CAPTION_PLACEMENT 120
#define BEVEL_CAPTION_DELTA 124
#define BEVEL_ICON 128
#define BEVEL_ICON_ALIGN 132
#define BEVEL_ICON_DX 136
#define BEVEL_ICON_DY 140
#define BEVEL_BEVEL 144
#define BEVEL_HAS_MENU 148
#define BEVEL_VALUE 152
#define BEVEL_MENU_VALUE 156
#define BEVEL_BUTTON_TYPE 160
#define BEVEL_TEXT_FONT 164
#define BEVEL_TEXT_SIZE 168
#define BEVEL_BOLD 172
#define BEVEL_ITALIC 173
#define BEVEL_UNDERLINE 174

#endif /* HOLLERPAD_APP_CLASS_LAYOUT_H */
