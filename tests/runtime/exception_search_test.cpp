// The landing-record search, run natively: image functions are assembled the way the image's
// compiler lays out a call (frame, slot, pushed arguments, call, optional stack adjustment,
// landing record) and call runtime routines that raise.
#include <gtest/gtest.h>

#include <iterator>
#include <variant>
#include <vector>

#ifndef _WIN32
#include "platform/posix/memory_probe_methods.h"
#endif
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_model.h"
#include "tests/support/exception_helpers.h"
#include "tests/support/x86_code.h"

namespace {

using namespace qv;
using test::CodeBuilder;
using test::ExecutableCode;
using test::Marker;
using Label = CodeBuilder::Label;

constexpr i16 kNearSlot = -4;
constexpr i16 kFarSlot = -260;  // needs both bytes of the 16-bit offset
constexpr u32 kLocals = 272;
constexpr u32 kNormalPath = 1;
constexpr u32 kHandlerPath = 2;

u32 address(const void* p) { return static_cast<u32>(reinterpret_cast<uintptr_t>(p)); }

template <typename Fn>
const void* code_address(Fn* fn)
{
    return reinterpret_cast<const void*>(fn);
}

// A runtime routine in miniature: it raises, then carries on to its normal exit and
// releases what it made, as every routine between a raise and its handler must.
struct RaiserLog {
    RuntimeObject* exception = nullptr;
    i32 count_after_raise = 0;
    bool reached_end = false;
};
RaiserLog s_raiser;

void raise_and_carry_on(ClassRecord* exception_class)
{
    RuntimeObject* exception = RuntimeNewObject(exception_class);
    s_raiser.exception = exception;
    RuntimeRaiseException(exception);
    s_raiser.count_after_raise = exception->refCount;
    s_raiser.reached_end = true;
    RuntimeUnlockObject(exception);
}

// What an image function recorded on its way out, written by the machine code itself.
struct Trace {
    u32 esp_before_call = 0;
    u32 esp_at_exit = 0;
    u32 path = 0;
    u32 near_slot = 0;  // [ebp-4]
    u32 far_slot = 0;   // [ebp-260]
};

enum class Adjust { None, Short, Long };

struct CallSite {
    std::variant<const void*, Label> target;
    std::vector<u32> arguments;
    Adjust adjust = Adjust::Short;
    Marker marker = Marker::Active;
    i16 slot = kNearSlot;
    u32 initial_locals = 0;
    // The handler passes the exception on (RuntimeReraiseException) and drops its count,
    // each call followed by an inactive record, as compiled handlers do.
    bool reraise_in_handler = false;
};

void emit_exit(CodeBuilder& b, Trace& trace, u32 path)
{
    b.store_esp(&trace.esp_at_exit)
        .store_imm(&trace.path, path)
        .mov_eax_local(kNearSlot)
        .store_eax(&trace.near_slot)
        .mov_eax_local(kFarSlot)
        .store_eax(&trace.far_slot)
        .mov_eax_imm(path)
        .leave_ret();
}

void emit_slot_call(CodeBuilder& b, const void* routine, Label handler)
{
    b.align_for_call(1).push_local(kNearSlot).call(routine).add_esp_short(4);
    b.landing_record(Marker::Inactive, 0, 4, handler);
}

// An image function: frame, locals, the call site, then the normal exit; the handler exits
// the same way after its optional re-raise.
Label emit_image_function(CodeBuilder& b, const CallSite& site, Trace& trace)
{
    const Label entry = b.label();
    const Label handler = b.label();
    b.bind(entry)
        .enter(kLocals)
        .mov_local_imm(kNearSlot, site.initial_locals)
        .mov_local_imm(kFarSlot, site.initial_locals)
        .align_for_call(static_cast<u32>(site.arguments.size()))
        .store_esp(&trace.esp_before_call);
    for (auto it = site.arguments.rbegin(); it != site.arguments.rend(); ++it)
        b.push_imm(*it);
    std::visit([&](auto target) { b.call(target); }, site.target);
    const u32 pushed = 4 * static_cast<u32>(site.arguments.size());
    if (pushed != 0 && site.adjust == Adjust::Short)  // a call without arguments has nothing to drop
        b.add_esp_short(static_cast<u8>(pushed));
    else if (pushed != 0 && site.adjust == Adjust::Long)
        b.add_esp_long(pushed);
    b.landing_record(site.marker, site.slot, pushed, handler);
    emit_exit(b, trace, kNormalPath);

    b.bind(handler);
    if (site.reraise_in_handler) {
        const Label dropped = b.label();  // inactive records never jump
        emit_slot_call(b, code_address(&RuntimeReraiseException), dropped);
        emit_slot_call(b, code_address(&RuntimeUnlockObject), dropped);
        b.bind(dropped);
    }
    emit_exit(b, trace, kHandlerPath);
    return entry;
}

class ExceptionSearch : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::test_exception_class(); }
    void SetUp() override
    {
        s_raiser = {};
        m_live = live_object_count();
    }
    void TearDown() override { EXPECT_EQ(live_object_count(), m_live) << "exception count unbalanced"; }

    static ClassRecord* exception_class() { return test::test_exception_class(); }
    static CallSite raising_call(Marker marker = Marker::Active, i16 slot = kNearSlot)
    {
        return {code_address(&raise_and_carry_on), {address(exception_class())}, Adjust::Short, marker, slot};
    }

    test::ExceptionHookRecorder m_hooks;
    i32 m_live = 0;
};

