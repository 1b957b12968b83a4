// What the operation runner needs of a window. The program's window implements these; tests
// supply their own recording window.
#pragma once

#include <stdint.h>
#include <windows.h>

// The window that receives the operation messages and owns the error boxes.
HWND operation_window();

// Writes the status line (at most 384 units are kept).
void set_status(const wchar_t* text);

// Switches the window between its idle and busy states.
void set_busy(bool busy);

// Whether the archive engine was bound at start-up; without it no operation starts.
bool engine_present();
