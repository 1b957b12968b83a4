// The settings view's commands in the real window: saving (the file, the language switch at once,
// the return to the view the settings were entered from, the New archive view's defaults), the
// default-folder field's checks, a save that fails, Restore defaults, Back, Browse… and another
// running copy that starts with what was saved.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/queue_view.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "expected_texts.h"
#include "operations/extraction_queue.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

const wchar_t kFolderRefused[] = L"Choose an existing extraction folder.";
const wchar_t kWriteFailed[] = L"Could not read the source or write the result to the selected location.";

// The views the settings can be entered from: the button that shows the view, a control shown
// only there, and its hint line in both languages.
struct Origin {
    int button;
    int32_t view;
    int shown;
    const wchar_t* english;
    const wchar_t* polish;
};

const Origin ORIGINS[] = {
    {100, VIEW_CONTENTS, N_OPEN_ARCHIVE, L"Open an archive or drop it into this window.",
     L"Otwórz archiwum lub przeciągnij je do okna."},
    {105, VIEW_NEW_ARCHIVE, N_CREATE_ARCHIVE, L"Add files and folders or drop them into this window.",
     L"Dodaj pliki i foldery lub przeciągnij je do okna."},
    {118, VIEW_PROFILES, N_SAVE_PROFILE, L"Save your rules and review the files before packing.",
     L"Zapisz reguły i sprawdź listę plików przed pakowaniem."},
    {132, VIEW_QUEUE, N_EXTRACT_QUEUE, L"Drop archives to extract each into its own folder.",
     L"Przeciągnij spakowane pliki. Każdy trafi do osobnego folderu."},
    {138, VIEW_HELP, N_INFO_TEXT, L"Help", L"Pomoc"},
    {139, VIEW_ABOUT, N_COPY_SUPPORT, L"About Lumarek", L"Informacje o programie"},
    {140, VIEW_CONTACT, N_COPY_SUPPORT, L"Contact the publisher", L"Kontakt z wydawcą"},
};

class SettingsCommands : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        file_ = preferences_file();
        leftover_ = file_ + L"." + std::to_wstring(GetCurrentProcessId());
        DeleteFileW(file_.c_str());
        DeleteFileW(leftover_.c_str());
        GetCurrentDirectoryW(MAX_PATH, current_folder_);
    }
    void TearDown() override {
        SetCurrentDirectoryW(current_folder_);
        DeleteFileW(file_.c_str());
        DeleteFileW(leftover_.c_str());
        CommandTest::TearDown();
    }
    HWND at(int number) { return nth_control(main_, number); }
    void choose(int number, int index) { SendMessageW(at(number), CB_SETCURSEL, index, 0); }
    int chosen(int number) { return (int)SendMessageW(at(number), CB_GETCURSEL, 0, 0); }
    bool checked(int number) { return SendMessageW(at(number), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void click(int number) { SendMessageW(at(number), BM_CLICK, 0, 0); }
    std::wstring folder_field() {
        std::wstring text(GetWindowTextLengthW(at(N_DEFAULT_FOLDER)) + 1, L'\0');
        text.resize(GetWindowTextW(at(N_DEFAULT_FOLDER), &text[0], (int)text.size()));
        return text;
    }
    void type_folder(const std::wstring& text) { SetWindowTextW(at(N_DEFAULT_FOLDER), text.c_str()); }
    std::wstring hint() { return text_of(at(N_HINT)); }
    // Save settings with the player answering the boxes that come up.
    std::vector<SeenWindow> save(std::vector<PlayerStep> steps) {
        UserPlayer user(std::move(steps));
        press(main_, 114);
        return user.seen();
    }
    // Save settings where no box may come up.
    void save() {
        press(main_, 114);
        EXPECT_TRUE(player_windows().empty());
    }
    // One refused save: the box, and the view still shown as it was.
    void expect_refused(const std::vector<SeenWindow>& seen, const wchar_t* message, const std::string& what) {
        ASSERT_EQ(1u, seen.size()) << what;
        EXPECT_EQ(L"Lumarek", seen[0].caption) << what;
        EXPECT_EQ(message, seen[0].text) << what;
        EXPECT_EQ(main_, seen[0].owner) << what;
        EXPECT_EQ(VIEW_SETTINGS, g_app.current_view) << what;
        EXPECT_TRUE(IsWindowVisible(at(N_SAVE_SETTINGS))) << what;
    }
    std::wstring file_;
    std::wstring leftover_;
    wchar_t current_folder_[MAX_PATH] = {};
};

bool same_record(const Preferences& a, const Preferences& b) {
    return memcmp(&a, &b, sizeof(Preferences)) == 0;
}

// The folder field of a preferences file (offset 12, 4096 units).
std::wstring file_folder(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < 8204) return L"(short file)";
    return std::wstring((const wchar_t*)(bytes.data() + 12));
}

}  // namespace

