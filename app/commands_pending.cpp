// Command handlers whose work comes with the commands, profiles, queue and settings changes. Until
// then each does nothing (a drop is only released, a finished operation only leaves the busy state).
#include "app/commands.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"

void on_operation_done() {
    set_busy(false);
    operation_release_inputs();
    int32_t code = g_slot.result.code;
    if (code == RESULT_CANCELED) {
        set_status(g_preferences.polish_ui ? L"Anulowano operację." : L"Operation canceled.");
        return;
    }
    if (code != RESULT_OK) {
        report_error();
        return;
    }
    if (g_slot.kind == OP_OPEN_ARCHIVE) {
        // The worker's listing becomes the open archive's.
        entry_list_free(&g_app.entries);
        g_app.entries = g_slot.pending_listing;
        ZeroMemory(&g_slot.pending_listing, sizeof(g_slot.pending_listing));
        text_copy(g_app.archive_path, PATH_CAPACITY, g_slot.target_path);
    }
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
