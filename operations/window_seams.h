// What the operations need from the main window. The program's window implements these; tests
// supply their own recording window.
#pragma once

#include <windows.h>

// The window that receives the operation messages and owns the error boxes.
HWND operation_window();

// Writes the status line (at most 384 units are kept).
void set_status(const wchar_t* text);

// Switches the window between its idle and busy states.
void set_busy(bool busy);
