// Control and RectControl: the property, method and event tables image code compiles against,
// and what creating and destroying a control object does.
#include "ui/controls/control_classes.h"

#include <utility>

#include "core/once.h"
#include "framework/menu_handler_registry.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/canvas_control.h"
#include "ui/controls/control_object.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_object.h"

namespace qv::ui {
namespace {

#define QV_NO_ACCESSOR nullptr, nullptr

constexpr TypeDescriptor kWindowType = object_type("Window");
constexpr TypeDescriptor kMouseCursorType = object_type("MouseCursor");
constexpr TypeDescriptor kRectControlType = object_type("RectControl");
constexpr TypeDescriptor kDragItemType = object_type("DragItem");
constexpr TypeDescriptor kMenuHandlerType = object_type("_MenuHandler");
constexpr TypeDescriptor kGraphicsType = object_type("Graphics");

// Property record flags of the image's class tables.
constexpr u32 kFlagsHiddenAttribute = 128;
constexpr u32 kFlagsTabPanel = 65;
constexpr u32 kFlagsReadOnlyRuntime = 1;
constexpr u32 kFlagsSetOnly = 64;

// clang-format off
const PropertyRecord kControlProperties[] = {
    {kFlagsHiddenAttribute, "Name", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(stringSetter),
     offsetof(ControlObject, name), 0},
    {kFlagsHiddenAttribute, "Index", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(intSetter),
     offsetof(ControlObject, index), 0},
    {kFlagsTabPanel, "TabPanelIndex", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(ControlTabPanelIndexSetter),
     offsetof(ControlObject, tabPanelIndex), 0},
    {kFlagsReadOnlyRuntime, "MouseX", &kIntegerType, QV_ROUTINE(controlMouseXGetter), QV_NO_ACCESSOR, 0, 0},
    {kFlagsReadOnlyRuntime, "MouseY", &kIntegerType, QV_ROUTINE(controlMouseYGetter), QV_NO_ACCESSOR, 0, 0},
    {kFlagsReadOnlyRuntime, "Window", &kWindowType, QV_ROUTINE(controlWindowGetter), QV_NO_ACCESSOR, 0, 0},
    {kFlagsReadOnlyRuntime, "Handle", &kIntegerType, QV_ROUTINE(controlMacControlHandleGetter), QV_NO_ACCESSOR, 0, 0},
};

const PropertyRecord kRectControlProperties[] = {
    {0, "HelpTag", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(controlHelpTagSetter),
     offsetof(ControlObject, helpTag), 0},
    {0, "BalloonHelp", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(controlBalloonHelpSetter),
     offsetof(ControlObject, balloonHelp), 0},
    {0, "DisabledBalloonHelp", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(controlDisabledBalloonHelpSetter),
     offsetof(ControlObject, disabledBalloonHelp), 0},
    {kFlagsReadOnlyRuntime, "MouseCursor", &kMouseCursorType, QV_ROUTINE(objGetter),
     QV_ROUTINE(controlMouseCursorSetter), offsetof(ControlObject, mouseCursor), 0},
    {0, "Visible", &kBooleanType, QV_ROUTINE(controlVisibleGetter), QV_ROUTINE(ControlVisibleSetter), 0, 0},
    {0, "Left", &kIntegerType, QV_ROUTINE(ctlPosGetter), QV_ROUTINE(ctlPosSetter), 0, 0},
    {0, "Top", &kIntegerType, QV_ROUTINE(ctlPosGetter), QV_ROUTINE(ctlPosSetter), 1, 0},
    {0, "Width", &kIntegerType, QV_ROUTINE(ctlPosGetter), QV_ROUTINE(ctlPosSetter), 2, 0},
    {0, "Height", &kIntegerType, QV_ROUTINE(ctlPosGetter), QV_ROUTINE(ctlPosSetter), 3, 0},
    {0, "Enabled", &kBooleanType, QV_ROUTINE(controlEnabledGetter), QV_ROUTINE(controlEnabledSetter), 0, 0},
    {0, "Active", &kBooleanType, QV_ROUTINE(controlActiveGetter), QV_NO_ACCESSOR, 0, 0},
    {0, "AutoDeactivate", &kBooleanType, QV_ROUTINE(controlAutoDeactivateGetter),
     QV_ROUTINE(controlAutoDeactivateSetter), 0, 0},
    {0, "LockLeft", &kBooleanType, QV_ROUTINE(controlLockLeftGetter), QV_ROUTINE(controlLockLeftSetter), 0, 0},
    {0, "LockTop", &kBooleanType, QV_ROUTINE(controlLockTopGetter), QV_ROUTINE(controlLockTopSetter), 0, 0},
    {0, "LockRight", &kBooleanType, QV_ROUTINE(controlLockRightGetter), QV_ROUTINE(controlLockRightSetter), 0, 0},
    {0, "LockBottom", &kBooleanType, QV_ROUTINE(controlLockBottomGetter), QV_ROUTINE(controlLockBottomSetter), 0, 0},
    {kFlagsReadOnlyRuntime, "Parent", &kRectControlType, QV_ROUTINE(ControlParentGetter),
     QV_ROUTINE(ControlParentSetter), 0, 0},
    {kFlagsSetOnly, "InitialParent", &kStringType, QV_NO_ACCESSOR, QV_ROUTINE(ControlInitialParentSetter), 0, 0},
};

const ParameterRecord kRectParameters[] = {
    {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}, {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0}};
const ParameterRecord kTypeParameter[] = {{"type", &kStringType, 0}};
const ParameterRecord kMenuHandlerParameters[] = {{"name", &kStringType, 0}, {"handler", &kMenuHandlerType, 0}};

const MethodRecord kControlMethods[] = {
    {"Close", nullptr, nullptr, 0, QV_ROUTINE(ControlClose), nullptr, nullptr, 0},
};

const MethodRecord kRectControlMethods[] = {
    {"Refresh", nullptr, nullptr, 0, QV_ROUTINE(RuntimeControlRefresh), nullptr, nullptr, 0},
    {"RefreshRect", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeControlRefreshRect), nullptr, nullptr, 0},
    {"SetFocus", nullptr, nullptr, 0, QV_ROUTINE(RuntimeSetFocus), nullptr, nullptr, 0},
    {"AcceptTextDrop", nullptr, nullptr, 0, QV_ROUTINE(controlAcceptTextDrop), nullptr, nullptr, 0},
    {"AcceptPictureDrop", nullptr, nullptr, 0, QV_ROUTINE(controlAcceptPictureDrop), nullptr, nullptr, 0},
    {"AcceptFileDrop", nullptr, kTypeParameter, 1, QV_ROUTINE(controlAcceptFileDrop), nullptr, nullptr, 0},
    {"AcceptMacDataDrop", nullptr, kTypeParameter, 1, QV_ROUTINE(controlAcceptMacDataDrop), nullptr, nullptr, 0},
    {"NewDragItem", &kDragItemType, kRectParameters, 4, QV_ROUTINE(controlNewDragItem), nullptr, nullptr, 0},
    {"_AddMenuHandler", nullptr, kMenuHandlerParameters, 2, QV_ROUTINE(ControlAddMenuHandler), nullptr, nullptr, 0},
    {"RectControl", nullptr, nullptr, 0, QV_ROUTINE(RectControlDefaultConstructor), nullptr, nullptr, 0},
};

const ParameterRecord kPointParameters[] = {{"X", &kIntegerType, 0}, {"Y", &kIntegerType, 0}};
const ParameterRecord kDropParameters[] = {{"obj", &kDragItemType, 0}};
const ParameterRecord kPaintParameters[] = {{"g", &kGraphicsType, 0}};

const EventRecord kControlEvents[] = {
    {"CreatePane", nullptr, nullptr, 0},
    {"Open", nullptr, nullptr, 0},
    {"Close", nullptr, nullptr, 0},
};

const EventRecord kRectControlEvents[] = {
    {"MouseMove", nullptr, kPointParameters, 2},
    {"MouseEnter", nullptr, nullptr, 0},
    {"MouseExit", nullptr, nullptr, 0},
    {"DropObject", nullptr, kDropParameters, 1},
};

const EventRecord kCanvasEvents[] = {
    {"Paint", nullptr, kPaintParameters, 1},
    {"MouseDown", "Boolean", kPointParameters, 2},
    {"MouseDrag", nullptr, kPointParameters, 2},
    {"MouseUp", nullptr, kPointParameters, 2},
};

const EventImplementationRecord kCanvasImplementations[] = {
    {"CreatePane", reinterpret_cast<void*>(&create_canvas_pane)}};
// clang-format on

const ClassTables kTables[] = {{kControlProperties, kControlMethods}, {kRectControlProperties, kRectControlMethods}};

void initialize_control(RuntimeObject* object)
{
    ControlObject* c = control_fields(object);
    c->index = kNoArrayIndex;
    c->visible = 1;
    c->enabled = 1;
    c->autoDeactivate = 1;
}

// Destroyed: nothing in the window may point at it any longer, and what it holds is let go.
void finalize_control(RuntimeObject* object)
{
    ControlObject* c = control_fields(object);
    forget_linked_control(object);
    if (SubPane* pane = std::exchange(c->paneInstance, nullptr)) {
        pane->Unlink();
        delete pane;
    }
    // The record's counted fields give their counts back.
    StringRef::adopt(std::exchange(c->name, nullptr));
    StringRef::adopt(std::exchange(c->balloonHelp, nullptr));
    StringRef::adopt(std::exchange(c->disabledBalloonHelp, nullptr));
    StringRef::adopt(std::exchange(c->helpTag, nullptr));
    ObjectRef::adopt(std::exchange(c->mouseCursor, nullptr));
    ObjectRef::adopt(std::exchange(c->initialParent, nullptr));
    delete std::exchange(c->mMenuHandlers, nullptr);
    c->windowRootPeer = nullptr;
    c->m_view = nullptr;
    c->linkedControl = nullptr;
}

ObjectDefinition s_control;
ObjectDefinition s_rect_control;
ObjectDefinition s_canvas;

void build_definitions()
{
    DefinitionSource control{};
    control.name = "Control";
    control.instance_size = sizeof(ControlObject);
    control.properties = kControlProperties;
    control.methods = kControlMethods;
    control.events = kControlEvents;
    control.initializer = &initialize_control;
    control.finalizer = &finalize_control;
    build_definition(s_control, control);

    DefinitionSource rect{};
    rect.name = "RectControl";
    rect.super_definition = &s_control;
    rect.instance_size = sizeof(ControlObject);
    rect.properties = kRectControlProperties;
    rect.methods = kRectControlMethods;
    rect.events = kRectControlEvents;
    build_definition(s_rect_control, rect);

    DefinitionSource canvas{};
    canvas.name = "Canvas";
    canvas.super_definition = &s_rect_control;
    canvas.instance_size = sizeof(ControlObject);
    canvas.events = kCanvasEvents;
    canvas.event_implementations = kCanvasImplementations;
    build_definition(s_canvas, canvas);
}

void ensure_built()
{
    static Once s_once;
    s_once([&] { build_definitions(); });
}

}  // namespace

ClassTableList control_class_tables() { return kTables; }

ClassRecord* control_class()
{
    ensure_built();
    return ClassFromDefinition(&s_control);
}

ClassRecord* rect_control_class()
{
    ensure_built();
    return ClassFromDefinition(&s_rect_control);
}

ObjectDefinition* rect_control_definition()
{
    ensure_built();
    return &s_rect_control;
}

ClassRecord* canvas_class()
{
    ensure_built();
    return ClassFromDefinition(&s_canvas);
}

void register_control_classes()
{
    ensure_built();
    static Once s_once;
    s_once([&] {
        RegisterDefinition(&s_control);
        RegisterDefinition(&s_rect_control);
        RegisterDefinition(&s_canvas);
    });
}

}  // namespace qv::ui
