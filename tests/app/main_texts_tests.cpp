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
#include "expected_texts.h"
#include "settings/preferences.h"
#include "window_fixture.h"

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
