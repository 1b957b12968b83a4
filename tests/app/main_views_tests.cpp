// The eight views of the main window: which controls each shows, the tab emphasis, the hint and
// status lines on entry, and the help, about and contact texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/app_state.h"
#include "app/queue_view.h"
#include "common/memory.h"
#include "common/operation_result.h"
#include "common/ui.h"
#include "control_numbers.h"
#include "expected_controls.h"
#include "window_fixture.h"

namespace {

// The button that brings each view up, its hint line and the status line it writes on entry.
struct View {
    int view;
    int button;
    const wchar_t* hint_english;
    const wchar_t* hint_polish;
    const wchar_t* status_english;
    const wchar_t* status_polish;
};

const View VIEWS[8] = {
    {0, 100, L"Open an archive or drop it into this window.", L"Otwórz archiwum lub przeciągnij je do okna.",
     L"Items: 0", L"Elementy: 0"},
    {1, 105, L"Add files and folders or drop them into this window.",
     L"Dodaj pliki i foldery lub przeciągnij je do okna.", L"Sources: 0", L"Źródła: 0"},
    {2, 104, L"Choose your language and defaults.", L"Zmień język i domyślne opcje pracy.",
     L"Click Save settings to keep your changes.", L"Ustawienia są zapisywane po kliknięciu Zapisz."},
    {3, 118, L"Save your rules and review the files before packing.",
     L"Zapisz reguły i sprawdź listę plików przed pakowaniem.", L"Leave extensions blank to include all files.",
     L"Puste pole rozszerzeń uwzględnia wszystkie pliki."},
    {4, 132, L"Drop archives to extract each into its own folder.",
     L"Przeciągnij spakowane pliki. Każdy trafi do osobnego folderu.", L"Extracted: 0   Errors: 0   Waiting: 0",
     L"Rozpakowano: 0   Błędy: 0   Czeka: 0"},
    {5, 138, L"Help", L"Pomoc", L"", L""},
    {6, 139, L"About Lumarek", L"Informacje o programie", L"", L""},
    {7, 140, L"Contact the publisher", L"Kontakt z wydawcą", L"", L""},
};

// Tab buttons (control numbers) and the views they belong to.
const struct {
    int number;
    int view;
} TABS[4] = {{N_TAB_CONTENTS, 0}, {N_TAB_NEW_ARCHIVE, 1}, {N_TAB_PROFILES, 3}, {N_TAB_QUEUE, 4}};

const wchar_t HELP_ENGLISH[] =
    L"Open and extract\r\n"
    L"Drop an archive into the window or choose Open archive. Select the files to extract or choose Extract to "
    L"unpack the entire archive to a separate folder.\r\n"
    L"\r\n"
    L"Create an archive\r\n"
    L"Add files or folders on the New archive tab. Choose ZIP, 7z or TAR.GZ and a compression level. ZIP supports "
    L"a password.\r\n"
    L"\r\n"
    L"ZIP profiles and the extraction queue\r\n"
    L"Save packing rules in ZIP profiles and review the file list before creating the archive. Drop several "
    L"archives to queue them for extraction. When an archive needs a password, use Open preview and extract it "
    L"separately.\r\n"
    L"\r\n"
    L"Settings\r\n"
    L"Choose your language, startup view and default extraction folder. Select Save settings to apply the changes.";

const wchar_t HELP_POLISH[] =
    L"Otwieranie i rozpakowywanie\r\n"
    L"Przeciągnij archiwum do okna lub użyj przycisku Otwórz archiwum. Zaznacz pliki do wypakowania albo wybierz "
    L"Rozpakuj, aby wypakować całość do osobnego folderu.\r\n"
    L"\r\n"
    L"Tworzenie archiwum\r\n"
    L"Na karcie Nowe archiwum dodaj pliki lub foldery. Wybierz ZIP, 7z lub TAR.GZ i poziom kompresji. Dla ZIP "
    L"możesz ustawić hasło.\r\n"
    L"\r\n"
    L"Profile ZIP i kolejka\r\n"
    L"Zapisz reguły pakowania w Profilach ZIP i sprawdź podgląd przed utworzeniem paczki. Przeciągnij kilka "
    L"archiwów, aby dodać je do kolejki. Dla pliku wymagającego hasła wybierz Otwórz podgląd i rozpakuj go osobno.\r\n"
    L"\r\n"
    L"Ustawienia\r\n"
    L"Wybierz język, kartę startową oraz domyślny folder rozpakowywania. Zatwierdź przyciskiem Zapisz ustawienia.";

const wchar_t ABOUT_ENGLISH[] =
    L"Lumarek 1.2.0 (x64)\r\nDravik\r\n\r\nArchive manager for Windows 11. Creating and extracting archives and using "
    L"ZIP profiles work offline.";
const wchar_t ABOUT_POLISH[] =
    L"Lumarek 1.2.0 (x64)\r\nDravik\r\n\r\nProgram do otwierania i tworzenia archiwów na Windows 11. Pakowanie, "
    L"rozpakowywanie i profile ZIP działają offline.";

const wchar_t CONTACT_ENGLISH[] =
    L"When reporting an issue, include the action you took and the message shown. The button below copies the app "
    L"version and interface language.\r\n\r\nThis build has no support address configured.";
const wchar_t CONTACT_POLISH[] =
    L"Opisując problem, podaj wykonywaną czynność i komunikat programu. Przycisk poniżej kopiuje wersję aplikacji i "
    L"język interfejsu.\r\n\r\nW tym wydaniu nie skonfigurowano adresu wsparcia.";

class MainViews : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        main_ = open_main_window(GetParam());
        ASSERT_NE(nullptr, main_);
    }
    bool polish() const { return GetParam(); }
    HWND main_ = nullptr;
};

}  // namespace

