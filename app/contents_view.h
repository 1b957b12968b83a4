// The archive contents list: its three columns and its rows, one per entry of the open archive.
#pragma once

#include <stdint.h>

// The Size cell: up to 20 digits and " B".
const uint32_t SIZE_TEXT_CAPACITY = 36;

// Titles in the current language and the creation widths, which also resets widths the user dragged.
void set_contents_columns();

// Rebuilds every row from the open archive's entries, in the listing's order, without repainting
// per row: name, size in bytes (" B"; empty for folders) and type in the current language. Row
// index and entry index are the same.
void fill_contents_list();
