/*
 * The plug-in library the application carries: the controls BevelButton (a square button
 * that shows a picture, with Action on a click) and Separator (a thin horizontal line).
 * Everything it uses of the runtime is resolved by name in QuavPluginMain; drawing is GDI.
 */
#define QV_PLUGIN_LIBRARY
#include "sdk/quaver_plugin.h"

#include <stddef.h>
#include <windows.h>

/* The runtime's routines, resolved by name. */
#define QV_RUNTIME_ROUTINES(X)            \
    X(RuntimeLockObject)                  \
    X(RuntimeUnlockObject)                \
    X(RuntimeLockString)                  \
    X(RuntimeUnlockString)                \
    X(StringGetCString)                   \
    X(intGetter)                          \
    X(intSetter)                          \
    X(boolGetter)                         \
    X(boolSetter)                         \
    X(stringGetter)                       \
    X(objGetter)                          \
    X(ctlPosGetter)                       \
    X(pictureWidthGetter)                 \
    X(pictureHeightGetter)                \
    X(RuntimeGraphicsDrawPicture)         \
    X(PluginRegisterControl)              \
    X(PluginInstanceData)                 \
    X(PluginFireEvent)                    \
    X(PluginControlAddActionReceiver)     \
    X(PluginControlRemoveActionReceiver)  \
    X(PluginControlNotifyActionReceivers) \
    X(PluginControlRefresh)

#define QV_POINTER(name) __typeof__(&name) name;
static struct {
    QV_RUNTIME_ROUTINES(QV_POINTER)
} rt;

/* ---- BevelButton ---------------------------------------------------------------------- */

typedef struct BevelData {
    RuntimeString* caption;
    int32_t captionAlign;
    int32_t captionPlacement;
    int32_t captionDelta;
    RuntimeObject* icon;
    int32_t iconAlign;
    int32_t iconDX;
    int32_t iconDY;
    int32_t bevel;
    int32_t hasMenu;
    int32_t value;
    int32_t menuValue;
    int32_t buttonType;
    RuntimeString* textFont;
    int32_t textSize;
    uint8_t bold;
    uint8_t italic;
    uint8_t underline;
    uint8_t pressed; /* the mouse went down on the button and is over it */
    uint8_t tracking;
} BevelData;

static QvPluginControl bevel_button;

static BevelData* bevel(RuntimeObject* self)
{
    return (BevelData*)rt.PluginInstanceData(self, &bevel_button.classInfo);
}

static void* field(RuntimeObject* self, int32_t param) { return (char*)self + param; }

/* Setters store the value in the field their parameter names, then repaint. */
static void bevel_int_setter(RuntimeObject* self, int32_t param, int32_t value)
{
    if (!self)
        return;
    *(int32_t*)field(self, param) = value;
    rt.PluginControlRefresh(self);
}

static void bevel_string_setter(RuntimeObject* self, int32_t param, RuntimeString* value)
{
    if (!self)
        return;
    RuntimeString** slot = (RuntimeString**)field(self, param);
    rt.RuntimeLockString(value);
    rt.RuntimeUnlockString(*slot);
    *slot = value;
    rt.PluginControlRefresh(self);
}

static void bevel_object_setter(RuntimeObject* self, int32_t param, RuntimeObject* value)
{
    if (!self)
        return;
    RuntimeObject** slot = (RuntimeObject**)field(self, param);
    rt.RuntimeLockObject(value);
    rt.RuntimeUnlockObject(*slot);
    *slot = value;
    rt.PluginControlRefresh(self);
}

static void bevel_finalize(RuntimeObject* self)
{
    BevelData* d = bevel(self);
    if (!d)
        return;
    rt.RuntimeUnlockString(d->caption);
    rt.RuntimeUnlockString(d->textFont);
    rt.RuntimeUnlockObject(d->icon);
    d->caption = d->textFont = NULL;
    d->icon = NULL;
}

