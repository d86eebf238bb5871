// Encoding of the few i386 instructions the tests need, and placing the code.
#include "tests/support/x86_code.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv::test {
namespace {

constexpr size_t kUnbound = static_cast<size_t>(-1);

[[noreturn]] void fail(const char* what, const platform::ExecStatus& status)
{
    std::fprintf(stderr, "x86_code: %s: %s failed (%lu)\n", what, status.failed_call ? status.failed_call : "?",
                 status.error);
    std::abort();
}

void write_u32(u8* at, u32 value) { std::memcpy(at, &value, sizeof value); }

}  // namespace

CodeBuilder::Label CodeBuilder::label()
{
    m_labels.push_back(kUnbound);
    return {m_labels.size() - 1};
}

CodeBuilder& CodeBuilder::bind(Label label)
{
    m_labels.at(label.id) = m_code.size();
    return *this;
}

CodeBuilder& CodeBuilder::bytes(std::initializer_list<u8> bytes)
{
    m_code.insert(m_code.end(), bytes);
    return *this;
}

CodeBuilder& CodeBuilder::bytes(const std::vector<u8>& bytes)
{
    m_code.insert(m_code.end(), bytes.begin(), bytes.end());
    return *this;
}

CodeBuilder& CodeBuilder::u32_value(u32 value)
{
    u8 raw[4];
    write_u32(raw, value);
    m_code.insert(m_code.end(), raw, raw + 4);
    return *this;
}

CodeBuilder& CodeBuilder::enter(u32 locals)
{
    bytes({0x55, 0x89, 0xE5});  // push ebp; mov ebp, esp
    if (locals)
        bytes({0x81, 0xEC}).u32_value(locals);
    return *this;
}

CodeBuilder& CodeBuilder::align_for_call(u32 words)
{
    bytes({0x83, 0xE4, 0xF0});  // and esp, -16
    const u32 pad = (16 - (4 * words) % 16) % 16;
    if (pad)
        bytes({0x83, 0xEC, static_cast<u8>(pad)});
    return *this;
}

CodeBuilder& CodeBuilder::leave_ret() { return bytes({0xC9, 0xC3}); }

// [ebp+disp] as a ModRM operand: the short form when the displacement fits a byte.
CodeBuilder& CodeBuilder::ebp_operand(u8 reg, i32 disp)
{
    if (disp >= -128 && disp <= 127)
        return bytes({static_cast<u8>(0x45 | reg << 3), static_cast<u8>(disp)});
    return bytes({static_cast<u8>(0x85 | reg << 3)}).u32_value(static_cast<u32>(disp));
}

CodeBuilder& CodeBuilder::mov_local_imm(i32 disp, u32 value)
{
    return bytes({0xC7}).ebp_operand(0, disp).u32_value(value);
}

CodeBuilder& CodeBuilder::mov_eax_local(i32 disp) { return bytes({0x8B}).ebp_operand(0, disp); }

CodeBuilder& CodeBuilder::mov_eax_imm(u32 value) { return bytes({0xB8}).u32_value(value); }

CodeBuilder& CodeBuilder::store_eax(void* address)
{
    return bytes({0xA3}).u32_value(static_cast<u32>(reinterpret_cast<uintptr_t>(address)));
}

CodeBuilder& CodeBuilder::store_esp(void* address)
{
    return bytes({0x89, 0x25}).u32_value(static_cast<u32>(reinterpret_cast<uintptr_t>(address)));
}

CodeBuilder& CodeBuilder::store_imm(void* address, u32 value)
{
    return bytes({0xC7, 0x05}).u32_value(static_cast<u32>(reinterpret_cast<uintptr_t>(address))).u32_value(value);
}

CodeBuilder& CodeBuilder::push_imm(u32 value) { return bytes({0x68}).u32_value(value); }

CodeBuilder& CodeBuilder::push_local(i32 disp) { return bytes({0xFF}).ebp_operand(6, disp); }

CodeBuilder& CodeBuilder::call(const void* target)
{
    bytes({0xE8});
    m_fixups.push_back({m_code.size(), target, 0});
    return u32_value(0);
}

CodeBuilder& CodeBuilder::call(Label target)
{
    bytes({0xE8});
    m_fixups.push_back({m_code.size(), nullptr, target.id});
    return u32_value(0);
}

CodeBuilder& CodeBuilder::jmp(Label target)
{
    bytes({0xE9});
    m_fixups.push_back({m_code.size(), nullptr, target.id});
    return u32_value(0);
}

CodeBuilder& CodeBuilder::add_esp_short(u8 count) { return bytes({0x83, 0xC4, count}); }

CodeBuilder& CodeBuilder::add_esp_long(u32 count) { return bytes({0x81, 0xC4}).u32_value(count); }

CodeBuilder& CodeBuilder::landing_record(Marker marker, i16 slot, u32 restore, Label handler)
{
    bytes({0xEB, 0x17}).u32_value(static_cast<u32>(marker));
    const u16 raw_slot = static_cast<u16>(slot);
    bytes({static_cast<u8>(raw_slot), static_cast<u8>(raw_slot >> 8), 0, 0, 0, 0, 0, 0});
    add_esp_long(restore);
    return jmp(handler);
}

ExecutableCode::ExecutableCode(const CodeBuilder& code) : m_labels(code.m_labels)
{
    if (const auto status = platform::allocate_writable_region(code.m_code.size(), m_region); !status.ok())
        fail("allocating", status);
    std::memcpy(m_region.base, code.m_code.data(), code.m_code.size());
    for (const CodeBuilder::Fixup& fixup : code.m_fixups) {
        const uintptr_t next = reinterpret_cast<uintptr_t>(m_region.base) + fixup.at + 4;
        uintptr_t target = reinterpret_cast<uintptr_t>(fixup.absolute_target);
        if (!fixup.absolute_target) {
            const size_t offset = m_labels.at(fixup.label);
            if (offset == kUnbound) {
                std::fprintf(stderr, "x86_code: jump to an unbound label\n");
                std::abort();
            }
            target = reinterpret_cast<uintptr_t>(m_region.base) + offset;
        }
        write_u32(m_region.base + fixup.at, static_cast<u32>(target - next));
    }
    if (const auto status = platform::make_executable(m_region); !status.ok())
        fail("protecting", status);
}

ExecutableCode::~ExecutableCode() { platform::free_region(m_region); }

const u8* ExecutableCode::address_of(CodeBuilder::Label label) const
{
    const size_t offset = m_labels.at(label.id);
    if (offset == kUnbound) {
        std::fprintf(stderr, "x86_code: address of an unbound label\n");
        std::abort();
    }
    return m_region.base + offset;
}

}  // namespace qv::test
