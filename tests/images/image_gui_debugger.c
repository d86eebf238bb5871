/* image_gui_debugger.c: a GUI program compiled as for debugging, for the debugger session
 * test under Wine. Attached to runtime.exe in MDI mode, it connects to the debugger, shows its
 * frame and then only waits for events: it calls RuntimeDebuggerEntry nowhere, so whatever
 * the debugger sends from then on is handled by the event loop or not at all. */
#include "tests/images/image_support.h"

void ImageEntry(void)
{
    DebugRuntimeInit();
    RuntimeInit();
    RuntimeRegisterAppObject(0);
    RuntimeRun();
    RuntimeDebuggerShutdown();
    RuntimeExit();
}
