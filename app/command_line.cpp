#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/profile_view.h"
#include "app/views.h"
#include "common/path.h"
#include "common/text.h"

// "--profile" and a folder: the ZIP profiles view, the folder (made absolute, when it exists) as the
// source of whatever profile is shown, and the one saved profile selected when there is only one.
static void prepare_profile(const wchar_t* folder) {
    wchar_t full[PATH_CAPACITY];
    if (path_absolute(full, folder) && path_is_directory(full))
        text_copy(g_app.source_folder_override, PATH_CAPACITY, full);
    show_view(VIEW_PROFILES);
    if (g_profile_store.count == 1) fill_profile_list(1);
    load_profile_fields();
}

void act_on_command_line(const wchar_t* command_line) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(command_line, &count);
    if (arguments == nullptr) return;
    if (g_app.engine_present && count == 3 && text_equal_nocase(arguments[1], L"--profile")) {
        prepare_profile(arguments[2]);
    } else if (g_app.engine_present && count == 2) {
        show_view(VIEW_CONTENTS);
        open_archive_path(arguments[1]);
    }
    LocalFree(arguments);
}