TEST_F(SettingsCommands, SavingSwitchesTheLanguageAtOnceAndReturnsToTheOrigin) {
    ASSERT_NE(nullptr, open_window(true));
    std::wstring archive = folder_ + L"\\mix.zip";
    ASSERT_TRUE(make_zip(archive, {{"docs/", "", false}, {"docs/a.txt", "alpha", false}, {"b.txt", "b", true}}));
    open_path(archive);
    ASSERT_EQ(3, rows());
    ASSERT_TRUE(queue_add(archive.c_str()));
    queue_refresh_list();
    HWND queue = at(N_QUEUE_LIST);

    bool polish = true;
    for (const Origin& origin : ORIGINS) {
        const std::string where = "from view " + std::to_string(origin.view);
        press(main_, origin.button);
        press(main_, 104);
        ASSERT_EQ(VIEW_SETTINGS, g_app.current_view);
        polish = !polish;
        choose(N_LANGUAGE_LIST, polish ? 0 : 1);
        save();

        expect_texts(main_, polish);
        EXPECT_EQ(polish ? L"Zapisano ustawienia." : L"Settings saved.", status()) << where;
        EXPECT_EQ(origin.view, g_app.current_view) << where;
        EXPECT_EQ(polish ? origin.polish : origin.english, hint()) << where;
        EXPECT_TRUE(IsWindowVisible(at(origin.shown))) << where;
        EXPECT_FALSE(IsWindowVisible(at(N_SAVE_SETTINGS))) << where;
        EXPECT_EQ(archive, label()) << where << ": the open archive stays named";
        // The rows of the lists are in the new language too.
        EXPECT_EQ(L"Folder", list_cell(contents_list(), 0, 2)) << where;
        EXPECT_EQ(polish ? L"Plik" : L"File", list_cell(contents_list(), 1, 2)) << where;
        EXPECT_EQ(polish ? L"Z hasłem" : L"Encrypted", list_cell(contents_list(), 2, 2)) << where;
        EXPECT_EQ(polish ? L"Czeka" : L"Waiting", list_cell(queue, 0, 1)) << where;
        EXPECT_EQ(polish ? 1 : 0, g_preferences.polish_ui) << where;
        EXPECT_EQ(polish ? 1 : 0, read_bytes(file_).at(0)) << where;
    }
}

TEST_F(SettingsCommands, TheArchiveLabelFollowsTheLanguageWhenNoArchiveIsOpen) {
    ASSERT_NE(nullptr, open_window(false));
    ASSERT_EQ(L"No archive open", label());
    press(main_, 104);
    choose(N_LANGUAGE_LIST, 0);
    save();
    EXPECT_EQ(L"Brak otwartego archiwum", label());
    press(main_, 104);
    choose(N_LANGUAGE_LIST, 1);
    save();
    EXPECT_EQ(L"No archive open", label());
}

