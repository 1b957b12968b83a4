// The window on a Windows whose display language is Polish: this program runs with a Polish user
// locale (see tests/CMakeLists.txt), so the default preferences are Polish.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "control_numbers.h"
#include "expected_texts.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "window_fixture.h"

TEST(PolishSystem, RestoreDefaultsSelectsPolskiWhileTheListsStayEnglishUntilSaved) {
    ASSERT_EQ(0x15, GetUserDefaultUILanguage() & 0x3FF) << "a Polish display language";
    Preferences defaults;
    preferences_default(&defaults);
    EXPECT_EQ(1, defaults.polish_ui);

    // An interface the user switched to English.
    HWND main = open_main_window(false);
    ASSERT_NE(nullptr, main);
    HWND languages = nth_control(main, N_LANGUAGE_LIST);
    press(main, 104);
    EXPECT_EQ(1, SendMessageW(languages, CB_GETCURSEL, 0, 0)) << "English";
    press(main, 146);
    EXPECT_EQ(0, SendMessageW(languages, CB_GETCURSEL, 0, 0)) << "Polski";
    EXPECT_EQ(L"Defaults restored. Select Save settings to apply them.", text_of(nth_control(main, N_STATUS)));
    expect_texts(main, false);
    EXPECT_EQ(0, g_preferences.polish_ui) << "nothing applied yet";

    DeleteFileW(preferences_file().c_str());
    press(main, 114);
    EXPECT_EQ(1, g_preferences.polish_ui);
    expect_texts(main, true);
    EXPECT_EQ(L"Zapisano ustawienia.", text_of(nth_control(main, N_STATUS)));
    EXPECT_EQ(8212u, read_bytes(preferences_file()).size());
    DeleteFileW(preferences_file().c_str());
}
