// Every caption, list item and column title of the main window in both languages, chosen by the
// language of the preferences when the window starts; and what applying the texts again keeps.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/texts.h"
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
    {3, L"Lumarek", L"Lumarek"},
    {9, L"Archive contents", L"Zawartość archiwum"},
    {10, L"New archive", L"Nowe archiwum"},
    {43, L"ZIP profiles", L"Profile ZIP"},
    {66, L"Extract queue", L"Kolejka"},
    {8, L"Settings", L"Ustawienia"},
    {5, L"Help", L"Pomoc"},
    {7, L"About", L"Informacje"},
    {6, L"Contact", L"Kontakt"},
    {77, L"Cancel operation", L"Anuluj operację"},
    {74, L"Copy support details", L"Kopiuj dane do zgłoszenia"},
    {75, L"Compose email…", L"Napisz e-mail…"},
    {76, L"Open support site…", L"Otwórz stronę wsparcia…"},
    {11, L"Open archive…", L"Otwórz archiwum…"},
    {12, L"Extract…", L"Rozpakuj…"},
    {13, L"Test archive", L"Sprawdź archiwum"},
    {16, L"Add files…", L"Dodaj pliki…"},
    {17, L"Add folder…", L"Dodaj folder…"},
    {18, L"Remove selected", L"Usuń zaznaczenie"},
    {20, L"Format", L"Format"},
    {22, L"Compression", L"Kompresja"},
    {24, L"ZIP password (optional)", L"Hasło do ZIP (opcjonalne)"},
    {26, L"Create archive…", L"Utwórz archiwum…"},
    {27, L"Interface language", L"Język interfejsu"},
    {31, L"Startup view", L"Karta po uruchomieniu"},
    {29, L"Default format", L"Domyślny format"},
    {33, L"Default compression", L"Domyślna kompresja"},
    {35, L"Default extraction folder (optional)", L"Domyślny folder rozpakowywania (opcjonalnie)"},
    {37, L"Browse…", L"Wybierz…"},
    {38, L"Open folder after extraction", L"Otwórz folder po rozpakowaniu"},
    {39, L"Use the default folder without asking", L"Używaj domyślnego folderu bez pytania"},
    {42, L"Restore defaults", L"Przywróć domyślne"},
    {40, L"Save settings", L"Zapisz ustawienia"},
    {41, L"Back", L"Wróć"},
    {44, L"Saved profile", L"Zapisany profil"},
    {46, L"Profile name", L"Nazwa profilu"},
    {48, L"Source folder", L"Folder źródłowy"},
    {54, L"Extensions, e.g. pdf; jpg", L"Rozszerzenia, np. pdf; jpg"},
    {56, L"Skip folders, e.g. Drafts", L"Pomiń foldery, np. Robocze"},
    {51, L"ZIP destination", L"Folder docelowy ZIP"},
    {58, L"ZIP name pattern ({folder}, {date})", L"Wzór nazwy ZIP ({folder}, {date})"},
    {50, L"Browse…", L"Wybierz…"},
    {53, L"Browse…", L"Wybierz…"},
    {60, L"Save profile", L"Zapisz profil"},
    {61, L"Delete profile", L"Usuń profil"},
    {62, L"Preview files", L"Pokaż pliki"},
    {63, L"Create ZIP", L"Utwórz ZIP"},
    {67, L"Add archives…", L"Dodaj lumarek…"},
    {68, L"Remove selected", L"Usuń zaznaczone"},
    {70, L"Extract queue…", L"Rozpakuj kolejkę…"},
    {69, L"Open preview", L"Otwórz podgląd"},
    {71, L"Open output folder", L"Otwórz folder wyników"},
};

struct Items {
    int number;
    std::vector<const wchar_t*> english;
    std::vector<const wchar_t*> polish;
};

const Items LISTS[] = {
    {21, {L"ZIP", L"7z", L"TAR.GZ"}, {L"ZIP", L"7z", L"TAR.GZ"}},
    {30, {L"ZIP", L"7z", L"TAR.GZ"}, {L"ZIP", L"7z", L"TAR.GZ"}},
    {23, {L"Fast", L"Normal", L"Maximum"}, {L"Szybka", L"Standardowa", L"Maksymalna"}},
    {34, {L"Fast", L"Normal", L"Maximum"}, {L"Szybka", L"Standardowa", L"Maksymalna"}},
    {28, {L"Polski", L"English"}, {L"Polski", L"English"}},
    {32,
     {L"Archive contents", L"New archive", L"ZIP profiles", L"Extract queue"},
     {L"Zawartość archiwum", L"Nowe archiwum", L"Profile ZIP", L"Kolejka"}},
    {45, {L"(New profile)"}, {L"(Nowy profil)"}},
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
    HWND contents = nth_control(main, 15);
    EXPECT_EQ(polish ? L"Nazwa w archiwum" : L"Name in archive", column_title(contents, 0));
    EXPECT_EQ(polish ? L"Rozmiar" : L"Size", column_title(contents, 1));
    EXPECT_EQ(polish ? L"Typ" : L"Type", column_title(contents, 2));
    HWND queue = nth_control(main, 72);
    EXPECT_EQ(polish ? L"Archiwum" : L"Archive", column_title(queue, 0));
    EXPECT_EQ(polish ? L"Wynik" : L"Result", column_title(queue, 1));
}

}  // namespace