TEST_F(SettingsCommands, RestoreDefaultsThenBackChangesNothing) {
    ASSERT_NE(nullptr, open_window(false));
    press(main_, 132);
    press(main_, 104);
    choose(N_LANGUAGE_LIST, 1);
    choose(N_DEFAULT_FORMAT_LIST, 1);
    choose(N_DEFAULT_COMPRESSION_LIST, 2);
    choose(N_STARTUP_VIEW_LIST, 3);
    type_folder(folder_);
    click(N_OPEN_FOLDER_CHECK);
    click(N_SILENT_FOLDER_CHECK);
    save();
    ASSERT_EQ(VIEW_QUEUE, g_app.current_view);
    const Preferences before = g_preferences;
    const std::vector<unsigned char> file_before = read_bytes(file_);
    ASSERT_EQ(8212u, file_before.size());

    press(main_, 118);
    press(main_, 104);
    press(main_, 146);
    EXPECT_EQ(L"Defaults restored. Select Save settings to apply them.", status());
    const bool polish_system = (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
    EXPECT_EQ(polish_system ? 0 : 1, chosen(N_LANGUAGE_LIST));
    EXPECT_EQ(0, chosen(N_DEFAULT_FORMAT_LIST));
    EXPECT_EQ(1, chosen(N_DEFAULT_COMPRESSION_LIST));
    EXPECT_EQ(0, chosen(N_STARTUP_VIEW_LIST));
    EXPECT_EQ(L"", folder_field());
    EXPECT_FALSE(checked(N_OPEN_FOLDER_CHECK));
    EXPECT_FALSE(checked(N_SILENT_FOLDER_CHECK));
    EXPECT_EQ(VIEW_SETTINGS, g_app.current_view);

    press(main_, 117);
    EXPECT_EQ(VIEW_PROFILES, g_app.current_view) << "Back returns to where the settings were entered from";
    EXPECT_TRUE(same_record(before, g_preferences)) << "the current preferences";
    EXPECT_EQ(file_before, read_bytes(file_)) << "the file, byte for byte";
    EXPECT_TRUE(player_windows().empty());

    // The next opening shows the current preferences again.
    press(main_, 104);
    EXPECT_EQ(1, chosen(N_DEFAULT_FORMAT_LIST));
    EXPECT_EQ(2, chosen(N_DEFAULT_COMPRESSION_LIST));
    EXPECT_EQ(3, chosen(N_STARTUP_VIEW_LIST));
    EXPECT_EQ(folder_, folder_field());
    EXPECT_TRUE(checked(N_OPEN_FOLDER_CHECK));
    EXPECT_TRUE(checked(N_SILENT_FOLDER_CHECK));
}

TEST_F(SettingsCommands, TheFolderFieldTakesOnlyAnExistingFolderAndStoresItsFullPath) {
    std::wstring sub = folder_ + L"\\sub";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    ASSERT_TRUE(write_bytes(folder_ + L"\\file.txt", "x", 1));
    const std::wstring overlong = overlong_folder_text(sub);
    ASSERT_EQ(4096u, overlong.size());
    wchar_t full[PATH_CAPACITY];
    ASSERT_NE(0u, GetFullPathNameW(overlong.substr(0, 4095).c_str(), PATH_CAPACITY, full, nullptr));
    ASSERT_EQ(sub + L"\\", full) << "cut to 4,095 units, the text would name the existing folder";

    ASSERT_NE(nullptr, open_window(false));
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    const struct {
        const char* label;
        std::wstring typed;
        bool accepted;
        std::wstring stored;
    } cases[] = {
        {"an existing file", folder_ + L"\\file.txt", false, L""},
        {"a missing folder", folder_ + L"\\missing", false, L""},
        {"4,096 units", overlong, false, L""},
        {"an existing folder", sub, true, sub},
        {"empty: no default folder", L"", true, L""},
        {"a relative folder, stored as its full path", L"sub", true, sub},
        {"trailing backslashes", sub + L"\\\\", true, sub},
        {"a drive root keeps its backslash", L"C:\\", true, L"C:\\"},
    };
    for (const auto& c : cases) {
        press(main_, 105);
        press(main_, 104);
        type_folder(c.typed);
        const Preferences before = g_preferences;
        const std::vector<unsigned char> file_before = read_bytes(file_);
        if (!c.accepted) {
            expect_refused(save({press_button(IDOK)}), kFolderRefused, c.label);
            EXPECT_TRUE(same_record(before, g_preferences)) << c.label;
            EXPECT_EQ(file_before, read_bytes(file_)) << c.label << ": nothing is written";
            EXPECT_EQ(c.typed, folder_field()) << c.label << ": the field keeps the text";
            continue;
        }
        save();
        EXPECT_EQ(VIEW_NEW_ARCHIVE, g_app.current_view) << c.label;
        EXPECT_EQ(c.stored, g_preferences.default_extract_folder) << c.label;
        EXPECT_EQ(c.stored, file_folder(read_bytes(file_))) << c.label;
    }
}

TEST_F(SettingsCommands, AFailedWriteChangesNeitherTheFileNorThePreferences) {
    ASSERT_NE(nullptr, open_window(false));
    press(main_, 104);
    choose(N_DEFAULT_FORMAT_LIST, 1);
    save();
    const Preferences before = g_preferences;
    const std::vector<unsigned char> file_before = read_bytes(file_);
    ASSERT_EQ(8212u, file_before.size());

    // A temporary file of this process's name left behind: the new file cannot be made.
    ASSERT_TRUE(write_bytes(leftover_, "leftover", 8));
    press(main_, 104);
    choose(N_LANGUAGE_LIST, 0);
    choose(N_DEFAULT_FORMAT_LIST, 2);
    expect_refused(save({press_button(IDOK)}), kWriteFailed, "leftover temporary file");
    EXPECT_EQ(kWriteFailed, status());
    EXPECT_EQ("leftover", file_text(leftover_)) << "the leftover is not touched";
    EXPECT_TRUE(same_record(before, g_preferences));
    EXPECT_EQ(file_before, read_bytes(file_));
    expect_texts(main_, false);
    ASSERT_TRUE(DeleteFileW(leftover_.c_str()));

    // The file held open by another reader that does not share deletion: the replacement fails
    // and the temporary file is removed again.
    HANDLE reader = CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    expect_refused(save({press_button(IDOK)}), kWriteFailed, "file in use");
    CloseHandle(reader);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(leftover_.c_str())) << "no temporary file is left";
    EXPECT_TRUE(same_record(before, g_preferences));
    EXPECT_EQ(file_before, read_bytes(file_));
    expect_texts(main_, false);

    // With the obstacles gone the same view saves.
    save();
    EXPECT_EQ(1, g_preferences.polish_ui);
    EXPECT_EQ(2u, g_preferences.default_format);
    expect_texts(main_, true);
}

