// The simple controls' tables and their CreatePane: each builds its peer inside the initial
// parent's peer (or the window's) and hands it what it stores.
#include "ui/controls/buttons/button_classes.h"
#include "core/once.h"
#include "ui/controls/control_text.h"

#include <utility>

#include "framework/application/event_firing.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/strings/string_ref.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/buttons/button_pane.h"
#include "ui/controls/buttons/static_text_pane.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {

FontDescription font_description(RuntimeObject* self, const FontRecordLayout& layout);

namespace {

ButtonPane* make_button(RuntimeObject* self, ButtonKind kind, RuntimeString* caption, const FontRecordLayout& font)
{
    ControlObject* c = control_fields(self);
    if (c->paneInstance)
        return nullptr;
    HWND parent = static_cast<HWND>(peer_parent_window(self));
    if (!parent)
        return nullptr;
    ButtonPane* pane = ButtonPane::Create(self, kind, parent, utf8_of(caption));
    if (!pane)
        return nullptr;
    pane->SetFont(font_description(self, font));
    c->paneInstance = pane;
    return pane;
}

void create_push_button(RuntimeObject* self)
{
    auto* b = object_as<PushButtonObject>(self);
    ButtonPane* pane = make_button(self, ButtonKind::Push, b->caption, kPushButtonFont);
    if (!pane)
        return;
    b->eventRelay = pane;
    pane->RegisterMnemonic(utf8_of(b->caption));
    if (b->isDefault)
        pane->SetDefaultLook(true);
}

void create_check_box(RuntimeObject* self)
{
    auto* b = object_as<CheckBoxObject>(self);
    ButtonPane* pane = make_button(self, ButtonKind::Check, b->caption, kCheckBoxFont);
    if (!pane)
        return;
    b->eventRelay = pane;
    pane->SetCheck(b->value != 0);
    pane->RegisterMnemonic(utf8_of(b->caption));
}

void create_radio_button(RuntimeObject* self)
{
    auto* b = object_as<RadioButtonObject>(self);
    ButtonPane* pane = make_button(self, ButtonKind::Radio, b->caption, kRadioButtonFont);
    if (!pane)
        return;
    b->eventRelay = pane;
    pane->SetCheck(b->value != 0);
}

void create_group_box(RuntimeObject* self)
{
    make_button(self, ButtonKind::Group, object_as<GroupBoxObject>(self)->caption, kGroupBoxFont);
}

void create_static_text(RuntimeObject* self)
{
    auto* t = object_as<StaticTextObject>(self);
    if (t->control.paneInstance)
        return;
    HWND parent = static_cast<HWND>(peer_parent_window(self));
    StaticTextPane* pane = parent ? StaticTextPane::Create(self, parent) : nullptr;
    if (!pane)
        return;
    const std::string text = utf8_of(t->text);
    pane->SetText(platform::win32::widen_u16(text));
    pane->RegisterMnemonic(text);
    pane->SetFont(font_description(self, kStaticTextFont));
    t->control.paneInstance = pane;
}

void release(RuntimeString*& s) { StringRef::adopt(std::exchange(s, nullptr)); }

void drop_receivers(ControlReceivers*& receivers)
{
    if (ControlReceivers* r = std::exchange(receivers, nullptr)) {
        clear_control_receivers(*r);
        delete r;
    }
}

void finalize_push_button(RuntimeObject* object)
{
    auto* b = object_as<PushButtonObject>(object);
    drop_receivers(b->receivers);
    release(b->caption);
    release(b->textFont);
    b->eventRelay = nullptr;
}

void finalize_check_box(RuntimeObject* object)
{
    auto* b = object_as<CheckBoxObject>(object);
    drop_receivers(b->receivers);
    release(b->caption);
    release(b->textFont);
    release(b->dataSource);
    release(b->dataField);
    b->eventRelay = nullptr;
}

void finalize_radio_button(RuntimeObject* object)
{
    auto* b = object_as<RadioButtonObject>(object);
    drop_receivers(b->receivers);
    release(b->caption);
    release(b->textFont);
    b->eventRelay = nullptr;
}

void finalize_static_text(RuntimeObject* object)
{
    auto* t = object_as<StaticTextObject>(object);
    release(t->text);
    release(t->textFont);
    release(t->dataSource);
    release(t->dataField);
}

void finalize_group_box(RuntimeObject* object)
{
    auto* g = object_as<GroupBoxObject>(object);
    release(g->caption);
    release(g->textFont);
}

// clang-format off
const PropertyRecord kPushButtonProperties[] = {
    {0, "Caption", &kStringType, QV_ROUTINE(pushButtonTitleGetter), QV_ROUTINE(pushButtonTitleSetter), 0, 0},
    {0, "Default", &kBooleanType, QV_ROUTINE(pushButtonDefaultGetter), QV_ROUTINE(pushButtonDefaultSetter), 0, 0},
    {0, "Cancel", &kBooleanType, QV_ROUTINE(pushButtonCancelGetter), QV_ROUTINE(pushButtonCancelSetter), 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(pushButtonTextFontGetter), QV_ROUTINE(pushButtonTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(pushButtonTextSizeGetter), QV_ROUTINE(pushButtonTextSizeSetter), 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(pushButtonBoldGetter), QV_ROUTINE(pushButtonBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(pushButtonItalicGetter), QV_ROUTINE(pushButtonItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(pushButtonUnderlineGetter), QV_ROUTINE(pushButtonUnderlineSetter), 0, 0},
};

const PropertyRecord kCheckBoxProperties[] = {
    {0, "Caption", &kStringType, QV_ROUTINE(checkBoxTitleGetter), QV_ROUTINE(checkBoxTitleSetter), 0, 0},
    {0, "Value", &kBooleanType, QV_ROUTINE(checkBoxValueGetter), QV_ROUTINE(checkBoxValueSetter), 0, 0},
    {0, "State", &kBooleanType, QV_ROUTINE(checkBoxValueGetter), QV_ROUTINE(checkBoxValueSetter), 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(checkBoxTextFontGetter), QV_ROUTINE(checkBoxTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(checkBoxTextSizeGetter), QV_ROUTINE(checkBoxTextSizeSetter), 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(checkBoxBoldGetter), QV_ROUTINE(checkBoxBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(checkBoxItalicGetter), QV_ROUTINE(checkBoxItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(checkBoxUnderlineGetter), QV_ROUTINE(checkBoxUnderlineSetter), 0, 0},
    {0, "DataSource", &kStringType, QV_ROUTINE(CheckBoxDataSourceGetter), QV_ROUTINE(CheckBoxDataSourceSetter), 0, 0},
    {0, "DataField", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(CheckBoxDataFieldSetter),
     offsetof(CheckBoxObject, dataField), 0},
};

const PropertyRecord kRadioButtonProperties[] = {
    {0, "Caption", &kStringType, QV_ROUTINE(radioTitleGetter), QV_ROUTINE(radioTitleSetter), 0, 0},
    {0, "Value", &kBooleanType, QV_ROUTINE(radioValueGetter), QV_ROUTINE(radioValueSetter), 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(radioTextFontGetter), QV_ROUTINE(radioTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(radioTextSizeGetter), QV_ROUTINE(radioTextSizeSetter), 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(radioBoldGetter), QV_ROUTINE(radioBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(radioItalicGetter), QV_ROUTINE(radioItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(radioUnderlineGetter), QV_ROUTINE(radioUnderlineSetter), 0, 0},
};

const PropertyRecord kStaticTextProperties[] = {
    {0, "Text", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(staticCaptionSetter),
     offsetof(StaticTextObject, text), 0},
    {0, "Caption", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(staticCaptionSetter),
     offsetof(StaticTextObject, text), 0},
    {0, "TextAlign", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(staticTextAlignSetter),
     offsetof(StaticTextObject, textAlign), 0},
    {0, "TextColor", &kColorType, QV_ROUTINE(intGetter), QV_ROUTINE(staticTextColorSetter),
     offsetof(StaticTextObject, textColor), 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(staticTextFontSetter),
     offsetof(StaticTextObject, textFont), 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(shortGetter), QV_ROUTINE(staticTextSizeSetter),
     offsetof(StaticTextObject, textSize), 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(staticAttributeSetter),
     offsetof(StaticTextObject, bold), 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(staticAttributeSetter),
     offsetof(StaticTextObject, italic), 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(staticAttributeSetter),
     offsetof(StaticTextObject, underline), 0},
    {0, "MultiLine", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(StaticTextObject, multiLine), 0},
    {0, "DataSource", &kStringType, QV_ROUTINE(StaticTextDataSourceGetter), QV_ROUTINE(StaticTextDataSourceSetter),
     0, 0},
    {0, "DataField", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(StaticTextDataFieldSetter),
     offsetof(StaticTextObject, dataField), 0},
};

const PropertyRecord kGroupBoxProperties[] = {
    {0, "Caption", &kStringType, QV_ROUTINE(groupCaptionGetter), QV_ROUTINE(groupCaptionSetter), 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(groupTextFontGetter), QV_ROUTINE(groupTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(groupTextSizeGetter), QV_ROUTINE(groupTextSizeSetter), 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(groupBoldGetter), QV_ROUTINE(groupBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(groupItalicGetter), QV_ROUTINE(groupItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(groupUnderlineGetter), QV_ROUTINE(groupUnderlineSetter), 0, 0},
};

constexpr TypeDescriptor kReceiverType = object_type("actionNotificationReceiver");
constexpr TypeDescriptor kDataReceiverType = object_type("dataNotificationReceiver");
constexpr TypeDescriptor kObjectType = object_type("Object");
const ParameterRecord kReceiver[] = {{"receiver", &kReceiverType, 0}};
const ParameterRecord kDataReceiver[] = {{"receiver", &kDataReceiverType, 0}};
const ParameterRecord kBoolean[] = {{"value", &kBooleanType, 0}};
const ParameterRecord kPartName[] = {{"name", &kStringType, 0}};

const MethodRecord kPushButtonMethods[] = {
    {"addActionNotificationReceiver", nullptr, kReceiver, 1, QV_ROUTINE(pbAddActionNotificationReceiver), nullptr,
     nullptr, 0},
    {"removeActionNotificationReceiver", nullptr, kReceiver, 1, QV_ROUTINE(pbRemoveActionNotificationReceiver),
     nullptr, nullptr, 0},
    {"Push", nullptr, nullptr, 0, QV_ROUTINE(pushButtonPush), nullptr, nullptr, 0},
};

const MethodRecord kCheckBoxMethods[] = {
    {"getBoolean", &kBooleanType, nullptr, 0, QV_ROUTINE(checkBoxGetBoolean), nullptr, nullptr, 0},
    {"setBoolean", nullptr, kBoolean, 1, QV_ROUTINE(checkBoxSetBoolean), nullptr, nullptr, 0},
    {"addDataNotificationReceiver", nullptr, kDataReceiver, 1, QV_ROUTINE(checkBoxAddDataNotificationReceiver),
     nullptr, nullptr, 0},
    {"removeDataNotificationReceiver", nullptr, kDataReceiver, 1, QV_ROUTINE(checkBoxRemoveDataNotificationReceiver),
     nullptr, nullptr, 0},
    {"getBoundPart", &kObjectType, kPartName, 1, QV_ROUTINE(checkBoxGetBoundPart), nullptr, nullptr, 0},
};

const MethodRecord kRadioButtonMethods[] = {
    {"getBoundPart", &kObjectType, kPartName, 1, QV_ROUTINE(radioGetBoundPart), nullptr, nullptr, 0},
};

const ParameterRecord kPoint[] = {{"X", &kIntegerType, 0}, {"Y", &kIntegerType, 0}};

const EventRecord kButtonEvents[] = {
    {"Action", nullptr, nullptr, 0},
    {"MouseDown", "Boolean", kPoint, 2},
    {"MouseUp", "Boolean", kPoint, 2},
    {"GotFocus", nullptr, nullptr, 0},
    {"LostFocus", nullptr, nullptr, 0},
};

const EventRecord kStaticTextEvents[] = {
    {"AcceleratorKey", nullptr, nullptr, 0},
    {"MouseDown", "Boolean", kPoint, 2},
    {"MouseDrag", nullptr, kPoint, 2},
    {"MouseUp", nullptr, kPoint, 2},
};

const EventRecord kGroupBoxEvents[] = {
    {"MouseDown", "Boolean", kPoint, 2},
    {"MouseDrag", nullptr, kPoint, 2},
    {"MouseUp", nullptr, kPoint, 2},
};

const EventImplementationRecord kPushButtonPane[] = {{"CreatePane", reinterpret_cast<void*>(&create_push_button)}};
const EventImplementationRecord kCheckBoxPane[] = {{"CreatePane", reinterpret_cast<void*>(&create_check_box)}};
const EventImplementationRecord kRadioButtonPane[] = {{"CreatePane", reinterpret_cast<void*>(&create_radio_button)}};
const EventImplementationRecord kStaticTextPane[] = {{"CreatePane", reinterpret_cast<void*>(&create_static_text)}};
const EventImplementationRecord kGroupBoxPane[] = {{"CreatePane", reinterpret_cast<void*>(&create_group_box)}};
// clang-format on

const ClassTables kTables[] = {
    {kPushButtonProperties, kPushButtonMethods},
    {kCheckBoxProperties, kCheckBoxMethods},
    {kRadioButtonProperties, kRadioButtonMethods},
    {kStaticTextProperties, {}},
    {kGroupBoxProperties, {}},
};

enum Which { kPush, kCheck, kRadio, kStatic, kGroup, kCount };
ObjectDefinition s_definitions[kCount];
ObjectDefinition* s_push_interfaces[1];
ObjectDefinition* s_check_interfaces[3];

void build()
{
    static Once s_once;
    s_once([&] {
        ObjectDefinition* rect = rect_control_definition();
        s_push_interfaces[0] = interface_definition(BuiltInInterface::ActionSource);
        s_check_interfaces[0] = interface_definition(BuiltInInterface::BooleanProvider);
        s_check_interfaces[1] = interface_definition(BuiltInInterface::DataNotifier);
        s_check_interfaces[2] = interface_definition(BuiltInInterface::BindingPart);

        DefinitionSource push{};
        push.name = "PushButton";
        push.super_definition = rect;
        push.instance_size = sizeof(PushButtonObject);
        push.properties = kPushButtonProperties;
        push.methods = kPushButtonMethods;
        push.events = kButtonEvents;
        push.event_implementations = kPushButtonPane;
        push.interfaces = s_push_interfaces;
        push.finalizer = &finalize_push_button;
        build_definition(s_definitions[kPush], push);

        DefinitionSource check{};
        check.name = "CheckBox";
        check.super_definition = rect;
        check.instance_size = sizeof(CheckBoxObject);
        check.properties = kCheckBoxProperties;
        check.methods = kCheckBoxMethods;
        check.events = kButtonEvents;
        check.event_implementations = kCheckBoxPane;
        check.interfaces = s_check_interfaces;
        check.finalizer = &finalize_check_box;
        build_definition(s_definitions[kCheck], check);

        DefinitionSource radio{};
        radio.name = "RadioButton";
        radio.super_definition = rect;
        radio.instance_size = sizeof(RadioButtonObject);
        radio.properties = kRadioButtonProperties;
        radio.methods = kRadioButtonMethods;
        radio.events = kButtonEvents;
        radio.event_implementations = kRadioButtonPane;
        radio.finalizer = &finalize_radio_button;
        build_definition(s_definitions[kRadio], radio);

        DefinitionSource text{};
        text.name = "StaticText";
        text.super_definition = rect;
        text.instance_size = sizeof(StaticTextObject);
        text.properties = kStaticTextProperties;
        text.events = kStaticTextEvents;
        text.event_implementations = kStaticTextPane;
        text.finalizer = &finalize_static_text;
        build_definition(s_definitions[kStatic], text);

        DefinitionSource group{};
        group.name = "GroupBox";
        group.super_definition = rect;
        group.instance_size = sizeof(GroupBoxObject);
        group.properties = kGroupBoxProperties;
        group.events = kGroupBoxEvents;
        group.event_implementations = kGroupBoxPane;
        group.finalizer = &finalize_group_box;
        build_definition(s_definitions[kGroup], group);
    });
}

ClassRecord* class_of(Which which)
{
    build();
    return ClassFromDefinition(&s_definitions[which]);
}

// ---- Binding hooks -----------------------------------------------------------------------

ControlReceivers* receivers_of(RuntimeObject* control)
{
    if (!control)
        return nullptr;
    ControlReceivers** slot = nullptr;
    if (RuntimeObjectIsa(control, class_of(kPush)))
        slot = &object_as<PushButtonObject>(control)->receivers;
    else if (RuntimeObjectIsa(control, class_of(kCheck)))
        slot = &object_as<CheckBoxObject>(control)->receivers;
    else if (RuntimeObjectIsa(control, class_of(kRadio)))
        slot = &object_as<RadioButtonObject>(control)->receivers;
    if (!slot)
        return nullptr;
    if (!*slot)
        *slot = new ControlReceivers{};
    return *slot;
}

bool check_box_value(RuntimeObject* box)
{
    if (RuntimeObjectIsa(box, class_of(kCheck)))
        return object_as<CheckBoxObject>(box)->value != 0;
    if (RuntimeObjectIsa(box, class_of(kRadio)))
        return object_as<RadioButtonObject>(box)->value != 0;
    return false;
}

void set_check_box_value(RuntimeObject* box, bool value)
{
    if (RuntimeObjectIsa(box, class_of(kCheck)))
        checkBoxValueSetter(box, 0, value);
    else if (RuntimeObjectIsa(box, class_of(kRadio)))
        radioValueSetter(box, 0, value);
}

void set_enabled(RuntimeObject* control, bool enabled) { controlEnabledSetter(control, 0, enabled); }

bool can_notify(RuntimeObject* control)
{
    if (!is_control(control))
        return false;
    RuntimeObject* window = control_fields(control)->m_view;
    return window && !window_is_closing(window);
}

void fire_action(RuntimeObject* control) { fire_event(control, kButtonAction); }

}  // namespace

ClassTableList button_class_tables() { return kTables; }

ClassRecord* push_button_class() { return class_of(kPush); }
ClassRecord* check_box_class() { return class_of(kCheck); }
ClassRecord* radio_button_class() { return class_of(kRadio); }
ClassRecord* static_text_class() { return class_of(kStatic); }
ClassRecord* group_box_class() { return class_of(kGroup); }

void register_button_classes()
{
    build();
    static Once s_once;
    s_once([&] {
        for (ObjectDefinition& d : s_definitions)
            RegisterDefinition(&d);
        ControlBindingHooks hooks{};
        hooks.receivers = &receivers_of;
        hooks.check_box_value = &check_box_value;
        hooks.set_check_box_value = &set_check_box_value;
        hooks.set_enabled = &set_enabled;
        hooks.is_control = &is_control;
        hooks.can_notify = &can_notify;
        hooks.fire_action = &fire_action;
        control_binding_seam().install(hooks);
    });
}

}  // namespace qv::ui
