/* mass_table.c: building and applying property tables. */
#include "app/mass_table.h"

static int fits(MassTable* table, int32_t count)
{
    if (table->overflow || count > MASS_TABLE_CAPACITY - table->length) {
        table->overflow = 1;
        return 0;
    }
    return 1;
}

static void put_byte(MassTable* table, uint32_t value) { table->bytes[table->length++] = (uint8_t)value; }

static void put_u32(MassTable* table, uint32_t value)
{
    put_byte(table, value >> 24);
    put_byte(table, value >> 16);
    put_byte(table, value >> 8);
    put_byte(table, value);
}

static int begin_entry(MassTable* table, int32_t index, int32_t value_bytes)
{
    if (!fits(table, 2 + value_bytes))
        return 0;
    put_byte(table, (uint32_t)index >> 8);
    put_byte(table, (uint32_t)index);
    return 1;
}

void mass_begin(MassTable* table)
{
    table->length = 0;
    table->overflow = 0;
}

void mass_bool(MassTable* table, int32_t index, int32_t on)
{
    if (begin_entry(table, index, 1))
        put_byte(table, on ? 1u : 0u);
}

void mass_int(MassTable* table, int32_t index, int32_t value)
{
    if (begin_entry(table, index, 4))
        put_u32(table, (uint32_t)value);
}

void mass_color(MassTable* table, int32_t index, uint32_t rgb)
{
    if (!begin_entry(table, index, 3))
        return;
    put_byte(table, rgb >> 16);
    put_byte(table, rgb >> 8);
    put_byte(table, rgb);
}

void mass_string(MassTable* table, int32_t index, RuntimeString* text)
{
    const int32_t length = text ? text->length : 0;
    if (length < 0 || !begin_entry(table, index, 4 + length))
        return;
    put_u32(table, (uint32_t)length);
    /* The text follows the length byte at the start of the buffer. */
    const uint8_t* bytes = length ? text->buffer + 1 : 0;
    for (int32_t i = 0; i < length; ++i)
        put_byte(table, bytes[i]);
}

void mass_apply(MassTable* table, RuntimeObject* target)
{
    if (!target) {
        RuntimeNilObject();
        return;
    }
    if (table->overflow || table->length == 0)
        return;
    RuntimeString* bytes = QuavBuildString(table->bytes, table->length);
    RuntimeMassPropertySetter(target, bytes);
    RuntimeUnlockString(bytes);
}
