// The built-in Window class: its properties, methods and events in table order, the class
// constructor RuntimeCreateWindow as its initializer (so it runs inside RuntimeNewObject,
// before the image's own constructor) and the finalizer that lets go of what it holds.
#include "core/once.h"
#include "framework/menu_handler_registry.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/control_registry.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

// The control side's lookups by name, which Window's Control methods name, and its generic
// accessors of 16-bit fields.
extern "C" RuntimeObject* RuntimeControlReference(RuntimeObject* window, RuntimeString* name);
extern "C" RuntimeObject* RuntimeControlArrayItemReference(RuntimeObject* window, RuntimeString* name, int32_t index);
extern "C" int32_t shortGetter(RuntimeObject* object, int32_t param);
extern "C" void shortSetter(RuntimeObject* object, int32_t param, int32_t value);

namespace qv::ui {
namespace {

#define QV_NO_SETTER nullptr, nullptr

constexpr TypeDescriptor kPictureType = object_type("Picture");
constexpr TypeDescriptor kGraphicsType = object_type("Graphics");
constexpr TypeDescriptor kMouseCursorType = object_type("MouseCursor");
constexpr TypeDescriptor kDockItemType = object_type("DockItem");
constexpr TypeDescriptor kMenuBarType = object_type("MenuBar");
constexpr TypeDescriptor kWindowType = object_type("Window");
constexpr TypeDescriptor kDragItemType = object_type("DragItem");
constexpr TypeDescriptor kRectControlType = object_type("RectControl");
constexpr TypeDescriptor kControlType = object_type("Control");
constexpr TypeDescriptor kMenuHandlerType = object_type("_MenuHandler");

// clang-format off
const PropertyRecord kProperties[] = {
    {0, "Visible", &kBooleanType, QV_ROUTINE(WindowVisibleGetter), QV_ROUTINE(WindowVisibleSetter), 0, 0},
    {0, "Left", &kIntegerType, QV_ROUTINE(windowPosGetter), QV_ROUTINE(windowPosSetter), 0, 0},
    {0, "Top", &kIntegerType, QV_ROUTINE(windowPosGetter), QV_ROUTINE(windowPosSetter), 1, 0},
    {0, "Width", &kIntegerType, QV_ROUTINE(windowPosGetter), QV_ROUTINE(windowPosSetter), 2, 0},
    {0, "Height", &kIntegerType, QV_ROUTINE(windowPosGetter), QV_ROUTINE(windowPosSetter), 3, 0},
    {0, "Placement", &kIntegerType, QV_ROUTINE(windowPlacementGetter), QV_ROUTINE(windowPlacementSetter), 0, 0},
    {0, "Title", &kStringType, QV_ROUTINE(windowTitleGetter), QV_ROUTINE(windowTitleSetter), 0, 0},
    {0, "FullScreen", &kBooleanType, QV_ROUTINE(windowFullScreenGetter), QV_ROUTINE(windowFullScreenSetter), 0, 0},
    {0, "MenuBarVisible", &kBooleanType, QV_ROUTINE(windowMenusVisibleGetter), QV_ROUTINE(windowMenusVisibleSetter),
     0, 0},
    {0, "CloseBox", &kBooleanType, QV_ROUTINE(windowCloseBoxGetter), QV_ROUTINE(windowCloseBoxSetter), 0, 0},
    {0, "GrowIcon", &kBooleanType, QV_ROUTINE(windowGrowIconGetter), QV_ROUTINE(windowGrowIconSetter), 0, 0},
    {0, "ZoomIcon", &kBooleanType, QV_ROUTINE(windowZoomIconGetter), QV_ROUTINE(windowZoomIconSetter), 0, 0},
    {0, "Frame", &kIntegerType, QV_ROUTINE(windowFrameGetter), QV_ROUTINE(windowFrameSetter), 0, 0},
    {2, "Composite", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(WindowObject, composite), 0},
    {0, "LiveResize", &kBooleanType, QV_ROUTINE(windowLiveResizeGetter), QV_ROUTINE(windowLiveResizeSetter), 0, 0},
    {0, "Backdrop", &kPictureType, QV_ROUTINE(windowBackdropGetter), QV_ROUTINE(windowBackdropSetter), 0, 0},
    {0, "Graphics", &kGraphicsType, QV_ROUTINE(windowGraphicsGetter), QV_NO_SETTER, 0, 0},
    {0, "HasBackColor", &kBooleanType, QV_ROUTINE(windowHasBackColorGetter), QV_ROUTINE(windowHasBackColorSetter),
     0, 0},
    {0, "BackColor", &kColorType, QV_ROUTINE(windowBackColorGetter), QV_ROUTINE(windowBackColorSetter), 0, 0},
    {0, "BalloonHelp", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(windowBalloonHelpSetter),
     offsetof(WindowObject, balloonHelp), 0},
    {0, "MinWidth", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(shortSetter),
     offsetof(WindowObject, minWidth), 0},
    {0, "MinHeight", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(shortSetter),
     offsetof(WindowObject, minHeight), 0},
    {0, "MaxWidth", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(shortSetter),
     offsetof(WindowObject, maxWidth), 0},
    {0, "MaxHeight", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(shortSetter),
     offsetof(WindowObject, maxHeight), 0},
    {0, "MacProcId", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(intSetter),
     offsetof(WindowObject, macProcId), 0},
    {0, "MouseCursor", &kMouseCursorType, QV_ROUTINE(objGetter), QV_ROUTINE(formMouseCursorSetter),
     offsetof(WindowObject, mouseCursor), 0},
    {0, "ControlCount", &kIntegerType, QV_ROUTINE(windowControlCountGetter), QV_NO_SETTER, 0, 0},
    {0, "FloaterProcess", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(stringSetter),
     offsetof(WindowObject, floaterProcess), 0},
    {0, "MouseX", &kIntegerType, QV_ROUTINE(windowMouseXGetter), QV_NO_SETTER, 0, 0},
    {0, "MouseY", &kIntegerType, QV_ROUTINE(windowMouseYGetter), QV_NO_SETTER, 0, 0},
    {0, "MacWindowPtr", &kIntegerType, QV_ROUTINE(windowWindowPtrGetter), QV_NO_SETTER, 0, 0},
    {0, "WinHWND", &kIntegerType, QV_ROUTINE(windowHWNDGetter), QV_NO_SETTER, 0, 0},
    {1, "DockItem", &kDockItemType, QV_ROUTINE(WindowDockItemGetter), QV_NO_SETTER, 0, 0},
    {0, "MenuBar", &kMenuBarType, QV_ROUTINE(WindowMenuBarGetter), QV_ROUTINE(WindowMenuBarSetter), 0, 0},
};

const ParameterRecord kShowWithin[] = {{"parent", &kWindowType, 0}, {"value", &kIntegerType, 0}};
const ParameterRecord kParent[] = {{"parent", &kWindowType, 0}};
const ParameterRecord kRect[] = {
    {"left", &kIntegerType, 0}, {"top", &kIntegerType, 0}, {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0}};
const ParameterRecord kFileType[] = {{"fileType", &kStringType, 0}};
const ParameterRecord kDataType[] = {{"dataType", &kStringType, 0}};
const ParameterRecord kIndex[] = {{"index", &kIntegerType, 0}};
const ParameterRecord kName[] = {{"name", &kStringType, 0}};
const ParameterRecord kNameIndex[] = {{"name", &kStringType, 0}, {"index", &kIntegerType, 0}};
const ParameterRecord kDrawInto[] = {{"g", &kGraphicsType, 0}, {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}};
const ParameterRecord kControl[] = {{"control", &kControlType, 0}};
const ParameterRecord kMenuHandler[] = {{"name", &kStringType, 0}, {"handler", &kMenuHandlerType, 0}};

const MethodRecord kMethods[] = {
    {"Show", nullptr, nullptr, 0, QV_ROUTINE(RuntimeShowWindow), nullptr, nullptr, 0},
    {"ShowWithin", nullptr, kShowWithin, 2, QV_ROUTINE(RuntimeShowWithinWindow), nullptr, nullptr, 0},
    {"ShowModalWithin", nullptr, kParent, 1, QV_ROUTINE(RuntimeShowModalWithinWindow), nullptr, nullptr, 0},
    {"Hide", nullptr, nullptr, 0, QV_ROUTINE(RuntimeHideWindow), nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0, QV_ROUTINE(RuntimeCloseWindow), nullptr, nullptr, 0},
    {"Refresh", nullptr, nullptr, 0, QV_ROUTINE(formRefresh), nullptr, nullptr, 0},
    {"RefreshRect", nullptr, kRect, 4, QV_ROUTINE(formRefreshRect), nullptr, nullptr, 0},
    {"ShowModal", nullptr, nullptr, 0, QV_ROUTINE(RuntimeShowModal), nullptr, nullptr, 0},
    {"NewDragItem", &kDragItemType, kRect, 4, QV_ROUTINE(formNewDragItem), nullptr, nullptr, 0},
    {"AcceptTextDrop", nullptr, nullptr, 0, QV_ROUTINE(formAcceptTextDrop), nullptr, nullptr, 0},
    {"AcceptPictureDrop", nullptr, nullptr, 0, QV_ROUTINE(formAcceptPictureDrop), nullptr, nullptr, 0},
    {"AcceptFileDrop", nullptr, kFileType, 1, QV_ROUTINE(formAcceptFileDrop), nullptr, nullptr, 0},
    {"AcceptMacDataDrop", nullptr, kDataType, 1, QV_ROUTINE(formAcceptMacDataDrop), nullptr, nullptr, 0},
    {"Control", &kRectControlType, kIndex, 1, QV_ROUTINE(windowControl), nullptr, nullptr, 0},
    {"Control", &kRectControlType, kName, 1, QV_ROUTINE(RuntimeControlReference), nullptr, nullptr, 0},
    {"Control", &kRectControlType, kNameIndex, 2, QV_ROUTINE(RuntimeControlArrayItemReference), nullptr, nullptr, 0},
    {"SetFocus", nullptr, nullptr, 0, QV_ROUTINE(formSetFocus), nullptr, nullptr, 0},
    {"DrawInto", nullptr, kDrawInto, 3, QV_ROUTINE(formDrawInto), nullptr, nullptr, 0},
    {"UpdateNow", nullptr, nullptr, 0, QV_ROUTINE(WindowForceUpdateFrontBuffer), nullptr, nullptr, 0},
    {"_AddControl", nullptr, kControl, 1, QV_ROUTINE(WindowAddControl), nullptr, nullptr, 0},
    {"_AddMenuHandler", nullptr, kMenuHandler, 2, QV_ROUTINE(WindowAddMenuHandler), nullptr, nullptr, 0},
    {"Window", nullptr, nullptr, 0, QV_ROUTINE(WindowDefaultConstructor), nullptr, nullptr, 0},
};

const ParameterRecord kKey[] = {{"Key", &kStringType, 0}};
const ParameterRecord kPoint[] = {{"X", &kIntegerType, 0}, {"Y", &kIntegerType, 0}};
const ParameterRecord kGraphics[] = {{"g", &kGraphicsType, 0}};
const ParameterRecord kDrop[] = {{"obj", &kDragItemType, 0}};

// In event-index order (WindowEvent); the first three are the image's compiled window code.
const EventRecord kEvents[] = {
    {"Layout", nullptr, nullptr, 0},
    {"CreateControls", nullptr, nullptr, 0},
    {"SetupBindings", nullptr, nullptr, 0},
    {"Open", nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0},
    {"CancelClose", "Boolean", nullptr, 0},
    {"KeyDown", "Boolean", kKey, 1},
    {"MouseMove", nullptr, kPoint, 2},
    {"MouseEnter", nullptr, nullptr, 0},
    {"MouseExit", nullptr, nullptr, 0},
    {"Paint", nullptr, kGraphics, 1},
    {"MouseDown", "Boolean", kPoint, 2},
    {"MouseDrag", nullptr, kPoint, 2},
    {"MouseUp", nullptr, kPoint, 2},
    {"EnableMenuItems", nullptr, nullptr, 0},
    {"Resized", nullptr, nullptr, 0},
    {"Resizing", nullptr, nullptr, 0},
    {"Moved", nullptr, nullptr, 0},
    {"DropObject", nullptr, kDrop, 1},
    {"Activate", nullptr, nullptr, 0},
    {"Deactivate", nullptr, nullptr, 0},
};
// clang-format on
static_assert(sizeof(kEvents) / sizeof(kEvents[0]) == kWindowDeactivate + 1);

const ClassTables kTables[] = {{kProperties, kMethods}};

ObjectDefinition s_window;

void finalize_window(RuntimeObject* object)
{
    WindowObject* w = window_fields(object);
    // A window still open holds a count on itself through its native window, so this one has
    // none: what is left are the stored values.
    delete std::exchange(w->controls, nullptr);
    delete std::exchange(w->mMenuHandlers, nullptr);
    StringRef::adopt(std::exchange(w->title, nullptr));
    StringRef::adopt(std::exchange(w->balloonHelp, nullptr));
    StringRef::adopt(std::exchange(w->floaterProcess, nullptr));
    ObjectRef::adopt(std::exchange(w->backdrop, nullptr));
    ObjectRef::adopt(std::exchange(w->mouseCursor, nullptr));
    ObjectRef::adopt(std::exchange(w->menuBar, nullptr));
}

}  // namespace

ClassTableList window_class_tables() { return kTables; }

void register_window_class_definition()
{
    static Once s_once;
    s_once([] {
        DefinitionSource source{};
        source.name = "Window";
        source.instance_size = sizeof(WindowObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.events = kEvents;
        source.initializer = &RuntimeCreateWindow;
        source.finalizer = &finalize_window;
        build_definition(s_window, source);
        RegisterDefinition(&s_window);
    });
}

ObjectDefinition* window_definition() { return &s_window; }

}  // namespace qv::ui
