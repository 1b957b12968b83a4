// The start-up and shutdown steps of the program, in the order the entry point runs them.
#pragma once

#include <stdint.h>
#include <windows.h>

const int MAIN_WINDOW_WIDTH = 940;
const int MAIN_WINDOW_HEIGHT = 730;

// Toolkit, preferences, saved profiles and engine. Returns whether the profiles could be loaded.
bool startup_prepare();

// The main window's size (940 x 730, each limited to the work area) and place (centred in it).
RECT main_window_placement(const RECT* work_area);

// The work area of the primary monitor (the whole screen when it cannot be read).
RECT primary_work_area();

// Registers the class, creates the main window with every control and its texts, shows the
// start-up view and the window. Null when the window cannot be created.
HWND create_main_window();

// After the command line: the engine message, or else the profiles message when nothing runs.
void report_startup_problems(bool profiles_loaded);

// Frees the program's lists once the message loop has ended.
void shutdown_program();
