// EditField: its property, method and event tables, and its CreatePane.
#include "ui/controls/edit_field/edit_field_class.h"

#include <utility>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/edit_field/edit_pane.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

#define QV_NO_ACCESSOR nullptr, nullptr

constexpr TypeDescriptor kGraphicsType = object_type("Graphics");
constexpr u32 kCreationTime = 128;

// clang-format off
const PropertyRecord kProperties[] = {
    {0, "Text", &kStringType, QV_ROUTINE(editTextGetter), QV_ROUTINE(editTextSetter), 0, 0},
    {0, "TextStyleData", &kStringType, QV_ROUTINE(editTextStyleDataGetter), QV_NO_ACCESSOR, 0, 0},
    {kCreationTime, "Border", &kBooleanType, QV_ROUTINE(editBorderGetter), QV_ROUTINE(editBorderSetter), 0, 0},
    {0, "MultiLine", &kBooleanType, QV_ROUTINE(editMultiLineGetter), QV_ROUTINE(editMultiLineSetter), 0, 0},
    {0, "ReadOnly", &kBooleanType, QV_ROUTINE(editReadOnlyGetter), QV_ROUTINE(editReadOnlySetter), 0, 0},
    {0, "Password", &kBooleanType, QV_ROUTINE(editPasswordGetter), QV_ROUTINE(editPasswordSetter), 0, 0},
    {kCreationTime, "Styled", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(EditFieldObject, styled), 0},
    {kCreationTime, "AcceptTabs", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(EditFieldObject, acceptTabs), 0},
    {0, "TextColor", &kColorType, QV_ROUTINE(intGetter), QV_ROUTINE(editTextColorSetter),
     offsetof(EditFieldObject, textColor), 0},
    {0, "BackColor", &kColorType, QV_ROUTINE(intGetter), QV_ROUTINE(editBackColorSetter),
     offsetof(EditFieldObject, backColor), 0},
    {kCreationTime, "ScrollBarHorizontal", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(EditFieldObject, scrollBarHorizontal), 0},
    {kCreationTime, "ScrollBarVertical", &kBooleanType, QV_ROUTINE(editScrollBarGetter),
     QV_ROUTINE(editScrollBarSetter), 0, 0},
    {0, "ScrollBar", &kBooleanType, QV_ROUTINE(editScrollBarGetter), QV_ROUTINE(editScrollBarSetter), 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(editTextFontGetter), QV_ROUTINE(editTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(editTextSizeGetter), QV_ROUTINE(editTextSizeSetter), 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(editBoldGetter), QV_ROUTINE(editBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(editItalicGetter), QV_ROUTINE(editItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(editUnderlineGetter), QV_ROUTINE(editUnderlineSetter), 0, 0},
    {0, "SelStart", &kIntegerType, QV_ROUTINE(editSelStartGetter), QV_ROUTINE(editSelStartSetter), 0, 0},
    {0, "SelLength", &kIntegerType, QV_ROUTINE(editSelLengthGetter), QV_ROUTINE(editSelLengthSetter), 0, 0},
    {0, "SelText", &kStringType, QV_ROUTINE(editSelTextGetter), QV_ROUTINE(editSelTextSetter), 0, 0},
    {0, "LimitText", &kIntegerType, QV_ROUTINE(editLimitTextGetter), QV_ROUTINE(editLimitTextSetter), 0, 0},
    {0, "SelBold", &kBooleanType, QV_ROUTINE(editSelBoldGetter), QV_ROUTINE(editSelBoldSetter), 0, 0},
    {0, "SelUnderline", &kBooleanType, QV_ROUTINE(editSelUnderlineGetter), QV_ROUTINE(editSelUnderlineSetter), 0, 0},
    {0, "SelItalic", &kBooleanType, QV_ROUTINE(editSelItalicGetter), QV_ROUTINE(editSelItalicSetter), 0, 0},
    {0, "SelOutline", &kBooleanType, QV_ROUTINE(editSelOutlineGetter), QV_ROUTINE(editSelOutlineSetter), 0, 0},
    {0, "SelShadow", &kBooleanType, QV_ROUTINE(editSelShadowGetter), QV_ROUTINE(editSelShadowSetter), 0, 0},
    {0, "SelCondense", &kBooleanType, QV_ROUTINE(editSelCondenseGetter), QV_ROUTINE(editSelCondenseSetter), 0, 0},
    {0, "SelExtend", &kBooleanType, QV_ROUTINE(editSelExtendGetter), QV_ROUTINE(editSelExtendSetter), 0, 0},
    {0, "SelPlain", &kBooleanType, QV_ROUTINE(editSelPlainGetter), QV_ROUTINE(editSelPlainSetter), 0, 0},
    {0, "SelTextFont", &kStringType, QV_ROUTINE(editSelTextFontGetter), QV_ROUTINE(editSelTextFontSetter), 0, 0},
    {0, "SelTextSize", &kIntegerType, QV_ROUTINE(editSelTextSizeGetter), QV_ROUTINE(editSelTextSizeSetter), 0, 0},
    {0, "SelTextColor", &kColorType, QV_ROUTINE(editSelTextColorGetter), QV_ROUTINE(editSelTextColorSetter), 0, 0},
    {0, "LiveUpdate", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(EditFieldObject, liveUpdate), 0},
    {kCreationTime, "UseFocusRing", &kBooleanType, QV_ROUTINE(boolGetter), QV_ROUTINE(boolSetter),
     offsetof(EditFieldObject, useFocusRing), 0},
    {0, "DataSource", &kStringType, QV_ROUTINE(EditDataSourceGetter), QV_ROUTINE(EditDataSourceSetter), 0, 0},
    {0, "DataField", &kStringType, QV_ROUTINE(stringGetter), QV_ROUTINE(EditDataFieldSetter),
     offsetof(EditFieldObject, dataField), 0},
    {0, "Alignment", &kIntegerType, QV_ROUTINE(intGetter), QV_ROUTINE(EditAlignmentSetter),
     offsetof(EditFieldObject, alignment), 0},
    {0, "SelAlignment", &kIntegerType, QV_ROUTINE(EditSelAlignmentGetter), QV_ROUTINE(EditSelAlignmentSetter), 0, 0},
};

const ParameterRecord kTextAndStyle[] = {{"text", &kStringType, 0}, {"style", &kStringType, 0}};
const ParameterRecord kString[] = {{"Str", &kStringType, 0}};
const ParameterRecord kPrinter[] = {{"g", &kGraphicsType, 0}, {"width", &kIntegerType, 0}};
const ParameterRecord kValue[] = {{"v", &kIntegerType, 0}};
const ParameterRecord kPoint[] = {{"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}};
constexpr TypeDescriptor kPrinterType = object_type("StyledTextPrinter");

const MethodRecord kMethods[] = {
    {"ToggleSelectionBold", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionBold), nullptr, nullptr, 0},
    {"ToggleSelectionUnderline", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionUnderline), nullptr, nullptr, 0},
    {"ToggleSelectionItalic", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionItalic), nullptr, nullptr, 0},
    {"ToggleSelectionShadow", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionShadow), nullptr, nullptr, 0},
    {"ToggleSelectionOutline", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionOutline), nullptr, nullptr, 0},
    {"ToggleSelectionCondense", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionCondense), nullptr, nullptr, 0},
    {"ToggleSelectionExtend", nullptr, nullptr, 0, QV_ROUTINE(editToggleSelectionExtend), nullptr, nullptr, 0},
    {"SetTextAndStyle", nullptr, kTextAndStyle, 2, QV_ROUTINE(editSetTextAndStyle), nullptr, nullptr, 0},
    {"setString", nullptr, kString, 1, QV_ROUTINE(editSetString), nullptr, nullptr, 0},
    {"styledTextPrinter", &kPrinterType, kPrinter, 2, QV_ROUTINE(editStyleTextPrinter), nullptr, nullptr, 0},
    {"ScrollPosition", &kIntegerType, nullptr, 0, QV_ROUTINE(editScrollPositionGetter), nullptr, nullptr, 0},
    {"ScrollPositionX", &kIntegerType, nullptr, 0, QV_ROUTINE(EditScrollPositionXGetter), nullptr, nullptr, 0},
    {"LineNumAtCharPos", &kIntegerType, kValue, 1, QV_ROUTINE(editLineNumAtCharPos), nullptr, nullptr, 0},
    {"CharPosAtLineNum", &kIntegerType, kValue, 1, QV_ROUTINE(editCharPosAtLineNum), nullptr, nullptr, 0},
    {"CharPosAtXY", &kIntegerType, kPoint, 2, QV_ROUTINE(editCharPosAtXY), nullptr, nullptr, 0},
    {"InsertionPosAtXY", &kIntegerType, kPoint, 2, QV_ROUTINE(editInsertionPosAtXY), nullptr, nullptr, 0},
    {"Copy", nullptr, nullptr, 0, QV_ROUTINE(editCopyToClipboard), nullptr, nullptr, 0},
    {"Paste", nullptr, nullptr, 0, QV_ROUTINE(editPasteFromClipboard), nullptr, nullptr, 0},
};

