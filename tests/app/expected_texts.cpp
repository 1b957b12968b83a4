#include "expected_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_numbers.h"
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

}  // namespace

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
