// The archive contents list: its three columns and its rows, one per entry of the open archive.
// The list is virtual: it holds no copy of the rows and asks for each cell's text when it shows it.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <commctrl.h>

// The Size cell: up to 20 digits and " B".
const uint32_t SIZE_TEXT_CAPACITY = 36;

// Titles in the current language and the creation widths, which also resets widths the user dragged.
void set_contents_columns();

// The Name column's width that makes the three columns fill the list's inside exactly, with or
// without its vertical scroll bar.
void fit_contents_columns();

// Rebuilds the rows from the open archive's entries, in the listing's order: the list is cleared
// (the selection goes with it) and given the entries' count. Row index and entry index are the same.
void fill_contents_list();

// WM_NOTIFY from the contents list: the cell texts (LVN_GETDISPINFOW) and type-ahead
// (LVN_ODFINDITEMW). False for every other notification, which then goes to the default procedure.
bool on_contents_notify(const NMHDR* header, LRESULT* answer);
