// Installation through the real setup window: what it makes, and what its question starts.
#include <algorithm>

#include "common/path.h"
#include "setup_fixture.h"

static RegistryValue text_value(const wchar_t* name, const std::wstring& text) {
    const unsigned char* bytes = (const unsigned char*)text.c_str();
    return {name, REG_SZ, std::vector<unsigned char>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

static RegistryValue number_value(const wchar_t* name, DWORD number) {
    const unsigned char* bytes = (const unsigned char*)&number;
    return {name, REG_DWORD, std::vector<unsigned char>(bytes, bytes + sizeof(number))};
}

static bool by_name(const RegistryValue& a, const RegistryValue& b) {
    return a.name < b.name;
}

// The line "wine reg query" prints for a value.
static std::string query_line(const RegistryValue& value) {
    if (value.type == REG_DWORD) {
        DWORD number = *(const DWORD*)value.data.data();
        return "    " + narrow(value.name) + "    REG_DWORD    0x" + std::to_string(number);
    }
    return "    " + narrow(value.name) + "    REG_SZ    " + narrow((const wchar_t*)value.data.data());
}

TEST_F(SetupTest, InstallationMakesTheFilesTheShortcutsAndTheInstalledAppsEntry) {
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    ASSERT_FALSE(path_exists(install_folder().c_str()));
    HWND desktop_box = setup_controls(window).desktop_box;
    ASSERT_EQ(BST_UNCHECKED, SendMessageW(desktop_box, BM_GETCHECK, 0, 0)) << "the box starts unticked";
    SendMessageW(desktop_box, BM_CLICK, 0, 0);
    ASSERT_EQ(BST_CHECKED, SendMessageW(desktop_box, BM_GETCHECK, 0, 0));
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Lumarek is installed. Open the app?", box_text(box));
    EXPECT_EQ(L"Lumarek", window_text(box));
    EXPECT_EQ(window, GetWindow(box, GW_OWNER));
    EXPECT_NE(nullptr, GetDlgItem(box, IDYES));
    EXPECT_NE(nullptr, GetDlgItem(box, IDNO));
    picture_of_window(box, L"setup-installed-question");

    // The program is the carried resource byte for byte; the maintenance copy is the setup program.
    std::vector<unsigned char> carried = carried_program();
    ASSERT_GT(carried.size(), 4096u);
    EXPECT_TRUE(carried == read_bytes(program_path()));
    EXPECT_TRUE(read_bytes(built_program(L"Lumarek-Maintenance.exe")) == read_bytes(maintenance_path()));
    EXPECT_EQ((std::vector<std::wstring>{L"Lumarek-Maintenance.exe", L"Lumarek.exe"}), folder_names(install_folder()));

    for (const std::wstring& link : {start_menu_shortcut(), desktop_shortcut()}) {
        std::wstring target, working_folder;
        ASSERT_TRUE(read_shortcut(link, &target, &working_folder)) << link;
        EXPECT_EQ(program_path(), target) << link;
        EXPECT_EQ(install_folder(), working_folder) << link;
    }
    EXPECT_EQ(std::vector<std::wstring>{L"Lumarek.lnk"}, folder_names(programs_));
    EXPECT_EQ(std::vector<std::wstring>{L"Lumarek.lnk"}, folder_names(desktop_));

    // The installed-apps entry: exactly seven values, each string stored with its terminator.
    std::vector<RegistryValue> expected = {
        text_value(L"DisplayName", L"Lumarek"),
        text_value(L"DisplayVersion", L"1.2.0"),
        text_value(L"InstallLocation", install_folder()),
        text_value(L"DisplayIcon", program_path()),
        text_value(L"UninstallString", L"\"" + maintenance_path() + L"\" --uninstall"),
        number_value(L"NoModify", 1),
        number_value(L"NoRepair", 1),
    };
    std::vector<RegistryValue> values;
    ASSERT_TRUE(read_registry_key(kUninstallKey, &values));
    std::sort(expected.begin(), expected.end(), by_name);
    std::sort(values.begin(), values.end(), by_name);
    ASSERT_EQ(expected.size(), values.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].name, values[i].name);
        EXPECT_EQ(expected[i].type, values[i].type) << values[i].name;
        EXPECT_TRUE(expected[i].data == values[i].data) << values[i].name;
    }
    std::vector<std::string> lines;
    EXPECT_EQ(0, wine_reg_query(kUninstallKey, &lines));
    EXPECT_EQ(expected.size(), lines.size());
    for (const RegistryValue& value : expected)
        EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), query_line(value))) << query_line(value);
    EXPECT_NE(lines.end(),
              std::find(lines.begin(), lines.end(),
                        "    UninstallString    REG_SZ    \"" + narrow(maintenance_path()) + "\" --uninstall"))
        << "the registry shows the path in its quotes";

    // Yes starts the installed program: a stand-in in its place records how.
    ASSERT_TRUE(CopyFileW(built_program(L"command_recorder.exe").c_str(), program_path().c_str(), FALSE));
    answer_box(box, IDYES);
    EXPECT_EQ(0u, wait_for_exit(child));
    ASSERT_TRUE(wait_for_start_records(1));
    std::vector<StartRecord> records = start_records();
    ASSERT_EQ(1u, records.size());
    EXPECT_TRUE(_wcsicmp(program_path().c_str(), records[0].module.c_str()) == 0) << records[0].module;
    int count = 0;
    LocalFree(CommandLineToArgvW(records[0].command.c_str(), &count));
    EXPECT_EQ(1, count) << "no arguments: " << records[0].command;
    EXPECT_EQ(install_folder(), records[0].folder);
    EXPECT_EQ(std::to_wstring(SW_SHOWNORMAL), records[0].show);
}

TEST_F(SetupTest, AnUntickedDesktopBoxMakesNoDesktopShortcutAndNoStartsNothing) {
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Lumarek is installed. Open the app?", box_text(box)) << "the full-success question";
    EXPECT_EQ(std::vector<std::wstring>{L"Lumarek.lnk"}, folder_names(programs_));
    EXPECT_TRUE(folder_names(desktop_).empty());
    // A start would be recorded by the stand-in or seen still running.
    ASSERT_TRUE(CopyFileW(built_program(L"command_recorder.exe").c_str(), program_path().c_str(), FALSE));
    answer_box(box, IDNO);
    EXPECT_EQ(0u, wait_for_exit(child));
    EXPECT_EQ(0u, processes_named(L"Lumarek.exe"));
    EXPECT_TRUE(start_records().empty());
}

TEST_F(SetupTest, AShortcutThatCannotBeMadeGivesThePartialSuccessQuestion) {
    // The desktop folder is gone, so its shortcut cannot be saved.
    ASSERT_TRUE(RemoveDirectoryW(desktop_.c_str()));
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    SendMessageW(setup_controls(window).desktop_box, BM_CLICK, 0, 0);
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(
        L"The app files are installed. Windows did not allow all shortcuts or the Installed apps entry. Open "
        L"the app?",
        box_text(box));
    EXPECT_NE(nullptr, GetDlgItem(box, IDYES));
    picture_of_window(box, L"setup-partial-question");
    EXPECT_TRUE(carried_program() == read_bytes(program_path()));
    EXPECT_TRUE(path_exists(maintenance_path().c_str()));
    EXPECT_TRUE(path_exists(start_menu_shortcut().c_str()));
    std::vector<RegistryValue> values;
    EXPECT_TRUE(read_registry_key(kUninstallKey, &values));
    EXPECT_EQ(7u, values.size());
    answer_box(box, IDNO);
    EXPECT_EQ(0u, wait_for_exit(child));
}
