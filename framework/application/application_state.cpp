// The program-wide flags of the application object, the event loop and the menus.
#include "framework/application/application_object.h"

namespace qv {

RuntimeObject* gApplicationObject = nullptr;
bool gQuitRequested = false;
bool gEventLoopRunning = false;
bool gInUnhandledException = false;
bool gAppActive = false;
u32 gModifierState = 0;

}  // namespace qv
