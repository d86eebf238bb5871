// A small i386 assembler for tests: emits the instructions that image code uses around its
// calls (frames, pushes, calls, stack adjustments, landing records) and places the result in
// executable memory.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "core/types.h"
#include "platform/exec_memory.h"

namespace qv::test {

enum class Marker : u32 { Inactive = 0, Active = 0x0411 };

class CodeBuilder {
public:
    struct Label {
        size_t id;
    };

    Label label();
    CodeBuilder& bind(Label label);

    CodeBuilder& bytes(std::initializer_list<u8> bytes);
    CodeBuilder& bytes(const std::vector<u8>& bytes);
    CodeBuilder& u32_value(u32 value);

    // push ebp; mov ebp, esp; sub esp, locals
    CodeBuilder& enter(u32 locals);
    // Aligns esp to 16 and then lowers it so that pushing `words` 32-bit arguments leaves
    // it aligned again at the call.
    CodeBuilder& align_for_call(u32 words);
    CodeBuilder& leave_ret();  // leave; ret

    CodeBuilder& mov_local_imm(i32 disp, u32 value);   // mov dword [ebp+disp], value
    CodeBuilder& mov_eax_local(i32 disp);              // mov eax, [ebp+disp]
    CodeBuilder& mov_eax_imm(u32 value);               // mov eax, value
    CodeBuilder& store_eax(void* address);             // mov [address], eax
    CodeBuilder& store_esp(void* address);             // mov [address], esp
    CodeBuilder& store_imm(void* address, u32 value);  // mov dword [address], value
    CodeBuilder& push_imm(u32 value);
    CodeBuilder& push_local(i32 disp);  // push dword [ebp+disp]

    // E8 rel32 to an absolute address or a label, resolved when the code is placed.
    CodeBuilder& call(const void* target);
    CodeBuilder& call(Label target);
    CodeBuilder& jmp(Label target);        // E9 rel32
    CodeBuilder& add_esp_short(u8 count);  // 83 C4 count
    CodeBuilder& add_esp_long(u32 count);  // 81 C4 count
    // The 25-byte record that follows a call: EB 17, marker, slot, six zeros, 81 C4 restore,
    // E9 to the handler.
    CodeBuilder& landing_record(Marker marker, i16 slot, u32 restore, Label handler);

private:
    friend class ExecutableCode;
    CodeBuilder& ebp_operand(u8 reg, i32 disp);

    struct Fixup {
        size_t at;  // offset of the rel32 field
        const void* absolute_target;
        size_t label;  // used when absolute_target is null
    };

    std::vector<u8> m_code;
    std::vector<size_t> m_labels;  // offset, or npos while unbound
    std::vector<Fixup> m_fixups;
};

// The builder's code placed in read+execute memory, with its calls resolved.
class ExecutableCode {
public:
    explicit ExecutableCode(const CodeBuilder& code);
    ~ExecutableCode();
    ExecutableCode(const ExecutableCode&) = delete;
    ExecutableCode& operator=(const ExecutableCode&) = delete;

    const u8* address_of(CodeBuilder::Label label) const;
    template <typename Fn>
    Fn function(CodeBuilder::Label label) const
    {
        return reinterpret_cast<Fn>(const_cast<u8*>(address_of(label)));
    }

private:
    platform::ExecRegion m_region;
    std::vector<size_t> m_labels;
};

}  // namespace qv::test
