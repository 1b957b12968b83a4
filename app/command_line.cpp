#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/views.h"

void act_on_command_line(const wchar_t* command_line) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(command_line, &count);
    if (arguments == nullptr) return;
    if (g_app.engine_present && count == 2) {
        show_view(VIEW_CONTENTS);
        open_archive_path(arguments[1]);
    }
    LocalFree(arguments);
}
