#pragma once

#include <windows.h>

#define MAIN_WINDOW_CLASS L"LumarekMain"

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void register_main_window_class();
void create_main_controls(HWND main);
void layout_main_window(HWND main);

// What follows a finished operation: the window leaves its busy state and shows the outcome.
void on_operation_done();
