// The exported routines of MenuItem and MenuBar: the tree (Item, Count, Child, Append, Insert,
// Remove, _Lookup), the properties, Enable and Close, and _InstallClone.
#include <utility>

#include "framework/application/application_object.h"
#include "framework/menus/menu_item_imp.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeMenuItem";

// The implementation, or null after raising for a nil self (or the assertion of an object
// that never got one).
MenuItemImp* imp_of(RuntimeObject* self, i32 line = 40, const char* condition = "self->mImp")
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    MenuItemImp* imp = menu_imp(self);
    if (!imp)
        assertion_failed(kSource, line, condition);
    return imp;
}

bool names_match(const StringRef& a, const StringRef& b) { return !a.is_nil() && a.CompareNoCase(b) == 0; }

RuntimeObject* lookup(RuntimeObject* item, const StringRef& name, i32 index)
{
    MenuItemImp* imp = menu_imp(item);
    if (!imp)
        return nullptr;
    for (RuntimeObject* child : imp->children) {
        MenuItemImp* c = menu_imp(child);
        if (!c)
            continue;
        if (c->index == index && names_match(c->name, name))
            return child;
        if (RuntimeObject* found = lookup(child, name, index))
            return found;
    }
    return nullptr;
}

// The item under `root` that has `child` among its children, breadth-first.
MenuItemImp* parent_of(RuntimeObject* root, RuntimeObject* child)
{
    std::vector<RuntimeObject*> queue{root};
    for (size_t next = 0; next < queue.size(); ++next) {
        MenuItemImp* imp = menu_imp(queue[next]);
        if (!imp)
            continue;
        for (RuntimeObject* c : imp->children)
            if (c == child)
                return imp;
        queue.insert(queue.end(), imp->children.begin(), imp->children.end());
    }
    return nullptr;
}

// Where the first item named `name` sits below `root`, depth-first.
bool position_of_name(MenuItemImp* root, const StringRef& name, MenuItemImp*& parent, i32& position)
{
    for (size_t i = 0; i < root->children.size(); ++i) {
        MenuItemImp* c = menu_imp(root->children[i]);
        if (!c)
            continue;
        if (names_match(c->name, name)) {
            parent = root;
            position = static_cast<i32>(i);
            return true;
        }
        if (position_of_name(c, name, parent, position))
            return true;
    }
    return false;
}

void remove_all(MenuItemImp* parent, RuntimeObject* item)
{
    for (i32 i = static_cast<i32>(parent->children.size()) - 1; i >= 0; --i)
        if (parent->children[static_cast<size_t>(i)] == item)
            remove_menu_child(parent, i);
}

RuntimeString* string_result(const StringRef& value) { return StringRef(value).leak(); }

// The stored-flag properties.
template <bool MenuItemImp::*Flag>
int32_t flag_of(RuntimeObject* self)
{
    MenuItemImp* imp = imp_of(self);
    return imp && imp->*Flag ? 1 : 0;
}
template <bool MenuItemImp::*Flag>
void store_flag(RuntimeObject* self, int32_t on)
{
    if (MenuItemImp* imp = imp_of(self))
        imp->*Flag = on != 0;
}

template <StringRef MenuItemImp::*Field>
RuntimeString* text_of(RuntimeObject* self)
{
    MenuItemImp* imp = imp_of(self);
    return imp ? string_result(imp->*Field) : nullptr;
}
template <StringRef MenuItemImp::*Field>
void store_text(RuntimeObject* self, RuntimeString* value)
{
    if (MenuItemImp* imp = imp_of(self))
        imp->*Field = StringRef::share(value);
}

}  // namespace
}  // namespace qv

using namespace qv;

