// Switching between the main window's views.
#pragma once

#include <stdint.h>
#include <windows.h>

// Shows the view's controls and hides those of the other views, marks its tab, writes its hint and
// status lines and lays the window out again.
void show_view(int32_t view);
