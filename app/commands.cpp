#include "app/commands.h"

#include "app/app_state.h"
#include "app/profile_view.h"
#include "app/status_line.h"
#include "app/views.h"
#include "operations/operation.h"
#include "profiles/profile_commands.h"
#include "settings/language.h"
#include "settings/settings_commands.h"
#include "settings/settings_view.h"

static void request_cancel() {
    InterlockedExchange(&g_slot.cancel_requested, 1);
    EnableWindow(control(CTL_CANCEL), FALSE);
    set_status(ui_text(L"Canceling…", L"Anulowanie operacji…"));
}

// Editing a rule while a preview is shown makes the preview stale.
static void on_profile_rule_changed(uint16_t code) {
    if (code != EN_CHANGE || !g_app.preview_ready) return;
    clear_profile_preview();
    set_status(ui_text(L"Preview the files after changing the rules.", L"Pokaż listę plików po zmianie reguł."));
}

void on_command(uint16_t id, uint16_t code, LPARAM lparam) {
    if (id == CMD_CANCEL && g_app.busy) {
        request_cancel();
        return;
    }
    if (g_app.busy || id < CMD_TAB_CONTENTS || id > CMD_RESTORE_DEFAULTS) return;
    switch (id) {
    case CMD_TAB_CONTENTS:
        show_view(VIEW_CONTENTS);
        break;
    case CMD_OPEN_ARCHIVE:
        open_archive_path(code == 1 ? (const wchar_t*)lparam : nullptr);
        break;
    case CMD_EXTRACT:
        command_extract();
        break;
    case CMD_TEST:
        command_test();
        break;
    case CMD_SETTINGS:
        fill_settings_view(&g_preferences);
        show_view(VIEW_SETTINGS);
        break;
    case CMD_TAB_NEW_ARCHIVE:
        show_view(VIEW_NEW_ARCHIVE);
        break;
    case CMD_ADD_FILES:
        command_add_files();
        break;
    case CMD_ADD_FOLDER:
        command_add_folder();
        break;
    case CMD_REMOVE_SOURCES:
        command_remove_sources();
        break;
    case CMD_CREATE_ARCHIVE:
        command_create_archive();
        break;
    case CMD_FORMAT_LIST:
        EnableWindow(control(CTL_PASSWORD), password_allowed());
        break;
    case CMD_SAVE_SETTINGS:
        save_settings();
        break;
    case CMD_BROWSE_DEFAULT_FOLDER:
        command_browse_default_folder();
        break;
    case CMD_BACK:
        show_view(g_app.view_before_settings);
        break;
    case CMD_TAB_PROFILES:
        show_view(VIEW_PROFILES);
        break;
    case CMD_SAVED_PROFILE_LIST:
        if (code == CBN_SELCHANGE) load_profile_fields();
        break;
    case CMD_SOURCE_FOLDER:
    case CMD_EXTENSIONS:
    case CMD_SKIP_FOLDERS:
    case CMD_DESTINATION:
    case CMD_PATTERN:
        on_profile_rule_changed(code);
        break;
    case CMD_BROWSE_SOURCE:
        command_browse_source_folder();
        break;
    case CMD_BROWSE_DESTINATION:
        command_browse_destination_folder();
        break;
    case CMD_SAVE_PROFILE:
        save_or_delete_profile(false);
        break;
    case CMD_DELETE_PROFILE:
        save_or_delete_profile(true);
        break;
    case CMD_PREVIEW_FILES:
        command_preview_files();
        break;
    case CMD_CREATE_ZIP:
        command_create_zip();
        break;
    case CMD_TAB_QUEUE:
        show_view(VIEW_QUEUE);
        break;
    case CMD_ADD_ARCHIVES:
        command_add_archives();
        break;
    case CMD_REMOVE_QUEUED:
        command_remove_queued();
        break;
    case CMD_EXTRACT_QUEUE:
        command_run_queue();
        break;
    case CMD_OPEN_PREVIEW:
        command_open_preview();
        break;
    case CMD_OPEN_OUTPUT:
        command_open_output_folder();
        break;
    case CMD_HELP:
        show_view(VIEW_HELP);
        break;
    case CMD_ABOUT:
        show_view(VIEW_ABOUT);
        break;
    case CMD_CONTACT:
        show_view(VIEW_CONTACT);
        break;
    case CMD_COPY_SUPPORT:
        command_copy_support_details();
        break;
    case CMD_RESTORE_DEFAULTS:
        restore_default_settings();
        break;
    default:  // 111, 112, 113, 115, 120, 142, 143, 144, 145: nothing
        break;
    }
}
