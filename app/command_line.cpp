#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/profile_view.h"
#include "app/queue_view.h"
#include "app/views.h"
#include "common/path.h"
#include "common/text.h"
#include "operations/extraction_queue.h"

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

// Queues the paths one by one, each made absolute first, and stops at the first that cannot be
// queued. True when every one was.
static bool queue_arguments(wchar_t* const* paths, int count) {
    wchar_t absolute[PATH_CAPACITY];
    for (int i = 0; i < count; ++i)
        if (!path_absolute(absolute, paths[i]) || !queue_add(absolute)) return false;
    return true;
}

// "--extract-here" and archives: queued, then extracted each beside itself once all were queued.
static void extract_here(wchar_t* const* paths, int count) {
    show_view(VIEW_QUEUE);
    bool all_added = queue_arguments(paths, count);
    queue_after_adding(all_added);
    if (!all_added || g_queue.count == 0) return;
    if (!path_parent(g_queue_output_folder, PATH_CAPACITY, g_queue.items[0].path)) return;
    start_queue_run(true);
}

// Two or more archives: queued, and the queue waits for the user.
static void queue_paths(wchar_t* const* paths, int count) {
    show_view(VIEW_QUEUE);
    queue_after_adding(queue_arguments(paths, count));
}

// One archive: opened in the Archive contents view.
static void open_path(const wchar_t* path) {
    show_view(VIEW_CONTENTS);
    wchar_t absolute[PATH_CAPACITY];
    if (path_absolute(absolute, path)) open_archive_path(absolute);
}

void act_on_command_line(const wchar_t* command_line) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(command_line, &count);
    if (arguments == nullptr) return;
    // The open and save dialogs move the current folder, so every path is made absolute before it
    // is kept anywhere.
    if (g_app.engine_present && count == 3 && text_equal_nocase(arguments[1], L"--profile")) {
        prepare_profile(arguments[2]);
    } else if (g_app.engine_present && count >= 2) {
        if (count >= 3 && text_equal_nocase(arguments[1], L"--extract-here"))
            extract_here(arguments + 2, count - 2);
        else if (count == 2)
            open_path(arguments[1]);
        else
            queue_paths(arguments + 1, count - 1);
    }
    LocalFree(arguments);
}
