/* image_gui_clipboard.c: the Clipboard class and RuntimeMsgBox's layout under runtime.exe, for
 * run_gui_test.sh, which reads and fills the X clipboard with xclip between the steps. Open copies
 * a text with CR line ends and says "Copied". Edit: Paste (P) says "Pasted " and the clipboard's
 * text, or "Nothing to paste"; Explain (E) shows a message with an explanation, then one with a
 * trailing blank line. File: Quit (Q). */
#include "tests/images/gui_app_support.h"

static RuntimeObject* new_clipboard(void) { return RuntimeNewObject(RuntimeLookupClass(QV_STR("Clipboard"))); }

static void copy_on_open(RuntimeObject* app)
{
    (void)app;
    RuntimeObject* clipboard = new_clipboard();
    clipboardTextSetter(clipboard, 0, QV_STR("すごい!\r本当?\r終わり"));
    clipboardClose(clipboard);
    RuntimeUnlockObject(clipboard);
    RuntimeMsgBox(QV_STR("Copied"));
}

static int32_t paste(RuntimeObject* item)
{
    (void)item;
    RuntimeObject* clipboard = new_clipboard();
    if (clipboardTextAvailable(clipboard))
        say(QV_STR("Pasted "), clipboardTextGetter(clipboard));
    else
        RuntimeMsgBox(QV_STR("Nothing to paste"));
    clipboardClose(clipboard);
    RuntimeUnlockObject(clipboard);
    return 1;
}

static int32_t explain(RuntimeObject* item)
{
    (void)item;
    RuntimeMsgBox(QV_STR("保存しました\r\n\r\n変更は元に戻せません"));
    RuntimeMsgBox(QV_STR("末尾に空行\r\n\r\n"));
    return 1;
}

void ImageEntry(void)
{
    RuntimeInit();

    ClassRecord* app_class = subclass(RuntimeLookupClass(QV_STR("Application")), QV_STR("ClipboardApp"), 0);
    set_event(app_class, kAppOpen, (void*)copy_on_open);

    ClassRecord* menu_item = RuntimeLookupClass(QV_STR("MenuItem"));
    ClassRecord* paste_item = subclass(menu_item, QV_STR("PasteItem"), 0);
    set_event(paste_item, kMenuItemAction, (void*)paste);
    ClassRecord* explain_item = subclass(menu_item, QV_STR("ExplainItem"), 0);
    set_event(explain_item, kMenuItemAction, (void*)explain);

    RuntimeObject* bar = RuntimeNewObject(RuntimeLookupClass(QV_STR("MenuBar")));
    RuntimeObject* file = add_item(bar, menu_item, QV_STR("File"), QV_STR("FileMenu"), 0);
    add_item(file, RuntimeLookupClass(QV_STR("QuitMenuItem")), QV_STR("Quit"), QV_STR("FileQuit"), QV_STR("Q"));
    RuntimeObject* edit = add_item(bar, menu_item, QV_STR("Edit"), QV_STR("EditMenu"), 0);
    add_item(edit, paste_item, QV_STR("Paste"), QV_STR("EditPaste"), QV_STR("P"));
    add_item(edit, explain_item, QV_STR("Explain"), QV_STR("EditExplain"), QV_STR("E"));

    RuntimeObject* app = RuntimeNewObject(app_class);
    AppMenuBarSetter(app, bar);
    RuntimeUnlockObject(bar);
    RuntimeRegisterAppObject(app);
    RuntimeRun();
    RuntimeUnlockObject(app);
    RuntimeExit();
}
