#include "app/profile_view.h"

#include "app/app_state.h"
#include "app/status_line.h"
#include "common/ui.h"
#include "operations/operation.h"
#include "settings/language.h"

void fill_profile_list(int32_t row) {
    HWND list = control(CTL_SAVED_PROFILE_LIST);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)ui_text(L"(New profile)", L"(Nowy profil)"));
    for (uint32_t i = 0; i < g_profile_store.count; ++i)
        SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)g_profile_store.profiles[i].name);
    SendMessageW(list, CB_SETCURSEL, row, 0);
    EnableWindow(control(CTL_DELETE_PROFILE), row > 0 && !g_app.busy);
}

void clear_profile_preview() {
    g_app.preview_ready = false;
    entry_list_free(&g_slot.profile_files);
    set_text(control(CTL_PREVIEW_TARGET), L"");
    SendMessageW(control(CTL_PREVIEW_LIST), LB_RESETCONTENT, 0, 0);
    EnableWindow(control(CTL_CREATE_ZIP), FALSE);
}

void load_profile_fields() {
    int32_t row = (int32_t)SendMessageW(control(CTL_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
    const Profile* stored = nullptr;
    if (row >= 1 && row < (int32_t)g_profile_store.count + 1) stored = &g_profile_store.profiles[row - 1];

    set_text(control(CTL_PROFILE_NAME), stored != nullptr ? stored->name : L"");
    const wchar_t* source = stored != nullptr ? stored->source_folder : L"";
    if (g_app.source_folder_override[0] != 0) source = g_app.source_folder_override;
    set_text(control(CTL_SOURCE_FOLDER), source);
    set_text(control(CTL_DESTINATION), stored != nullptr ? stored->destination_folder : L"");
    set_text(control(CTL_EXTENSIONS), stored != nullptr ? stored->extensions : L"");
    set_text(control(CTL_SKIP_FOLDERS), stored != nullptr ? stored->skip_folders : L"");
    set_text(control(CTL_PATTERN), stored != nullptr ? stored->name_pattern : NEW_PROFILE_PATTERN);
    EnableWindow(control(CTL_DELETE_PROFILE), stored != nullptr);
    clear_profile_preview();
}

void show_profile_preview() {
    HWND list = control(CTL_PREVIEW_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    bool shown = true;
    for (uint32_t i = 0; shown && i < g_slot.profile_files.count; ++i)
        shown = SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)g_slot.profile_files.items[i].name) >= 0;
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (!shown) {
        clear_profile_preview();
        report_error_code(RESULT_OUT_OF_MEMORY);
        return;
    }
    InvalidateRect(list, nullptr, TRUE);
    set_text(control(CTL_PREVIEW_TARGET), g_slot.zip_path);
    wchar_t text[128];
    wchar_t digits[DECIMAL_CAPACITY];
    format_decimal(digits, g_slot.profile_files.count);
    text_copy(text, 128, ui_text(L"Files to pack: ", L"Pliki do spakowania: "));
    text_append(text, 128, digits);
    set_status(text);
    g_app.preview_ready = true;
    EnableWindow(control(CTL_CREATE_ZIP), TRUE);
}
