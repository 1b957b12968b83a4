// The main window's controls as the program must create them, in creation order.
#pragma once

#include <windows.h>

const int NO_LIMIT = -1;

// Views a control is shown in: a set of view numbers, or "always", "busy" or "never".
struct Control {
    int number;
    const wchar_t* class_name;
    DWORD style;
    DWORD ex_style;
    int id;
    const char* shown;
    int limit;  // EM_GETLIMITTEXT for edit fields; NO_LIMIT = the edit control's own default
};

extern const Control CONTROLS[78];

// Whether show_view shows the control in the view (never true for the busy-state controls).
bool shown_in(const Control& control, int view);
