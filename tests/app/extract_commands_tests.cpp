// Extract… and Test archive in the real window: the parent folder (default folder, question box,
// folder browser), the new folder named after the archive, the selected rows, the messages and
// the folder opened afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "command_fixture.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"
#include "shell_recorder.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class Extraction : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        archive_ = folder_ + L"\\bundle.zip";
        ASSERT_TRUE(make_zip(archive_, {{"docs/", "", false},
                                        {"docs/a.txt", "alpha", false},
                                        {"docs/sub/", "", false},
                                        {"docs/sub/b.txt", "beta", false},
                                        {"top.txt", "top", false},
                                        {"music/x.mp3", "x", false},
                                        {"music/y.mp3", "why", false},
                                        {"docsx/c.txt", "not inside docs", false}}));
        parent_ = folder_ + L"\\out";
        ASSERT_TRUE(CreateDirectoryW(parent_.c_str(), nullptr));
        record_shell_calls();
    }
    // Extract… with the player answering whatever comes up; waits until the window is idle.
    std::vector<SeenWindow> extract(std::vector<PlayerStep> steps) {
        UserPlayer user(std::move(steps));
        press(main_, 102);
        EXPECT_TRUE(wait_until_idle());
        return user.seen();
    }
    std::wstring archive_;
    std::wstring parent_;
};

// The names directly in the folder.
std::vector<std::wstring> top_level(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const std::wstring& path : folder_tree(folder))
        if (path.find(L'/') + 1 >= path.size()) names.push_back(path);
    return names;
}

}  // namespace

TEST_F(Extraction, WholeArchiveOrSelectedRowsIntoANewFolderEach) {
    ASSERT_NE(nullptr, open_window());
    open_path(archive_);
    ASSERT_EQ(8, rows());
    const std::vector<std::wstring> everything = {L"docs/",       L"docs/a.txt",  L"docs/sub/", L"docs/sub/b.txt",
                                                  L"docsx/",      L"docsx/c.txt", L"music/",    L"music/x.mp3",
                                                  L"music/y.mp3", L"top.txt"};
    struct Case {
        const char* label;
        std::vector<int> rows;
        const wchar_t* folder;
        std::vector<std::wstring> tree;
    } cases[] = {
        {"no row selected: the whole archive", {}, L"bundle", everything},
        {"three rows", {1, 4, 6}, L"bundle (2)", {L"docs/", L"docs/a.txt", L"music/", L"music/y.mp3", L"top.txt"}},
        {"one folder row", {0}, L"bundle (3)", {L"docs/", L"docs/a.txt", L"docs/sub/", L"docs/sub/b.txt"}},
    };
    for (const Case& c : cases) {
        select_rows(c.rows);
        std::vector<SeenWindow> seen = extract({choose_folder(parent_)});
        ASSERT_EQ(1u, seen.size()) << c.label << ": the browser, since there is no default folder";
        EXPECT_TRUE(shows_static(seen[0], kExtractParentTitle)) << c.label;
        EXPECT_EQ(main_, seen[0].owner) << c.label;
        EXPECT_EQ(L"Extracted to a new folder.", status()) << c.label;
        EXPECT_EQ(c.tree, folder_tree(parent_ + L"\\" + c.folder)) << c.label;
        EXPECT_EQ(nullptr, g_slot.selection) << c.label;
    }
    EXPECT_EQ("why", file_text(parent_ + L"\\bundle (2)\\music\\y.mp3"));
    EXPECT_EQ("beta", file_text(parent_ + L"\\bundle (3)\\docs\\sub\\b.txt"));
    EXPECT_EQ((std::vector<std::wstring>{L"bundle (2)/", L"bundle (3)/", L"bundle/"}), top_level(parent_))
        << "no work folder is left behind";
    EXPECT_TRUE(shell_calls().empty()) << "the folder is opened only when the preference says so";
    // The selection stays for the next command.
    EXPECT_EQ(1, (int)SendMessageW(contents_list(), LVM_GETSELECTEDCOUNT, 0, 0));
}

