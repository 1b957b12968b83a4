#include "settings/settings_view.h"

#include "app/app_state.h"
#include "app/choice_words.h"
#include "app/status_line.h"
#include "common/ui.h"
#include "settings/language.h"

static void fill_list(HWND list, const wchar_t* const* items, uint32_t count, uint32_t selected) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (uint32_t i = 0; i < count; ++i) SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void fill_settings_view(const Preferences* record) {
    fill_list(control(CTL_DEFAULT_FORMAT_LIST), FORMAT_NAMES, 3, record->default_format);
    const wchar_t* compressions[3] = {compression_name(0), compression_name(1), compression_name(2)};
    fill_list(control(CTL_DEFAULT_COMPRESSION_LIST), compressions, 3, record->default_compression);
    const wchar_t* languages[2] = {L"Polski", L"English"};
    fill_list(control(CTL_LANGUAGE_LIST), languages, 2, record->polish_ui != 0 ? 0 : 1);
    const wchar_t* views[4] = {startup_view_name(0), startup_view_name(1), startup_view_name(2), startup_view_name(3)};
    fill_list(control(CTL_STARTUP_VIEW_LIST), views, 4, record->startup_view);
    set_text(control(CTL_DEFAULT_FOLDER), record->default_extract_folder);
    SendMessageW(control(CTL_OPEN_FOLDER_CHECK), BM_SETCHECK,
                 record->open_folder_after_extract != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(control(CTL_SILENT_FOLDER_CHECK), BM_SETCHECK,
                 record->use_default_folder_silently == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void restore_default_settings() {
    Preferences defaults;
    preferences_default(&defaults);
    fill_settings_view(&defaults);
    set_status(ui_text(L"Defaults restored. Select Save settings to apply them.",
                       L"Przywrócono domyślne wartości. Zapisz ustawienia, aby je zastosować."));
}
