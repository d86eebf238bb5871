/* image_gui_window.c: a program with one window and no MDI frame, for run_gui_test.sh. The
 * window is a Window subclass whose hidden Layout event sets its stored properties; the
 * program refers to it twice by its class name, as compiled code refers to an implicit window,
 * and shows it. It reports its Open, Resized and Close events with their geometry; closing the
 * window ends the program. */
#include "tests/images/gui_app_support.h"

enum {
    kWindowLayout = 0,
    kWindowCreateControls = 1,
    kWindowOpen = 3,
    kWindowClose = 4,
    kWindowCancelClose = 5,
    kWindowResized = 15,
};

/* text + piece as a new count; the old text is released (and the piece too unless it is a
 * constant, whose count belongs to the image). */
static RuntimeString* append(RuntimeString* text, RuntimeString* piece, int owned)
{
    RuntimeString* joined = RuntimeAddString(text, piece);
    RuntimeUnlockString(text);
    if (owned)
        RuntimeUnlockString(piece);
    return joined;
}

/* "label L,T WxH" from the window's Left, Top, Width and Height. */
static void report_geometry(RuntimeObject* window, RuntimeString* label)
{
    RuntimeString* text = RuntimeAddString(label, 0);
    text = append(text, number(windowPosGetter(window, 0)), 1);
    text = append(text, QV_STR(","), 0);
    text = append(text, number(windowPosGetter(window, 1)), 1);
    text = append(text, QV_STR(" "), 0);
    text = append(text, number(windowPosGetter(window, 2)), 1);
    text = append(text, QV_STR("x"), 0);
    text = append(text, number(windowPosGetter(window, 3)), 1);
    RuntimeMsgBox(text);
    RuntimeUnlockString(text);
}

static void layout(RuntimeObject* self)
{
    windowTitleSetter(self, 0, QV_STR("GUI Window"));
    windowFrameSetter(self, 0, 0);
    windowCloseBoxSetter(self, 0, 1);
    windowGrowIconSetter(self, 0, 1);
    windowZoomIconSetter(self, 0, 1);
    /* Placement 0: the frame's own, which puts the window 10 right and 50 down of the screen's
     * available area. */
    windowPosSetter(self, 0, 40);
    windowPosSetter(self, 1, 60);
    windowPosSetter(self, 2, 320);
    windowPosSetter(self, 3, 200);
}

static void open_window(RuntimeObject* self) { report_geometry(self, QV_STR("Open ")); }
static void resized(RuntimeObject* self) { report_geometry(self, QV_STR("Resized ")); }
static void close_window(RuntimeObject* self)
{
    (void)self;
    RuntimeMsgBox(QV_STR("Close"));
}
static int32_t cancel_close(RuntimeObject* self)
{
    (void)self;
    return 0;
}

/* What compiled code does for a reference to the implicit instance of MainWindow. */
static RuntimeObject* main_window(ClassRecord* c)
{
    RuntimeObject* window = RuntimeGetImplicitWindow(c->name);
    if (window)
        return window;
    window = RuntimeNewObject(c);
    WindowDefaultConstructor(window);
    return window;
}

void ImageEntry(void)
{
    RuntimeInit();
    RuntimeRegisterAppObject(0);

    ClassRecord* c = subclass(RuntimeLookupClass(QV_STR("Window")), QV_STR("MainWindow"), 0);
    set_event(c, kWindowLayout, (void*)layout);
    set_event(c, kWindowOpen, (void*)open_window);
    set_event(c, kWindowResized, (void*)resized);
    set_event(c, kWindowClose, (void*)close_window);
    set_event(c, kWindowCancelClose, (void*)cancel_close);

    RuntimeObject* first = main_window(c);
    RuntimeObject* second = main_window(c);
    RuntimeMsgBox(first == second ? QV_STR("Same window") : QV_STR("Two windows"));
    RuntimeShowWindow(second);
    RuntimeUnlockObject(second);
    RuntimeUnlockObject(first);
    RuntimeRun();
    RuntimeExit();
}
