#include "settings/settings_commands.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/archive_label.h"
#include "app/contents_view.h"
#include "app/folder_browser.h"
#include "app/status_line.h"
#include "app/texts.h"
#include "app/views.h"
#include "common/operation_result.h"
#include "common/ui.h"
#include "operations/operation.h"
#include "settings/language.h"
#include "settings/preferences.h"

// The list's selection when it is one of its count items; otherwise (no selection included) the
// fallback.
static uint32_t list_choice(ControlRole role, uint32_t count, uint32_t fallback) {
    uint32_t selected = (uint32_t)SendMessageW(control(role), CB_GETCURSEL, 0, 0);
    return selected < count ? selected : fallback;
}

static uint8_t check_value(ControlRole role) {
    return SendMessageW(control(role), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

// The default-folder field as the record's folder: empty, or the full path of an existing folder
// (a relative text is resolved now, against the current folder). False for anything else,
// including a text too long for the record's field: it is refused, never cut.
static bool read_default_folder(wchar_t* folder) {
    HWND field = control(CTL_DEFAULT_FOLDER);
    folder[0] = 0;
    if (GetWindowTextLengthW(field) == 0) return true;
    return read_folder_field(field, folder);
}

void save_settings() {
    Preferences record;
    ZeroMemory(&record, sizeof(record));
    record.polish_ui = list_choice(CTL_LANGUAGE_LIST, 2, 0) == 0 ? 1 : 0;
    record.default_format = list_choice(CTL_DEFAULT_FORMAT_LIST, 3, 0);
    record.default_compression = list_choice(CTL_DEFAULT_COMPRESSION_LIST, 3, 1);
    record.open_folder_after_extract = check_value(CTL_OPEN_FOLDER_CHECK);
    record.startup_view = list_choice(CTL_STARTUP_VIEW_LIST, 4, 0);
    record.use_default_folder_silently = check_value(CTL_SILENT_FOLDER_CHECK);
    if (!read_default_folder(record.default_extract_folder)) {
        MessageBoxW(g_app.main,
                    ui_text(L"Choose an existing extraction folder.", L"Wybierz istniejący folder rozpakowywania."),
                    L"Lumarek", MB_ICONERROR);
        return;
    }
    if (!preferences_save(&record)) {
        report_error_code(RESULT_IO_ERROR);
        return;
    }

    g_preferences = record;
    apply_interface_texts();
    fill_contents_list();
    show_view(g_app.view_before_settings);
    set_status(ui_text(L"Settings saved.", L"Zapisano ustawienia."));
    show_archive_label();
    // The New archive view starts over from the new defaults.
    SendMessageW(control(CTL_FORMAT_LIST), CB_SETCURSEL, record.default_format, 0);
    SendMessageW(control(CTL_COMPRESSION_LIST), CB_SETCURSEL, record.default_compression, 0);
    EnableWindow(control(CTL_PASSWORD), record.default_format == 0);
}

void command_browse_default_folder() {
    wchar_t folder[PATH_CAPACITY];
    if (browse_for_folder(
            folder, ui_text(L"Choose the default extraction folder.", L"Wybierz domyślny folder rozpakowywania.")))
        set_text(control(CTL_DEFAULT_FOLDER), folder);
}
