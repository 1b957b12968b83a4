// The main window: its class and its window procedure.
#pragma once

#include <windows.h>

#define MAIN_WINDOW_CLASS L"LumarekMain"

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void register_main_window_class();
