// What the operations need from the main window. The program's window implements these; tests
// supply their own recording window.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "operations/entry_list.h"

// The window that receives the operation messages and owns the error boxes.
HWND operation_window();

// Writes the status line (at most 384 units are kept).
void set_status(const wchar_t* text);

// Switches the window between its idle and busy states.
void set_busy(bool busy);

// Whether the archive engine was bound at start-up; without it no operation starts.
bool engine_present();

// The window's own inputs of the operations: the open archive with its listing (extract, test)
// and the sources of a new archive (create). The window does not change them while busy.
const wchar_t* window_archive_path();
const EntryList* window_entries();
wchar_t* const* window_sources(uint32_t* count);
