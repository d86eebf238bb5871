// Raising: the raise and unhandled-exception hooks, the raise slots, and the search for the
// nearest active landing record over the frame-pointer chain.
//
// The image's compiled code follows every call with a 25-byte landing record (after an
// optional "add esp, n"):
//     EB 17            jmp over the record (normal returns never see it)
//     11 04 00 00      marker of an active record (00 00 00 00: inactive, skipped)
//     ss ss            signed 16-bit offset from the caller's frame pointer of the variable
//                      that receives the exception (0: not stored)
//     00 x6
//     81 C4 nn nn nn nn   add esp, n: drop the arguments the caller pushed
//     E9 dd dd dd dd      jmp to the handler
// A raise does not unwind anything. It finds the nearest frame whose return address leads to
// an active record, stores the exception in the named variable, and rewrites that return
// address to the record's "add esp" at byte 14. Every routine between the raise and that
// frame then returns normally, running its own clean-up, and the last return lands in the
// handler.
#include "runtime/objects/exception_foundation.h"

#include <cstring>

#include "platform/memory_probe.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/object_model.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeExceptionFoundation";
constexpr u8 kActiveRecord[6] = {0xEB, 0x17, 0x11, 0x04, 0x00, 0x00};
constexpr uintptr_t kLargestFrameGap = 4096;

struct Hooks {
    ExceptionHook raise = nullptr;
    ExceptionHook unhandled = nullptr;
    ClassRecord* slots[3] = {};
};

Hooks& hooks()
{
    static Hooks s_hooks;
    return s_hooks;
}

// The landing record following a call that returns to `return_address`, or null.
const u8* landing_record_at(const u8* return_address)
{
    const u8* p = return_address;
    if (!platform::is_readable(p, 2))
        return nullptr;
    if (p[0] == 0x81 && p[1] == 0xC4)
        p += 6;
    else if (p[0] == 0x83 && p[1] == 0xC4)
        p += 3;
    if (!platform::is_readable(p, 25) || std::memcmp(p, kActiveRecord, sizeof kActiveRecord) != 0)
        return nullptr;
    return p;
}

// Kept out of line so that it has a frame of its own: the walk starts there. Not
// address-sanitized: it reads the saved words of frames it does not own, and once a frame
// pointer is garbage (the chain may run through code built without frame pointers) those
// words can lie in another frame's redzone; is_readable is what keeps the reads safe.
__attribute__((noinline, no_sanitize("address"))) void search(RuntimeObject* exception)
{
    auto* frame = static_cast<uintptr_t*>(__builtin_frame_address(0));
    for (;;) {
        if (!platform::is_readable(frame, 12))
            break;
        auto* caller_frame = reinterpret_cast<uintptr_t*>(frame[0]);
        const auto* return_address = reinterpret_cast<const u8*>(frame[1]);
        if (!return_address || !platform::is_readable(return_address, 4))
            break;
        if (const u8* record = landing_record_at(return_address)) {
            i16 slot;
            std::memcpy(&slot, record + 6, sizeof slot);
            if (slot != 0) {
                auto* variable = reinterpret_cast<RuntimeObject**>(reinterpret_cast<u8*>(caller_frame) + slot);
                *variable = exception;
                RuntimeLockObject(exception);
            }
            frame[1] = reinterpret_cast<uintptr_t>(record + 14);
            return;
        }
        const auto here = reinterpret_cast<uintptr_t>(frame);
        const auto next = reinterpret_cast<uintptr_t>(caller_frame);
        if (next < here || next - here > kLargestFrameGap)
            break;
        frame = caller_frame;
    }
    RuntimeUnhandledException(exception);
}

}  // namespace

ExceptionHook set_raise_hook(ExceptionHook hook)
{
    ExceptionHook previous = hooks().raise;
    hooks().raise = hook;
    return previous;
}

ExceptionHook set_unhandled_exception_hook(ExceptionHook hook)
{
    ExceptionHook previous = hooks().unhandled;
    hooks().unhandled = hook;
    return previous;
}

void set_raise_slot(RaiseSlot slot, ClassRecord* exception_class)
{
    if (!exception_class)
        assertion_failed(kSource, 90, "exc");
    hooks().slots[static_cast<int>(slot)] = exception_class;
}

ClassRecord* raise_slot(RaiseSlot slot) { return hooks().slots[static_cast<int>(slot)]; }

void RaiseNew(ClassRecord* exception_class)
{
    if (!exception_class) {
        assertion_failed(kSource, 470, "exclass");
        return;
    }
    RuntimeObject* exception = RuntimeNewObject(exception_class);
    RuntimeRaiseException(exception);
    RuntimeUnlockObject(exception);
}

void RaiseNilObject() { RaiseNew(raise_slot(RaiseSlot::NilObject)); }
void RaiseIllegalCast() { RaiseNew(raise_slot(RaiseSlot::IllegalCast)); }
void RaiseOutOfBounds() { RaiseNew(raise_slot(RaiseSlot::OutOfBounds)); }

}  // namespace qv

extern "C" {

// Both raising routines keep their own frames (the search starts below them), so a record
// right after the image's call to them is found like any other.
__attribute__((noinline)) void RuntimeRaiseException(RuntimeObject* exception)
{
    if (qv::hooks().raise)
        qv::hooks().raise(exception);
    qv::search(exception);
}

__attribute__((noinline)) void RuntimeReraiseException(RuntimeObject* exception) { qv::search(exception); }

void RuntimeUnhandledException(RuntimeObject* exception)
{
    if (qv::hooks().unhandled) {
        qv::hooks().unhandled(exception);
        return;
    }
    qv::assertion_failed(qv::kSource, 522, "0");
}

}  // extern "C"