static void draw_caption(HDC dc, RECT* area, RuntimeString* caption)
{
    const char* utf8 = caption ? rt.StringGetCString(caption) : NULL;
    if (!utf8 || !*utf8)
        return;
    WCHAR wide[256];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    if (n <= 1)
        return;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, wide, n - 1, area, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    SelectObject(dc, old);
}

static void bevel_paint(RuntimeObject* self, void* device_context, RuntimeObject* graphics, int32_t width,
                        int32_t height)
{
    HDC dc = (HDC)device_context;
    BevelData* d = bevel(self);
    if (!d)
        return;
    RECT r = {0, 0, width, height};
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const int down = d->pressed || d->value;
    DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if (d->icon && graphics) {
        const int32_t w = rt.pictureWidthGetter(d->icon, 0);
        const int32_t h = rt.pictureHeightGetter(d->icon, 0);
        const int32_t x = (width - w) / 2 + d->iconDX + down;
        const int32_t y = (height - h) / 2 + d->iconDY + down;
        rt.RuntimeGraphicsDrawPicture(graphics, d->icon, x, y, -10000, -10000, -10000, -10000, -10000, -10000);
    }
    InflateRect(&r, -3, -3);
    draw_caption(dc, &r, d->caption);
}

static int inside(RuntimeObject* self, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < rt.ctlPosGetter(self, 2) && y < rt.ctlPosGetter(self, 3);
}

static int32_t bevel_mouse_down(RuntimeObject* self, int32_t x, int32_t y)
{
    BevelData* d = bevel(self);
    if (!d)
        return 0;
    (void)x;
    (void)y;
    d->tracking = 1;
    d->pressed = 1;
    rt.PluginControlRefresh(self);
    return 1;
}

static void bevel_mouse_drag(RuntimeObject* self, int32_t x, int32_t y)
{
    BevelData* d = bevel(self);
    if (!d || !d->tracking)
        return;
    const uint8_t over = (uint8_t)inside(self, x, y);
    if (over != d->pressed) {
        d->pressed = over;
        rt.PluginControlRefresh(self);
    }
}

static void bevel_mouse_up(RuntimeObject* self, int32_t x, int32_t y)
{
    BevelData* d = bevel(self);
    if (!d || !d->tracking)
        return;
    d->tracking = 0;
    d->pressed = 0;
    rt.PluginControlRefresh(self);
    if (!inside(self, x, y))
        return;
    /* The object may lose its last other count in the handler. */
    rt.RuntimeLockObject(self);
    rt.PluginFireEvent(self, &bevel_button.classInfo, 0);
    rt.PluginControlNotifyActionReceivers(self);
    rt.RuntimeUnlockObject(self);
}

static void bevel_mouse_exit(RuntimeObject* self)
{
    BevelData* d = bevel(self);
    if (d && d->pressed && !d->tracking) {
        d->pressed = 0;
        rt.PluginControlRefresh(self);
    }
}

#define BEVEL_FIELD(name) ((int32_t)offsetof(BevelData, name))

static QvPluginProperty bevel_properties[18];
static QvPluginMethod bevel_methods[2];
static const QvPluginEvent bevel_events[] = {{"Action()"}};