extern "C" {

RuntimeObject* RuntimeMenuItemItem(RuntimeObject* self, int32_t index)
{
    MenuItemImp* imp = imp_of(self);
    if (!imp)
        return nullptr;
    if (index < 0 || index >= static_cast<i32>(imp->children.size())) {
        RaiseOutOfBounds();
        return nullptr;
    }
    return ObjectRef::share(imp->children[static_cast<size_t>(index)]).leak();
}

int32_t RuntimeMenuItemCount(RuntimeObject* self)
{
    MenuItemImp* imp = imp_of(self);
    return imp ? static_cast<i32>(imp->children.size()) : 0;
}

RuntimeObject* RuntimeMenuItemChild(RuntimeObject* self, RuntimeString* name)
{
    MenuItemImp* imp = imp_of(self);
    if (!imp)
        return nullptr;
    const StringRef wanted = StringRef::share(name);
    for (RuntimeObject* child : imp->children)
        if (MenuItemImp* c = menu_imp(child); c && names_match(c->name, wanted))
            return ObjectRef::share(child).leak();
    return nullptr;
}

void RuntimeMenuItemAppend(RuntimeObject* self, RuntimeObject* item)
{
    MenuItemImp* imp = imp_of(self);
    if (imp && item && imp_of(item, 41, "obj->mImp"))
        insert_menu_child(imp, imp->inserted, item);
}

void RuntimeMenuItemInsert(RuntimeObject* self, int32_t index, RuntimeObject* item)
{
    MenuItemImp* imp = imp_of(self);
    if (!imp)
        return;
    if (index < 0 || index > static_cast<i32>(imp->children.size())) {
        RaiseOutOfBounds();
        return;
    }
    if (item && imp_of(item, 42, "obj->mImp"))
        insert_menu_child(imp, index, item);
}

void RuntimeMenuItemRemoveIndex(RuntimeObject* self, int32_t index)
{
    MenuItemImp* imp = imp_of(self);
    if (!imp)
        return;
    if (index < 0 || index >= static_cast<i32>(imp->children.size())) {
        RaiseOutOfBounds();
        return;
    }
    remove_menu_child(imp, index);
}

void RuntimeMenuItemRemoveItem(RuntimeObject* self, RuntimeObject* item)
{
    if (MenuItemImp* imp = imp_of(self); imp && item)
        remove_all(imp, item);
}

RuntimeObject* RuntimeMenuItemLookupArray(RuntimeObject* self, RuntimeString* name, int32_t index)
{
    if (!self || !name || !menu_imp(self))
        return nullptr;
    return ObjectRef::share(lookup(self, StringRef::share(name), index)).leak();
}

RuntimeObject* RuntimeMenuItemLookup(RuntimeObject* self, RuntimeString* name)
{
    return RuntimeMenuItemLookupArray(self, name, -1);
}

RuntimeString* RuntimeMenuItemNameGetter(RuntimeObject* self) { return text_of<&MenuItemImp::name>(self); }
void RuntimeMenuItemNameSetter(RuntimeObject* self, RuntimeString* name) { store_text<&MenuItemImp::name>(self, name); }

int32_t RuntimeMenuItemIndexGetter(RuntimeObject* self)
{
    MenuItemImp* imp = imp_of(self);
    return imp ? imp->index : 0;
}

void RuntimeMenuItemIndexSetter(RuntimeObject* self, int32_t index)
{
    if (MenuItemImp* imp = imp_of(self))
        imp->index = index;
}

RuntimeObject* RuntimeMenuItemTagGetter(RuntimeObject* self)
{
    MenuItemImp* imp = imp_of(self);
    return imp ? ObjectRef(imp->tag).leak() : nullptr;
}

void RuntimeMenuItemTagSetter(RuntimeObject* self, RuntimeObject* tag)
{
    if (MenuItemImp* imp = imp_of(self))
        imp->tag = ObjectRef::share(tag);
}

RuntimeString* RuntimeMenuItemBalloonHelpGetter(RuntimeObject* self)
{
    return text_of<&MenuItemImp::balloon_help>(self);
}
void RuntimeMenuItemBalloonHelpSetter(RuntimeObject* self, RuntimeString* text)
{
    store_text<&MenuItemImp::balloon_help>(self, text);
}
RuntimeString* RuntimeMenuItemDisabledHelpGetter(RuntimeObject* self)
{
    return text_of<&MenuItemImp::disabled_help>(self);
}
void RuntimeMenuItemDisabledHelpSetter(RuntimeObject* self, RuntimeString* text)
{
    store_text<&MenuItemImp::disabled_help>(self, text);
}

RuntimeString* RuntimeMenuItemTextGetter(RuntimeObject* self) { return text_of<&MenuItemImp::text>(self); }

void RuntimeMenuItemTextSetter(RuntimeObject* self, RuntimeString* text)
{
    if (MenuItemImp* imp = imp_of(self))
        set_menu_text(imp, StringRef::share(text));
}

int32_t RuntimeMenuItemCheckedGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::checked>(self); }

