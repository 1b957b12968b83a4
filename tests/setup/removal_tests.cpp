// Removal through the real setup window started with --uninstall, and the clean-up it starts.
#include "common/path.h"
#include "setup/removal.h"
#include "setup_fixture.h"

// The clean-up's parameters for a process id, as the removal must hand them to PowerShell.
static std::wstring expected_cleanup(DWORD process_id) {
    return L"-NoLogo -NoProfile -NonInteractive -WindowStyle Hidden -Command \"Wait-Process -ErrorAction "
           L"SilentlyContinue -Id " +
           std::to_wstring(process_id) +
           L"; $folder=Join-Path $env:LOCALAPPDATA 'Lumarek'; Remove-Item -ErrorAction SilentlyContinue "
           L"-LiteralPath (Join-Path $folder 'Lumarek-Maintenance.exe'); if ((Test-Path -LiteralPath $folder) -and "
           L"!(Get-ChildItem -LiteralPath $folder -Force)) { [IO.Directory]::Delete($folder) }\"";
}

static std::wstring powershell_path() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
}

TEST(CleanupCommand, IsTheFirstSegmentTheProcessIdAndTheThirdSegmentJoined) {
    wchar_t text[CLEANUP_PARAMETERS_CAPACITY];
    ASSERT_TRUE(cleanup_parameters(text, CLEANUP_PARAMETERS_CAPACITY, 4242));
    EXPECT_EQ(expected_cleanup(4242), text);
    ASSERT_TRUE(cleanup_parameters(text, CLEANUP_PARAMETERS_CAPACITY, 4294967295u)) << "any process id fits";
    EXPECT_EQ(expected_cleanup(4294967295u), text);
}

// The program file, both shortcuts and the installed-apps entry are gone.
static void expect_removed(const std::wstring& program, const std::wstring& start_menu, const std::wstring& desktop) {
    EXPECT_FALSE(path_exists(program.c_str()));
    EXPECT_FALSE(path_exists(start_menu.c_str()));
    EXPECT_FALSE(path_exists(desktop.c_str()));
    std::vector<RegistryValue> values;
    EXPECT_FALSE(read_registry_key(kUninstallKey, &values));
}

// Presses Uninstall and expects the success box; after OK the program starts the clean-up and ends.
static void remove_and_confirm(const ChildProcess& child, HWND window, const wchar_t* picture = nullptr) {
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"The app has been removed.", box_text(box));
    EXPECT_EQ(L"Lumarek", window_text(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL));
    if (picture != nullptr) picture_of_window(box, picture);
    answer_box(box, IDOK);
    EXPECT_EQ(0u, wait_for_exit(child));
}

TEST_F(SetupTest, RemovalDeletesWhatInstallationMadeAndKeepsThePreferencesAndProfiles) {
    ASSERT_NO_FATAL_FAILURE(install_with_the_window(true));
    const wchar_t* const kept[] = {L"LumarekPreferences.dat", L"LumarekProfiles.dat", L"LumarekProfiles.lock"};
    for (const wchar_t* name : kept) ASSERT_TRUE(write_bytes(local_ + L"\\" + name, "kept", 4));
    ASSERT_TRUE(write_bytes(install_folder() + L"\\notes.txt", "mine", 4)) << "a file the user put there";

    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"--uninstall", &child, &window, maintenance_path()));
    ASSERT_NO_FATAL_FAILURE(remove_and_confirm(child, window, L"setup-removed"));
    expect_removed(program_path(), start_menu_shortcut(), desktop_shortcut());
    std::vector<std::string> lines;
    EXPECT_NE(0, wine_reg_query(kUninstallKey, &lines)) << "wine reg query finds no entry";
    for (const wchar_t* name : kept) EXPECT_EQ("kept", file_text(local_ + L"\\" + name)) << name;

    // The clean-up: PowerShell from the system folder, hidden, with the exact command for this
    // process, in the user's environment.
    ASSERT_TRUE(wait_for_start_records(1));
    std::vector<StartRecord> records = start_records();
    ASSERT_EQ(1u, records.size());
    EXPECT_TRUE(_wcsicmp(powershell_path().c_str(), records[0].module.c_str()) == 0) << records[0].module;
    EXPECT_EQ(L"\"" + powershell_path() + L"\" " + expected_cleanup(child.id), records[0].command);
    EXPECT_EQ(std::to_wstring(SW_HIDE), records[0].show);
    EXPECT_EQ(local_, records[0].local_app_data);

    // What the clean-up finds: the maintenance copy, free to delete once the program has ended, and
    // the user's own file, which keeps the folder.
    EXPECT_EQ((std::vector<std::wstring>{L"Lumarek-Maintenance.exe", L"notes.txt"}), folder_names(install_folder()));
    EXPECT_TRUE(DeleteFileW(maintenance_path().c_str()));
}

TEST_F(SetupTest, RemovalSucceedsWhenTheFolderOrTheEntryIsAlreadyGone) {
    const struct {
        bool folder_gone;
        const wchar_t* label;
    } cases[] = {{true, L"the install folder is gone"}, {false, L"the installed-apps entry is gone"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_NO_FATAL_FAILURE(install_with_the_window(true));
        std::wstring program = maintenance_path();
        if (c.folder_gone) {
            remove_folder_tree(install_folder());
            ASSERT_FALSE(path_exists(install_folder().c_str()));
            program = built_program(L"Lumarek-Maintenance.exe");
        } else {
            ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey));
        }
        size_t records_before = start_records().size();
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(L"--uninstall", &child, &window, program));
        ASSERT_NO_FATAL_FAILURE(remove_and_confirm(child, window));
        expect_removed(program_path(), start_menu_shortcut(), desktop_shortcut());
        EXPECT_TRUE(wait_for_start_records(records_before + 1)) << "the clean-up is started";
        remove_folder_tree(install_folder());
    }
}

TEST_F(SetupTest, RemovalFailsWhileTheProgramRunsAndSucceedsOnARetry) {
    ASSERT_NO_FATAL_FAILURE(install_with_the_window(true));
    ChildProcess lumarek = {};
    ProcessGuard lumarek_guard = {&lumarek};
    ASSERT_TRUE(start_process(L"\"" + program_path() + L"\"", user_environment(), &lumarek));
    HWND main = wait_for_window(lumarek.id, L"LumarekMain", 60000);
    ASSERT_NE(nullptr, main);

    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"--uninstall", &child, &window, maintenance_path()));
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Could not complete the operation. Close Lumarek if it is running and try again.", box_text(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    answer_box(box, IDOK);
    for (ULONGLONG until = GetTickCount64() + 30000; IsWindow(box) && GetTickCount64() < until;) Sleep(20);
    EXPECT_TRUE(IsWindowVisible(window)) << "the window stays open";
    // It stopped at the program file: the shortcuts and the entry are untouched.
    EXPECT_TRUE(path_exists(program_path().c_str()));
    EXPECT_TRUE(path_exists(start_menu_shortcut().c_str()));
    EXPECT_TRUE(path_exists(desktop_shortcut().c_str()));
    std::vector<RegistryValue> values;
    EXPECT_TRUE(read_registry_key(kUninstallKey, &values));
    EXPECT_TRUE(start_records().empty()) << "no clean-up after a failure";

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, wait_for_exit(lumarek));
    ASSERT_NO_FATAL_FAILURE(remove_and_confirm(child, window));
    expect_removed(program_path(), start_menu_shortcut(), desktop_shortcut());
    EXPECT_TRUE(wait_for_start_records(1));
}
