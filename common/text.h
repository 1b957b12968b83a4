// Bounded UTF-16 text helpers. A bounded write either fits entirely or does not happen.
#pragma once

#include <stdint.h>
#include <wchar.h>

// Capacity in code units (terminator included) of every buffer that holds a file-system path.
const uint32_t PATH_CAPACITY = 4096;

// Units needed by format_decimal: 20 digits of the largest value and the terminator.
const uint32_t DECIMAL_CAPACITY = 21;

uint32_t text_length(const wchar_t* text);

// Sets the destination to empty, then copies the source if it fits with its terminator.
bool text_copy(wchar_t* destination, uint32_t capacity, const wchar_t* source);

// Appends the source if the result fits with its terminator; otherwise leaves the destination as it was.
bool text_append(wchar_t* destination, uint32_t capacity, const wchar_t* source);

// A heap copy (owned by the caller, freed with mem_free), or nullptr when memory runs out.
wchar_t* text_duplicate(const wchar_t* text);

// Ordinal comparison with simple case folding, no locale.
bool text_equal_nocase(const wchar_t* a, const wchar_t* b);

// Writes the value in decimal digits; the destination holds at least DECIMAL_CAPACITY units.
void format_decimal(wchar_t* destination, uint64_t value);