static void describe_bevel_button(void)
{
    const QvPluginProperty properties[] = {
        {"Caption", "String", (void*)rt.stringGetter, (void*)&bevel_string_setter, BEVEL_FIELD(caption)},
        {"CaptionAlign", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(captionAlign)},
        {"CaptionPlacement", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(captionPlacement)},
        {"CaptionDelta", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(captionDelta)},
        {"Icon", "Picture", (void*)rt.objGetter, (void*)&bevel_object_setter, BEVEL_FIELD(icon)},
        {"IconAlign", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(iconAlign)},
        {"IconDX", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(iconDX)},
        {"IconDY", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(iconDY)},
        {"Bevel", "Integer", (void*)rt.intGetter, (void*)rt.intSetter, BEVEL_FIELD(bevel)},
        {"HasMenu", "Integer", (void*)rt.intGetter, (void*)rt.intSetter, BEVEL_FIELD(hasMenu)},
        {"Value", "Boolean", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(value)},
        {"MenuValue", "Integer", (void*)rt.intGetter, (void*)&bevel_int_setter, BEVEL_FIELD(menuValue)},
        {"ButtonType", "Integer", (void*)rt.intGetter, (void*)rt.intSetter, BEVEL_FIELD(buttonType)},
        {"TextFont", "String", (void*)rt.stringGetter, (void*)&bevel_string_setter, BEVEL_FIELD(textFont)},
        {"TextSize", "Integer", (void*)rt.intGetter, (void*)rt.intSetter, BEVEL_FIELD(textSize)},
        {"Bold", "Boolean", (void*)rt.boolGetter, (void*)rt.boolSetter, BEVEL_FIELD(bold)},
        {"Italic", "Boolean", (void*)rt.boolGetter, (void*)rt.boolSetter, BEVEL_FIELD(italic)},
        {"Underline", "Boolean", (void*)rt.boolGetter, (void*)rt.boolSetter, BEVEL_FIELD(underline)},
    };
    for (size_t i = 0; i < sizeof properties / sizeof properties[0]; ++i)
        bevel_properties[i] = properties[i];
    bevel_methods[0] = (QvPluginMethod){"addActionNotificationReceiver(receiver As actionNotificationReceiver)",
                                        (void*)rt.PluginControlAddActionReceiver, QV_PLUGIN_NONE};
    bevel_methods[1] = (QvPluginMethod){"removeActionNotificationReceiver(receiver As actionNotificationReceiver)",
                                        (void*)rt.PluginControlRemoveActionReceiver, QV_PLUGIN_NONE};

    QvPluginClass* c = &bevel_button.classInfo;
    c->name = "BevelButton";
    c->dataSize = (int32_t)sizeof(BevelData);
    c->finalizer = &bevel_finalize;
    c->properties = bevel_properties;
    c->propertyCount = (int32_t)(sizeof bevel_properties / sizeof bevel_properties[0]);
    c->methods = bevel_methods;
    c->methodCount = 2;
    c->events = bevel_events;
    c->eventCount = 1;
    bevel_button.paint = &bevel_paint;
    bevel_button.mouseDown = &bevel_mouse_down;
    bevel_button.mouseDrag = &bevel_mouse_drag;
    bevel_button.mouseUp = &bevel_mouse_up;
    bevel_button.mouseExit = &bevel_mouse_exit;
}

/* ---- Separator ------------------------------------------------------------------------ */

static QvPluginControl separator;

/* An etched line across the middle: a shadow line with a highlight line under it. */
static void separator_paint(RuntimeObject* self, void* device_context, RuntimeObject* graphics, int32_t width,
                            int32_t height)
{
    (void)self;
    (void)graphics;
    HDC dc = (HDC)device_context;
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const int32_t y = height > 2 ? (height - 2) / 2 : 0;
    RECT shadow = {0, y, width, y + 1};
    RECT highlight = {0, y + 1, width, y + 2};
    FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
    FillRect(dc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

static void describe_separator(void)
{
    separator.classInfo.name = "Separator";
    separator.paint = &separator_paint;
}

/* ---- Entry ---------------------------------------------------------------------------- */

__declspec(dllexport) void QuavPluginMain(QvPluginResolver resolve)
{
    if (!resolve)
        return;
    int complete = 1;
#define QV_RESOLVE(name)                         \
    rt.name = (__typeof__(&name))resolve(#name); \
    complete = complete && rt.name != NULL;
    QV_RUNTIME_ROUTINES(QV_RESOLVE)
#undef QV_RESOLVE
    /* A runtime without these routines cannot host the controls. */
    if (!complete)
        return;
    describe_bevel_button();
    describe_separator();
    rt.PluginRegisterControl(&bevel_button);
    rt.PluginRegisterControl(&separator);
}
