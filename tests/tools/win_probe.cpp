// win_probe: a console helper that GUI tests run in the same Wine session as the program
// under test. It finds windows, reads message boxes and presses their buttons, and starts a
// program with an exact command line (which `wine prog args` cannot give: it re-quotes).
//
//   win_probe wait-window (--title T | --class C) [--pid PID] [--child TEXT] [--timeout S]
//       waits for a visible top-level window, or for a visible control in it whose text is
//       TEXT (as control --text); prints "hwnd 0x.. rect L T R B client L T R B"
//   win_probe control (--hwnd H | --title T | --class C) (--text X | --control-class K) [--timeout S]
//       waits for a visible control of that window by its text (compared without '&') or its
//       class; prints its "hwnd .. rect .. client .." line as wait-window does
//   win_probe window-info (--hwnd H | --title T | --class C) [--pid PID]
//       prints the window's title, class, process, owner, whether it is the foreground window,
//       style, exstyle, hwnd, rect and client rect (screen coords)
//   win_probe foreground (--hwnd H | --title T | --class C) [--pid PID]
//   win_probe run --log FILE [--button B] [--timeout S] [--cwd DIR] [--pid-file F] -- CMDLINE
//       starts CMDLINE as is, answers its message boxes until it exits, prints "exit N"
//   win_probe dialogs --log FILE [--pid PID] [--button B] [--timeout S]
//       answers message boxes (of PID, or of any process) until PID exits or the timeout
//   win_probe dialog-text --caption C [--pid PID] [--timeout S]
//       waits for a message box by caption and prints its text without pressing anything
//   win_probe resize (--hwnd H | --title T | --class C) --by DX,DY
//       grows the window's outer rectangle by DX and DY (as a user's drag of the corner would)
//   win_probe close (--hwnd H | --title T | --class C)
//       posts WM_CLOSE, as the close box does
//   win_probe kill --pid PID
//   win_probe modules --pid PID
//       prints the full path of every module loaded in the process, one a line
//   win_probe control (--hwnd H | --title T | --class C) (--text X | --control-class C) [--index N]
//       waits for the window's N-th visible descendant control (default 0) with that text
//       (--caption is the same) or class; prints its "hwnd .. rect .. client .." line as
//       wait-window does, and "check N" for buttons
//   win_probe text (--hwnd H | --title T | --class C) [--caption C | --control-class C] [--index N]
//       writes the window's or the control's text (WM_GETTEXT) as UTF-8, nothing added
//   win_probe windows (--title T | --class C) [--pid PID]
//       prints "hwnd 0x.. rect ..." (as wait-window) for every visible top-level match
//   win_probe clipboard-text
//       writes the clipboard's Unicode text as UTF-8, nothing added
//   win_probe clipboard-seq
//       prints the clipboard's sequence number
//   win_probe time-start --title T [--timeout S] [--cwd DIR] -- CMDLINE
//       starts CMDLINE as is, polls every millisecond for its visible top-level window titled
//       T, prints "shown US" (microseconds from just before the start), then ends the program
//   win_probe hold-desktop
//       makes a hidden window, prints "ready" and serves messages until killed: the session's
//       desktop process then stays up between test programs (exit 1 if no window could be made)
//   win_probe clipboard-wait --seq N [--timeout S]
//       prints "ready" when watching, then "seq M time T" once the sequence number has moved
//       on from N and the clipboard holds another text than at the start, T being the time of
//       that change in microseconds since 1970 (the Unix clock)
//
// --button names the button to press: a control id (default 1, IDOK) or the button's text.
// A message box is one log line: caption, a tab, then the text, both UTF-8 with CR, LF, tab
// and backslash written as \r, \n, \t and \\, so that a record never spans lines. Every
// record is appended and flushed after the button was pressed and the box has gone, so a
// script can wait for it.
//
// Exit status: 0 done, 1 not found or timed out, 2 usage error; `run` exits 3 when it had to
// terminate the program after the timeout.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kStaticTextId = 0xFFFF;  // the message text's control in a message box