TEST_P(MainViews, EachViewShowsItsControlsTabHintAndStatus) {
    // Entered in an order that starts from another view each time.
    for (int view : {1, 2, 3, 4, 5, 6, 7, 0, 5, 2}) {
        const View& expected = VIEWS[view];
        SCOPED_TRACE("view " + std::to_string(view));
        press(main_, expected.button);
        for (const Control& control : CONTROLS) {
            HWND child = nth_control(main_, control.number);
            EXPECT_EQ(shown_in(control, view), has_style(child, WS_VISIBLE)) << "control " << control.number;
        }
        for (const auto& tab : TABS) {
            HFONT font = (HFONT)SendMessageW(nth_control(main_, tab.number), WM_GETFONT, 0, 0);
            EXPECT_EQ(tab.view == view ? g_ui.emphasis_font : g_ui.body_font, font) << "tab " << tab.number;
        }
        EXPECT_EQ(polish() ? expected.hint_polish : expected.hint_english, text_of(nth_control(main_, N_HINT)));
        EXPECT_EQ(polish() ? expected.status_polish : expected.status_english, text_of(nth_control(main_, N_STATUS)));
    }
}

TEST_P(MainViews, HelpAboutAndContactTexts) {
    const struct {
        int button;
        const wchar_t* english;
        const wchar_t* polish;
        bool copy_button;
    } texts[] = {{138, HELP_ENGLISH, HELP_POLISH, false},
                 {139, ABOUT_ENGLISH, ABOUT_POLISH, true},
                 {140, CONTACT_ENGLISH, CONTACT_POLISH, true}};
    HWND information = nth_control(main_, N_INFO_TEXT);
    for (const auto& text : texts) {
        SCOPED_TRACE("button " + std::to_string(text.button));
        press(main_, text.button);
        EXPECT_EQ(polish() ? text.polish : text.english, text_of(information));
        EXPECT_TRUE(has_style(information, WS_VISIBLE));
        EXPECT_EQ(text.copy_button, has_style(GetDlgItem(main_, 141), WS_VISIBLE)) << "Copy support details";
        EXPECT_FALSE(has_style(GetDlgItem(main_, 142), WS_VISIBLE)) << "Compose email";
        EXPECT_FALSE(has_style(GetDlgItem(main_, 143), WS_VISIBLE)) << "Open support site";
        DWORD start = 1, end = 1;
        SendMessageW(information, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(0u, start);
        EXPECT_EQ(0u, end);
    }
}

TEST_P(MainViews, ProfilesStatusFollowsThePreview) {
    g_app.preview_ready = true;
    press(main_, 118);
    EXPECT_EQ(polish() ? L"Podgląd jest gotowy." : L"Preview is ready.", text_of(nth_control(main_, N_STATUS)));
}

TEST_P(MainViews, CountsInTheStatusLine) {
    // Two sources and three entries of an open archive, as the commands leave them.
    wchar_t* sources[2] = {text_duplicate(L"C:\\a"), text_duplicate(L"C:\\b")};
    g_app.sources = sources;
    g_app.source_count = 2;
    g_app.entries.count = 3;
    press(main_, 105);
    EXPECT_EQ(polish() ? L"Źródła: 2" : L"Sources: 2", text_of(nth_control(main_, N_STATUS)));
    press(main_, 100);
    EXPECT_EQ(polish() ? L"Elementy: 3" : L"Items: 3", text_of(nth_control(main_, N_STATUS)));
    g_app.entries.count = 0;
    g_app.sources = nullptr;
    g_app.source_count = 0;
    mem_free(sources[0]);
    mem_free(sources[1]);
}

TEST_P(MainViews, QueueViewShowsRowsAndSummary) {
    const struct {
        const wchar_t* path;
        int32_t status;
        int32_t result;
        const wchar_t* english;
        const wchar_t* polish;
    } items[] = {
        {L"C:\\In\\a.zip", QUEUE_EXTRACTED, RESULT_OK, L"Extracted", L"Rozpakowano"},
        {L"C:\\In\\b.zip", QUEUE_FAILED, RESULT_IO_ERROR, L"Read or write error", L"Błąd odczytu lub zapisu"},
        {L"C:\\In\\c.zip", QUEUE_FAILED, RESULT_PASSWORD_REQUIRED, L"Password required", L"Wymaga hasła"},
        {L"C:\\In\\d.zip", QUEUE_FAILED, RESULT_UNSUPPORTED_ENCRYPTION, L"Unsupported encryption",
         L"Nieobsługiwane szyfrowanie"},
        {L"C:\\In\\e.zip", QUEUE_FAILED, RESULT_UNSAFE_PATH, L"Invalid archive path", L"Niedozwolona ścieżka"},
        {L"C:\\In\\f.zip", QUEUE_FAILED, RESULT_OUTPUT_EXISTS, L"Output exists", L"Wynik już istnieje"},
        {L"C:\\In\\g.zip", QUEUE_FAILED, RESULT_ARCHIVE_ERROR, L"Archive error", L"Błąd archiwum"},
        {L"C:\\In\\h.zip", QUEUE_FAILED, RESULT_OUT_OF_MEMORY, L"Archive error", L"Błąd archiwum"},
        {L"C:\\In\\i.zip", QUEUE_EXTRACTED, RESULT_OK, L"Extracted", L"Rozpakowano"},
        {L"C:\\In\\j.zip", QUEUE_WAITING, RESULT_OK, L"Waiting", L"Czeka"},
    };
    const uint32_t count = sizeof(items) / sizeof(items[0]);
    g_queue.items = (QueueItem*)mem_alloc(count * sizeof(QueueItem));
    g_queue.capacity = count;
    for (const auto& item : items)
        g_queue.items[g_queue.count++] = QueueItem{text_duplicate(item.path), item.status, item.result};
    queue_refresh_list();
    press(main_, 132);
    EXPECT_EQ(polish() ? L"Rozpakowano: 2   Błędy: 7   Czeka: 1" : L"Extracted: 2   Errors: 7   Waiting: 1",
              text_of(nth_control(main_, N_STATUS)));
    HWND list = nth_control(main_, N_QUEUE_LIST);
    ASSERT_EQ((LRESULT)count, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (uint32_t row = 0; row < count; ++row) {
        EXPECT_EQ(items[row].path, list_cell(list, row, 0));
        EXPECT_EQ(polish() ? items[row].polish : items[row].english, list_cell(list, row, 1)) << row;
    }
    queue_free();
}

INSTANTIATE_TEST_SUITE_P(Languages, MainViews, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Polish" : "English"; });