TEST_F(Extraction, TheDefaultFolderWithOrWithoutTheQuestion) {
    ASSERT_NE(nullptr, open_window());
    open_path(archive_);
    std::wstring chosen = folder_ + L"\\chosen";
    ASSERT_TRUE(CreateDirectoryW(chosen.c_str(), nullptr));
    wcscpy(g_preferences.default_extract_folder, parent_.c_str());

    // Yes: the default folder, no browser.
    std::vector<SeenWindow> seen = extract({press_button(IDYES)});
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(L"Use the default folder?", seen[0].caption);
    EXPECT_EQ(parent_, seen[0].text) << "the question is the folder itself";
    EXPECT_EQ(main_, seen[0].owner);
    EXPECT_EQ(10u, folder_tree(parent_ + L"\\bundle").size());

    // No: the browser decides.
    seen = extract({press_button(IDNO), choose_folder(chosen)});
    ASSERT_EQ(2u, seen.size());
    EXPECT_TRUE(shows_static(seen[1], kExtractParentTitle));
    EXPECT_EQ(10u, folder_tree(chosen + L"\\bundle").size());
    EXPECT_EQ(L"Extracted to a new folder.", status());

    // Silently: straight into the default folder.
    g_preferences.use_default_folder_silently = 1;
    seen = extract({});
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(10u, folder_tree(parent_ + L"\\bundle (2)").size());

    // A default folder that is gone: straight to the browser, even when silent.
    wcscpy(g_preferences.default_extract_folder, (folder_ + L"\\removed").c_str());
    seen = extract({choose_folder(chosen)});
    ASSERT_EQ(1u, seen.size());
    EXPECT_TRUE(shows_static(seen[0], kExtractParentTitle));
    EXPECT_EQ(10u, folder_tree(chosen + L"\\bundle (2)").size());

    // The browser canceled: nothing happens.
    std::wstring before = status();
    seen = extract({press_button(IDCANCEL)});
    EXPECT_EQ(1u, seen.size());
    EXPECT_EQ(before, status());
    EXPECT_EQ((std::vector<std::wstring>{L"bundle (2)/", L"bundle/"}), top_level(chosen));
    EXPECT_EQ((std::vector<std::wstring>{L"bundle (2)/", L"bundle/"}), top_level(parent_));
}

TEST_F(Extraction, TheNewFolderIsOpenedWhenThePreferenceSaysSo) {
    ASSERT_NE(nullptr, open_window(true));
    open_path(archive_);
    wcscpy(g_preferences.default_extract_folder, parent_.c_str());
    g_preferences.use_default_folder_silently = 1;
    g_preferences.open_folder_after_extract = 1;
    extract({});
    EXPECT_EQ(L"Rozpakowano do nowego folderu.", status());
    ASSERT_EQ(1u, shell_calls().size());
    const ShellCall& call = shell_calls()[0];
    EXPECT_EQ(main_, call.window);
    EXPECT_EQ(L"open", call.verb);
    EXPECT_EQ(parent_ + L"\\bundle", call.file);
    EXPECT_FALSE(call.parameters);
    EXPECT_FALSE(call.folder);
    EXPECT_EQ(SW_SHOWNORMAL, call.show);
}

TEST_F(Extraction, ExtractAndTestNeedAnOpenArchive) {
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        for (int command : {102, 103}) {
            set_status(L"");
            press(main_, command);
            EXPECT_FALSE(g_app.busy);
            EXPECT_EQ(polish ? L"Najpierw otwórz archiwum." : L"Open an archive first.", status()) << command;
        }
    }
}

TEST_F(Extraction, TestingReportsTheEngineErrorOfADamagedArchive) {
    ASSERT_NE(nullptr, open_window());
    open_path(archive_);
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Archive data checked. No errors reported.", status());

    std::wstring damaged = folder_ + L"\\damaged.zip";
    ASSERT_TRUE(make_damaged_zip(damaged));
    open_path(damaged);
    ASSERT_EQ(2, rows()) << "the headers are intact";
    UserPlayer user({press_button(IDOK)});
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    std::vector<SeenWindow> seen = user.seen();
    ASSERT_EQ(1u, seen.size());
    const std::wstring message =
        L"Could not process the archive. The file may be damaged or use an unsupported format.";
    EXPECT_EQ(L"Lumarek", seen[0].caption);
    EXPECT_EQ(message + L"\n\n", seen[0].text.substr(0, message.size() + 2)) << "the engine's text follows";
    EXPECT_GT(seen[0].text.size(), message.size() + 2) << seen[0].text;
    EXPECT_EQ(message, status());

    // Test again in Polish.
    g_preferences.polish_ui = 1;
    open_path(archive_);
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Sprawdzono dane archiwum. Brak zgłoszonych błędów.", status());
}