struct Options {
    std::wstring title, window_class, caption, control_class, button = L"1", log, cwd, pid_file, command_line;
    HWND hwnd = nullptr;
    DWORD pid = 0, index = 0, sequence = 0;
    bool has_sequence = false;
    double timeout = 20;
    long grow_x = 0, grow_y = 0;
    bool has_grow = false;
};

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string escaped(const std::wstring& text)
{
    std::string out;
    for (char c : utf8(text)) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring window_text(HWND hwnd)
{
    wchar_t buffer[4096];
    const int n = GetWindowTextW(hwnd, buffer, 4096);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring class_name(HWND hwnd)
{
    wchar_t buffer[256];
    const int n = GetClassNameW(hwnd, buffer, 256);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

DWORD process_of(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

BOOL CALLBACK collect_window(HWND hwnd, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> top_level_windows()
{
    std::vector<HWND> windows;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Whether the window has the options' title, class and process (those given).
bool matches_window(const Options& o, HWND hwnd)
{
    return (o.title.empty() || window_text(hwnd) == o.title) &&
        (o.window_class.empty() || class_name(hwnd) == o.window_class) && (!o.pid || process_of(hwnd) == o.pid);
}

// A visible top-level window matching the options' title, class and process, or null.
HWND find_window(const Options& o)
{
    if (o.hwnd)
        return IsWindow(o.hwnd) ? o.hwnd : nullptr;
    for (HWND hwnd : top_level_windows()) {
        if (IsWindowVisible(hwnd) && matches_window(o, hwnd))
            return hwnd;
    }
    return nullptr;
}

void print_rects(HWND hwnd)
{
    RECT r{}, c{};
    GetWindowRect(hwnd, &r);
    GetClientRect(hwnd, &c);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    std::printf("hwnd 0x%lx rect %ld %ld %ld %ld client %ld %ld %ld %ld\n",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hwnd)), r.left, r.top, r.right, r.bottom,
                origin.x, origin.y, origin.x + c.right, origin.y + c.bottom);
}

// Polls `found` every kPollMs until it gives a window or the timeout passes.
template <typename F>
HWND poll_for(double timeout, F found)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout * 1000);
    for (;;) {
        if (HWND hwnd = found())
            return hwnd;
        if (GetTickCount64() >= end)
            return nullptr;
        Sleep(kPollMs);
    }
}

bool is_message_box(HWND hwnd) { return IsWindowVisible(hwnd) && class_name(hwnd) == L"#32770"; }

std::wstring message_text(HWND dialog)
{
    HWND text = GetDlgItem(dialog, kStaticTextId);
    return text ? window_text(text) : std::wstring();
}

// A caption as the user reads it: "&&" is one ampersand, a lone one only marks the mnemonic.
std::wstring without_mnemonic(const std::wstring& text)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// A button given by its control id (all digits: 1 is IDOK, 2 IDCANCEL) or by its text without
// '&'. Ids hold in every UI language; the texts are translated.
struct ButtonSearch {
    std::wstring name;
    HWND button;
};

bool is_number(const std::wstring& text) { return !text.empty() && text.find_first_not_of(L"0123456789") == text.npos; }

BOOL CALLBACK match_button(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ButtonSearch*>(data);
    const bool match = is_number(search->name)
        ? GetDlgCtrlID(child) == static_cast<int>(std::wcstoul(search->name.c_str(), nullptr, 10))
        : without_mnemonic(window_text(child)) == search->name;
    if (match && class_name(child) == L"Button") {
        search->button = child;
        return FALSE;
    }
    return TRUE;
}

// Presses the dialog's button `name` (see ButtonSearch); false if it has none.
bool press_button(HWND dialog, const std::wstring& name)
{
    ButtonSearch search{name, nullptr};
    EnumChildWindows(dialog, match_button, reinterpret_cast<LPARAM>(&search));
    if (!search.button)
        return false;
    // BM_CLICK is sent, not posted: it returns once the dialog has taken the click.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(search.button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return true;
}

bool append_record(const std::wstring& path, const std::string& record)
{
    FILE* f = _wfopen(path.c_str(), L"ab");
    if (!f)
        return false;
    std::fwrite(record.data(), 1, record.size(), f);
    std::fclose(f);
    return true;
}

// Answers the message boxes of `pid` (any process when 0) until `process` is signalled or
// the timeout passes; true when the process ended. Each dialog is logged once.
bool answer_dialogs(const Options& o, DWORD pid, HANDLE process)
{
    std::set<HWND> seen;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(o.timeout * 1000);
    for (;;) {
        std::set<HWND> present;
        for (HWND hwnd : top_level_windows()) {
            if (!is_message_box(hwnd) || (pid && process_of(hwnd) != pid))
                continue;
            present.insert(hwnd);
            if (seen.count(hwnd))
                continue;
            seen.insert(hwnd);
            const std::string record = escaped(window_text(hwnd)) + "\t" + escaped(message_text(hwnd)) + "\n";
            if (press_button(hwnd, o.button)) {
                // Logged once the box is gone: a script that sees the record may send keys at
                // once, and they must reach the program's own window, not the closing box.
                poll_for(2, [&]() -> HWND { return IsWindow(hwnd) ? nullptr : hwnd; });
            } else {
                std::fprintf(stderr, "win_probe: no button \"%s\" in dialog \"%s\"\n", utf8(o.button).c_str(),
                             utf8(window_text(hwnd)).c_str());
            }
            append_record(o.log, record);
        }
        // Forget closed dialogs, so that a new one at a reused handle is logged too.
        for (auto it = seen.begin(); it != seen.end();)
            it = present.count(*it) ? std::next(it) : seen.erase(it);
        if (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(kPollMs);
    }
}

int run(const Options& o)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command_line = o.command_line;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        o.cwd.empty() ? nullptr : o.cwd.c_str(), &si, &pi)) {
        std::fprintf(stderr, "win_probe: cannot start %s (error %lu)\n", utf8(o.command_line).c_str(), GetLastError());
        return 1;
    }
    CloseHandle(pi.hThread);
    if (!o.pid_file.empty())
        append_record(o.pid_file, std::to_string(pi.dwProcessId) + "\n");
    const bool ended = answer_dialogs(o, pi.dwProcessId, pi.hProcess);
    if (!ended) {
        std::fprintf(stderr, "win_probe: timeout, terminating the program\n");
        TerminateProcess(pi.hProcess, 255);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    std::printf("exit %lu\n", code);
    std::fflush(stdout);
    return ended ? 0 : 3;
}

// The start-up time of a program: from just before CreateProcessW to its window being visible.
int time_start(Options o)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command_line = o.command_line;
    LARGE_INTEGER frequency{}, start{}, shown{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        o.cwd.empty() ? nullptr : o.cwd.c_str(), &si, &pi)) {
        std::fprintf(stderr, "win_probe: cannot start %s (error %lu)\n", utf8(o.command_line).c_str(), GetLastError());
        return 1;
    }
    CloseHandle(pi.hThread);
    o.pid = pi.dwProcessId;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(o.timeout * 1000);
    HWND window = nullptr;
    while (!(window = find_window(o)) && GetTickCount64() < end &&
           WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT) {
    }
    QueryPerformanceCounter(&shown);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    if (!window) {
        std::fprintf(stderr, "win_probe: no window \"%s\" of the program\n", utf8(o.title).c_str());
        return 1;
    }
    std::printf("shown %lld\n", (shown.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
    return 0;
}

// Descendant controls of `parent` in the order EnumChildWindows gives (depth first).
std::vector<HWND> descendants(HWND parent)
{
    std::vector<HWND> windows;
    EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The text a control answers to WM_GETTEXT: a rich edit keeps its text to itself, so the
// window manager's copy (GetWindowText across processes) would be empty.
std::wstring control_text(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                             &got))
        return {};
    text.resize(got);
    return text;
}

