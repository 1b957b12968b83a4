// Lumarek started as its own process, with and without the archive engine.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "test_support.h"

static const wchar_t kEngineMessageEnglish[] =
    L"This Windows version lacks a compatible archive engine. Use an up-to-date Windows 11.";
static const wchar_t kEngineMessagePolish[] =
    L"Ten Windows nie udostępnia zgodnego silnika archiwów. Użyj aktualnego Windows 11.";

// The status line is the window's second control; the hint line its fourth.
static HWND nth_child(HWND main, int number) {
    HWND child = GetWindow(main, GW_CHILD);
    for (int i = 1; i < number && child != nullptr; ++i) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

static std::wstring status_line(HWND main) {
    return window_text(nth_child(main, 2));
}

// A local data folder of the child's own, so no preferences of another run are read.
static std::vector<std::wstring> own_local_data(const std::wstring& folder) {
    return {L"LOCALAPPDATA=" + folder};
}

// Lumarek started with the arguments from the current folder (the given one while it starts), with
// a local data folder of its own; its main window once it shows, or null.
static HWND start_lumarek(const std::wstring& arguments, const std::wstring& data, ChildProcess* child,
                          const std::wstring& current_folder = L"") {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    if (!current_folder.empty()) SetCurrentDirectoryW(current_folder.c_str());
    bool started =
        start_process(L"\"" + program_folder() + L"\\Lumarek.exe\" " + arguments, own_local_data(data), child);
    SetCurrentDirectoryW(previous);
    return started ? wait_for_window(child->id, L"LumarekMain", 30000) : nullptr;
}

// Waits until the status line shows the text, at most the time.
static void wait_for_status(HWND main, const std::wstring& text, DWORD timeout_ms) {
    for (ULONGLONG until = GetTickCount64() + timeout_ms; status_line(main) != text && GetTickCount64() < until;)
        Sleep(50);
}

static DWORD close_and_wait(ChildProcess* child, HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child->process, 20000));
    DWORD code = 12345;
    GetExitCodeProcess(child->process, &code);
    return code;
}

