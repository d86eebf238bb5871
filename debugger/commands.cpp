#include "debugger/commands.h"

#include "debugger/wire_lines.h"

namespace qv::debugger {

namespace {

enum class ArgumentForm {
    None,          // any argument is disregarded
    Hex32,         // one 4-byte value
    Hex32Value32,  // address, space, 4-byte value
    Hex32Value64,  // address, space, 8-byte value
    Hex32String,   // address, space, string value
    Hex32Name,     // address, space, name
    Decimal,       // an unsigned 32-bit decimal number
};

struct CommandForm {
    const char* word;
    CommandKind kind;
    ArgumentForm form;
};

// clang-format off
constexpr CommandForm kCommands[] = {
    {"RUN",              CommandKind::Run,              ArgumentForm::None},
    {"QUIT",             CommandKind::Quit,             ArgumentForm::None},
    {"BRLA",             CommandKind::BreakpointArray,  ArgumentForm::Hex32},
    {"BR",               CommandKind::SetBreakpoint,    ArgumentForm::Hex32},
    {"BRC",              CommandKind::ClearBreakpoint,  ArgumentForm::Hex32},
    {"STEP",             CommandKind::Step,             ArgumentForm::None},
    {"STEPOVER",         CommandKind::StepOver,         ArgumentForm::None},
    {"STEPOUT",          CommandKind::StepOut,          ArgumentForm::None},
    {"DB",               CommandKind::ReadByte,         ArgumentForm::Hex32},
    {"DW",               CommandKind::ReadWord,         ArgumentForm::Hex32},
    {"DL",               CommandKind::ReadLong,         ArgumentForm::Hex32},
    {"DS",               CommandKind::ReadString,       ArgumentForm::Hex32},
    {"DO",               CommandKind::ReadObject,       ArgumentForm::Hex32},
    {"DOC",              CommandKind::ReadObjectClass,  ArgumentForm::Hex32},
    {"DABB",             CommandKind::ReadArrayBounds,  ArgumentForm::Hex32},
    {"SW",               CommandKind::WriteWord,        ArgumentForm::Hex32Value32},
    {"SL",               CommandKind::WriteLong,        ArgumentForm::Hex32Value64},
    {"SS",               CommandKind::WriteString,      ArgumentForm::Hex32String},
    {"PID",              CommandKind::ProcessId,        ArgumentForm::None},
    {"TOC",              CommandKind::CodeBase,         ArgumentForm::None},
    {"SC",               CommandKind::StackCrawl,       ArgumentForm::None},
    {"OWLS",             CommandKind::WatchObject,      ArgumentForm::Hex32},
    {"OWLR",             CommandKind::UnwatchObject,    ArgumentForm::Hex32},
    {"AWLS",             CommandKind::WatchArray,       ArgumentForm::Hex32},
    {"AWLR",             CommandKind::UnwatchArray,     ArgumentForm::Hex32},
    {"DPVB",             CommandKind::PropertyBoolean,  ArgumentForm::Hex32Name},
    {"DPVI",             CommandKind::PropertyInteger,  ArgumentForm::Hex32Name},
    {"DPVF",             CommandKind::PropertySingle,   ArgumentForm::Hex32Name},
    {"DPVD",             CommandKind::PropertyDouble,   ArgumentForm::Hex32Name},
    {"DPVO",             CommandKind::PropertyObject,   ArgumentForm::Hex32Name},
    {"DPVS",             CommandKind::PropertyString,   ArgumentForm::Hex32Name},
    {"SwitchToDebugger", CommandKind::SwitchToDebugger, ArgumentForm::Decimal},
    {"GetHWND",          CommandKind::GetWindow,        ArgumentForm::None},
};
// clang-format on

std::optional<u32> decode_decimal(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    u64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<u64>(c - '0');
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<u32>(value);
}

// Decodes "ADDRESS REST": the address into the command, REST returned (nullopt if malformed).
std::optional<std::string_view> decode_address_and_rest(std::string_view argument, Command& command)
{
    const size_t space = argument.find(' ');
    if (space == std::string_view::npos)
        return std::nullopt;
    const std::optional<u64> address = decode_hex(argument.substr(0, space), 4);
    if (!address)
        return std::nullopt;
    command.number = static_cast<u32>(*address);
    return argument.substr(space + 1);
}

bool decode_argument(ArgumentForm form, std::string_view argument, Command& command)
{
    switch (form) {
    case ArgumentForm::None: return true;
    case ArgumentForm::Hex32: {
        const std::optional<u64> value = decode_hex(argument, 4);
        if (value)
            command.number = static_cast<u32>(*value);
        return value.has_value();
    }
    case ArgumentForm::Hex32Value32:
    case ArgumentForm::Hex32Value64: {
        const std::optional<std::string_view> rest = decode_address_and_rest(argument, command);
        if (!rest)
            return false;
        const std::optional<u64> value = decode_hex(*rest, form == ArgumentForm::Hex32Value32 ? 4 : 8);
        if (value)
            command.value = *value;
        return value.has_value();
    }
    case ArgumentForm::Hex32String: {
        const std::optional<std::string_view> rest = decode_address_and_rest(argument, command);
        if (!rest)
            return false;
        std::optional<StringValue> string = decode_string_value(*rest);
        if (string)
            command.string = std::move(*string);
        return string.has_value();
    }
    case ArgumentForm::Hex32Name: {
        const std::optional<std::string_view> rest = decode_address_and_rest(argument, command);
        if (!rest || rest->empty())
            return false;
        command.property = *rest;
        return true;
    }
    case ArgumentForm::Decimal: {
        const std::optional<u32> value = decode_decimal(argument);
        if (value)
            command.number = *value;
        return value.has_value();
    }
    }
    return false;
}

}  // namespace

std::optional<Command> parse_command(std::string_view line)
{
    const CommandLine parts = split_command_line(line);
    for (const CommandForm& entry : kCommands) {
        if (!same_command_word(parts.word, entry.word))
            continue;
        Command command;
        command.kind = entry.kind;
        command.argument = parts.argument;
        if (!decode_argument(entry.form, parts.argument, command))
            return std::nullopt;
        return command;
    }
    return std::nullopt;
}

bool resumes(CommandKind kind)
{
    return kind == CommandKind::Run || kind == CommandKind::Quit || kind == CommandKind::Step ||
        kind == CommandKind::StepOver || kind == CommandKind::StepOut;
}

}  // namespace qv::debugger
