#include "app/texts.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/choice_words.h"
#include "app/contents_view.h"
#include "app/profile_view.h"
#include "app/queue_view.h"
#include "common/ui.h"
#include "settings/language.h"
#include "settings/settings_view.h"

struct Caption {
    ControlRole role;
    const wchar_t* english;
    const wchar_t* polish;
};

static const Caption CAPTIONS[] = {
    {CTL_TAB_CONTENTS, L"Archive contents", L"Zawartość archiwum"},
    {CTL_TAB_NEW_ARCHIVE, L"New archive", L"Nowe archiwum"},
    {CTL_TAB_PROFILES, L"ZIP profiles", L"Profile ZIP"},
    {CTL_TAB_QUEUE, L"Extract queue", L"Kolejka"},
    {CTL_SETTINGS, L"Settings", L"Ustawienia"},
    {CTL_HELP, L"Help", L"Pomoc"},
    {CTL_ABOUT, L"About", L"Informacje"},
    {CTL_CONTACT, L"Contact", L"Kontakt"},
    {CTL_CANCEL, L"Cancel operation", L"Anuluj operację"},
    {CTL_COPY_SUPPORT, L"Copy support details", L"Kopiuj dane do zgłoszenia"},
    {CTL_COMPOSE_EMAIL, L"Compose email…", L"Napisz e-mail…"},
    {CTL_SUPPORT_SITE, L"Open support site…", L"Otwórz stronę wsparcia…"},
    {CTL_OPEN_ARCHIVE, L"Open archive…", L"Otwórz archiwum…"},
    {CTL_EXTRACT, L"Extract…", L"Rozpakuj…"},
    {CTL_TEST, L"Test archive", L"Sprawdź archiwum"},
    {CTL_ADD_FILES, L"Add files…", L"Dodaj pliki…"},
    {CTL_ADD_FOLDER, L"Add folder…", L"Dodaj folder…"},
    {CTL_REMOVE_SOURCES, L"Remove selected", L"Usuń zaznaczenie"},
    {CTL_FORMAT_LABEL, L"Format", L"Format"},
    {CTL_COMPRESSION_LABEL, L"Compression", L"Kompresja"},
    {CTL_PASSWORD_LABEL, L"ZIP password (optional)", L"Hasło do ZIP (opcjonalne)"},
    {CTL_CREATE_ARCHIVE, L"Create archive…", L"Utwórz archiwum…"},
    {CTL_LANGUAGE_LABEL, L"Interface language", L"Język interfejsu"},
    {CTL_STARTUP_VIEW_LABEL, L"Startup view", L"Karta po uruchomieniu"},
    {CTL_DEFAULT_FORMAT_LABEL, L"Default format", L"Domyślny format"},
    {CTL_DEFAULT_COMPRESSION_LABEL, L"Default compression", L"Domyślna kompresja"},
    {CTL_DEFAULT_FOLDER_LABEL, L"Default extraction folder (optional)",
     L"Domyślny folder rozpakowywania (opcjonalnie)"},
    {CTL_BROWSE_DEFAULT_FOLDER, L"Browse…", L"Wybierz…"},
    {CTL_OPEN_FOLDER_CHECK, L"Open folder after extraction", L"Otwórz folder po rozpakowaniu"},
    {CTL_SILENT_FOLDER_CHECK, L"Use the default folder without asking", L"Używaj domyślnego folderu bez pytania"},
    {CTL_RESTORE_DEFAULTS, L"Restore defaults", L"Przywróć domyślne"},
    {CTL_SAVE_SETTINGS, L"Save settings", L"Zapisz ustawienia"},
    {CTL_BACK, L"Back", L"Wróć"},
    {CTL_SAVED_PROFILE_LABEL, L"Saved profile", L"Zapisany profil"},
    {CTL_PROFILE_NAME_LABEL, L"Profile name", L"Nazwa profilu"},
    {CTL_SOURCE_FOLDER_LABEL, L"Source folder", L"Folder źródłowy"},
    {CTL_EXTENSIONS_LABEL, L"Extensions, e.g. pdf; jpg", L"Rozszerzenia, np. pdf; jpg"},
    {CTL_SKIP_FOLDERS_LABEL, L"Skip folders, e.g. Drafts", L"Pomiń foldery, np. Robocze"},
    {CTL_DESTINATION_LABEL, L"ZIP destination", L"Folder docelowy ZIP"},
    {CTL_PATTERN_LABEL, L"ZIP name pattern ({folder}, {date})", L"Wzór nazwy ZIP ({folder}, {date})"},
    {CTL_BROWSE_SOURCE, L"Browse…", L"Wybierz…"},
    {CTL_BROWSE_DESTINATION, L"Browse…", L"Wybierz…"},
    {CTL_SAVE_PROFILE, L"Save profile", L"Zapisz profil"},
    {CTL_DELETE_PROFILE, L"Delete profile", L"Usuń profil"},
    {CTL_PREVIEW_FILES, L"Preview files", L"Pokaż pliki"},
    {CTL_CREATE_ZIP, L"Create ZIP", L"Utwórz ZIP"},
    {CTL_ADD_ARCHIVES, L"Add archives…", L"Dodaj spakowane pliki…"},
    {CTL_REMOVE_QUEUED, L"Remove selected", L"Usuń zaznaczone"},
    {CTL_EXTRACT_QUEUE, L"Extract queue…", L"Rozpakuj kolejkę…"},
    {CTL_OPEN_PREVIEW, L"Open preview", L"Otwórz podgląd"},
    {CTL_OPEN_OUTPUT, L"Open output folder", L"Otwórz folder wyników"},
};

// Refills a three-item list, keeping a valid selection and otherwise selecting the fallback.
static void refill_choice_list(HWND list, const wchar_t* const items[3], uint32_t fallback) {
    uint32_t selected = (uint32_t)SendMessageW(list, CB_GETCURSEL, 0, 0);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 3; ++i) SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)items[i]);
    SendMessageW(list, CB_SETCURSEL, selected <= 2 ? selected : fallback, 0);
}

static void set_queue_column_title(int column, const wchar_t* title) {
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = (wchar_t*)title;
    SendMessageW(control(CTL_QUEUE_LIST), LVM_SETCOLUMNW, column, (LPARAM)&info);
}

void apply_interface_texts() {
    for (const Caption& caption : CAPTIONS) set_text(control(caption.role), ui_text(caption.english, caption.polish));

    refill_choice_list(control(CTL_FORMAT_LIST), FORMAT_NAMES, g_preferences.default_format);
    const wchar_t* compressions[3] = {compression_name(0), compression_name(1), compression_name(2)};
    refill_choice_list(control(CTL_COMPRESSION_LIST), compressions, g_preferences.default_compression);

    fill_settings_view(&g_preferences);

    set_contents_columns();
    set_queue_column_title(0, ui_text(L"Archive", L"Archiwum"));
    set_queue_column_title(1, ui_text(L"Result", L"Wynik"));

    int32_t row = (int32_t)SendMessageW(control(CTL_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
    if (row < 0 || row >= (int32_t)g_profile_store.count + 1) row = 0;
    fill_profile_list(row);

    queue_refresh_list();
}
