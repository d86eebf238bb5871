#include "debugger/command_execution.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "debugger/hex_values.h"
#include "debugger/wire_lines.h"
#include "runtime/arrays/runtime_array.h"
#include "sdk/quaver.h"

namespace qv::debugger {

namespace {

// Byte offsets in the records shared with image code, from their one definition.
constexpr u32 kStringBuffer = offsetof(RuntimeString, buffer);
constexpr u32 kStringLength = offsetof(RuntimeString, length);
constexpr u32 kStringEncoding = offsetof(RuntimeString, encoding);
constexpr u32 kStringHeaderSize = sizeof(RuntimeString);
constexpr u32 kObjectClass = offsetof(RuntimeObject, classRecord);
constexpr u32 kClassName = offsetof(ClassRecord, name);
constexpr u32 kArrayDimensions = offsetof(RuntimeArray, dimensions);
constexpr u32 kArrayData = offsetof(RuntimeArray, data);
constexpr u32 kArrayBounds = offsetof(RuntimeArray, upperBounds);
constexpr u32 kEncodingASCII = QV_ENCODING_ASCII;  // what the empty (nil) string reads as

bool read_u32(DebugMemory& memory, u32 address, u32& out) { return memory.read(address, &out, sizeof out); }

bool read_field(DebugMemory& memory, u32 record, u32 offset, u32& out)
{
    return record + offset >= record && read_u32(memory, record + offset, out);
}

// The text and encoding of the string record at `address` (0: the empty string).
bool read_string_record(DebugMemory& memory, u32 address, u32 max_bytes, StringValue& out)
{
    out = {};
    if (address == 0) {
        out.encoding = kEncodingASCII;
        return true;
    }
    u8 header[kStringHeaderSize];
    if (!memory.read(address, header, sizeof header))
        return false;
    u32 buffer;
    i32 length;
    std::memcpy(&buffer, header + kStringBuffer, 4);
    std::memcpy(&length, header + kStringLength, 4);
    std::memcpy(&out.encoding, header + kStringEncoding, 4);
    if (length < 0 || static_cast<u32>(length) > max_bytes)
        return false;
    if (length == 0)
        return true;
    // The text follows the length byte.
    if (buffer + 1 < buffer)
        return false;
    out.bytes.resize(static_cast<size_t>(length));
    return memory.read(buffer + 1, out.bytes.data(), static_cast<u32>(length));
}

bool read_class_name(DebugMemory& memory, u32 object, std::string& out)
{
    u32 class_record;
    u32 name;
    StringValue text;
    if (!read_field(memory, object, kObjectClass, class_record) || class_record == 0 ||
        !read_field(memory, class_record, kClassName, name) ||
        !read_string_record(memory, name, kMaxClassNameBytes, text))
        return false;
    // A control byte (a carriage return above all) would break the reply line: whatever the
    // pointers led to, it is not a class name.
    for (const char c : text.bytes) {
        if (static_cast<u8>(c) < 0x20)
            return false;
    }
    out = std::move(text.bytes);
    return true;
}

bool read_array_bounds(DebugMemory& memory, u32 array, std::string& value)
{
    u32 dimensions;
    u32 data;
    if (!read_field(memory, array, kArrayDimensions, dimensions) || !read_field(memory, array, kArrayData, data))
        return false;
    if (static_cast<i32>(dimensions) < 0 || static_cast<i32>(dimensions) > kMaxArrayDimensions)
        return false;
    std::vector<u32> bounds(dimensions);
    if (dimensions > 0 &&
        (array + kArrayBounds < array || !memory.read(array + kArrayBounds, bounds.data(), dimensions * 4)))
        return false;
    append_hex(value, data, 4);
    for (const u32 bound : bounds) {
        value.push_back(' ');
        append_hex(value, bound, 4);
    }
    return true;
}

// The reply word, the request's argument and, when known, a space and the value.
void append_value_reply(std::string& out, std::string_view word, std::string_view argument, const std::string* value)
{
    std::string text(argument);
    if (value) {
        text.push_back(' ');
        text.append(*value);
    }
    append_line(out, word, text);
}

void read_value(DebugMemory& memory, const Command& command, const char* word, u32 size, std::string& replies)
{
    u64 value = 0;
    std::string text;
    const bool read = memory.read(command.number, &value, size);
    if (read)
        append_hex(text, value, static_cast<int>(size));
    append_value_reply(replies, word, command.argument, read ? &text : nullptr);
}

void write_string(DebugMemory& memory, const Command& command)
{
    u32 old_string;
    if (!read_u32(memory, command.number, old_string))
        return;
    const u32 new_string = memory.new_string(command.string.encoding, command.string.bytes);
    if (!memory.write(command.number, &new_string, sizeof new_string)) {
        memory.release_string(new_string);
        return;
    }
    memory.release_string(old_string);
}

void append_frame(std::string& out, u32 frame, u32 code, u32 code_base)
{
    std::string text;
    append_hex(text, frame, 4);
    text.push_back(' ');
    append_hex(text, code - code_base, 4);
    append_line(out, "SFR", text);
}

// Follows the saved frame pointers outward (each frame holds its caller's frame pointer and
// then the return address). The walk ends at an unreadable frame, at one that is not above
// the last (a corrupt chain must not loop), and at a return address outside the image's
// code, where the runtime's own frames begin.
void crawl_stack(DebugMemory& memory, DebugHost& host, StopRecord stop, std::string& replies)
{
    if (stop.frame != 0) {
        const u32 base = host.code_base();
        const u32 size = host.code_size();
        u32 frame = stop.frame;
        append_frame(replies, frame, stop.code, base);
        for (int i = 1; i < kMaxStackFrames; ++i) {
            u32 link[2];
            if (!memory.read(frame, link, sizeof link) || link[0] <= frame)
                break;
            if (size != 0 && link[1] - base >= size)
                break;
            frame = link[0];
            append_frame(replies, frame, link[1], base);
        }
    }
    append_line(replies, "SC");
}

void read_property(DebugHost& host, const Command& command, PropertyType type, const char* word, std::string& replies)
{
    PropertyValue value;
    std::string text;
    const bool read = host.read_property(command.number, command.property, type, value);
    if (read) {
        switch (type) {
        case PropertyType::Boolean: append_hex(text, value.bits != 0 ? 1 : 0, 1); break;
        case PropertyType::Integer:
        case PropertyType::Single:
        case PropertyType::Object: append_hex(text, value.bits, 4); break;
        case PropertyType::Double: append_hex(text, value.bits, 8); break;
        case PropertyType::String: append_string_value(text, value.string.encoding, value.string.bytes); break;
        }
    }
    append_value_reply(replies, word, command.argument, read ? &text : nullptr);
}

}  // namespace

Outcome execute_command(const Command& command, DebuggerState& state, DebugMemory& memory, DebugHost& host,
                        std::string& replies)
{
    switch (command.kind) {
    case CommandKind::Run:
        if (const u32 window = host.front_window())
            host.bring_to_front(window);
        return Outcome::Resume;
    case CommandKind::Quit: return Outcome::Quit;
    case CommandKind::BreakpointArray: state.breakpoints.reset(command.number); break;
    case CommandKind::SetBreakpoint:
    case CommandKind::ClearBreakpoint:
        state.breakpoints.set(command.number, command.kind == CommandKind::SetBreakpoint);
        break;
    case CommandKind::Step:
    case CommandKind::StepOver:
    case CommandKind::StepOut:
        state.step_mode = command.kind == CommandKind::Step ? StepMode::Step
            : command.kind == CommandKind::StepOver         ? StepMode::StepOver
                                                            : StepMode::StepOut;
        state.step_frame = state.stop.frame;
        return Outcome::Resume;
    case CommandKind::ReadByte: read_value(memory, command, "VAL8", 1, replies); break;
    case CommandKind::ReadWord: read_value(memory, command, "VAL32", 4, replies); break;
    case CommandKind::ReadLong: read_value(memory, command, "VAL64", 8, replies); break;
    case CommandKind::ReadString: {
        u32 address;
        StringValue string;
        std::string text;
        const bool read = read_u32(memory, command.number, address) &&
            read_string_record(memory, address, kMaxStringValueBytes, string);
        if (read)
            append_string_value(text, string.encoding, string.bytes);
        append_value_reply(replies, "VALS", command.argument, read ? &text : nullptr);
        break;
    }
    case CommandKind::ReadObject:
    case CommandKind::ReadObjectClass: {
        if (command.number == 0)
            break;
        std::string name;
        std::string text;
        const bool read = read_class_name(memory, command.number, name);
        if (read && command.kind == CommandKind::ReadObject) {
            append_hex(text, command.number, 4);
            text.push_back(' ');
        }
        text.append(name);
        append_value_reply(replies, command.kind == CommandKind::ReadObject ? "VALO" : "VALOC", command.argument,
                           read ? &text : nullptr);
        break;
    }
    case CommandKind::ReadArrayBounds: {
        if (command.number == 0)
            break;
        std::string text;
        const bool read = read_array_bounds(memory, command.number, text);
        append_value_reply(replies, "VALABB", command.argument, read ? &text : nullptr);
        break;
    }
    case CommandKind::WriteWord: {
        const u32 value = static_cast<u32>(command.value);
        memory.write(command.number, &value, sizeof value);
        break;
    }
    case CommandKind::WriteLong: memory.write(command.number, &command.value, sizeof command.value); break;
    case CommandKind::WriteString: write_string(memory, command); break;
    case CommandKind::ProcessId: append_line(replies, "PID", format_hex(host.process_id(), 4)); break;
    case CommandKind::CodeBase: append_line(replies, "TOC", format_hex(host.code_base(), 4)); break;
    case CommandKind::StackCrawl: crawl_stack(memory, host, state.stop, replies); break;
    case CommandKind::WatchObject: state.watched_objects.add(command.number); break;
    case CommandKind::UnwatchObject: state.watched_objects.remove(command.number); break;
    case CommandKind::WatchArray: state.watched_arrays.add(command.number); break;
    case CommandKind::UnwatchArray: state.watched_arrays.remove(command.number); break;
    case CommandKind::PropertyBoolean: read_property(host, command, PropertyType::Boolean, "VALPVB", replies); break;
    case CommandKind::PropertyInteger: read_property(host, command, PropertyType::Integer, "VALPVI", replies); break;
    case CommandKind::PropertySingle: read_property(host, command, PropertyType::Single, "VALPVF", replies); break;
    case CommandKind::PropertyDouble: read_property(host, command, PropertyType::Double, "VALPVD", replies); break;
    case CommandKind::PropertyObject: read_property(host, command, PropertyType::Object, "VALPVO", replies); break;
    case CommandKind::PropertyString: read_property(host, command, PropertyType::String, "VALPVS", replies); break;
    case CommandKind::SwitchToDebugger: host.bring_to_front(command.number); break;
    case CommandKind::GetWindow: append_line(replies, "HWND", std::to_string(host.front_window())); break;
    }
    return Outcome::Stay;
}

void append_break(std::string& out, u32 line, StopRecord stop, u32 code_base)
{
    std::string text;
    append_hex(text, line, 4);
    text.push_back(' ');
    append_hex(text, stop.frame, 4);
    text.push_back(' ');
    append_hex(text, stop.code - code_base, 4);
    append_line(out, "BREAK", text);
}

void append_trap(std::string& out, std::string_view class_name) { append_line(out, "TRAP", class_name); }

}  // namespace qv::debugger
