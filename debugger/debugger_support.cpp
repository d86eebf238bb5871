#include "debugger/debugger_support.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/command_execution.h"
#include "debugger/debugger_connection.h"
#include "debugger/debugger_environment.h"
#include "debugger/debugger_state.h"
#include "debugger/process_memory.h"
#include "debugger/runtime_host.h"
#include "debugger/watch_list.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/ticks.h"
#include "runtime/arrays/runtime_array.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"

namespace qv::debugger {

namespace {

constexpr u16 kDebuggerPort = 13897;
constexpr u32 kConnectTimeoutMs = 5000;
// While running, lines are looked for at most this often: a check per source line would
// cost a system call each.
constexpr u32 kRunningPollPeriodMs = 5;
// While stopped, how long one wait for lines blocks before windows are painted again.
constexpr u32 kStoppedWaitMs = 50;

struct Session {
    DebuggerConnection connection;
    DebuggerState state;
    ProcessMemory memory;
    RuntimeHost host;
    u32 last_poll = 0;
    // Set while the program waits at a stop: code that runs meanwhile (a window painted)
    // neither stops again nor reads lines, which belong to the wait.
    bool stopped = false;
    ExceptionHook previous_raise_hook = nullptr;
    ObjectFreedHook previous_object_hook = nullptr;
    ArrayFreedHook previous_array_hook = nullptr;
};

// Lives from DebugRuntimeInit to RuntimeDebuggerShutdown; null when no debugger is attached.
Session* g_session = nullptr;

// The debugger asked to quit or went away: the program ends with exit code 1.
[[noreturn]] void end_debugged_process()
{
    debugger_environment().stop_serving_socket();
    g_session->connection.close();
    platform::exit_process(1);
}

void send(std::string_view lines)
{
    if (!lines.empty() && !g_session->connection.send(lines))
        end_debugged_process();
}

// Runs the received lines in order, sending each one's replies; true when one of them lets
// a stopped program go on.
bool dispatch(const std::vector<std::string>& lines)
{
    bool resume = false;
    std::string replies;
    for (const std::string& line : lines) {
        const std::optional<Command> command = parse_command(line);
        if (!command)
            continue;
        replies.clear();
        const Outcome outcome =
            execute_command(*command, g_session->state, g_session->memory, g_session->host, replies);
        send(replies);
        if (outcome == Outcome::Quit)
            end_debugged_process();
        if (outcome == Outcome::Resume)
            resume = true;
    }
    return resume;
}

// Serves the debugger until a command resumes the program.
void wait_while_stopped()
{
    g_session->stopped = true;
    std::vector<std::string> lines;
    for (;;) {
        debugger_environment().pump_once();
        lines.clear();
        if (!g_session->connection.receive(kStoppedWaitMs, lines))
            end_debugged_process();
        if (dispatch(lines))
            break;
    }
    g_session->stopped = false;
    g_session->last_poll = platform::tick_count_ms();
}

// Handles what the debugger sent while the program ran, without waiting.
void poll_while_running()
{
    const u32 now = platform::tick_count_ms();
    if (now - g_session->last_poll < kRunningPollPeriodMs)
        return;
    g_session->last_poll = now;
    std::vector<std::string> lines;
    if (!g_session->connection.receive(0, lines))
        end_debugged_process();
    dispatch(lines);
}

// The event loop's turn: lines that arrived while the program waited for events.
void poll_from_event_loop()
{
    if (!g_session || g_session->stopped)
        return;
    g_session->last_poll = platform::tick_count_ms();
    std::vector<std::string> lines;
    if (!g_session->connection.receive(0, lines))
        end_debugged_process();
    dispatch(lines);
}

std::string_view class_name_of(RuntimeObject* object)
{
    if (!object || !object->classRecord || !object->classRecord->name)
        return {};
    const RuntimeString* name = object->classRecord->name;
    if (name->length <= 0 || !name->buffer)
        return {};
    return std::string_view(reinterpret_cast<const char*>(name->buffer) + 1, static_cast<size_t>(name->length));
}

void on_raise(RuntimeObject* exception)
{
    if (g_session && !g_session->stopped) {
        std::string out;
        append_trap(out, class_name_of(exception));
        send(out);
        wait_while_stopped();
    }
    if (g_session && g_session->previous_raise_hook)
        g_session->previous_raise_hook(exception);
}

u32 address_of(const void* p) { return static_cast<u32>(reinterpret_cast<uintptr_t>(p)); }

void on_object_freed(RuntimeObject* object)
{
    if (!g_session)
        return;
    std::string out;
    object_freed(g_session->state.watched_objects, address_of(object), out);
    send(out);
    if (g_session->previous_object_hook)
        g_session->previous_object_hook(object);
}

void on_array_freed(RuntimeArray* array)
{
    if (!g_session)
        return;
    std::string out;
    array_freed(g_session->state.watched_arrays, address_of(array), out);
    send(out);
    if (g_session->previous_array_hook)
        g_session->previous_array_hook(array);
}

}  // namespace

}  // namespace qv::debugger

void qv::request_debugger_break()
{
    if (debugger::g_session && !debugger::g_session->stopped)
        debugger::request_break(debugger::g_session->state);
}

using namespace qv::debugger;

extern "C" {

void DebugRuntimeInit(void)
{
    if (g_session)
        return;
    debugger_environment().before_connect();
    auto* session = new Session;
    if (!session->connection.open(kDebuggerPort, kConnectTimeoutMs)) {
        platform::show_message("Debugger", "No debugger answered at 127.0.0.1:13897; the program ends.");
        platform::exit_process(1);
    }
    session->last_poll = platform::tick_count_ms();
    g_session = session;
    session->previous_raise_hook = qv::set_raise_hook(on_raise);
    session->previous_object_hook = qv::set_object_freed_hook(on_object_freed);
    session->previous_array_hook = qv::set_array_freed_hook(on_array_freed);
    debugger_environment().serve_socket(session->connection.socket(), poll_from_event_loop);
}

// Out of line with a frame of its own: the caller's frame pointer is the word the frame
// pointer points at, and the return address is where the caller goes on.
__attribute__((noinline)) void RuntimeDebuggerEntry(int32_t line)
{
    if (!g_session || g_session->stopped)
        return;
    const auto* frame = static_cast<const uintptr_t*>(__builtin_frame_address(0));
    const StopRecord stop{static_cast<u32>(frame[0]), address_of(__builtin_return_address(0))};
    poll_while_running();
    if (!enter_line(g_session->state, static_cast<u32>(line), stop))
        return;
    std::string out;
    append_break(out, static_cast<u32>(line), stop, g_session->host.code_base());
    send(out);
    wait_while_stopped();
}

void RuntimeDebuggerShutdown(void)
{
    if (!g_session)
        return;
    Session* session = g_session;
    debugger_environment().stop_serving_socket();
    qv::set_raise_hook(session->previous_raise_hook);
    qv::set_object_freed_hook(session->previous_object_hook);
    qv::set_array_freed_hook(session->previous_array_hook);
    g_session = nullptr;
    delete session;
}

}  // extern "C"

namespace qv {

std::span<const ProvidedRoutine> debugger_routines()
{
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(DebugRuntimeInit),
        QV_PROVIDED(RuntimeDebuggerEntry),
        QV_PROVIDED(RuntimeDebuggerShutdown),
    };
    return kRoutines;
}

void register_debugger_routines() { add_provided_routines(debugger_routines()); }

}  // namespace qv