// The options' index-th visible control under the window, matched by text (mnemonic '&'
// left out) or class; null when there is none.
HWND find_control(HWND window, const Options& o)
{
    DWORD seen = 0;
    for (HWND child : descendants(window)) {
        if (!IsWindowVisible(child))
            continue;
        if (!o.caption.empty() && without_mnemonic(window_text(child)) != without_mnemonic(o.caption))
            continue;
        if (!o.control_class.empty() && class_name(child) != o.control_class)
            continue;
        if (seen++ == o.index)
            return child;
    }
    return nullptr;
}

void write_utf8(const std::wstring& text)
{
    const std::string bytes = utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

std::wstring clipboard_text()
{
    std::wstring text;
    // Another process may hold the clipboard open for a moment.
    for (int attempt = 0; attempt < 100 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

unsigned long long unix_microseconds()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - 116444736000000000ULL) / 10;  // 100 ns since 1601 to microseconds since 1970
}

int usage()
{
    std::fputs("usage: win_probe wait-window|window-info|foreground|resize|close|run|dialogs|dialog-text|kill|\n"
               "                 modules|control|text|windows|clipboard-text|clipboard-seq|clipboard-wait "
               "[options]\n"
               "  (see the comment at the top of tests/tools/win_probe.cpp)\n",
               stderr);
    return 2;
}

// Parses "--name value" pairs; "--" ends them and the rest, joined by spaces, is the command
// line of `run` (pass it as one argument to keep it exact).
bool parse(int argc, wchar_t** argv, Options& o)
{
    for (int i = 2; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (name == L"--") {
            for (int j = i + 1; j < argc; ++j)
                o.command_line += (j > i + 1 ? L" " : L"") + std::wstring(argv[j]);
            return true;
        }
        if (i + 1 >= argc)
            return false;
        const wchar_t* value = argv[++i];
        if (name == L"--title")
            o.title = value;
        else if (name == L"--class")
            o.window_class = value;
        else if (name == L"--control-class")
            o.control_class = value;
        else if (name == L"--caption")
            o.caption = value;
        else if (name == L"--child" || name == L"--text")
            o.caption = value;
        else if (name == L"--index")
            o.index = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
        else if (name == L"--seq") {
            o.sequence = static_cast<DWORD>(std::wcstoul(value, nullptr, 0));
            o.has_sequence = true;
        } else if (name == L"--button")
            o.button = value;
        else if (name == L"--log")
            o.log = value;
        else if (name == L"--cwd")
            o.cwd = value;
        else if (name == L"--pid-file")
            o.pid_file = value;
        else if (name == L"--hwnd")
            o.hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoul(value, nullptr, 0)));
        else if (name == L"--pid")
            o.pid = static_cast<DWORD>(std::wcstoul(value, nullptr, 0));
        else if (name == L"--timeout")
            o.timeout = std::wcstod(value, nullptr);
        else if (name == L"--by") {
            wchar_t* rest = nullptr;
            o.grow_x = std::wcstol(value, &rest, 10);
            if (!rest || *rest != L',')
                return false;
            o.grow_y = std::wcstol(rest + 1, nullptr, 10);
            o.has_grow = true;
        } else
            return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // LF line ends: the output is read by shell scripts.
    _setmode(_fileno(stdout), _O_BINARY);
    Options o;
    if (argc < 2 || !parse(argc, argv, o))
        return usage();
    const std::wstring command = argv[1];
    const bool names_window = o.hwnd || !o.title.empty() || !o.window_class.empty();

    if (command == L"wait-window" && names_window) {
        HWND hwnd = poll_for(o.timeout, [&]() -> HWND {
            HWND window = find_window(o);
            return window && !o.caption.empty() ? find_control(window, o) : window;
        });
        if (!hwnd) {
            std::fprintf(stderr, "win_probe: no window \"%s\" (class \"%s\", control \"%s\")\n", utf8(o.title).c_str(),
                         utf8(o.window_class).c_str(), utf8(o.caption).c_str());
            return 1;
        }
        print_rects(hwnd);
        return 0;
    }
    if (command == L"window-info" && names_window) {
        HWND hwnd = find_window(o);
        if (!hwnd)
            return 1;
        std::printf("title %s\nclass %s\npid %lu\nowner 0x%lx\nforeground %d\nstyle 0x%08lx\nexstyle 0x%08lx\n",
                    escaped(window_text(hwnd)).c_str(), escaped(class_name(hwnd)).c_str(), process_of(hwnd),
                    static_cast<unsigned long>(reinterpret_cast<uintptr_t>(GetWindow(hwnd, GW_OWNER))),
                    GetForegroundWindow() == hwnd, static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
        print_rects(hwnd);
        return 0;
    }
    if (command == L"foreground" && names_window) {
        HWND hwnd = find_window(o);
        return hwnd && SetForegroundWindow(hwnd) ? 0 : 1;
    }
    if (command == L"resize" && names_window && o.has_grow) {
        HWND hwnd = find_window(o);
        RECT r;
        if (!hwnd || !GetWindowRect(hwnd, &r))
            return 1;
        return SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left + o.grow_x, r.bottom - r.top + o.grow_y,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)
            ? 0
            : 1;
    }
    if (command == L"close" && names_window) {
        HWND hwnd = find_window(o);
        return hwnd && PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"run" && !o.log.empty() && !o.command_line.empty())
        return run(o);
    if (command == L"time-start" && !o.title.empty() && !o.command_line.empty())
        return time_start(o);
    if (command == L"dialogs" && !o.log.empty()) {
        HANDLE process = o.pid ? OpenProcess(SYNCHRONIZE, FALSE, o.pid) : nullptr;
        if (o.pid && !process)
            return 1;
        const bool ended = answer_dialogs(o, o.pid, process);
        if (process)
            CloseHandle(process);
        return ended || !o.pid ? 0 : 1;
    }
    if (command == L"dialog-text" && !o.caption.empty()) {
        HWND hwnd = poll_for(o.timeout, [&]() -> HWND {
            for (HWND w : top_level_windows())
                if (is_message_box(w) && window_text(w) == o.caption && (!o.pid || process_of(w) == o.pid))
                    return w;
            return nullptr;
        });
        if (!hwnd)
            return 1;
        std::printf("%s\n", escaped(message_text(hwnd)).c_str());
        return 0;
    }
    if (command == L"modules" && o.pid) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, o.pid);
        if (snapshot == INVALID_HANDLE_VALUE)
            return 1;
        MODULEENTRY32W module{};
        module.dwSize = sizeof module;
        for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module))
            std::printf("%s\n", utf8(module.szExePath).c_str());
        CloseHandle(snapshot);
        return 0;
    }
    if (command == L"kill" && o.pid) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, o.pid);
        if (!process)
            return 1;
        const bool done = TerminateProcess(process, 255) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
        CloseHandle(process);
        return done ? 0 : 1;
    }
    if (command == L"control" && names_window && (!o.caption.empty() || !o.control_class.empty())) {
        HWND control = poll_for(o.timeout, [&]() -> HWND {
            HWND window = find_window(o);
            return window ? find_control(window, o) : nullptr;
        });
        if (!control) {
            std::fprintf(stderr, "win_probe: no control \"%s\" (class \"%s\")\n", utf8(o.caption).c_str(),
                         utf8(o.control_class).c_str());
            return 1;
        }
        print_rects(control);
        if (class_name(control) == L"Button")
            std::printf("check %ld\n", static_cast<long>(SendMessageW(control, BM_GETCHECK, 0, 0)));
        return 0;
    }
    if (command == L"text" && names_window) {
        HWND window = find_window(o);
        const bool names_control = !o.caption.empty() || !o.control_class.empty();
        HWND target = window && names_control ? find_control(window, o) : window;
        if (!target)
            return 1;
        write_utf8(control_text(target));
        return 0;
    }
    if (command == L"windows" && (!o.title.empty() || !o.window_class.empty())) {
        for (HWND hwnd : top_level_windows()) {
            Options one = o;
            one.hwnd = nullptr;
            if (IsWindowVisible(hwnd) && matches_window(one, hwnd))
                print_rects(hwnd);
        }
        return 0;
    }
    if (command == L"clipboard-text") {
        write_utf8(clipboard_text());
        return 0;
    }
    if (command == L"hold-desktop") {
        // Wine ends its desktop process soon after the last program using it, and the next
        // program to make a window starts it again and waits only a bounded time for it: on a
        // slow or loaded machine that wait runs out and every window of that program fails.
        // A program holding a window keeps the desktop process up for the whole session.
        HWND keeper = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, nullptr, nullptr);
        if (!keeper)
            return 1;
        std::printf("ready\n");
        std::fflush(stdout);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return 0;
    }
    if (command == L"clipboard-seq") {
        std::printf("%lu\n", GetClipboardSequenceNumber());
        return 0;
    }
    if (command == L"clipboard-wait" && o.has_sequence) {
        // Wine also counts changes that leave the text as it was (taking in the X11
        // selection again): only a new text ends the wait.
        const std::wstring before = clipboard_text();
        DWORD seen = o.sequence;
        std::printf("ready\n");
        std::fflush(stdout);
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(o.timeout * 1000);
        for (;;) {
            const DWORD now = GetClipboardSequenceNumber();
            if (now != seen) {
                const unsigned long long at = unix_microseconds();
                if (clipboard_text() != before) {
                    std::printf("seq %lu time %llu\n", now, at);
                    return 0;
                }
                seen = now;
            }
            if (GetTickCount64() >= end)
                return 1;
            Sleep(1);
        }
    }
    return usage();
}
