/*
 * protected_call.c: the landing record is a fixed byte pattern the runtime's exception search
 * recognises after a call site; a C compiler cannot place one, so the routine is written out.
 *
 * The frame keeps the stack 16-byte aligned at both calls, as the runtime's code assumes. The
 * record's slot is the local at ebp-4: the search stores the exception there (with a count
 * added) and makes the callee return into the handler, which releases it and answers 0.
 */
#include "app/protected_call.h"

/* clang-format off */
__asm__(
    ".text\n"
    ".globl protected_call\n"
    "protected_call:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  subl $8, %esp\n"
    "  movl $0, -4(%ebp)\n"
    "  call *8(%ebp)\n"
    "  .byte 0xEB, 0x17, 0x11, 0x04, 0x00, 0x00\n"  /* active landing record */
    "  .word -4\n"                                   /* slot: ebp-4 */
    "  .byte 0, 0, 0, 0, 0, 0\n"
    "  .byte 0x81, 0xC4\n"
    "  .long 0\n"                                    /* no arguments to drop */
    "  .byte 0xE9\n"
    "  .long 1f - . - 4\n"                           /* jmp to the handler */
    "  movl $1, %eax\n"                              /* returned normally */
    "  leave\n"
    "  ret\n"
    "1:\n"
    "  subl $12, %esp\n"
    "  pushl -4(%ebp)\n"
    "  call RuntimeUnlockObject\n"
    "  xorl %eax, %eax\n"
    "  leave\n"
    "  ret\n");
/* clang-format on */
