#include "framework/key_names.h"

namespace qv {
namespace {

constexpr u32 kFirstFunctionKey = 112;  // F1
constexpr u32 kLastFunctionKey = 135;   // F24

struct FixedCode {
    u32 virtual_key;
    u32 code;
};

constexpr FixedCode kFixedCodes[] = {
    {33, 11}, {34, 12},  {35, 4},   {36, 1},   {37, 28},  {38, 30},  {39, 29},  {40, 31},
    {45, 5},  {46, 127}, {106, 42}, {107, 43}, {109, 45}, {111, 47}, {110, 46}, {kVirtualKeyKeypadEnter, 3},
};

struct KeyNameEntry {
    u32 virtual_key;
    const char* name;
};

constexpr KeyNameEntry kKeyNames[] = {
    {8, "Bsp"},     {9, "Tab"},    {12, "Clr"},     {13, "Enter"},    {27, "Esc"}, {32, "Space"}, {33, "PgUp"},
    {34, "PgDn"},   {35, "End"},   {36, "Home"},    {37, "Left"},     {38, "Up"},  {39, "Right"}, {40, "Down"},
    {41, "Select"}, {42, "Print"}, {43, "Execute"}, {44, "Snapshot"}, {45, "Ins"}, {46, "Del"},   {47, "Help"},
};

}  // namespace

u32 translate_key(u32 virtual_key, const KeyTranslationState& state, KeyScanFunction key_scan)
{
    if (virtual_key >= kFirstFunctionKey && virtual_key <= kLastFunctionKey)
        return virtual_key + 88;
    if (virtual_key >= 96 && virtual_key <= 105)  // keypad 0..9
        return '0' + (virtual_key - 96);
    for (const FixedCode& fixed : kFixedCodes)
        if (fixed.virtual_key == virtual_key)
            return fixed.code;
    const bool any_modifier = state.shift_held || state.ctrl_held || state.alt_held;
    if (!any_modifier && virtual_key == 188)  // comma
        return ',';
    if (!any_modifier && virtual_key == 190)  // period
        return '.';
    if ((state.caps_lock && virtual_key >= 'A' && virtual_key <= 'Z') || virtual_key < 32)
        return virtual_key;
    if (key_scan) {
        const u32 want_ctrl_alt = state.ctrl_held && state.alt_held ? 0x600 : 0;
        for (u32 c = 32; c <= 255; ++c) {
            const i16 scan = key_scan(static_cast<u8>(c));
            if (scan == -1)
                continue;
            const u32 bits = static_cast<u16>(scan);
            if ((bits & 0xFF) == virtual_key && ((bits & 0x100) != 0) == state.shift && (bits & 0x600) == want_ctrl_alt)
                return c;
        }
    }
    return virtual_key;
}

std::string key_name(u32 virtual_key, u32 typed)
{
    for (const KeyNameEntry& entry : kKeyNames)
        if (entry.virtual_key == virtual_key)
            return entry.name;
    if (virtual_key >= kFirstFunctionKey && virtual_key <= kLastFunctionKey)
        return std::string("F") + static_cast<char>(virtual_key - 63);
    return std::string(1, static_cast<char>(static_cast<u8>(typed)));
}

std::string key_press_shortcut_text(u32 modifiers, std::string_view name)
{
    std::string text;
    if (modifiers & kModifierCtrl)
        text += "Ctrl+";
    if (modifiers & kModifierShift)
        text += "Shift+";
    if (modifiers & kModifierAlt)
        text += "Alt+";
    text += name;
    return text;
}

}  // namespace qv
