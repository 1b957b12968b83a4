// Records what the window asks the shell to open, instead of opening Explorer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ShellCall {
    HWND window;
    std::wstring verb;
    std::wstring file;
    bool parameters;  // any given
    bool folder;      // any given
    int show;
};

// Replaces the window's shell call with the recorder and clears the record.
void record_shell_calls();
const std::vector<ShellCall>& shell_calls();
