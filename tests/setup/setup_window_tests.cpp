// The setup window: its modes, languages, controls, command line and how it ends.
#include "setup_fixture.h"

static bool default_polish() {
    return (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
}

static std::wstring list_item(HWND list, int index) {
    wchar_t text[64] = {};
    LRESULT length = SendMessageW(list, CB_GETLBTEXT, index, (LPARAM)text);
    return length > 0 ? std::wstring(text, (size_t)length) : L"";
}

// A child's rectangle in its parent's client coordinates.
static RECT client_rect_of(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), (POINT*)&rect, 2);
    return rect;
}

TEST_F(SetupTest, TheWindowShowsEveryTextInBothModesAndBothLanguages) {
    const struct {
        bool removal;
        bool polish;
        const wchar_t *title, *heading, *description, *main_button, *cancel_button, *desktop_box, *picture;
    } cases[] = {
        {false, false, L"Lumarek Setup", L"Install Lumarek", L"Install the app for the current Windows user.",
         L"Install", L"Cancel", L"Create a desktop shortcut", L"setup-install-english"},
        {false, true, L"Instalator Lumarek", L"Zainstaluj Lumarek", L"Zainstaluj aplikację dla bieżącego użytkownika.",
         L"Zainstaluj", L"Anuluj", L"Utwórz skrót na pulpicie", L"setup-install-polish"},
        {true, false, L"Uninstall Lumarek", L"Uninstall Lumarek", L"Remove the app from this Windows account.",
         L"Uninstall", L"Cancel", L"Create a desktop shortcut", L"setup-removal-english"},
        {true, true, L"Odinstaluj Lumarek", L"Usuń Lumarek", L"Usuń aplikację z tego konta Windows.", L"Odinstaluj",
         L"Anuluj", L"Utwórz skrót na pulpicie", L"setup-removal-polish"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(c.removal ? L"--uninstall" : L"", &child, &window));
        SetupControls controls = setup_controls(window);
        EXPECT_EQ(default_polish() ? 0 : 1, SendMessageW(controls.language_list, CB_GETCURSEL, 0, 0))
            << "the list starts at the language of the user's Windows";
        // Switching from the other language shows that every text follows the list at once.
        choose_language(window, !c.polish);
        choose_language(window, c.polish);
        EXPECT_EQ(c.polish ? 0 : 1, SendMessageW(controls.language_list, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(c.title, window_text(window));
        EXPECT_EQ(c.heading, window_text(controls.heading));
        EXPECT_EQ(c.description, window_text(controls.description));
        EXPECT_EQ(c.desktop_box, window_text(controls.desktop_box));
        EXPECT_EQ(c.main_button, window_text(controls.main_button));
        EXPECT_EQ(c.cancel_button, window_text(controls.cancel_button));
        EXPECT_EQ(install_folder(), window_text(controls.folder_line)) << "the path in both languages";
        EXPECT_EQ(2, SendMessageW(controls.language_list, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(L"Polski", list_item(controls.language_list, 0));
        EXPECT_EQ(L"English", list_item(controls.language_list, 1));
        EXPECT_EQ(!c.removal, IsWindowVisible(controls.desktop_box) != FALSE) << "the box only when installing";
        picture_of_window(window, c.picture);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, wait_for_exit(child));
    }
}

TEST_F(SetupTest, TheWindowHasItsStylesSizeAndControlPlaces) {
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    LONG style = GetWindowLongW(window, GWL_STYLE), ex_style = GetWindowLongW(window, GWL_EXSTYLE);
    const LONG wanted = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    EXPECT_EQ(wanted, style & (wanted | WS_THICKFRAME | WS_MAXIMIZEBOX)) << "no sizing border, no maximize box";
    EXPECT_EQ(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, ex_style & (WS_EX_APPWINDOW | WS_EX_CONTROLPARENT));
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(570, outer.right - outer.left);
    EXPECT_EQ(304, outer.bottom - outer.top);
    // Centred on the primary screen.
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 570) / 2, outer.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 304) / 2, outer.top);

    SetupControls controls = setup_controls(window);
    const struct {
        HWND control;
        const wchar_t* class_name;
        int id;
        RECT place;  // left, top, right, bottom
        LONG style_bits;
    } expected[] = {
        {controls.heading, L"Static", 0, {24, 23, 24 + 378, 23 + 44}, 0},
        {controls.description, L"Static", 0, {25, 83, 25 + 510, 83 + 29}, 0},
        {controls.folder_line, L"Static", 0, {25, 116, 25 + 507, 116 + 37}, SS_ENDELLIPSIS},
        {controls.desktop_box, L"Button", 4, {25, 155, 25 + 510, 155 + 30}, BS_AUTOCHECKBOX | WS_TABSTOP},
        {controls.main_button, L"Button", 1, {258, 203, 258 + 132, 203 + 37}, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {controls.cancel_button, L"Button", 2, {400, 203, 400 + 130, 203 + 37}, BS_PUSHBUTTON | WS_TABSTOP},
        {controls.language_list, L"ComboBox", 3, {424, 32, 424 + 106, 0}, CBS_DROPDOWNLIST | WS_TABSTOP},
    };
    for (const auto& e : expected) {
        wchar_t class_name[32] = {};
        GetClassNameW(e.control, class_name, 32);
        EXPECT_STREQ(e.class_name, class_name);
        EXPECT_EQ(e.id, GetDlgCtrlID(e.control)) << class_name;
        RECT rect = client_rect_of(e.control);
        EXPECT_EQ(e.place.left, rect.left) << e.id << " " << class_name;
        EXPECT_EQ(e.place.top, rect.top) << e.id;
        EXPECT_EQ(e.place.right, rect.right) << e.id;
        if (e.place.bottom != 0) {
            EXPECT_EQ(e.place.bottom, rect.bottom) << e.id;
        }
        LONG control_style = GetWindowLongW(e.control, GWL_STYLE);
        EXPECT_EQ(e.style_bits, control_style & e.style_bits) << e.id;
        EXPECT_TRUE(IsWindowVisible(e.control));
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, wait_for_exit(child));
}

TEST_F(SetupTest, OnlyAFirstArgumentOfUninstallInAnyLetterCaseSelectsRemoval) {
    const struct {
        const wchar_t* arguments;
        bool removal;
    } cases[] = {
        {L"", false},
        {L"--uninstall", true},
        {L"--UNINSTALL", true},
        {L"--UnInstall extra", true},
        {L"extra --uninstall", false},
        {L"--uninstall-now", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(c.arguments, &child, &window));
        choose_language(window, false);
        EXPECT_EQ(c.removal ? L"Uninstall Lumarek" : L"Lumarek Setup", window_text(window));
        EXPECT_EQ(!c.removal, IsWindowVisible(setup_controls(window).desktop_box) != FALSE);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, wait_for_exit(child));
    }
}

