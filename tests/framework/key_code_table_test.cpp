// Classic key codes to Windows virtual keys.
#include <gtest/gtest.h>

#include "framework/key_code_table.h"

namespace {

using namespace qv;

TEST(KeyCodeTable, MapsKeyCodesToVirtualKeys)
{
    const struct {
        i32 key_code;
        u8 virtual_key;
    } cases[] = {
        {0, 65},     // A
        {11, 66},    // B, after the gap at 10
        {36, 13},    // Return
        {76, 13},    // keypad Enter shares the key
        {24, 187},   // = and +
        {81, 187},   // keypad =, the same key again
        {55, 91},    // Command: the left Windows key
        {56, 160},   // left Shift
        {123, 37},   // arrows
        {126, 38},   //
        {122, 112},  // F1
        {111, 123},  // F12
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key_code);
        EXPECT_EQ(virtual_key_for_key_code(c.key_code), c.virtual_key);
    }
}

TEST(KeyCodeTable, CodesWithoutAKeyGiveZero)
{
    for (i32 code : {10, 52, 54, 63,  64,  66,  68,  70,  72,  73,  74,  77,  79,  80, 90,
                     93, 94, 95, 102, 104, 106, 108, 110, 112, 127, 128, 255, 256, -1, 0x7FFFFFFF})
        EXPECT_EQ(virtual_key_for_key_code(code), 0) << code;
}

}  // namespace
