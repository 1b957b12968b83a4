// What follows a finished operation: a password prompt and a restart, a filled list, a message, a
// question, or an error box. The window is idle again before any of it is shown.
#include "app/commands.h"

#include "app/app_state.h"
#include "app/contents_view.h"
#include "app/password_prompt.h"
#include "app/profile_view.h"
#include "app/queue_view.h"
#include "app/shell_open.h"
#include "app/status_line.h"
#include "app/views.h"
#include "common/ui.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "settings/language.h"
#include "settings/preferences.h"

static void show_open_archive() {
    // The worker's listing becomes the open archive's.
    entry_list_free(&g_app.entries);
    g_app.entries = g_slot.pending_listing;
    ZeroMemory(&g_slot.pending_listing, sizeof(g_slot.pending_listing));
    text_copy(g_app.archive_path, PATH_CAPACITY, g_slot.target_path);
    set_text(control(CTL_ARCHIVE_LABEL), g_app.archive_path);
    fill_contents_list();
    update_count_status();
}

static void after_extraction() {
    set_status(ui_text(L"Extracted to a new folder.", L"Rozpakowano do nowego folderu."));
    if (g_preferences.open_folder_after_extract) open_folder_in_shell(g_slot.target_path);
}

static void after_creation() {
    set_text(control(CTL_PASSWORD), L"");
    set_status(ui_text(L"Archive saved.", L"Zapisano archiwum."));
    int answer = MessageBoxW(
        g_app.main, ui_text(L"Archive saved. Open its contents?", L"Archiwum zapisane. Otworzyć jego zawartość?"),
        L"Lumarek", MB_YESNO | MB_ICONINFORMATION);
    if (answer != IDYES) return;
    // target_path still names the new archive.
    show_view(VIEW_CONTENTS);
    operation_start(OP_OPEN_ARCHIVE);
}

static void after_queue_run(int32_t code) {
    if (code != RESULT_OK && code != RESULT_CANCELED) {
        report_error();
        return;
    }
    queue_show_summary();
    if (code == RESULT_CANCELED) {
        wchar_t text[STATUS_CAPACITY];
        text_copy(text, STATUS_CAPACITY, ui_text(L"Canceled. ", L"Anulowano. "));
        text_append(text, STATUS_CAPACITY, g_app.status_text);
        set_status(text);
    } else if (g_preferences.open_folder_after_extract) {
        open_folder_in_shell(g_queue_output_folder);
    }
}

// A failed preview leaves a partial list, which is dropped; files changed since the preview drop the
// preview itself. True when that was all there is to do.
static bool after_profile_failure(OperationKind kind, int32_t code) {
    if (kind == OP_PROFILE_PREVIEW && code != RESULT_OK) entry_list_free(&g_slot.profile_files);
    if (kind != OP_PROFILE_ZIP || code != RESULT_FILES_CHANGED) return false;
    clear_profile_preview();
    report_error();
    return true;
}

static void after_profile_zip() {
    clear_profile_preview();
    set_text(control(CTL_PREVIEW_TARGET), g_slot.zip_path);
    set_status(ui_text(L"Profile ZIP saved.", L"Zapisano ZIP według profilu."));
}

void on_operation_done() {
    set_busy(false);
    OperationKind kind = g_slot.kind;
    int32_t code = g_slot.result.code;
    if (code == RESULT_PASSWORD_REQUIRED && (kind == OP_OPEN_ARCHIVE || kind == OP_EXTRACT || kind == OP_TEST)) {
        // The target, the open archive and the selection are still in place for the restart.
        if (ask_archive_password()) {
            operation_start(kind);
            return;
        }
        code = RESULT_CANCELED;
    }
    operation_release_inputs();

    if (kind == OP_EXTRACT_QUEUE) {
        after_queue_run(code);
        return;
    }
    if (after_profile_failure(kind, code)) return;
    if (code == RESULT_CANCELED) {
        set_status(ui_text(L"Operation canceled.", L"Anulowano operację."));
        return;
    }
    if (code != RESULT_OK) {
        report_error();
        return;
    }
    switch (kind) {
    case OP_OPEN_ARCHIVE:
        show_open_archive();
        break;
    case OP_EXTRACT:
        after_extraction();
        break;
    case OP_TEST:
        set_status(ui_text(L"Archive data checked. No errors reported.",
                           L"Sprawdzono dane archiwum. Brak zgłoszonych błędów."));
        break;
    case OP_CREATE:
        after_creation();
        break;
    case OP_PROFILE_PREVIEW:
        show_profile_preview();
        break;
    case OP_PROFILE_ZIP:
        after_profile_zip();
        break;
    default:
        break;
    }
}
