#include "shell_recorder.h"

#include "app/shell_open.h"

static std::vector<ShellCall> g_calls;

static HINSTANCE WINAPI record(HWND window, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* folder, INT show) {
    g_calls.push_back({window, verb != nullptr ? verb : L"(none)", file != nullptr ? file : L"(none)",
                       parameters != nullptr, folder != nullptr, show});
    return (HINSTANCE)33;  // success, as ShellExecuteW reports it
}

void record_shell_calls() {
    g_shell_execute = record;
    g_calls.clear();
}

const std::vector<ShellCall>& shell_calls() {
    return g_calls;
}
