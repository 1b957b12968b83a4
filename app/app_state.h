// State of the main window, owned by the user-interface thread.
#pragma once

#include <stdint.h>
#include <windows.h>

const uint32_t STATUS_CAPACITY = 384;

struct AppState {
    HWND main;
    HWND status;
    bool engine_present;
    bool busy;
    wchar_t status_text[STATUS_CAPACITY];
};

extern AppState g_app;