TEST(MainTexts, EnglishAtStartUp) {
    HWND main = open_main_window(false);
    ASSERT_NE(nullptr, main);
    expect_texts(main, false);
    EXPECT_EQ(L"No archive open", text_of(nth_control(main, 14)));
}

TEST(MainTexts, PolishAtStartUp) {
    HWND main = open_main_window(true);
    ASSERT_NE(nullptr, main);
    expect_texts(main, true);
    EXPECT_EQ(L"Brak otwartego archiwum", text_of(nth_control(main, 14)));
}

TEST(MainTexts, StartUpViewComesFromThePreferences) {
    const struct {
        uint32_t startup_view;
        const wchar_t* hint;
    } cases[] = {{0, L"Open an archive or drop it into this window."},
                 {1, L"Add files and folders or drop them into this window."},
                 {2, L"Save your rules and review the files before packing."},
                 {3, L"Drop archives to extract each into its own folder."}};
    for (const auto& item : cases) {
        HWND main = open_main_window(false, item.startup_view);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(item.hint, text_of(nth_control(main, 4))) << item.startup_view;
    }
}

TEST(MainTexts, ApplyingAgainSwitchesTheLanguageAndKeepsWhatIsValid) {
    HWND main = open_main_window(true);
    ASSERT_NE(nullptr, main);
    HWND formats = nth_control(main, 21);
    HWND compressions = nth_control(main, 23);
    SendMessageW(formats, CB_SETCURSEL, 2, 0);
    SendMessageW(compressions, CB_SETCURSEL, 0, 0);
    HWND contents = nth_control(main, 15);
    HWND queue = nth_control(main, 72);
    SendMessageW(contents, LVM_SETCOLUMNWIDTH, 1, 50);
    SendMessageW(queue, LVM_SETCOLUMNWIDTH, 1, 77);
    // Unsaved edits of the settings view, and a saved-profile selection that no longer exists.
    SetWindowTextW(nth_control(main, 36), L"C:\\Unsaved");
    SendMessageW(nth_control(main, 32), CB_SETCURSEL, 2, 0);
    SendMessageW(nth_control(main, 45), CB_SETCURSEL, (WPARAM)-1, 0);

    g_preferences.polish_ui = 0;
    apply_interface_texts();
    expect_texts(main, false);
    EXPECT_EQ(2, SendMessageW(formats, CB_GETCURSEL, 0, 0)) << "a valid selection is kept";
    EXPECT_EQ(0, SendMessageW(compressions, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(480, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 0, 0)) << "reset until the next layout";
    EXPECT_EQ(126, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(77, SendMessageW(queue, LVM_GETCOLUMNWIDTH, 1, 0)) << "the queue's widths are kept";
    EXPECT_EQ(L"", text_of(nth_control(main, 36))) << "the settings view shows the current preferences";
    EXPECT_EQ(0, SendMessageW(nth_control(main, 32), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, SendMessageW(nth_control(main, 28), CB_GETCURSEL, 0, 0)) << "English";
    EXPECT_EQ(0, SendMessageW(nth_control(main, 45), CB_GETCURSEL, 0, 0)) << "(New profile)";
    EXPECT_FALSE(IsWindowEnabled(nth_control(main, 61))) << "Delete profile";

    // Without a selection the lists fall back to the preferences' defaults.
    SendMessageW(formats, CB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(compressions, CB_SETCURSEL, (WPARAM)-1, 0);
    g_preferences.default_format = 1;
    g_preferences.default_compression = 2;
    apply_interface_texts();
    EXPECT_EQ(1, SendMessageW(formats, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageW(compressions, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, SendMessageW(nth_control(main, 30), CB_GETCURSEL, 0, 0)) << "default format of the settings";
    EXPECT_EQ(2, SendMessageW(nth_control(main, 34), CB_GETCURSEL, 0, 0));
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
    EXPECT_EQ(0, SendMessageW(nth_control(main, 28), CB_GETCURSEL, 0, 0)) << "Polski";
    EXPECT_EQ(2, SendMessageW(nth_control(main, 30), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(nth_control(main, 34), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(3, SendMessageW(nth_control(main, 32), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"C:\\Out", text_of(nth_control(main, 36)));
    EXPECT_EQ(BST_CHECKED, SendMessageW(nth_control(main, 38), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(nth_control(main, 39), BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"Zawartość archiwum", combo_item(nth_control(main, 32), 0))
        << "the lists' words are in the language of the moment they were filled";
}