const ParameterRecord kKey[] = {{"Key", &kStringType, 0}};
const ParameterRecord kMouse[] = {{"X", &kIntegerType, 0}, {"Y", &kIntegerType, 0}};

const EventRecord kEvents[] = {
    {"KeyDown", "Boolean", kKey, 1},
    {"GotFocus", nullptr, nullptr, 0},
    {"LostFocus", nullptr, nullptr, 0},
    {"MouseDown", "Boolean", kMouse, 2},
    {"MouseUp", nullptr, kMouse, 2},
    {"SelChange", nullptr, nullptr, 0},
    {"TextChange", nullptr, nullptr, 0},
    {"EnableMenuItems", nullptr, nullptr, 0},
};
// clang-format on

// CreatePane: the peer inside the initial parent's peer, or the window's.
void create_edit_pane(RuntimeObject* self)
{
    EditFieldObject* f = edit_fields(self);
    if (f->control.paneInstance)
        return;
    HWND parent = static_cast<HWND>(peer_parent_window(self));
    if (!parent)
        return;
    if (EditPane* pane = EditPane::Create(self, parent)) {
        f->control.paneInstance = pane;
        f->eventRelay = pane;
    }
}

const EventImplementationRecord kImplementations[] = {{"CreatePane", reinterpret_cast<void*>(&create_edit_pane)}};

