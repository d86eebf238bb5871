// RunGuarded: a small assembly routine that calls through a landing record (the compiler
// cannot be asked to emit one) and the C++ side that deals with what it caught.
#include "runtime/exceptions/run_guarded.h"

#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/callback_guard.h"
#include "runtime/objects/exception_foundation.h"

// qv_guarded_call(routine, argument, caught): returns 1 when routine(argument) returned
// normally, or 0 when the return was redirected to the handler, which stores the slot's
// exception (and the count the search added for it) in *caught.
//
// The code is laid out the way the image's compiler lays out a protected call: a frame,
// the zeroed slot at ebp-4, the argument, the call, "add esp, 4" for the normal return,
// then the 25-byte landing record. A raise finds the record through the routine's frame,
// stores the exception at ebp-4 and points the routine's return at the record's
// "add esp, 4" (byte 14), whose jump leads to the handler. At the call the stack is
// 16-byte aligned, as the System V i386 ABI expects of callers.
#define QV_STRINGIFY2(x) #x
#define QV_STRINGIFY(x) QV_STRINGIFY2(x)
#define QV_SYMBOL(name) QV_STRINGIFY(__USER_LABEL_PREFIX__) #name  // "_" on mingw, "" on ELF
#ifdef _WIN32
#define QV_FUNCTION_TYPE(name) ".def " QV_SYMBOL(name) "; .scl 2; .type 32; .endef\n"
#define QV_FUNCTION_SIZE(name) ""
#else
#define QV_FUNCTION_TYPE(name) ".type " QV_SYMBOL(name) ", @function\n"
#define QV_FUNCTION_SIZE(name) ".size " QV_SYMBOL(name) ", . - " QV_SYMBOL(name) "\n"
#endif

extern "C" int qv_guarded_call(qv::GuardedRoutine routine, void* argument, RuntimeObject** caught);

// clang-format off
__asm__(
    ".text\n"
    ".globl " QV_SYMBOL(qv_guarded_call) "\n"
    QV_FUNCTION_TYPE(qv_guarded_call)
    ".p2align 4\n"
    QV_SYMBOL(qv_guarded_call) ":\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    subl $4, %esp\n"
    "    movl $0, -4(%ebp)\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    addl $4, %esp\n"                   // 83 C4 04
    "    .byte 0xEB, 0x17\n"                // jump over the record
    "    .byte 0x11, 0x04, 0x00, 0x00\n"    // active
    "    .short -4\n"                       // slot: ebp-4
    "    .byte 0, 0, 0, 0, 0, 0\n"
    "    .byte 0x81, 0xC4\n"                // add esp, 4: the argument
    "    .long 4\n"
    "    .byte 0xE9\n"                      // jmp handler
    "    .long 1f - (. + 4)\n"
    "    movl $1, %eax\n"
    "    leave\n"
    "    ret\n"
    "1:  movl 16(%ebp), %ecx\n"
    "    movl -4(%ebp), %eax\n"
    "    movl %eax, (%ecx)\n"
    "    xorl %eax, %eax\n"
    "    leave\n"
    "    ret\n"
    QV_FUNCTION_SIZE(qv_guarded_call));
// clang-format on

namespace qv {
namespace {

constexpr const char* kSource = "RunGuarded";

// What the assembly routine calls: the routine itself, with its C++ exceptions stopped here,
// since they cannot unwind through the assembly frame.
struct GuardedCall {
    GuardedRoutine routine;
    void* argument;
    bool returned;
};

void call_without_cxx_exceptions(void* call)
{
    auto* c = static_cast<GuardedCall*>(call);
    c->returned = guard_callback(kSource, [c] { c->routine(c->argument); });
}

}  // namespace

bool RunGuarded(GuardedRoutine routine, void* argument)
{
    if (!routine) {
        assertion_failed(kSource, 40, "fp");
        return false;
    }
    RuntimeObject* caught = nullptr;
    GuardedCall call{routine, argument, false};
    if (qv_guarded_call(&call_without_cxx_exceptions, &call, &caught))
        return call.returned;
    if (!caught) {  // someone raised a null exception
        assertion_failed(kSource, 52, "0");
        return false;
    }
    RuntimeUnhandledException(caught);
    RuntimeUnlockObject(caught);  // the slot's count
    return false;
}

}  // namespace qv
