/*
 * mass_table.h: property tables in the byte form RuntimeMassPropertySetter reads (a 2-byte
 * big-endian property index, then the value as the property's type letter says), built entry
 * by entry and applied in one call, the way compiled code initialises a window or control.
 */
#ifndef HOLLERPAD_APP_MASS_TABLE_H
#define HOLLERPAD_APP_MASS_TABLE_H

#include "sdk/quaver.h"

#define MASS_TABLE_CAPACITY 1024

typedef struct MassTable {
    int32_t length;
    int32_t overflow; /* an entry did not fit: the table is not applied */
    uint8_t bytes[MASS_TABLE_CAPACITY];
} MassTable;

void mass_begin(MassTable* table);
void mass_bool(MassTable* table, int32_t index, int32_t on);
void mass_int(MassTable* table, int32_t index, int32_t value);
void mass_color(MassTable* table, int32_t index, uint32_t rgb);
/* The text's bytes (a constant or any runtime string; nil is the empty text). */
void mass_string(MassTable* table, int32_t index, RuntimeString* text);
/* Applies the table to target; a nil target raises NilObjectException. */
void mass_apply(MassTable* table, RuntimeObject* target);

#endif /* HOLLERPAD_APP_MASS_TABLE_H */
