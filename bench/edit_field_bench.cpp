// edit_field_bench: Hollerpad's conversion as the packaged application runs it on its editor:
// each of the 110 steps reads the multi-line edit field's text, makes one replace-all (or
// prepend) and writes the result back. The field lives in a real window; the time of a run is
// the 110 round trips plus the turn of the event loop that follows them, so that whatever the
// field puts off until then is counted too. Windows build, run under Wine.
//
//     edit_field_bench CORPUS [--kb N] [--runs N]
//
// The text is the corpus's first N KB (default 100), cut at its last line end (CR). Prints the
// medians over the runs of the 110 round trips, of the turn of the event loop after them and of
// both, and the medians of a single round trip and of its read and its write.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/conversion_steps.h"
#include "bench/bench_support.h"
#include "platform/win32/windows_api.h"

#include <richedit.h>
#include "sdk/quaver.h"
#include "tests/support/windows_runtime_start.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/window_object.h"

namespace {

using bench::Held;
using bench::median;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Row {
    std::string_view find;  // for a prepend row: the text put in front
    std::string_view replacement;
    bool prepend;
};
#define BENCH_ROW_STEP(n, sw, find, repl) {{find, sizeof(find) - 1}, {repl, sizeof(repl) - 1}, false},
#define BENCH_ROW_PREPEND(n, sw, head) {{head, sizeof(head) - 1}, {}, true},
constexpr Row kRows[] = {HOLLERPAD_CONVERSION_STEPS(BENCH_ROW_STEP, BENCH_ROW_PREPEND)};
#undef BENCH_ROW_STEP
#undef BENCH_ROW_PREPEND

RuntimeString* build_constant(std::string_view text)
{
    RuntimeString* s = QuavBuildString(text.data(), static_cast<int32_t>(text.size()));
    const bool seven_bit = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
    QuavSetStringEncoding(s, seven_bit ? QV_ENCODING_ASCII : QV_ENCODING_UTF8);
    return s;
}

RuntimeObject* g_field = nullptr;
ClassRecord* g_field_class = nullptr;

void layout(RuntimeObject* window)
{
    qv::ui::WindowObject* w = qv::ui::window_fields(window);
    w->bounds = qv::ui::ControlBounds{40, 40, 440, 640};
    w->visible = 1;
}

void create_controls(RuntimeObject* window)
{
    g_field = WindowAllocateObject(window, g_field_class);
    RectControlDefaultConstructor(g_field);
    Held name(QuavBuildString("Field", 5));
    stringSetter(g_field, qv::ui::kControlNameOffset, name.s);
    qv::ui::control_fields(g_field)->bounds = qv::ui::ControlBounds{10, 10, 420, 620};
    editMultiLineSetter(g_field, 0, 1);
    editScrollBarSetter(g_field, 0, 1);
    WindowAddControl(window, g_field);
}

// One turn of the event loop: every message waiting is dispatched.
void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The text as the control holds it: UTF-16 with CR line ends.
std::wstring wide_of(const Held& text)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(text.bytes()), text.length(), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(text.bytes()), text.length(), wide.data(), n);
    return wide;
}

struct StreamSource {
    const char* bytes;
    LONG left;
};

DWORD CALLBACK stream_in(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const LONG n = std::min(wanted, source->left);
    std::copy(source->bytes, source->bytes + n, buffer);
    source->bytes += n;
    source->left -= n;
    *given = n;
    return 0;
}

// The ways a program can put a whole text into the rich edit control in one call; the cheapest
// of them is the floor the field's own deferred write is measured against.
struct SetWay {
    const char* name;
    void (*set)(HWND, const std::wstring&);
};
void set_plain(HWND hwnd, const std::wstring& text) { SetWindowTextW(hwnd, text.c_str()); }
void set_without_undo(HWND hwnd, const std::wstring& text)
{
    SendMessageW(hwnd, EM_SETUNDOLIMIT, 0, 0);
    SetWindowTextW(hwnd, text.c_str());
    SendMessageW(hwnd, EM_SETUNDOLIMIT, 100, 0);
}
void set_without_redraw(HWND hwnd, const std::wstring& text)
{
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd, EM_SETUNDOLIMIT, 0, 0);
    SetWindowTextW(hwnd, text.c_str());
    SendMessageW(hwnd, EM_SETUNDOLIMIT, 100, 0);
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
}
void set_text_ex(HWND hwnd, const std::wstring& text)
{
    SETTEXTEX how{ST_DEFAULT, 1200};
    SendMessageW(hwnd, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(text.c_str()));
}
void set_stream_in(HWND hwnd, const std::wstring& text)
{
    StreamSource source{reinterpret_cast<const char*>(text.data()), static_cast<LONG>(text.size() * sizeof(wchar_t))};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, stream_in};
    SendMessageW(hwnd, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}
constexpr SetWay kSetWays[] = {
    {"WM_SETTEXT", set_plain},
    {"WM_SETTEXT, no undo", set_without_undo},
    {"WM_SETTEXT, no undo, redraw held off", set_without_redraw},
    {"EM_SETTEXTEX (UTF-16)", set_text_ex},
    {"EM_STREAMIN (SF_TEXT | SF_UNICODE)", set_stream_in},
};

