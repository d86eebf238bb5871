/* image_debugger.c: an image compiled as for debugging. It connects to the debugger, calls
 * RuntimeDebuggerEntry before each numbered "line", and gives the debugger a global integer,
 * a 64-bit global, a string variable, an object that is freed and an exception that is
 * raised. It first reports the variables' addresses (standard error under qvrun, message boxes
 * under runtime.exe), then runs line 1 until the debugger writes g_go, so that breakpoints can
 * be set before anything runs.
 *
 * Lines: ImageEntry 1 to 8, middle 30 to 32, helper 20 and 21. The test debugger in
 * tests/debugger/debugger_session_test.py relies on these numbers. */
#include "tests/images/image_support.h"

int32_t g_go;
int32_t g_value = 0x12345678;
int64_t g_wide = 0x1122334455667788LL;
RuntimeString* g_text;
RuntimeObject* g_object;

/* Calls RuntimeRaiseException(raise) followed by an active landing record whose slot is the
 * local at ebp-4; returns what the handler found there, or 0 when nothing was raised. Keeps
 * the stack 16-byte aligned at its call, as compiled image code does. */
RuntimeObject* catch_raised(RuntimeObject* raise);
/* clang-format off */
__asm__(
    ".text\n"
    ".globl catch_raised\n"
    "catch_raised:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  subl $4, %esp\n"
    "  movl $0, -4(%ebp)\n"
    "  pushl 8(%ebp)\n"
    "  call RuntimeRaiseException\n"
    "  .byte 0x83, 0xC4, 0x04\n"                     /* add esp, 4 on the normal path */
    "  .byte 0xEB, 0x17, 0x11, 0x04, 0x00, 0x00\n"  /* active record */
    "  .word -4\n"                                   /* slot: ebp-4 */
    "  .byte 0, 0, 0, 0, 0, 0\n"
    "  .byte 0x81, 0xC4\n"
    "  .long 4\n"                                    /* the handler drops the pushed argument */
    "  .byte 0xE9\n"
    "  .long 1f - . - 4\n"
    "  xorl %eax, %eax\n"
    "  leave\n"
    "  ret\n"
    "1:\n"
    "  movl -4(%ebp), %eax\n"
    "  leave\n"
    "  ret\n");
/* clang-format on */

/* Kept out of line, each with its own frame, as debug-compiled functions are. */
__attribute__((noinline)) static int32_t helper(int32_t v)
{
    RuntimeDebuggerEntry(20);
    v += 1;
    RuntimeDebuggerEntry(21);
    return v * 2;
}

__attribute__((noinline)) static void middle(void)
{
    RuntimeDebuggerEntry(30);
    int32_t r = helper(g_value);
    RuntimeDebuggerEntry(31);
    r = helper(r);
    RuntimeDebuggerEntry(32);
    g_value = r;
}

static void say_address(RuntimeString* label, const void* address)
{
    say(label, RuntimeHex((int32_t)(uintptr_t)address));
}

void ImageEntry(void)
{
    say_address(QV_STR("g_go "), &g_go);
    say_address(QV_STR("g_value "), &g_value);
    say_address(QV_STR("g_wide "), &g_wide);
    say_address(QV_STR("g_text "), &g_text);
    say_address(QV_STR("g_object "), &g_object);
    g_text = QV_STR("hello");
    RuntimeLockString(g_text);

    DebugRuntimeInit();
    while (!*(volatile int32_t*)&g_go)
        RuntimeDebuggerEntry(1);
    RuntimeDebuggerEntry(2);
    middle();
    RuntimeDebuggerEntry(3);
    middle();
    RuntimeDebuggerEntry(4);
    RuntimeLockString(g_text);
    say(QV_STR("text: "), g_text);
    RuntimeDebuggerEntry(5);
    g_object = RuntimeNewObject(RuntimeLookupClass(QV_STR("RuntimeException")));
    RuntimeDebuggerEntry(6);
    RuntimeUnlockObject(g_object);
    g_object = 0;
    RuntimeDebuggerEntry(7);
    RuntimeObject* error = RuntimeNewObject(RuntimeLookupClass(QV_STR("OutOfBoundsException")));
    RuntimeObject* caught = catch_raised(error);
    say(QV_STR("caught: "), number(caught == error));
    RuntimeUnlockObject(caught);
    RuntimeUnlockObject(error);
    RuntimeDebuggerEntry(8);
    say(QV_STR("value: "), RuntimeHex(g_value));
    RuntimeDebuggerShutdown();
}
