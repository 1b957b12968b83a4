#include "app/shell_open.h"

#include <shellapi.h>

#include "app/app_state.h"

ShellExecuteFunction g_shell_execute = ShellExecuteW;

void open_folder_in_shell(const wchar_t* folder) {
    g_shell_execute(g_app.main, L"open", folder, nullptr, nullptr, SW_SHOWNORMAL);
}