[[noreturn]] void usage(const char* problem)
{
    std::fprintf(stderr, "edit_field_bench: %s\nusage: edit_field_bench CORPUS [--kb N] [--runs N]\n", problem);
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* corpus = nullptr;
    int kb = 100, runs = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--kb" && i + 1 < argc)
            kb = std::atoi(argv[++i]);
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg[0] != '-' && !corpus)
            corpus = argv[i];
        else
            usage(("unknown argument '" + arg + "'").c_str());
    }
    if (!corpus || kb < 1 || runs < 1)
        usage("needs a corpus file, and counts of at least 1");
    std::string bytes;
    if (!bench::read_file(corpus, bytes))
        usage("cannot read the corpus");
    bytes.resize(std::min(bytes.size(), static_cast<size_t>(kb) * 1024));
    bytes.resize(bytes.rfind('\r') == std::string::npos ? 0 : bytes.rfind('\r') + 1);
    if (bytes.empty())
        usage("the corpus has no line end (CR) within the size");

    qv::test::start_windows_runtime();
    ClassRecord* base = RuntimeLookupClass(Held(QuavBuildString("EditField", 9)).s);
    g_field_class = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                                    base->staticMethodCount, base->propertyCount);
    g_field_class->name = QuavBuildString("BenchField", 10);
    g_field_class->instanceSize = base->instanceSize;
    ClassRecord* window_base = RuntimeLookupClass(Held(QuavBuildString("Window", 6)).s);
    ClassRecord* window_class =
        RuntimeNewClass(window_base, window_base->methodCount, window_base->interfaceCount, window_base->eventCount,
                        window_base->staticMethodCount, window_base->propertyCount);
    window_class->name = QuavBuildString("BenchWindow", 11);
    window_class->instanceSize = window_base->instanceSize;
    window_class->eventTable[qv::ui::kWindowLayout].routine = reinterpret_cast<void*>(&layout);
    window_class->eventTable[qv::ui::kWindowCreateControls].routine = reinterpret_cast<void*>(&create_controls);
    RuntimeObject* window = RuntimeNewObject(window_class);
    WindowDefaultConstructor(window);
    RuntimeShowWindow(window);
    pump();

    std::vector<Held> finds, replacements;
    for (const Row& row : kRows) {
        finds.emplace_back(build_constant(row.find));
        replacements.emplace_back(row.prepend ? nullptr : build_constant(row.replacement));
    }
    Held original(build_constant(bytes));
    std::vector<double> run_times, trips_times, turn_times, trip_times, read_times, write_times;
    Held result;
    for (int run = 0; run < runs; ++run) {
        editTextSetter(g_field, 0, original.s);
        pump();
        const auto start = Clock::now();
        for (size_t i = 0; i < std::size(kRows); ++i) {
            const auto trip = Clock::now();
            Held text(editTextGetter(g_field, 0));
            read_times.push_back(seconds_since(trip));
            Held next(kRows[i].prepend ? RuntimeAddString(finds[i].s, text.s)
                                       : StringReplaceAllB(text.s, finds[i].s, replacements[i].s));
            const auto write = Clock::now();
            editTextSetter(g_field, 0, next.s);
            write_times.push_back(seconds_since(write));
            trip_times.push_back(seconds_since(trip));
        }
        trips_times.push_back(seconds_since(start));
        const auto turn = Clock::now();
        pump();
        turn_times.push_back(seconds_since(turn));
        run_times.push_back(seconds_since(start));
        result.reset(editTextGetter(g_field, 0));
    }
    // The same chain on the string alone: the field must give back exactly what it was given.
    Held direct(build_constant(bytes));
    for (size_t i = 0; i < std::size(kRows); ++i)
        direct.reset(kRows[i].prepend ? RuntimeAddString(finds[i].s, direct.s)
                                      : StringReplaceAllB(direct.s, finds[i].s, replacements[i].s));
    const bool same = direct.length() == result.length() &&
        std::equal(direct.bytes(), direct.bytes() + direct.length(), result.bytes());

    // The floor: the result set straight into the control (over the original text, as the
    // deferred write finds it) plus the turn that paints it, each way, alternating.
    HWND native = qv::ui::control_fields(g_field)->paneInstance->handle();
    const std::wstring before = wide_of(original), after = wide_of(result);
    std::vector<std::vector<double>> way_times(std::size(kSetWays));
    for (int run = 0; run < runs; ++run) {
        for (size_t w = 0; w < std::size(kSetWays); ++w) {
            set_without_undo(native, before);
            pump();
            const auto start = Clock::now();
            kSetWays[w].set(native, after);
            pump();
            way_times[w].push_back(seconds_since(start));
        }
    }
    double floor = 0;
    for (size_t w = 0; w < std::size(kSetWays); ++w) {
        const double t = median(way_times[w]);
        floor = w == 0 ? t : std::min(floor, t);
    }
    std::printf("text: %zu bytes, %zu round trips per run, %d runs\n", bytes.size(), std::size(kRows), runs);
    std::printf("110 round trips: %.3f s (median run)\n", median(trips_times));
    std::printf("the event loop's next turn after them: %.3f s\n", median(turn_times));
    std::printf("both together: %.3f s\n", median(run_times));
    std::printf("one round trip: %.2f ms (read %.2f ms, write %.2f ms)\n", median(trip_times) * 1000,
                median(read_times) * 1000, median(write_times) * 1000);
    std::printf("result: %d bytes, equal to the chain on the string alone: %s\n", result.length(), same ? "yes" : "NO");
    std::printf("one set of the result straight into the control, and the turn that paints it:\n");
    for (size_t w = 0; w < std::size(kSetWays); ++w)
        std::printf("  %-40s %.3f s\n", kSetWays[w].name, median(way_times[w]));
    std::printf("the deferred write against the cheapest single set: %.2fx\n", median(turn_times) / floor);
    RuntimeCloseWindow(window);
    RuntimeUnlockObject(window);
    return same ? 0 : 1;
}