TEST(Startup, ShowsTheMainWindowWithTheEngine) {
    std::wstring data = make_scratch_folder(L"startup-data");
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    ASSERT_TRUE(start_process(L"\"" + program_folder() + L"\\Lumarek.exe\"", own_local_data(data), &child));
    HWND main = wait_for_window(child.id, L"LumarekMain", 30000);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(L"Lumarek", window_text(main));
    Sleep(1500);
    EXPECT_TRUE(top_level_windows(child.id, L"#32770").empty()) << "no message box with the engine present";
    // No preferences file: the language of the display, the Archive contents view.
    bool polish = (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
    EXPECT_EQ(polish ? L"Elementy: 0" : L"Items: 0", status_line(main));
    RECT rect;
    GetWindowRect(main, &rect);
    EXPECT_EQ(940, rect.right - rect.left);
    save_window_picture(main, L"startup-main-window");
    EXPECT_EQ(0u, close_and_wait(&child, main));
    remove_folder_tree(data);
}

TEST(Startup, StartsInTheSavedLanguageAndView) {
    std::wstring data = make_scratch_folder(L"startup-data");
    // Polish, start-up view 2 (ZIP profiles); everything else zero.
    std::vector<unsigned char> preferences(8212, 0);
    preferences[0] = 1;
    preferences[8204] = 2;
    ASSERT_TRUE(write_bytes(data + L"\\LumarekPreferences.dat", preferences.data(), preferences.size()));
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    ASSERT_TRUE(start_process(L"\"" + program_folder() + L"\\Lumarek.exe\"", own_local_data(data), &child));
    HWND main = wait_for_window(child.id, L"LumarekMain", 30000);
    ASSERT_NE(nullptr, main);
    Sleep(1000);
    EXPECT_EQ(L"Zapisz reguły i sprawdź listę plików przed pakowaniem.", window_text(nth_child(main, 4)));
    EXPECT_EQ(L"Puste pole rozszerzeń uwzględnia wszystkie pliki.", status_line(main));
    EXPECT_EQ(L"Lumarek", window_text(main));
    EXPECT_EQ(0u, close_and_wait(&child, main));
    remove_folder_tree(data);
}

TEST(Startup, WithoutTheEngineSaysSoOnceAndOpensNothing) {
    std::wstring folder = make_scratch_folder(L"noengine");
    std::wstring archive = folder + L"\\x.zip";
    ASSERT_TRUE(write_bytes(archive, "PK\5\6\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22));
    // A copy of the program under its own name, for which Wine's loader is told to refuse the
    // engine library: to the program the system has no engine.
    std::wstring copy = folder + L"\\Lumarek-noengine.exe";
    ASSERT_TRUE(copy_without_engine(program_folder() + L"\\Lumarek.exe", copy));

    ChildProcess child = {};
    ProcessGuard guard = {&child};
    ASSERT_TRUE(start_process(L"\"" + copy + L"\" \"" + archive + L"\"", {}, &child));
    HWND box = wait_for_window(child.id, L"#32770", 30000);
    ASSERT_NE(nullptr, box);
    HWND main = wait_for_window(child.id, L"LumarekMain", 5000);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(main, GetWindow(box, GW_OWNER)) << "the box is owned by the main window";
    EXPECT_EQ(L"Lumarek", window_text(box));
    std::wstring message = window_text(GetDlgItem(box, 0xFFFF));
    EXPECT_TRUE(message == kEngineMessageEnglish || message == kEngineMessagePolish) << message;
    EXPECT_EQ(message, status_line(main)) << "the status line says the same";
    EXPECT_EQ(1u, top_level_windows(child.id, L"#32770").size());
    Sleep(500);  // let the window paint behind the box
    save_window_picture(main, L"startup-engine-missing");

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    Sleep(2000);
    EXPECT_TRUE(top_level_windows(child.id, L"#32770").empty()) << "the message comes once";
    EXPECT_EQ(L"Lumarek", window_text(main));
    EXPECT_EQ(message, status_line(main)) << "nothing was opened over it";
    EXPECT_EQ(0u, close_and_wait(&child, main));
    close_process(&child);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Lumarek-noengine.exe");
    remove_folder_tree(folder);
}

TEST(Startup, OpensTheArchiveNamedOnTheCommandLine) {
    std::wstring data = make_scratch_folder(L"startup-data");
    std::wstring folder = make_scratch_folder(L"startup-archive");
    std::wstring archive = folder + L"\\z wiersza poleceń.zip";
    ASSERT_EQ(0, run_unix("cd " + shell_quote(unix_path(folder)) +
                          " && printf 1 >a.txt && printf 22 >b.txt && mkdir c && zip -q -r tmp.zip a.txt b.txt c && "
                          "mv tmp.zip " +
                          shell_quote(unix_path(archive))));
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND main = start_lumarek(L"\"" + archive + L"\"", data, &child);
    ASSERT_NE(nullptr, main);
    bool polish = (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
    std::wstring items = polish ? L"Elementy: 3" : L"Items: 3";
    wait_for_status(main, items, 15000);
    EXPECT_EQ(items, status_line(main));
    EXPECT_EQ(archive, window_text(nth_child(main, 14))) << "the archive label";
    EXPECT_EQ(3, (int)SendMessageW(nth_child(main, 15), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_TRUE(top_level_windows(child.id, L"#32770").empty());
    EXPECT_EQ(0u, close_and_wait(&child, main));
    remove_folder_tree(data);
    remove_folder_tree(folder);
}

TEST(Startup, ExtractsHereTheArchivesNamedRelativeToItsFolder) {
    std::wstring data = make_scratch_folder(L"startup-data");
    std::wstring folder = make_scratch_folder(L"startup-here");
    ASSERT_EQ(0, run_unix("cd " + shell_quote(unix_path(folder)) +
                          " && mkdir In Other && printf 1 >a.txt && zip -q In/a.zip a.txt && 7z a -bd In/b.7z a.txt "
                          ">/dev/null && cp In/a.zip Other/c.zip"));
    // The shell's "Extract here" names the archives; here relative to the program's current folder.
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND main = start_lumarek(L"--extract-here In\\a.zip In\\b.7z Other\\c.zip", data, &child, folder);
    ASSERT_NE(nullptr, main);
    bool polish = (GetUserDefaultUILanguage() & 0x3FF) == 0x15;
    std::wstring summary = polish ? L"Rozpakowano: 3   Błędy: 0   Czeka: 0" : L"Extracted: 3   Errors: 0   Waiting: 0";
    wait_for_status(main, summary, 60000);
    EXPECT_EQ(summary, status_line(main));
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt"}), folder_tree(folder + L"\\In\\a"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt"}), folder_tree(folder + L"\\In\\b"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt"}), folder_tree(folder + L"\\Other\\c"));
    EXPECT_TRUE(top_level_windows(child.id, L"#32770").empty());
    EXPECT_EQ(0u, close_and_wait(&child, main));
    remove_folder_tree(data);
    remove_folder_tree(folder);
}
