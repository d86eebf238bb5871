/*
 * menu_bar.c: MenuBar1, whose constructor appends the File, Edit, settings and about menus.
 * Names and shortcut texts are the keys the runtime finds items and handlers by, so they are
 * spelled exactly so, letter case included.
 */
#include "app/app_classes.h"
#include "app/application.h"

static ClassRecord* g_menu_bar_class;

/* A new item of the built-in class class_name, set up as every item is and appended to parent
 * (which holds it from then on); returns it borrowed. */
static RuntimeObject* append_item(RuntimeObject* parent, RuntimeString* class_name, RuntimeString* name,
                                  RuntimeString* caption, RuntimeString* shortcut)
{
    RuntimeObject* item = app_new_object(class_name);
    if (!item) {
        RuntimeNilObject();
        return 0;
    }
    RuntimeMenuItemDefaultConstructor(item);
    if (name)
        RuntimeMenuItemNameSetter(item, name);
    RuntimeMenuItemTextSetter(item, caption);
    if (shortcut)
        RuntimeMenuItemCommandKeySetter(item, shortcut);
    RuntimeMenuItemAutoEnableSetter(item, 1);
    RuntimeMenuItemBoldSetter(item, 0);
    RuntimeMenuItemItalicsSetter(item, 0);
    RuntimeMenuItemUnderlineSetter(item, 0);
    RuntimeMenuItemAppend(parent, item);
    RuntimeUnlockObject(item);
    return item;
}

#define MENU_ITEM QV_STR("MenuItem")

static void construct_menu_bar(RuntimeObject* bar)
{
    RuntimeObject* file = append_item(bar, MENU_ITEM, QV_STR("FileMenu"), QV_STR("ファイル(&F)"), 0);
    if (!file)
        return;
    append_item(file, QV_STR("QuitMenuItem"), QV_STR("FileQuit"), QV_STR("終了(&X)"), QV_STR("Ctrl+Q"));

    RuntimeObject* edit = append_item(bar, MENU_ITEM, QV_STR("EditMenu"), QV_STR("編集(&E)"), 0);
    if (!edit)
        return;
    append_item(edit, MENU_ITEM, 0, QV_STR("-"), 0);
    append_item(edit, MENU_ITEM, QV_STR("editredo"), QV_STR("やり直し"), QV_STR("ctrl+Z"));
    append_item(edit, MENU_ITEM, QV_STR("EditCopy"), QV_STR("コピー"), QV_STR("ctrl+C"));
    append_item(edit, MENU_ITEM, QV_STR("EditPaste"), QV_STR("貼り付け"), QV_STR("Ctrl+V"));
    append_item(edit, MENU_ITEM, QV_STR("EditClear"), QV_STR("クリア"), 0);

    RuntimeObject* settings = append_item(bar, MENU_ITEM, QV_STR("SetMenu"), QV_STR("設定"), 0);
    if (!settings)
        return;
    append_item(settings, MENU_ITEM, QV_STR("CnvSet"), QV_STR("変換設定"), 0);

    RuntimeObject* about = append_item(bar, MENU_ITEM, QV_STR("AboutMenu"), QV_STR("about"), 0);
    if (!about)
        return;
    append_item(about, MENU_ITEM, QV_STR("hlp_ab"), QV_STR("about"), 0);
}

RuntimeObject* new_menu_bar(void)
{
    if (!g_menu_bar_class)
        g_menu_bar_class = app_subclass(QV_STR("MenuBar"), QV_STR("MenuBar1"), 0);
    RuntimeObject* bar = g_menu_bar_class ? RuntimeNewObject(g_menu_bar_class) : 0;
    if (!bar) {
        RuntimeNilObject();
        return 0;
    }
    RuntimeMenuItemDefaultConstructor(bar);
    construct_menu_bar(bar);
    return bar;
}