const ClassTables kTables[] = {{kProperties, kMethods}};

void finalize_edit_field(RuntimeObject* object)
{
    EditFieldObject* f = edit_fields(object);
    f->eventRelay = nullptr;
    // The record's counted fields give their counts back.
    StringRef::adopt(std::exchange(f->dataSource, nullptr));
    StringRef::adopt(std::exchange(f->dataField, nullptr));
    StringRef::adopt(std::exchange(f->textFont, nullptr));
    StringRef::adopt(std::exchange(f->text, nullptr));
    ObjectRef::adopt(std::exchange(f->boundDataSource, nullptr));
}

ObjectDefinition s_edit_field;

void build()
{
    static Once s_once;
    s_once([&] {
        control_class();  // the superclass definitions exist first
        DefinitionSource source{};
        source.name = "EditField";
        source.super_definition = rect_control_definition();
        source.instance_size = sizeof(EditFieldObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.events = kEvents;
        source.event_implementations = kImplementations;
        source.finalizer = &finalize_edit_field;
        static ObjectDefinition* s_interfaces[1];
        s_interfaces[0] = interface_definition(BuiltInInterface::StringInterface);
        source.interfaces = s_interfaces;
        build_definition(s_edit_field, source);
    });
}

}  // namespace

ClassTableList edit_field_class_tables() { return kTables; }

ClassRecord* edit_field_class()
{
    build();
    return ClassFromDefinition(&s_edit_field);
}

void register_edit_field_class()
{
    build();
    static Once s_once;
    s_once([&] {
        RegisterDefinition(&s_edit_field);
        ControlBindingHooks hooks{};
        hooks.set_edit_text = [](RuntimeObject* field, RuntimeString* text) { editTextSetter(field, 0, text); };
        hooks.is_edit_field = [](RuntimeObject* object) {
            return object && RuntimeObjectIsa(object, edit_field_class()) != 0;
        };
        hooks.set_edit_data_source = [](RuntimeObject* field, RuntimeObject* source) {
            const ObjectRef previous = ObjectRef::share(edit_fields(field)->boundDataSource);
            objSetter(field, offsetof(EditFieldObject, boundDataSource), source);
            switch_field_data_source(field, previous.get(), source);
        };
        control_binding_seam().install(hooks);
    });
}

}  // namespace qv::ui
