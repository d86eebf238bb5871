// win_dialog_fixture: message boxes for checking win_probe without the runtime. Each pair of
// arguments (caption, text) is one OK/Cancel box, shown in turn; with no arguments an OK box shows
// the program's exact command line under the caption "command line". The exit status is 40
// plus the number of boxes answered with OK, so a test sees which button the probe pressed.
#include <windows.h>

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int answered_ok = 0;
    if (argc < 2) {
        answered_ok += MessageBoxW(nullptr, GetCommandLineW(), L"command line", MB_OK) == IDOK;
    } else {
        for (int i = 1; i + 1 < argc; i += 2)
            answered_ok += MessageBoxW(nullptr, argv[i + 1], argv[i], MB_OKCANCEL) == IDOK;
    }
    LocalFree(argv);
    return 40 + answered_ok;
}
