// Command handlers whose work comes with the commands, profiles, queue and settings changes. Until
// then each does nothing (a drop is only released, a finished operation only leaves the busy state).
#include "app/commands.h"

#include <shellapi.h>

#include "operations/window_seams.h"

void on_operation_done() {
    set_busy(false);
}

void on_drop_files(HDROP drop) {
    DragFinish(drop);
}

void open_archive_path(const wchar_t*) {}
void command_extract() {}
void command_test() {}
void command_add_files() {}
void command_add_folder() {}
void command_remove_sources() {}
void command_create_archive() {}
void save_settings() {}
void command_browse_default_folder() {}
void command_browse_source_folder() {}
void command_browse_destination_folder() {}
void save_or_delete_profile(bool) {}
void command_preview_files() {}
void command_create_zip() {}
void command_add_archives() {}
void command_remove_queued() {}
void command_run_queue() {}
void command_open_preview() {}
void command_open_output_folder() {}
void command_copy_support_details() {}
