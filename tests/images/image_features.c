/* image_features.c: one image that uses every kind of reference the image format has, defines
 * a class of its own and catches exceptions in landing records of its own. */
#include "tests/images/image_support.h"

static int32_t g_counter;              /* a global slot (data fixup) */
static void (*g_show)(RuntimeString*); /* a routine address stored: absolute import */
static int32_t (*g_twice)(int32_t);    /* a local routine's address: code fixup */
static int32_t g_initialized;

static int32_t twice(int32_t v) { return 2 * v; }

/* Calls RuntimeNilObject, then RuntimeRaiseException(raise), each followed by an active
 * landing record whose slot is the local at ebp-4; returns what the handler found there
 * (with the count the search added), or 0 when nothing was raised.
 *
 * Like compiled image code, both keep the stack 16-byte aligned at their calls, as the i386
 * System V ABI asks of callers: the runtime is compiled on that assumption, and a call 4 bytes
 * off shifts the frames under it against the sanitizer's 8-byte shadow granules (the address
 * sanitizer build then reports its own locals as overflowing). */
RuntimeObject* catch_nil_object(void);
RuntimeObject* catch_raised(RuntimeObject* raise);
/* clang-format off */
__asm__(
    ".text\n"
    ".globl catch_nil_object\n"
    "catch_nil_object:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  subl $8, %esp\n"
    "  movl $0, -4(%ebp)\n"
    "  call RuntimeNilObject\n"
    "  .byte 0xEB, 0x17, 0x11, 0x04, 0x00, 0x00\n"  /* active record */
    "  .word -4\n"                                   /* slot: ebp-4 */
    "  .byte 0, 0, 0, 0, 0, 0\n"
    "  .byte 0x81, 0xC4\n"
    "  .long 0\n"                                    /* no arguments to drop */
    "  .byte 0xE9\n"
    "  .long 1f - . - 4\n"                           /* jmp handler */
    "  xorl %eax, %eax\n"                            /* normal return: nothing raised */
    "  leave\n"
    "  ret\n"
    "1:\n"
    "  movl -4(%ebp), %eax\n"
    "  leave\n"
    "  ret\n"
    ".globl catch_raised\n"
    "catch_raised:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  subl $4, %esp\n"
    "  movl $0, -4(%ebp)\n"
    "  pushl 8(%ebp)\n"
    "  call RuntimeRaiseException\n"
    "  .byte 0x83, 0xC4, 0x04\n"                     /* add esp, 4 on the normal path */
    "  .byte 0xEB, 0x17, 0x11, 0x04, 0x00, 0x00\n"
    "  .word -4\n"
    "  .byte 0, 0, 0, 0, 0, 0\n"
    "  .byte 0x81, 0xC4\n"
    "  .long 4\n"                                    /* the handler drops the pushed argument */
    "  .byte 0xE9\n"
    "  .long 2f - . - 4\n"
    "  xorl %eax, %eax\n"
    "  leave\n"
    "  ret\n"
    "2:\n"
    "  movl -4(%ebp), %eax\n"
    "  leave\n"
    "  ret\n");
/* clang-format on */

static void initialize_my_error(RuntimeObject* object)
{
    ((int32_t*)object)[9] = 77; /* the field after the exception's number and message */
    ++g_initialized;
}

static int32_t my_error_code(RuntimeObject* self) { return ((int32_t*)self)[9]; }

static void show_class(RuntimeString* label, RuntimeObject* object)
{
    RuntimeLockString(object->classRecord->name);
    say(label, object->classRecord->name);
}

void ImageEntry(void)
{
    say(QV_STR("constants: "), RuntimeAddString(QV_STR("ascii and "), QV_STR("日本語")));
    say(QV_STR("constant encodings: "),
        RuntimeAddString(number((int32_t)QuavGetStringEncoding(QV_STR("ascii"))),
                         RuntimeAddString(QV_STR(" "), number((int32_t)QuavGetStringEncoding(QV_STR("日本"))))));
    say(QV_STR("binary constant length: "), number(QV_BYTES("\x01\x00\x02")->length));

    RuntimeString* converted = StringReplaceAllB(QV_STR("行く。来る。"), QV_STR("。"), QV_STR("ッ "));
    say(QV_STR("relative calls: "), converted);

    g_show = RuntimeMsgBox;
    g_show(QV_STR("absolute import: called through a stored address"));

    g_twice = twice;
    for (int i = 0; i < 3; ++i)
        g_counter += g_twice(i + 1);
    say(QV_STR("code fixup and global slot: "), number(g_counter));

    /* A class of the image's own: a subclass of RuntimeException with one more method. */
    ClassRecord* base = RuntimeLookupClass(QV_STR("runtimeexception"));
    ClassRecord* mine = RuntimeNewClass(base, base->methodCount + 1, base->interfaceCount, base->eventCount,
                                        base->staticMethodCount, base->propertyCount);
    RuntimeLockString(QV_STR("MyError"));
    mine->name = QV_STR("MyError");
    mine->isAnInterface = 0;
    mine->instanceSize = 40;
    mine->initializer = initialize_my_error;
    mine->finalizer = 0;
    RuntimeLockString(QV_STR("Code%i%o<MyError>"));
    mine->methodTable[base->methodCount].routine = (void*)my_error_code;
    mine->methodTable[base->methodCount].signature = QV_STR("Code%i%o<MyError>");
    RuntimeObject* error = RuntimeNewObject(mine);
    int32_t (*code)(RuntimeObject*) =
        (int32_t(*)(RuntimeObject*))((MethodEntry*)error->methods)[base->methodCount].routine;
    say(QV_STR("own class method: "), number(code(error)));
    say(QV_STR("own class is a RuntimeException: "), number(RuntimeObjectIsa(error, base)));

    RuntimeObject* caught = catch_nil_object();
    if (caught) {
        show_class(QV_STR("caught: "), caught);
        say(QV_STR("caught count: "), number(caught->refCount));
        RuntimeUnlockObject(caught);
    }
    caught = catch_raised(error);
    if (caught) {
        show_class(QV_STR("caught own: "), caught);
        say(QV_STR("same object, count: "), number(caught == error ? caught->refCount : -1));
        RuntimeUnlockObject(caught);
    }
    RuntimeUnlockObject(error);
    say(QV_STR("initializer runs: "), number(g_initialized));
    say(QV_STR("live objects: "), number(RuntimeDebugObjectCount(0)));
}
