#include "profiles/profile_commands.h"

#include "app/app_state.h"
#include "app/folder_browser.h"
#include "app/profile_view.h"
#include "app/status_line.h"
#include "common/text.h"
#include "common/ui.h"
#include "operations/archive_format.h"
#include "operations/operation.h"
#include "profiles/profile_name.h"
#include "settings/language.h"

bool read_profile_fields(Profile* record, wchar_t* zip_path) {
    // Byte-identical records for identical texts: the store's conflict test compares whole records.
    ZeroMemory(record, sizeof(*record));
    GetWindowTextW(control(CTL_PROFILE_NAME), record->name, PROFILE_NAME_CAPACITY);
    GetWindowTextW(control(CTL_EXTENSIONS), record->extensions, PROFILE_EXTENSIONS_CAPACITY);
    GetWindowTextW(control(CTL_SKIP_FOLDERS), record->skip_folders, PROFILE_SKIP_FOLDERS_CAPACITY);
    GetWindowTextW(control(CTL_PATTERN), record->name_pattern, PROFILE_PATTERN_CAPACITY);
    if (!read_folder_field(control(CTL_SOURCE_FOLDER), record->source_folder) ||
        !read_folder_field(control(CTL_DESTINATION), record->destination_folder)) {
        set_status(ui_text(L"Choose existing source and destination folders.",
                           L"Wybierz istniejący folder źródłowy i docelowy."));
        return false;
    }
    if (!profile_zip_path(record, zip_path)) {
        set_status(ui_text(L"Use a valid ZIP name. Available placeholders are {folder} and {date}.",
                           L"Użyj poprawnej nazwy ZIP. Dostępne znaczniki to {folder} i {date}."));
        return false;
    }
    return true;
}

static bool is_blank_name(const wchar_t* name) {
    for (; *name != 0; ++name)
        if (*name != L' ' && *name != L'\t') return false;
    return true;
}

// The row of the saved name in the updated store (first match, any letter case), 0 when absent.
static int32_t row_of_name(const wchar_t* name) {
    for (uint32_t i = 0; i < g_profile_store.count; ++i)
        if (text_equal_nocase(g_profile_store.profiles[i].name, name)) return (int32_t)i + 1;
    return 0;
}

// Another copy changed the edited profile: the list and the fields show the file as it is now. A
// reload that fails leaves the store empty, and the list and fields then show that too, so that
// no row stands for a profile the store no longer holds.
static void reload_after_conflict() {
    bool loaded = profile_store_load(&g_profile_store);
    fill_profile_list(0);
    load_profile_fields();
    if (loaded)
        set_status(ui_text(L"The profile changed in another window. Select it again.",
                           L"Profil zmienił się w innym oknie. Wybierz go ponownie."));
    else
        set_status(ui_text(L"Could not load the saved profiles.", L"Nie udało się odczytać zapisanych profili."));
}

void save_or_delete_profile(bool delete_profile) {
    int32_t row = (int32_t)SendMessageW(control(CTL_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
    if (row < 0 || row >= (int32_t)g_profile_store.count + 1) row = 0;
    static Profile record;  // 17,984 bytes: kept off the stack
    wchar_t zip_path[PATH_CAPACITY];
    if (delete_profile) {
        if (row == 0) return;
        int answer = MessageBoxW(g_app.main, ui_text(L"Delete the saved profile?", L"Usunąć zapisany profil?"),
                                 g_profile_store.profiles[row - 1].name, MB_YESNO | MB_ICONINFORMATION);
        if (answer != IDYES) return;
    } else {
        if (!read_profile_fields(&record, zip_path)) return;
        if (is_blank_name(record.name)) {
            set_status(ui_text(L"Enter a profile name.", L"Wpisz nazwę profilu."));
            return;
        }
    }
    switch (profile_store_update(&g_profile_store, row - 1, delete_profile ? nullptr : &record)) {
    case PROFILE_CHANGED_ELSEWHERE:
        reload_after_conflict();
        break;
    case PROFILE_NAME_TAKEN:
        set_status(ui_text(L"That profile name already exists.", L"Taka nazwa profilu już istnieje."));
        break;
    case PROFILE_UPDATE_FAILED:
        set_status(ui_text(L"Could not save profiles.", L"Nie udało się zapisać profili."));
        break;
    case PROFILE_UPDATE_OK:
        g_app.source_folder_override[0] = 0;
        fill_profile_list(delete_profile ? 0 : row_of_name(record.name));
        load_profile_fields();
        set_status(delete_profile ? ui_text(L"Profile deleted.", L"Usunięto profil.")
                                  : ui_text(L"Profile saved.", L"Zapisano profil."));
        break;
    }
}

void command_preview_files() {
    clear_profile_preview();
    if (read_profile_fields(&g_slot.profile_copy, g_slot.zip_path)) operation_start(OP_PROFILE_PREVIEW);
}

void command_create_zip() {
    if (!g_app.preview_ready) return;
    // The strength of the default compression at this moment.
    g_slot.compression_level = compression_level_for(g_preferences.default_compression);
    operation_start(OP_PROFILE_ZIP);
}

void command_browse_source_folder() {
    wchar_t folder[PATH_CAPACITY];
    if (!browse_for_folder(folder, ui_text(L"Choose the source folder.", L"Wybierz folder źródłowy."))) return;
    g_app.source_folder_override[0] = 0;
    set_text(control(CTL_SOURCE_FOLDER), folder);
}

void command_browse_destination_folder() {
    wchar_t folder[PATH_CAPACITY];
    if (!browse_for_folder(folder, ui_text(L"Choose where the ZIP will be saved.", L"Wybierz folder docelowy ZIP.")))
        return;
    set_text(control(CTL_DESTINATION), folder);
}