TEST_F(ExceptionSearch, RaiseLandsInTheCallersHandlerAfterTheRoutineReturns)
{
    struct Case {
        const char* name;
        Adjust adjust;
        i16 slot;
    };
    const Case cases[] = {
        {"83 C4 adjustment", Adjust::Short, kNearSlot},
        {"81 C4 adjustment", Adjust::Long, kNearSlot},
        {"no adjustment", Adjust::None, kNearSlot},
        {"slot offset using both bytes", Adjust::Short, kFarSlot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_raiser = {};
        Trace trace;
        CodeBuilder b;
        CallSite site = raising_call(Marker::Active, c.slot);
        site.adjust = c.adjust;
        const Label f = emit_image_function(b, site, trace);
        ExecutableCode code(b);
        code.function<u32 (*)()>(f)();

        RuntimeObject* exception = s_raiser.exception;
        ASSERT_NE(exception, nullptr);
        EXPECT_TRUE(s_raiser.reached_end) << "the raising routine must run to its normal exit";
        EXPECT_EQ(s_raiser.count_after_raise, 2) << "the slot takes a count of its own";
        EXPECT_EQ(trace.path, kHandlerPath);
        EXPECT_EQ(trace.esp_at_exit, trace.esp_before_call) << "the record must drop the pushed argument";
        EXPECT_EQ(c.slot == kNearSlot ? trace.near_slot : trace.far_slot, address(exception));
        EXPECT_EQ(c.slot == kNearSlot ? trace.far_slot : trace.near_slot, 0u);
        EXPECT_EQ(exception->refCount, 1);
        RuntimeUnlockObject(exception);
    }
    EXPECT_TRUE(m_hooks.unhandled().empty());
    EXPECT_EQ(m_hooks.raised().size(), std::size(cases));
}

#ifndef _WIN32
// Emulators and some sandboxes refuse process_vm_readv; the search must still read the frames.
TEST_F(ExceptionSearch, RaiseLandsInTheHandlerWhenProcessVmReadvIsRefused)
{
    platform::refuse_vm_read_for_testing(true);
    Trace trace;
    CodeBuilder b;
    const Label f = emit_image_function(b, raising_call(), trace);
    ExecutableCode code(b);
    code.function<u32 (*)()>(f)();
    platform::refuse_vm_read_for_testing(false);

    ASSERT_NE(s_raiser.exception, nullptr);
    EXPECT_EQ(trace.path, kHandlerPath);
    EXPECT_EQ(trace.near_slot, address(s_raiser.exception));
    EXPECT_TRUE(m_hooks.unhandled().empty());
    RuntimeUnlockObject(s_raiser.exception);
}
#endif

TEST_F(ExceptionSearch, RuntimeRaisesLeaveTheExceptionWithCountOneOwnedByTheSlot)
{
    set_raise_slot(RaiseSlot::NilObject, exception_class());
    struct Case {
        const char* name;
        const void* routine;
        std::vector<u32> arguments;
    };
    const Case cases[] = {
        {"RaiseNew", code_address(&RaiseNew), {address(exception_class())}},
        {"RuntimeNilObject", code_address(&RuntimeNilObject), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Trace trace;
        CodeBuilder b;
        const Label f = emit_image_function(b, {c.routine, c.arguments}, trace);
        ExecutableCode code(b);
        code.function<u32 (*)()>(f)();

        ASSERT_EQ(trace.path, kHandlerPath);
        auto* exception = reinterpret_cast<RuntimeObject*>(static_cast<uintptr_t>(trace.near_slot));
        ASSERT_NE(exception, nullptr);
        EXPECT_EQ(exception->classRecord, exception_class());
        EXPECT_EQ(exception->refCount, 1);
        EXPECT_EQ(live_object_count(), m_live + 1);
        RuntimeUnlockObject(exception);
    }
    EXPECT_TRUE(m_hooks.unhandled().empty());
}

TEST_F(ExceptionSearch, NearestActiveRecordTakesTheExceptionAndInactiveOnesAreSkipped)
{
    struct Case {
        const char* name;
        Marker inner;
        bool inner_catches;
    };
    const Case cases[] = {
        {"inner record active", Marker::Active, true},
        {"inner record inactive", Marker::Inactive, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_raiser = {};
        Trace inner;
        Trace outer;
        CodeBuilder b;
        const Label inner_f = emit_image_function(b, raising_call(c.inner), inner);
        const Label outer_f = emit_image_function(b, {inner_f, {}, Adjust::None}, outer);
        ExecutableCode code(b);
        code.function<u32 (*)()>(outer_f)();

        const u32 exception = address(s_raiser.exception);
        ASSERT_NE(exception, 0u);
        EXPECT_EQ(inner.path, c.inner_catches ? kHandlerPath : kNormalPath);
        EXPECT_EQ(outer.path, c.inner_catches ? kNormalPath : kHandlerPath);
        EXPECT_EQ(inner.near_slot, c.inner_catches ? exception : 0u) << "an inactive record stores nothing";
        EXPECT_EQ(outer.near_slot, c.inner_catches ? 0u : exception);
        EXPECT_EQ(s_raiser.exception->refCount, 1);
        RuntimeUnlockObject(s_raiser.exception);
    }
    EXPECT_TRUE(m_hooks.unhandled().empty());
}

TEST_F(ExceptionSearch, RecordWithoutSlotTakesTheExceptionWithoutStoringIt)
{
    constexpr u32 kUntouched = 0x5A5A5A5A;
    Trace trace;
    CodeBuilder b;
    CallSite site = raising_call(Marker::Active, 0);
    site.initial_locals = kUntouched;
    const Label f = emit_image_function(b, site, trace);
    ExecutableCode code(b);
    code.function<u32 (*)()>(f)();

    EXPECT_EQ(trace.path, kHandlerPath);
    EXPECT_EQ(trace.near_slot, kUntouched);
    EXPECT_EQ(trace.far_slot, kUntouched);
    EXPECT_EQ(s_raiser.count_after_raise, 1) << "no slot, no extra count";
    EXPECT_EQ(live_object_count(), m_live) << "the raiser's release freed it";
    EXPECT_TRUE(m_hooks.unhandled().empty());
}

// An outer image function with an active record calls `middle`, which calls the raiser
// without a record of its own: the search has to cross middle's frame to reach the outer
// record. Returns what the outer function saw.
Trace run_through_middle(CodeBuilder& b, Label middle)
{
    Trace outer;
    const Label outer_f = emit_image_function(b, {middle, {}, Adjust::None}, outer);
    ExecutableCode code(b);
    code.function<u32 (*)()>(outer_f)();
    return outer;
}

class ExceptionSearchChain : public ExceptionSearch {
protected:
    // Either the outer record caught the exception, or the search stopped at the break and
    // gave it to the unhandled-exception hook while the raise was under way.
    void expect_outcome(const Trace& outer, bool caught, size_t unhandled_before)
    {
        RuntimeObject* exception = s_raiser.exception;
        ASSERT_NE(exception, nullptr);
        EXPECT_TRUE(s_raiser.reached_end);
        const auto& unhandled = m_hooks.unhandled();
        if (caught) {
            EXPECT_EQ(outer.path, kHandlerPath);
            EXPECT_EQ(outer.near_slot, address(exception));
            EXPECT_EQ(unhandled.size(), unhandled_before);
            RuntimeUnlockObject(exception);
        } else {
            EXPECT_EQ(outer.path, kNormalPath);
            EXPECT_EQ(outer.near_slot, 0u);
            ASSERT_EQ(unhandled.size(), unhandled_before + 1);
            EXPECT_EQ(unhandled.back().exception, exception);
            EXPECT_EQ(unhandled.back().ref_count, 1) << "only the raiser's count";
        }
    }
};

TEST_F(ExceptionSearchChain, FrameGapOfMoreThan4096BytesEndsTheSearch)
{
    struct Case {
        u32 gap;
        bool caught;
    };
    // 4112 is the first gap past the limit that keeps the raiser's stack 16-byte aligned,
    // which instrumented builds rely on.
    for (const Case c : {Case{64, true}, Case{4096, true}, Case{4112, false}}) {
        SCOPED_TRACE(c.gap);
        s_raiser = {};
        const size_t unhandled_before = m_hooks.unhandled().size();
        // Middle's frame sits exactly `gap` bytes above the raiser's, which the raiser's
        // prologue puts 8 bytes below the stack pointer at the call.
        CodeBuilder b;
        const Label middle = b.label();
        b.bind(middle).enter(0);
        for (u32 depth = 2048; depth < c.gap + 2048; depth += 2048)  // touch the pages in order:
            b.bytes({0x85, 0x84, 0x24}).u32_value(0u - depth);       // Windows grows stacks by a guard page
        b.bytes({0x8D, 0xA5})
            .u32_value(12u - c.gap)  // lea esp, [ebp - gap + 12]
            .push_imm(address(exception_class()))
            .call(code_address(&raise_and_carry_on))
            .leave_ret();
        expect_outcome(run_through_middle(b, middle), c.caught, unhandled_before);
    }
}

TEST_F(ExceptionSearchChain, BrokenFrameChainEndsAsUnhandled)
{
    auto fake_frame = [](u32 return_address) {
        std::vector<u8> bytes = {0x68};  // push return_address; push ebp; mov ebp, esp
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<u8>(return_address >> (8 * i)));
        bytes.insert(bytes.end(), {0x55, 0x89, 0xE5});
        return bytes;
    };
    struct Case {
        const char* name;
        std::vector<u8> breakage;  // runs in middle before the call
        bool caught;
    };
    const Case cases[] = {
        {"intact chain", {}, true},
        {"frame pointer below the callee's", {0x8D, 0xAC, 0x24, 0x00, 0xFF, 0xFF, 0xFF}, false},  // lea ebp, [esp-256]
        {"frame with a null return address", fake_frame(0), false},
        {"frame with an unreadable return address", fake_frame(0x10), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_raiser = {};
        const size_t unhandled_before = m_hooks.unhandled().size();
        CodeBuilder b;
        const Label middle = b.label();
        b.bind(middle)
            .enter(0)
            .bytes({0x56, 0x89, 0xEE})  // push esi; mov esi, ebp: keep the real frame
            .bytes(c.breakage)
            .align_for_call(1)
            .push_imm(address(exception_class()))
            .call(code_address(&raise_and_carry_on))
            .bytes({0x89, 0xF5, 0x8D, 0x65, 0xFC, 0x5E})  // mov ebp, esi; lea esp, [ebp-4]; pop esi
            .leave_ret();
        expect_outcome(run_through_middle(b, middle), c.caught, unhandled_before);
    }
}

TEST_F(ExceptionSearch, ReraiseFromAHandlerGoesToTheNextRecordOrIsUnhandled)
{
    struct Case {
        const char* name;
        Marker outer_marker;
    };
    for (const Case& c :
         {Case{"outer record active", Marker::Active}, Case{"no active record above", Marker::Inactive}}) {
        SCOPED_TRACE(c.name);
        s_raiser = {};
        const size_t raised_before = m_hooks.raised().size();
        Trace inner;
        Trace outer;
        CodeBuilder b;
        CallSite inner_site = raising_call();
        inner_site.reraise_in_handler = true;
        const Label inner_f = emit_image_function(b, inner_site, inner);
        const Label outer_f = emit_image_function(b, {inner_f, {}, Adjust::None, c.outer_marker}, outer);
        ExecutableCode code(b);
        code.function<u32 (*)()>(outer_f)();

        RuntimeObject* exception = s_raiser.exception;
        EXPECT_EQ(inner.path, kHandlerPath);
        EXPECT_EQ(m_hooks.raised().size(), raised_before + 1) << "re-raising skips the raise hook";
        if (c.outer_marker == Marker::Active) {
            EXPECT_EQ(outer.path, kHandlerPath);
            EXPECT_EQ(outer.near_slot, address(exception));
            EXPECT_TRUE(m_hooks.unhandled().empty());
            EXPECT_EQ(exception->refCount, 1) << "the inner handler dropped its count";
            RuntimeUnlockObject(exception);
        } else {
            EXPECT_EQ(outer.path, kNormalPath);
            ASSERT_EQ(m_hooks.unhandled().size(), 1u);
            EXPECT_EQ(m_hooks.unhandled()[0].exception, exception);
            EXPECT_EQ(m_hooks.unhandled()[0].ref_count, 1) << "held by the inner slot only";
        }
    }
}

}  // namespace
