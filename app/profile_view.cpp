#include "app/profile_view.h"

#include "app/app_state.h"
#include "common/ui.h"
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
