// Installing again, from the installed copy, over a running program, into a folder that is not a
// plain folder, and on a system without the archive engine.
#include "common/path.h"
#include "setup_fixture.h"

static const wchar_t kFailure[] = L"Could not complete the operation. Close Lumarek if it is running and try again.";

static const std::vector<std::wstring> kInstalledNames = {L"Lumarek-Maintenance.exe", L"Lumarek.exe"};

// Presses the main button and answers the question with No; the program then ends.
static void install_and_answer_no(const ChildProcess& child, HWND window) {
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Lumarek is installed. Open the app?", box_text(box));
    answer_box(box, IDNO);
    EXPECT_EQ(0u, wait_for_exit(child));
}

// Presses the main button and expects the failure box; after OK the window is still open.
static void install_and_expect_failure(const ChildProcess& child, HWND window, const wchar_t* picture = nullptr) {
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(kFailure, box_text(box));
    EXPECT_EQ(L"Lumarek", window_text(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDYES));
    if (picture != nullptr) picture_of_window(box, picture);
    answer_box(box, IDOK);
    for (ULONGLONG until = GetTickCount64() + 30000; IsWindow(box) && GetTickCount64() < until;) Sleep(20);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowVisible(window)) << "the window stays open for another attempt";
    EXPECT_EQ(STILL_ACTIVE, wait_for_exit(child, 0));
}

TEST_F(SetupTest, ReinstallingReplacesBothProgramFilesAndLeavesNoTemporaryName) {
    ASSERT_NO_FATAL_FAILURE(install_with_the_window(true));
    // An older program in place; written over in place, so its file stays the same file.
    ASSERT_TRUE(write_bytes(program_path(), "older", 5));
    unsigned long long program_before = file_identity(program_path());
    unsigned long long maintenance_before = file_identity(maintenance_path());
    ASSERT_NE(0u, program_before);

    ASSERT_NO_FATAL_FAILURE(install_with_the_window(false));
    EXPECT_TRUE(carried_program() == read_bytes(program_path()));
    EXPECT_NE(program_before, file_identity(program_path())) << "a new file moved over the old one";
    EXPECT_NE(maintenance_before, file_identity(maintenance_path()));
    EXPECT_TRUE(read_bytes(built_program(L"Lumarek-Maintenance.exe")) == read_bytes(maintenance_path()));
    EXPECT_EQ(kInstalledNames, folder_names(install_folder()));
    EXPECT_EQ(std::vector<std::wstring>{L"Lumarek.lnk"}, folder_names(desktop_)) << "an unticked box removes nothing";
}

TEST_F(SetupTest, TheInstalledCopyReinstallsWhateverSpellingItsFolderIsGivenIn) {
    ASSERT_NO_FATAL_FAILURE(install_with_the_window(false));
    unsigned long long maintenance_before = file_identity(maintenance_path());
    wchar_t short_form[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(local_.c_str(), short_form, MAX_PATH));
    std::wstring upper = local_;
    CharUpperW(&upper[0]);
    // The program runs from the installed copy under its own name; the folder it computes from
    // LOCALAPPDATA names the same file in another spelling.
    for (const std::wstring& spelling : {std::wstring(short_form), upper, L"\\\\?\\" + local_}) {
        SCOPED_TRACE(spelling);
        ASSERT_NE(local_, spelling);
        ASSERT_TRUE(write_bytes(program_path(), "older", 5));
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window, maintenance_path(), {L"LOCALAPPDATA=" + spelling}));
        EXPECT_EQ(spelling + L"\\Lumarek", window_text(setup_controls(window).folder_line));
        ASSERT_NO_FATAL_FAILURE(install_and_answer_no(child, window));
        EXPECT_TRUE(carried_program() == read_bytes(program_path())) << "the program is written again";
        EXPECT_EQ(maintenance_before, file_identity(maintenance_path())) << "the running copy stays in place";
        EXPECT_EQ(kInstalledNames, folder_names(install_folder()));
    }
}

TEST_F(SetupTest, ARunningInstalledProgramMakesTheInstallFailAndKeepsItsFile) {
    ASSERT_NO_FATAL_FAILURE(install_with_the_window(false));
    ChildProcess lumarek = {};
    ProcessGuard lumarek_guard = {&lumarek};
    ASSERT_TRUE(start_process(L"\"" + program_path() + L"\"", user_environment(), &lumarek));
    HWND main = wait_for_window(lumarek.id, L"LumarekMain", 60000);
    ASSERT_NE(nullptr, main);
    unsigned long long program_before = file_identity(program_path());
    // Wine, like Windows, refuses to replace or delete the file of a running program.
    ASSERT_FALSE(DeleteFileW(program_path().c_str()));

    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    ASSERT_NO_FATAL_FAILURE(install_and_expect_failure(child, window, L"setup-install-failed"));
    EXPECT_EQ(program_before, file_identity(program_path()));
    EXPECT_TRUE(carried_program() == read_bytes(program_path()));
    EXPECT_EQ(kInstalledNames, folder_names(install_folder())) << "no temporary name is left";

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, wait_for_exit(lumarek));
    ASSERT_NO_FATAL_FAILURE(install_and_answer_no(child, window)) << "the retry in the same window succeeds";
    EXPECT_NE(program_before, file_identity(program_path()));
}

