// Opening a folder in the shell (Explorer). The call goes through a pointer, so that tests can
// record it instead of opening a window.
#pragma once

#include <windows.h>

typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND window, const wchar_t* verb, const wchar_t* file,
                                                const wchar_t* parameters, const wchar_t* folder, INT show);

// ShellExecuteW unless a test replaced it.
extern ShellExecuteFunction g_shell_execute;

// "open" on the folder, owned by the main window, shown normally.
void open_folder_in_shell(const wchar_t* folder);