TEST_F(SettingsCommands, TheNewArchiveViewTakesTheNewDefaults) {
    ASSERT_NE(nullptr, open_window(false));
    HWND formats = at(N_FORMAT_LIST);
    const struct {
        int format;
        int compression;
        bool password;
    } cases[] = {{1, 0, false}, {0, 2, true}, {2, 1, false}, {0, 0, true}};
    for (const auto& c : cases) {
        // Something else chosen in the New archive view first, the password field following it.
        press(main_, 105);
        choose(N_FORMAT_LIST, (c.format + 1) % 3);
        SendMessageW(main_, WM_COMMAND, MAKEWPARAM(110, CBN_SELCHANGE), (LPARAM)formats);
        choose(N_COMPRESSION_LIST, (c.compression + 1) % 3);
        ASSERT_EQ((c.format + 1) % 3 == 0, IsWindowEnabled(at(N_PASSWORD)) != FALSE);

        press(main_, 104);
        choose(N_DEFAULT_FORMAT_LIST, c.format);
        choose(N_DEFAULT_COMPRESSION_LIST, c.compression);
        save();
        EXPECT_EQ(VIEW_NEW_ARCHIVE, g_app.current_view);
        EXPECT_EQ(c.format, chosen(N_FORMAT_LIST)) << c.format;
        EXPECT_EQ(c.compression, chosen(N_COMPRESSION_LIST)) << c.format;
        EXPECT_EQ(c.password, IsWindowEnabled(at(N_PASSWORD)) != FALSE) << c.format;
    }
}

TEST_F(SettingsCommands, EnteringTwiceKeepsTheFirstOriginAndDropsUnsavedEdits) {
    ASSERT_NE(nullptr, open_window(false));
    for (bool saving : {false, true}) {
        press(main_, 118);
        press(main_, 104);
        type_folder(L"C:\\Unsaved");
        choose(N_STARTUP_VIEW_LIST, 3);
        press(main_, 104);
        EXPECT_EQ(VIEW_SETTINGS, g_app.current_view);
        EXPECT_EQ(L"", folder_field()) << "refilled from the current preferences";
        EXPECT_EQ(0, chosen(N_STARTUP_VIEW_LIST));
        EXPECT_EQ(L"Click Save settings to keep your changes.", status());
        if (saving)
            save();
        else
            press(main_, 117);
        EXPECT_EQ(VIEW_PROFILES, g_app.current_view) << (saving ? "save" : "back");
        EXPECT_EQ(L"Save your rules and review the files before packing.", hint());
    }
}

