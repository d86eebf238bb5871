// The resource number of the program icon: runtime.exe carries the icon under it
// (tools/runtime/runtime_resources.rc includes this header) and the runtime's window classes
// load their icon from it. Preprocessor-only, so that the resource compiler can read it.
#ifndef QV_FRAMEWORK_STARTUP_PROGRAM_ICON_H
#define QV_FRAMEWORK_STARTUP_PROGRAM_ICON_H

#define QV_PROGRAM_ICON 102

#endif