TEST_F(SetupTest, AnInstallFolderThatIsNotAPlainFolderOrABusyNameIsRefused) {
    const std::wstring elsewhere = root_ + L"\\elsewhere";
    ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
    enum Kind { A_FILE, A_LINK, A_LEFTOVER_TEMPORARY_FILE };
    const struct {
        Kind kind;
        const wchar_t* label;
    } cases[] = {
        {A_FILE, L"a file named Lumarek"},
        {A_LINK, L"a host symbolic link to a folder"},
        {A_LEFTOVER_TEMPORARY_FILE, L"a leftover Lumarek.exe.<process id>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ChildProcess child = {};
        ProcessGuard guard = {&child};
        HWND window = nullptr;
        ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
        std::wstring leftover = program_path() + L"." + std::to_wstring(child.id);
        if (c.kind == A_FILE) {
            ASSERT_TRUE(write_bytes(install_folder(), "not a folder", 12));
        }
        if (c.kind == A_LINK) {
            ASSERT_EQ(0, run_unix("ln -s " + shell_quote(unix_path(elsewhere)) + " " +
                                  shell_quote(unix_path(install_folder()))));
            // Under Wine a host symbolic link to a folder shows as a directory reparse point.
            ASSERT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,
                      GetFileAttributesW(install_folder().c_str()) &
                          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        }
        if (c.kind == A_LEFTOVER_TEMPORARY_FILE) {
            ASSERT_TRUE(CreateDirectoryW(install_folder().c_str(), nullptr));
            ASSERT_TRUE(write_bytes(leftover, "leftover", 8));
        }
        SendMessageW(setup_controls(window).desktop_box, BM_CLICK, 0, 0);
        ASSERT_NO_FATAL_FAILURE(install_and_expect_failure(child, window));
        EXPECT_TRUE(folder_names(elsewhere).empty()) << "nothing is written through the link";
        EXPECT_TRUE(folder_names(programs_).empty());
        EXPECT_TRUE(folder_names(desktop_).empty());
        std::vector<RegistryValue> values;
        EXPECT_FALSE(read_registry_key(kUninstallKey, &values));
        if (c.kind == A_FILE) {
            EXPECT_EQ("not a folder", file_text(install_folder()));
        }
        if (c.kind == A_LEFTOVER_TEMPORARY_FILE) {
            EXPECT_EQ("leftover", file_text(leftover));
            EXPECT_EQ(std::vector<std::wstring>{path_file_name(leftover.c_str())}, folder_names(install_folder()));
        }
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(window, IDCANCEL));
        EXPECT_EQ(0u, wait_for_exit(child));
        if (c.kind == A_LINK) {
            ASSERT_EQ(0, run_unix("rm " + shell_quote(unix_path(install_folder()))));
        }
        if (c.kind == A_FILE) DeleteFileW(install_folder().c_str());
        if (c.kind == A_LEFTOVER_TEMPORARY_FILE) remove_folder_tree(install_folder());
        ASSERT_FALSE(path_exists(install_folder().c_str()));
    }
}

TEST_F(SetupTest, WithoutTheArchiveEngineTheInstallSaysSoAndCreatesNothing) {
    // A copy of the setup program under its own name, for which Wine's loader is told to refuse
    // the engine library: to the program the system folder has no engine.
    std::wstring copy = root_ + L"\\Lumarek-Maintenance-noengine.exe";
    ASSERT_TRUE(copy_without_engine(built_program(L"Lumarek-Maintenance.exe"), copy));

    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window, copy));
    SendMessageW(setup_controls(window).desktop_box, BM_CLICK, 0, 0);
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"This version of the app requires an up-to-date Windows 11.", box_text(box));
    EXPECT_EQ(L"Lumarek", window_text(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    picture_of_window(box, L"setup-engine-missing");
    answer_box(box, IDOK);
    for (ULONGLONG until = GetTickCount64() + 30000; IsWindow(box) && GetTickCount64() < until;) Sleep(20);
    EXPECT_TRUE(IsWindowVisible(window)) << "the window stays open";
    EXPECT_FALSE(path_exists(install_folder().c_str()));
    EXPECT_TRUE(folder_names(programs_).empty());
    EXPECT_TRUE(folder_names(desktop_).empty());
    std::vector<RegistryValue> values;
    EXPECT_FALSE(read_registry_key(kUninstallKey, &values));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, wait_for_exit(child));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Lumarek-Maintenance-noengine.exe");
}
