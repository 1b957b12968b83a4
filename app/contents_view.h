// The archive contents list: its three columns and its rows, one per entry of the open archive.
#pragma once

#include <stdint.h>

const int CONTENTS_NAME_WIDTH = 480;
const int CONTENTS_SIZE_WIDTH = 126;
const int CONTENTS_TYPE_WIDTH = 120;

// The Size cell: up to 20 digits and " B".
const uint32_t SIZE_TEXT_CAPACITY = 36;

// Titles in the current language and the table widths; inserts the columns (once, at creation) or
// re-titles them, which also resets widths the user dragged.
void set_contents_columns(bool insert);

// Rebuilds every row from the open archive's entries, in the listing's order, without repainting
// per row: name, size in bytes (" B"; empty for folders) and type in the current language. Row
// index and entry index are the same.
void fill_contents_list();
