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

// The open archive and its listing, which extraction and testing work on.
const wchar_t* open_archive_path();
const EntryList* open_archive_entries();

// The files and folders of a new archive, in the order they were added; *count gets their number.
wchar_t* const* new_archive_sources(uint32_t* count);
