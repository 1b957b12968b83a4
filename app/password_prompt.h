// The modal prompt for an archive's password.
#pragma once

#include <windows.h>

#include "operations/operation.h"

struct PasswordPrompt {
    HWND window;
    HWND edit;
    bool accepted;
    bool closed;
    wchar_t text[PASSWORD_CAPACITY];
};

// Used only while the prompt is open; its text is wiped before the prompt returns.
extern PasswordPrompt g_password_prompt;

// Asks for the password over the main window (disabled meanwhile). True when the user confirmed a
// non-empty password, which then stands in the operation slot's password.
bool ask_archive_password();

LRESULT CALLBACK password_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
