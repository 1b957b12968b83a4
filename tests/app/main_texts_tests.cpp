// Every caption, list item and column title of the main window in both languages, chosen by the
// language of the preferences when the window starts; and what applying the texts again keeps.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/texts.h"
#include "control_numbers.h"
#include "settings/preferences.h"
#include "window_fixture.h"

namespace {

// Captions by control number (creation order).
struct Caption {
    int number;
    const wchar_t* english;
    const wchar_t* polish;
};

const Caption CAPTIONS[] = {
    {N_TITLE, L"Lumarek", L"Lumarek"},
    {N_TAB_CONTENTS, L"Archive contents", L"Zawartość archiwum"},
    {N_TAB_NEW_ARCHIVE, L"New archive", L"Nowe archiwum"},
    {N_TAB_PROFILES, L"ZIP profiles", L"Profile ZIP"},
    {N_TAB_QUEUE, L"Extract queue", L"Kolejka"},
    {N_SETTINGS, L"Settings", L"Ustawienia"},
    {N_HELP, L"Help", L"Pomoc"},
    {N_ABOUT, L"About", L"Informacje"},
    {N_CONTACT, L"Contact", L"Kontakt"},
    {N_CANCEL, L"Cancel operation", L"Anuluj operację"},
    {N_COPY_SUPPORT, L"Copy support details", L"Kopiuj dane do zgłoszenia"},
    {N_COMPOSE_EMAIL, L"Compose email…", L"Napisz e-mail…"},
    {N_SUPPORT_SITE, L"Open support site…", L"Otwórz stronę wsparcia…"},
    {N_OPEN_ARCHIVE, L"Open archive…", L"Otwórz archiwum…"},
    {N_EXTRACT, L"Extract…", L"Rozpakuj…"},
    {N_TEST, L"Test archive", L"Sprawdź archiwum"},
    {N_ADD_FILES, L"Add files…", L"Dodaj pliki…"},
    {N_ADD_FOLDER, L"Add folder…", L"Dodaj folder…"},
    {N_REMOVE_SOURCES, L"Remove selected", L"Usuń zaznaczenie"},
    {N_FORMAT_LABEL, L"Format", L"Format"},
    {N_COMPRESSION_LABEL, L"Compression", L"Kompresja"},
    {N_PASSWORD_LABEL, L"ZIP password (optional)", L"Hasło do ZIP (opcjonalne)"},
    {N_CREATE_ARCHIVE, L"Create archive…", L"Utwórz archiwum…"},
    {N_LANGUAGE_LABEL, L"Interface language", L"Język interfejsu"},
    {N_STARTUP_VIEW_LABEL, L"Startup view", L"Karta po uruchomieniu"},
    {N_DEFAULT_FORMAT_LABEL, L"Default format", L"Domyślny format"},
    {N_DEFAULT_COMPRESSION_LABEL, L"Default compression", L"Domyślna kompresja"},
    {N_DEFAULT_FOLDER_LABEL, L"Default extraction folder (optional)", L"Domyślny folder rozpakowywania (opcjonalnie)"},
    {N_BROWSE_DEFAULT_FOLDER, L"Browse…", L"Wybierz…"},
    {N_OPEN_FOLDER_CHECK, L"Open folder after extraction", L"Otwórz folder po rozpakowaniu"},
    {N_SILENT_FOLDER_CHECK, L"Use the default folder without asking", L"Używaj domyślnego folderu bez pytania"},
    {N_RESTORE_DEFAULTS, L"Restore defaults", L"Przywróć domyślne"},
    {N_SAVE_SETTINGS, L"Save settings", L"Zapisz ustawienia"},
    {N_BACK, L"Back", L"Wróć"},
    {N_SAVED_PROFILE_LABEL, L"Saved profile", L"Zapisany profil"},
    {N_PROFILE_NAME_LABEL, L"Profile name", L"Nazwa profilu"},
    {N_SOURCE_FOLDER_LABEL, L"Source folder", L"Folder źródłowy"},
    {N_EXTENSIONS_LABEL, L"Extensions, e.g. pdf; jpg", L"Rozszerzenia, np. pdf; jpg"},
    {N_SKIP_FOLDERS_LABEL, L"Skip folders, e.g. Drafts", L"Pomiń foldery, np. Robocze"},
    {N_DESTINATION_LABEL, L"ZIP destination", L"Folder docelowy ZIP"},
    {N_PATTERN_LABEL, L"ZIP name pattern ({folder}, {date})", L"Wzór nazwy ZIP ({folder}, {date})"},
    {N_BROWSE_SOURCE, L"Browse…", L"Wybierz…"},
    {N_BROWSE_DESTINATION, L"Browse…", L"Wybierz…"},
    {N_SAVE_PROFILE, L"Save profile", L"Zapisz profil"},
    {N_DELETE_PROFILE, L"Delete profile", L"Usuń profil"},
    {N_PREVIEW_FILES, L"Preview files", L"Pokaż pliki"},
    {N_CREATE_ZIP, L"Create ZIP", L"Utwórz ZIP"},
    {N_ADD_ARCHIVES, L"Add archives…", L"Dodaj spakowane pliki…"},
    {N_REMOVE_QUEUED, L"Remove selected", L"Usuń zaznaczone"},
    {N_EXTRACT_QUEUE, L"Extract queue…", L"Rozpakuj kolejkę…"},
    {N_OPEN_PREVIEW, L"Open preview", L"Otwórz podgląd"},
    {N_OPEN_OUTPUT, L"Open output folder", L"Otwórz folder wyników"},
};

struct Items {
    int number;
    std::vector<const wchar_t*> english;
    std::vector<const wchar_t*> polish;
};

const Items LISTS[] = {
    {N_FORMAT_LIST, {L"ZIP", L"7z", L"TAR.GZ"}, {L"ZIP", L"7z", L"TAR.GZ"}},
    {N_DEFAULT_FORMAT_LIST, {L"ZIP", L"7z", L"TAR.GZ"}, {L"ZIP", L"7z", L"TAR.GZ"}},
    {N_COMPRESSION_LIST, {L"Fast", L"Normal", L"Maximum"}, {L"Szybka", L"Standardowa", L"Maksymalna"}},
    {N_DEFAULT_COMPRESSION_LIST, {L"Fast", L"Normal", L"Maximum"}, {L"Szybka", L"Standardowa", L"Maksymalna"}},
    {N_LANGUAGE_LIST, {L"Polski", L"English"}, {L"Polski", L"English"}},
    {N_STARTUP_VIEW_LIST,
     {L"Archive contents", L"New archive", L"ZIP profiles", L"Extract queue"},
     {L"Zawartość archiwum", L"Nowe archiwum", L"Profile ZIP", L"Kolejka"}},
    {N_SAVED_PROFILE_LIST, {L"(New profile)"}, {L"(Nowy profil)"}},
};

void expect_texts(HWND main, bool polish) {
    EXPECT_EQ(L"Lumarek", text_of(main)) << "the window title, in both languages";
    for (const Caption& caption : CAPTIONS)
        EXPECT_EQ(polish ? caption.polish : caption.english, text_of(nth_control(main, caption.number)))
            << "control " << caption.number;
    for (const Items& list : LISTS) {
        const std::vector<const wchar_t*>& items = polish ? list.polish : list.english;
        HWND combo = nth_control(main, list.number);
        ASSERT_EQ((LRESULT)items.size(), SendMessageW(combo, CB_GETCOUNT, 0, 0)) << "control " << list.number;
        for (size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(items[i], combo_item(combo, (int)i)) << "control " << list.number << " item " << i;
    }
    HWND contents = nth_control(main, N_CONTENTS_LIST);
    EXPECT_EQ(polish ? L"Nazwa w archiwum" : L"Name in archive", column_title(contents, 0));
    EXPECT_EQ(polish ? L"Rozmiar" : L"Size", column_title(contents, 1));
    EXPECT_EQ(polish ? L"Typ" : L"Type", column_title(contents, 2));
    HWND queue = nth_control(main, N_QUEUE_LIST);
    EXPECT_EQ(polish ? L"Archiwum" : L"Archive", column_title(queue, 0));
    EXPECT_EQ(polish ? L"Wynik" : L"Result", column_title(queue, 1));
}

}  // namespace

TEST(MainTexts, EnglishAtStartUp) {
    HWND main = open_main_window(false);
    ASSERT_NE(nullptr, main);
    expect_texts(main, false);
    EXPECT_EQ(L"No archive open", text_of(nth_control(main, N_ARCHIVE_LABEL)));
}

TEST(MainTexts, PolishAtStartUp) {
    HWND main = open_main_window(true);
    ASSERT_NE(nullptr, main);
    expect_texts(main, true);
    EXPECT_EQ(L"Brak otwartego archiwum", text_of(nth_control(main, N_ARCHIVE_LABEL)));
}

TEST(MainTexts, StartUpViewComesFromThePreferences) {
    const struct {
        uint32_t startup_view;
        const wchar_t* hint;
    } cases[] = {{0, L"Open an archive or drop it into this window."},
                 {N_ICON, L"Add files and folders or drop them into this window."},
                 {N_STATUS, L"Save your rules and review the files before packing."},
                 {N_TITLE, L"Drop archives to extract each into its own folder."}};
    for (const auto& item : cases) {
        HWND main = open_main_window(false, item.startup_view);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(item.hint, text_of(nth_control(main, N_HINT))) << item.startup_view;
    }
}

TEST(MainTexts, ApplyingAgainSwitchesTheLanguageAndKeepsWhatIsValid) {
    HWND main = open_main_window(true);
    ASSERT_NE(nullptr, main);
    HWND formats = nth_control(main, N_FORMAT_LIST);
    HWND compressions = nth_control(main, N_COMPRESSION_LIST);
    SendMessageW(formats, CB_SETCURSEL, 2, 0);
    SendMessageW(compressions, CB_SETCURSEL, 0, 0);
    HWND contents = nth_control(main, N_CONTENTS_LIST);
    HWND queue = nth_control(main, N_QUEUE_LIST);
    SendMessageW(contents, LVM_SETCOLUMNWIDTH, 1, 50);
    SendMessageW(queue, LVM_SETCOLUMNWIDTH, 1, 77);
    // Unsaved edits of the settings view, and a saved-profile selection that no longer exists.
    SetWindowTextW(nth_control(main, N_DEFAULT_FOLDER), L"C:\\Unsaved");
    SendMessageW(nth_control(main, N_STARTUP_VIEW_LIST), CB_SETCURSEL, 2, 0);
    SendMessageW(nth_control(main, N_SAVED_PROFILE_LIST), CB_SETCURSEL, (WPARAM)-1, 0);

    g_preferences.polish_ui = 0;
    apply_interface_texts();
    expect_texts(main, false);
    EXPECT_EQ(2, SendMessageW(formats, CB_GETCURSEL, 0, 0)) << "a valid selection is kept";
    EXPECT_EQ(0, SendMessageW(compressions, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(480, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 0, 0)) << "reset until the next layout";
    EXPECT_EQ(126, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(77, SendMessageW(queue, LVM_GETCOLUMNWIDTH, 1, 0)) << "the queue's widths are kept";
    EXPECT_EQ(L"", text_of(nth_control(main, N_DEFAULT_FOLDER))) << "the settings view shows the current preferences";
    EXPECT_EQ(0, SendMessageW(nth_control(main, N_STARTUP_VIEW_LIST), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, SendMessageW(nth_control(main, N_LANGUAGE_LIST), CB_GETCURSEL, 0, 0)) << "English";
    EXPECT_EQ(0, SendMessageW(nth_control(main, N_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0)) << "(New profile)";
    EXPECT_FALSE(IsWindowEnabled(nth_control(main, N_DELETE_PROFILE))) << "Delete profile";

    // Without a selection the lists fall back to the preferences' defaults.
    SendMessageW(formats, CB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(compressions, CB_SETCURSEL, (WPARAM)-1, 0);
    g_preferences.default_format = 1;
    g_preferences.default_compression = 2;
    apply_interface_texts();
    EXPECT_EQ(1, SendMessageW(formats, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageW(compressions, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, SendMessageW(nth_control(main, N_DEFAULT_FORMAT_LIST), CB_GETCURSEL, 0, 0))
        << "default format of the settings";
    EXPECT_EQ(2, SendMessageW(nth_control(main, N_DEFAULT_COMPRESSION_LIST), CB_GETCURSEL, 0, 0));
}

TEST(MainTexts, SettingsViewShowsTheCurrentPreferences) {
    HWND main = open_main_window(false);
    ASSERT_NE(nullptr, main);
    g_preferences.polish_ui = 1;
    g_preferences.default_format = 2;
    g_preferences.default_compression = 0;
    g_preferences.startup_view = 3;
    g_preferences.open_folder_after_extract = 255;
    g_preferences.use_default_folder_silently = 1;
    wcscpy(g_preferences.default_extract_folder, L"C:\\Out");
    press(main, 104);
    EXPECT_EQ(0, SendMessageW(nth_control(main, N_LANGUAGE_LIST), CB_GETCURSEL, 0, 0)) << "Polski";
    EXPECT_EQ(2, SendMessageW(nth_control(main, N_DEFAULT_FORMAT_LIST), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(nth_control(main, N_DEFAULT_COMPRESSION_LIST), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(3, SendMessageW(nth_control(main, N_STARTUP_VIEW_LIST), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"C:\\Out", text_of(nth_control(main, N_DEFAULT_FOLDER)));
    EXPECT_EQ(BST_CHECKED, SendMessageW(nth_control(main, N_OPEN_FOLDER_CHECK), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(nth_control(main, N_SILENT_FOLDER_CHECK), BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"Zawartość archiwum", combo_item(nth_control(main, N_STARTUP_VIEW_LIST), 0))
        << "the lists' words are in the language of the moment they were filled";
}
