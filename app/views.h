// Switching between the main window's views, and the status line.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "operations/window_seams.h"

// Shows the view's controls and hides those of the other views, marks its tab, writes its hint and
// status lines and lays the window out again.
void show_view(int32_t view);

// "Sources: n" in the New archive view, "Items: n" (entries of the open archive) elsewhere.
void update_count_status();

LRESULT set_list_cell(HWND list, uint32_t row, int32_t column, const wchar_t* text);
