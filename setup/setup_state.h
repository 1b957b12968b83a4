// The setup program's state: its mode and language, set at start, and its window's controls.
#pragma once

#include <windows.h>

// Command ids of the window's controls.
const int SETUP_MAIN_BUTTON = 1;    // IDOK: Enter reaches it through the dialog manager
const int SETUP_CANCEL_BUTTON = 2;  // IDCANCEL: so does Escape
const int SETUP_LANGUAGE_LIST = 3;
const int SETUP_DESKTOP_BOX = 4;

struct SetupState {
    bool removal_mode;  // started with --uninstall; never changes
    bool polish;        // the language of every text; changed by the language list
    HWND window;
    HWND heading;
    HWND description;
    HWND folder_line;
    HWND desktop_box;
    HWND main_button;
    HWND cancel_button;
    HWND language_list;
};

extern SetupState g_setup;
