// The command line in the real window: "--extract-here" with archives in two folders, each
// extracted beside itself; two or more paths queued and waiting; more than the queue holds; and
// relative paths, made absolute before the current folder can move.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "command_fixture.h"
#include "operations/extraction_queue.h"
#include "queue_fixture.h"
#include "settings/preferences.h"
#include "shell_recorder.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

namespace {

class CommandLine : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        ASSERT_TRUE(GetCurrentDirectoryW(MAX_PATH, previous_folder_));
        in_ = folder_ + L"\\In";
        other_ = folder_ + L"\\Other";
        ASSERT_TRUE(CreateDirectoryW(in_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(other_.c_str(), nullptr));
        record_shell_calls();
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_folder_);
        CommandTest::TearDown();
    }
    std::vector<std::wstring> queued() {
        std::vector<std::wstring> paths;
        for (uint32_t i = 0; i < g_queue.count; ++i) paths.push_back(g_queue.items[i].path);
        return paths;
    }
    wchar_t previous_folder_[MAX_PATH] = {};
    std::wstring in_, other_;
};

}  // namespace

TEST_F(CommandLine, ExtractHereExtractsEachArchiveBesideItself) {
    ASSERT_TRUE(make_small_archive(in_ + L"\\a.zip"));
    ASSERT_TRUE(make_small_archive(other_ + L"\\b.7z"));
    ASSERT_TRUE(make_small_archive(in_ + L"\\c.tar.gz"));
    ASSERT_NE(nullptr, open_window());
    g_preferences.open_folder_after_extract = 1;
    // Relative to the current folder; a folder among them is skipped; the option in any letter case.
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    act_on_command_line(L"Lumarek.exe --Extract-HERE In\\a.zip Other Other\\b.7z \"In\\c.tar.gz\"");
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);
    ASSERT_TRUE(g_app.busy) << "started at once";
    EXPECT_TRUE(g_app.extract_beside_archives);
    ASSERT_TRUE(SetCurrentDirectoryW(other_.c_str())) << "as a dialog would move it";
    ASSERT_TRUE(wait_until_idle(120000));

    EXPECT_EQ((std::vector<std::wstring>{in_ + L"\\a.zip", other_ + L"\\b.7z", in_ + L"\\c.tar.gz"}), queued());
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Extracted", L"Extracted"}), queue_column(main_, 1));
    EXPECT_EQ(L"Extracted: 3   Errors: 0   Waiting: 0", status());
    EXPECT_EQ(small_archive_tree(), folder_tree(in_ + L"\\a"));
    EXPECT_EQ(small_archive_tree(), folder_tree(other_ + L"\\b"));
    EXPECT_EQ(small_archive_tree(), folder_tree(in_ + L"\\c"));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"a.zip", L"c", L"c.tar.gz"}), folder_names(in_));
    // The output folder of the run is the first archive's folder, and it is opened afterwards.
    EXPECT_EQ(in_, std::wstring(g_queue_output_folder));
    ASSERT_EQ(1u, shell_calls().size());
    EXPECT_EQ(in_, shell_calls()[0].file);

    // The default folder and its question are not consulted: a single archive, extracted beside itself.
    wcscpy(g_preferences.default_extract_folder, other_.c_str());
    ASSERT_TRUE(SetCurrentDirectoryW(in_.c_str()));
    queue_free();
    act_on_command_line(L"Lumarek.exe --extract-here a.zip");
    ASSERT_TRUE(wait_until_idle(120000));
    EXPECT_EQ(L"Extracted: 1   Errors: 0   Waiting: 0", status());
    EXPECT_EQ(small_archive_tree(), folder_tree(in_ + L"\\a (2)"));
}

TEST_F(CommandLine, ExtractHereWithMoreThanTheQueueHoldsStartsNothing) {
    ASSERT_NE(nullptr, open_window(true));
    std::wstring line = L"Lumarek.exe --extract-here";
    for (int i = 0; i <= 4096; ++i) line += L" \"" + in_ + L"\\" + std::to_wstring(i) + L".zip\"";
    act_on_command_line(line.c_str());
    EXPECT_FALSE(g_app.busy);
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);
    EXPECT_EQ(4096u, g_queue.count);
    EXPECT_EQ(in_ + L"\\4095.zip", std::wstring(g_queue.items[4095].path));
    EXPECT_EQ(4096u, queue_column(main_, 0).size());
    EXPECT_EQ(L"Nie udało się dodać wszystkich archiwów. Limit kolejki to 4096 plików.", status());
    EXPECT_TRUE(folder_names(in_).empty());
}

TEST_F(CommandLine, TwoOrMorePathsFillTheQueueAndWait) {
    ASSERT_NE(nullptr, open_window());
    ASSERT_TRUE(SetCurrentDirectoryW(in_.c_str()));
    act_on_command_line(L"Lumarek.exe a.zip ..\\Other\\b.zip");
    EXPECT_FALSE(g_app.busy) << "the queue waits for the user";
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);
    EXPECT_EQ((std::vector<std::wstring>{in_ + L"\\a.zip", other_ + L"\\b.zip"}), queued());
    EXPECT_EQ((std::vector<std::wstring>{in_ + L"\\a.zip", other_ + L"\\b.zip"}), queue_column(main_, 0));
    EXPECT_EQ(L"Extracted: 0   Errors: 0   Waiting: 2", status());

    // "--extract-here" alone is one path, opened as an archive; "--profile" with two more is a list.
    queue_free();
    act_on_command_line(L"Lumarek.exe --profile x.zip y.zip");
    EXPECT_EQ((std::vector<std::wstring>{in_ + L"\\--profile", in_ + L"\\x.zip", in_ + L"\\y.zip"}), queued());
    UserPlayer user({press_button(IDOK)});
    act_on_command_line(L"Lumarek.exe --extract-here");
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(1u, user.seen().size()) << "no such archive";
}

TEST_F(CommandLine, ARelativeArchiveIsReadFromWhereItWasNamed) {
    std::wstring archive = in_ + L"\\x.zip";
    ASSERT_TRUE(make_small_archive(archive));
    ASSERT_NE(nullptr, open_window());
    ASSERT_TRUE(SetCurrentDirectoryW(in_.c_str()));
    act_on_command_line(L"Lumarek.exe x.zip");
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(archive, label());
    EXPECT_EQ(3, rows());
    // The current folder moves (as the open and save dialogs move it); Test still reads the archive.
    ASSERT_TRUE(SetCurrentDirectoryW(other_.c_str()));
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Archive data checked. No errors reported.", status());
}