TEST_F(SettingsCommands, BrowseFillsTheFieldAndNothingElse) {
    std::wstring chosen_folder = folder_ + L"\\Rozpakowane";
    ASSERT_TRUE(CreateDirectoryW(chosen_folder.c_str(), nullptr));
    ASSERT_NE(nullptr, open_window(true));
    press(main_, 104);
    type_folder(L"C:\\before");
    {
        UserPlayer user({press_button(IDCANCEL)});
        press(main_, 116);
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(main_, seen[0].owner);
        bool titled = false;
        for (const std::wstring& line : seen[0].statics)
            titled = titled || line == L"Wybierz domyślny folder rozpakowywania.";
        EXPECT_TRUE(titled) << "the browser's title in the interface language";
    }
    EXPECT_EQ(L"C:\\before", folder_field()) << "cancelled: nothing changes";
    {
        UserPlayer user({choose_folder(chosen_folder)});
        press(main_, 116);
        EXPECT_EQ(1u, user.seen().size());
    }
    EXPECT_EQ(chosen_folder, folder_field());
    EXPECT_EQ(VIEW_SETTINGS, g_app.current_view);
    EXPECT_EQ(L"", std::wstring(g_preferences.default_extract_folder)) << "saved only by Save settings";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(file_.c_str()));
    save();
    EXPECT_EQ(chosen_folder, g_preferences.default_extract_folder);
}

TEST_F(SettingsCommands, TheSavedFileIsTheRecordAndAnotherCopyStartsWithIt) {
    ASSERT_NE(nullptr, open_window(false));
    press(main_, 132);
    press(main_, 104);
    choose(N_LANGUAGE_LIST, 0);
    choose(N_DEFAULT_FORMAT_LIST, 2);
    choose(N_DEFAULT_COMPRESSION_LIST, 0);
    choose(N_STARTUP_VIEW_LIST, 2);
    type_folder(folder_);
    click(N_OPEN_FOLDER_CHECK);
    click(N_SILENT_FOLDER_CHECK);
    save();

    std::vector<unsigned char> expected(8212, 0);
    expected[0] = 1;  // Polish
    expected[1] = 1;  // open the folder after extraction
    expected[4] = 2;  // TAR.GZ
    expected[8] = 0;  // Fast
    for (size_t i = 0; i < folder_.size(); ++i) {
        expected[12 + 2 * i] = (unsigned char)(folder_[i] & 0xFF);
        expected[13 + 2 * i] = (unsigned char)(folder_[i] >> 8);
    }
    expected[8204] = 2;  // ZIP profiles
    expected[8208] = 1;  // the default folder without asking
    EXPECT_EQ(expected, read_bytes(file_));

    // Another copy of the program, started afterwards with the same local data folder.
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    ASSERT_TRUE(start_process(L"\"" + program_folder() + L"\\Lumarek.exe\"",
                              {L"LOCALAPPDATA=" + file_.substr(0, file_.rfind(L'\\'))}, &child));
    HWND other = wait_for_window(child.id, L"LumarekMain", 30000);
    ASSERT_NE(nullptr, other);
    const std::wstring profiles_hint = L"Zapisz reguły i sprawdź listę plików przed pakowaniem.";
    ASSERT_TRUE(pump_until([&]() { return window_text(nth_control(other, N_HINT)) == profiles_hint; }));
    EXPECT_EQ(L"Puste pole rozszerzeń uwzględnia wszystkie pliki.", window_text(nth_control(other, N_STATUS)));
    EXPECT_EQ(L"Zawartość archiwum", window_text(nth_control(other, N_TAB_CONTENTS)));
    EXPECT_EQ(L"Profile ZIP", window_text(nth_control(other, N_TAB_PROFILES)));
    EXPECT_EQ(L"Ustawienia", window_text(nth_control(other, N_SETTINGS)));
    EXPECT_TRUE(IsWindowVisible(nth_control(other, N_SAVE_PROFILE)));
    EXPECT_FALSE(IsWindowVisible(nth_control(other, N_CONTENTS_LIST)));
    EXPECT_EQ(L"Lumarek", window_text(other));
    PostMessageW(other, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.process, 30000));
    DWORD code = 12345;
    GetExitCodeProcess(child.process, &code);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(expected, read_bytes(file_)) << "the other copy only read it";
}
