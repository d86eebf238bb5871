#include "tools/hollerpad-convert/options.h"

namespace hollerpad {

const char* const kConvertUsage = "usage: hollerpad-convert [--switches NNNNNNNNN] [--clipboard] < input > output";

namespace {

// Nine digits 0 or 1; digit k is switch k.
bool parse_switches(const std::string& text, u32& switches)
{
    if (text.size() != 9)
        return false;
    u32 value = 0;
    for (size_t k = 0; k < 9; ++k) {
        if (text[k] != '0' && text[k] != '1')
            return false;
        if (text[k] == '1')
            value |= 1u << k;
    }
    switches = value;
    return true;
}

}  // namespace

ParsedOptions parse_convert_options(const std::vector<std::string>& arguments)
{
    ParsedOptions parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        std::string value;
        bool has_value = false;
        if (arg == "--switches") {
            if (i + 1 >= arguments.size()) {
                parsed.error = "--switches needs nine digits 0 or 1";
                return parsed;
            }
            value = arguments[++i];
            has_value = true;
        } else if (arg.rfind("--switches=", 0) == 0) {
            value = arg.substr(11);
            has_value = true;
        }
        if (has_value) {
            if (!parse_switches(value, parsed.options.switches)) {
                parsed.error = "--switches needs nine digits 0 or 1, not '" + value + "'";
                return parsed;
            }
        } else if (arg == "--clipboard") {
            parsed.options.clipboard = true;
        } else if (arg == "--help" || arg == "-h") {
            parsed.options.help = true;
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
    }
    return parsed;
}

}  // namespace hollerpad
