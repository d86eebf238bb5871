#include "ui/drag_drop/drag_item.h"

#include <algorithm>
#include <utility>

#include "core/once.h"
#include "framework/nocase_text.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/objects/exception_foundation.h"
#include "ui/drag_drop/drop_acceptance.h"

namespace qv::ui {
namespace {

ObjectDefinition s_definition;

// The current item, or null after raising for a nil DragItem.
DragEntry* current(RuntimeObject* self)
{
    DragItemState* state = drag_item_state(self);
    if (!state) {
        RaiseNilObject();
        return nullptr;
    }
    return &state->entries[state->current];
}

void set_mac_datum(RuntimeObject* self, RuntimeString* type, RuntimeString* data, bool is_private)
{
    DragEntry* entry = current(self);
    if (!entry)
        return;
    const std::string name = type_name_of(type);
    auto& list = entry->mac_data;
    const auto found =
        std::find_if(list.begin(), list.end(), [&name](const MacDatum& d) { return equal_nocase(d.type, name); });
    if (found != list.end()) {
        found->data = StringRef::share(data);
        found->is_private = is_private;
    } else {
        list.push_back({name, StringRef::share(data), is_private});
    }
}

void initialize_drag_item(RuntimeObject* object)
{
    auto* state = new DragItemState();
    state->entries.emplace_back();
    reinterpret_cast<DragItemObject*>(object)->state = state;
}

void finalize_drag_item(RuntimeObject* object)
{
    delete std::exchange(reinterpret_cast<DragItemObject*>(object)->state, nullptr);
}

constexpr TypeDescriptor kPictureType = object_type("Picture");
constexpr TypeDescriptor kFolderItemType = object_type("FolderItem");

#define QV_READ_ONLY(label, type, routine)                          \
    {                                                               \
        0, label, type, QV_ROUTINE(routine), nullptr, nullptr, 0, 0 \
    }

// clang-format off
const PropertyRecord kProperties[] = {
    QV_READ_ONLY("DropLeft", &kIntegerType, dragItemDropLeft),
    QV_READ_ONLY("DropTop", &kIntegerType, dragItemDropTop),
    QV_READ_ONLY("DropWidth", &kIntegerType, dragItemDropWidth),
    QV_READ_ONLY("DropHeight", &kIntegerType, dragItemDropHeight),
    {0, "Text", &kStringType, QV_ROUTINE(dragItemTextGetter), QV_ROUTINE(dragItemTextSetter), 0, 0},
    {0, "Picture", &kPictureType, QV_ROUTINE(dragItemPictureGetter), QV_ROUTINE(dragItemPictureSetter), 0, 0},
    {0, "FolderItem", &kFolderItemType, QV_ROUTINE(dragItemFolderItemGetter), QV_ROUTINE(dragItemFolderItemSetter), 0, 0},
};

const ParameterRecord kTypeParameter[] = {{"type", &kStringType, 0}};
const ParameterRecord kRectParameters[] = {
    {"left", &kIntegerType, 0}, {"top", &kIntegerType, 0}, {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0}};

const MethodRecord kMethods[] = {
    {"MacDataAvailable", &kBooleanType, kTypeParameter, 1, QV_ROUTINE(DragItemMacDataAvailable), nullptr, nullptr, 0},
    {"MacData", &kStringType, kTypeParameter, 1, QV_ROUTINE(DragItemGetMacData), QV_ROUTINE(DragItemSetMacData), 0},
    {"PrivateMacData", nullptr, kTypeParameter, 1, nullptr, nullptr, QV_ROUTINE(DragItemSetPrivateMacData), 0},
    {"AddItem", nullptr, kRectParameters, 4, QV_ROUTINE(DragItemAddItem), nullptr, nullptr, 0},
    {"TextAvailable", &kBooleanType, nullptr, 0, QV_ROUTINE(DragItemTextAvailable), nullptr, nullptr, 0},
    {"PictureAvailable", &kBooleanType, nullptr, 0, QV_ROUTINE(DragItemPictureAvailable), nullptr, nullptr, 0},
    {"FolderItemAvailable", &kBooleanType, nullptr, 0, QV_ROUTINE(DragItemFolderItemAvailable), nullptr, nullptr, 0},
    {"NextItem", &kBooleanType, nullptr, 0, QV_ROUTINE(DragItemNextItem), nullptr, nullptr, 0},
    {"Drag", nullptr, nullptr, 0, QV_ROUTINE(DragItemDrag), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{kProperties, kMethods}};

}  // namespace

const MacDatum* DragEntry::mac_datum(std::string_view type) const
{
    for (const MacDatum& d : mac_data)
        if (equal_nocase(d.type, type))
            return &d;
    return nullptr;
}

DragItemState* drag_item_state(RuntimeObject* item)
{
    return item ? reinterpret_cast<DragItemObject*>(item)->state : nullptr;
}

void rewind_drag_item(RuntimeObject* item)
{
    if (DragItemState* state = drag_item_state(item))
        state->current = 0;
}

RuntimeObject* new_drag_item(i32 left, i32 top, i32 width, i32 height)
{
    register_drag_item_class();
    RuntimeObject* item = CreateInstance(&s_definition);
    if (DragItemState* state = drag_item_state(item)) {
        DragEntry& first = state->entries.front();
        first.left = left, first.top = top, first.width = width, first.height = height;
    }
    return item;
}

Seam<DragStarter>& drag_starter_seam()
{
    static Seam<DragStarter> s_seam;
    return s_seam;
}

ClassTableList drag_item_class_tables() { return kTables; }

void register_drag_item_class()
{
    static Once s_once;
    s_once([] {
        DefinitionSource source{};
        source.name = "DragItem";
        source.instance_size = sizeof(DragItemObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.initializer = &initialize_drag_item;
        source.finalizer = &finalize_drag_item;
        build_definition(s_definition, source);
        RegisterDefinition(&s_definition);
    });
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

int32_t dragItemDropLeft(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? entry->left : 0;
}

int32_t dragItemDropTop(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? entry->top : 0;
}

int32_t dragItemDropWidth(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? entry->width : 0;
}

int32_t dragItemDropHeight(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? entry->height : 0;
}

RuntimeString* dragItemTextGetter(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? StringRef(entry->text).leak() : nullptr;
}

void dragItemTextSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    if (DragEntry* entry = current(self))
        entry->text = StringRef::share(text);
}

RuntimeObject* dragItemPictureGetter(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? ObjectRef(entry->picture).leak() : nullptr;
}

void dragItemPictureSetter(RuntimeObject* self, int32_t, RuntimeObject* picture)
{
    if (DragEntry* entry = current(self))
        entry->picture = ObjectRef::share(picture);
}

RuntimeObject* dragItemFolderItemGetter(RuntimeObject* self, int32_t)
{
    const DragEntry* entry = current(self);
    return entry ? ObjectRef(entry->folder_item).leak() : nullptr;
}

void dragItemFolderItemSetter(RuntimeObject* self, int32_t, RuntimeObject* item)
{
    if (DragEntry* entry = current(self))
        entry->folder_item = ObjectRef::share(item);
}

int32_t DragItemTextAvailable(RuntimeObject* self)
{
    const DragEntry* entry = current(self);
    return entry && !entry->text.is_nil();
}

int32_t DragItemPictureAvailable(RuntimeObject* self)
{
    const DragEntry* entry = current(self);
    return entry && !entry->picture.is_nil();
}

int32_t DragItemFolderItemAvailable(RuntimeObject* self)
{
    const DragEntry* entry = current(self);
    return entry && !entry->folder_item.is_nil();
}

int32_t DragItemMacDataAvailable(RuntimeObject* self, RuntimeString* type)
{
    const DragEntry* entry = current(self);
    return entry && entry->mac_datum(type_name_of(type)) != nullptr;
}

RuntimeString* DragItemGetMacData(RuntimeObject* self, RuntimeString* type)
{
    const DragEntry* entry = current(self);
    const MacDatum* datum = entry ? entry->mac_datum(type_name_of(type)) : nullptr;
    return datum ? StringRef(datum->data).leak() : nullptr;
}

void DragItemSetMacData(RuntimeObject* self, RuntimeString* type, RuntimeString* data)
{
    set_mac_datum(self, type, data, false);
}

void DragItemSetPrivateMacData(RuntimeObject* self, RuntimeString* type, RuntimeString* data)
{
    set_mac_datum(self, type, data, true);
}

void DragItemAddItem(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height)
{
    DragItemState* state = drag_item_state(self);
    if (!state) {
        RaiseNilObject();
        return;
    }
    DragEntry entry;
    entry.left = left, entry.top = top, entry.width = width, entry.height = height;
    state->entries.push_back(std::move(entry));
    state->current = state->entries.size() - 1;
}

int32_t DragItemNextItem(RuntimeObject* self)
{
    DragItemState* state = drag_item_state(self);
    if (!state) {
        RaiseNilObject();
        return 0;
    }
    if (state->current + 1 >= state->entries.size())
        return 0;
    ++state->current;
    return 1;
}

void DragItemDrag(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return;
    }
    if (const DragStarter& starter = drag_starter_seam().get(); starter.drag)
        starter.drag(self);
}

}  // extern "C"