void RuntimeMenuItemCheckedSetter(RuntimeObject* self, int32_t on)
{
    if (MenuItemImp* imp = imp_of(self))
        set_menu_checked(imp, on != 0);
}

int32_t RuntimeMenuItemEnabledGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::enabled>(self); }

void RuntimeMenuItemEnabledSetter(RuntimeObject* self, int32_t on)
{
    if (MenuItemImp* imp = imp_of(self))
        set_menu_enabled(imp, on != 0);
}

int32_t RuntimeMenuItemVisibleGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::visible>(self); }
void RuntimeMenuItemVisibleSetter(RuntimeObject* self, int32_t on) { store_flag<&MenuItemImp::visible>(self, on); }

RuntimeString* RuntimeMenuItemCommandKeyGetter(RuntimeObject* self) { return text_of<&MenuItemImp::command_key>(self); }

void RuntimeMenuItemCommandKeySetter(RuntimeObject* self, RuntimeString* key)
{
    if (MenuItemImp* imp = imp_of(self))
        set_menu_command_key(imp, StringRef::share(key));
}

int32_t RuntimeMenuItemBoldGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::bold>(self); }
void RuntimeMenuItemBoldSetter(RuntimeObject* self, int32_t on) { store_flag<&MenuItemImp::bold>(self, on); }
int32_t RuntimeMenuItemItalicsGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::italic>(self); }
void RuntimeMenuItemItalicsSetter(RuntimeObject* self, int32_t on) { store_flag<&MenuItemImp::italic>(self, on); }
int32_t RuntimeMenuItemUnderlineGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::underline>(self); }
void RuntimeMenuItemUnderlineSetter(RuntimeObject* self, int32_t on) { store_flag<&MenuItemImp::underline>(self, on); }
int32_t RuntimeMenuItemAutoEnableGetter(RuntimeObject* self) { return flag_of<&MenuItemImp::auto_enable>(self); }
void RuntimeMenuItemAutoEnableSetter(RuntimeObject* self, int32_t on)
{
    store_flag<&MenuItemImp::auto_enable>(self, on);
}

void RuntimeEnableMenu(RuntimeObject* self) { RuntimeMenuItemEnabledSetter(self, 1); }

void RuntimeCloseMenuItem(RuntimeObject* self)
{
    if (!imp_of(self) || !gApplicationObject)
        return;
    RuntimeObject* bar = application_fields(gApplicationObject)->menuBar;
    if (MenuItemImp* parent = bar ? parent_of(bar, self) : nullptr)
        remove_all(parent, self);
}

void RuntimeMenuItemDefaultConstructor(RuntimeObject*) { }

void MenuBarInstallClone(RuntimeObject* menuBar, RuntimeObject* item)
{
    if (!menuBar) {
        assertion_failed(kSource, 60, "menuBar");
        return;
    }
    if (!item) {
        assertion_failed(kSource, 61, "installThis");
        return;
    }
    MenuItemImp* bar = imp_of(menuBar, 62, "menu->mImp");
    MenuItemImp* installed = imp_of(item, 63, "obj->mImp");
    if (!bar || !installed)
        return;
    MenuItemImp* parent = nullptr;
    i32 position = 0;
    if (position_of_name(bar, installed->name, parent, position))
        insert_menu_child(parent, position + 1, item);
    else
        insert_menu_child(bar, static_cast<i32>(bar->children.size()), item);
}

}  // extern "C"