TEST_F(SetupTest, CancelEscapeAndTheCloseButtonEndTheProgramWithoutChanges) {
    const struct {
        UINT message;
        WPARAM wparam;
        const wchar_t* label;
    } cases[] = {
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), L"the cancel button"},
        {WM_KEYDOWN, VK_ESCAPE, L"Escape addressed to the window"},
        {WM_SYSCOMMAND, SC_CLOSE, L"the title bar's close button"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
        PostMessageW(window, c.message, c.wparam, c.message == WM_COMMAND ? (LPARAM)GetDlgItem(window, IDCANCEL) : 0);
        EXPECT_EQ(0u, wait_for_exit(child));
    }
    EXPECT_TRUE(folder_names(local_).empty());
}

TEST_F(SetupTest, WithoutLocalAppDataTheProgramSaysItFindsNoUserFolderAndEndsWithOne) {
    wchar_t saved[4096];
    DWORD saved_length = GetEnvironmentVariableW(L"LOCALAPPDATA", saved, 4096);
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    bool started = start_process(L"\"" + built_program(L"Lumarek-Maintenance.exe") + L"\"",
                                 {L"LUMAREK_TEST_RECORDS=" + records_}, &child);
    SetEnvironmentVariableW(L"LOCALAPPDATA", saved_length > 0 ? saved : nullptr);
    ASSERT_TRUE(started);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(default_polish() ? L"Nie znaleziono folderu użytkownika." : L"Could not find the user folder.",
              box_text(box));
    EXPECT_EQ(L"Lumarek", window_text(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "no owner";
    EXPECT_TRUE(top_level_windows(child.id, L"LumarekSetup").empty());
    picture_of_window(box, L"setup-no-user-folder");
    answer_box(box, IDOK);
    EXPECT_EQ(1u, wait_for_exit(child));
}
