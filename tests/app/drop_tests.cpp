// Files and folders dropped on the real window (a real HDROP, as the shell hands it over): what each
// view makes of them, and nothing while an operation runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "operations/extraction_queue.h"
#include "operations/window_seams.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

// A drop handle in the shell's own layout: DROPFILES, then the wide paths, each ended by a zero
// unit, and an empty one at the end. The window releases it with DragFinish.
HDROP make_drop(const std::vector<std::wstring>& paths) {
    size_t units = 1;
    for (const std::wstring& path : paths) units += path.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    DROPFILES* files = (DROPFILES*)GlobalLock(block);
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    wchar_t* text = (wchar_t*)(files + 1);
    for (const std::wstring& path : paths) {
        memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        text += path.size() + 1;
    }
    GlobalUnlock(block);
    return (HDROP)block;
}

class Drop : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        first_ = folder_ + L"\\first.zip";
        second_ = folder_ + L"\\second.zip";
        ASSERT_TRUE(make_zip(first_, {{"one.txt", "1", false}}));
        ASSERT_TRUE(make_zip(second_, {{"two.txt", "2", false}, {"three.txt", "3", false}}));
        subfolder_ = folder_ + L"\\Photos";
        ASSERT_TRUE(CreateDirectoryW(subfolder_.c_str(), nullptr));
    }
    void drop(const std::vector<std::wstring>& paths) {
        SendMessageW(main_, WM_DROPFILES, (WPARAM)make_drop(paths), 0);
        ASSERT_TRUE(wait_until_idle());
    }
    std::wstring hint() { return text_of(nth_control(main_, N_HINT)); }
    std::vector<std::wstring> queued() {
        std::vector<std::wstring> paths;
        for (uint32_t i = 0; i < g_queue.count; ++i) paths.push_back(g_queue.items[i].path);
        return paths;
    }
    std::wstring first_, second_, subfolder_;
};

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = towupper(c);
    return text;
}

}  // namespace

TEST_F(Drop, OneArchiveOnTheContentsViewIsOpenedAFolderIgnored) {
    ASSERT_NE(nullptr, open_window());
    drop({subfolder_});
    EXPECT_EQ(L"Items: 0", status()) << "a folder is not an archive to open";
    EXPECT_EQ(L"No archive open", label());
    drop({second_});
    EXPECT_EQ(2, rows());
    EXPECT_EQ(second_, label());
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
}

TEST_F(Drop, SeveralFilesOnTheContentsViewGoToTheQueue) {
    ASSERT_NE(nullptr, open_window());
    drop({first_, subfolder_, second_});
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);
    EXPECT_EQ((std::vector<std::wstring>{first_, second_}), queued()) << "the folder is skipped";
    HWND list = nth_control(main_, N_QUEUE_LIST);
    ASSERT_EQ(2, (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(second_, list_cell(list, 1, 0));
    EXPECT_EQ(L"Waiting", list_cell(list, 1, 1));
    EXPECT_EQ(L"Extracted: 0   Errors: 0   Waiting: 2", status());
    EXPECT_EQ(L"No archive open", label()) << "nothing was opened";

    // On the queue view itself: the same archives in another letter case are already queued.
    drop({upper(first_), upper(second_)});
    EXPECT_EQ(2u, g_queue.count);
    std::wstring third = folder_ + L"\\third.7z";
    drop({third});
    EXPECT_EQ(3u, g_queue.count);
    EXPECT_EQ(L"Extracted: 0   Errors: 0   Waiting: 3", status());
}

TEST_F(Drop, NewArchiveViewTakesEverythingAsSources) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    drop({subfolder_, first_});
    drop({upper(subfolder_), second_});
    ASSERT_EQ(3u, g_app.source_count);
    EXPECT_EQ(subfolder_, std::wstring(g_app.sources[0]));
    EXPECT_EQ(first_, std::wstring(g_app.sources[1]));
    EXPECT_EQ(second_, std::wstring(g_app.sources[2]));
    EXPECT_EQ(3, (int)SendMessageW(nth_control(main_, N_SOURCES_LIST), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"Sources: 3", status());
}

TEST_F(Drop, ProfilesViewTakesAFolderAsTheSourceFolder) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 118);
    HWND source_field = GetDlgItem(main_, 121);
    drop({first_});
    EXPECT_EQ(L"", text_of(source_field)) << "a file is no source folder";
    drop({subfolder_, folder_});
    EXPECT_EQ(subfolder_, text_of(source_field)) << "the first name only";
    EXPECT_EQ(L"", std::wstring(g_app.source_folder_override));
}

TEST_F(Drop, OtherViewsAndABusyWindowIgnoreDrops) {
    ASSERT_NE(nullptr, open_window());
    for (int button : {104, 138, 139, 140}) {
        press(main_, button);
        std::wstring before = status();
        drop({first_, second_});
        drop({first_});
        EXPECT_EQ(before, status()) << button;
        EXPECT_EQ(0u, g_queue.count) << button;
        EXPECT_EQ(0u, g_app.source_count) << button;
        EXPECT_EQ(L"No archive open", label()) << button;
    }
    press(main_, 100);
    set_busy(true);
    SendMessageW(main_, WM_DROPFILES, (WPARAM)make_drop({first_}), 0);
    SendMessageW(main_, WM_DROPFILES, (WPARAM)make_drop({first_, second_}), 0);
    set_busy(false);
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    EXPECT_EQ(0u, g_queue.count);
    EXPECT_EQ(L"No archive open", label());
}

TEST_F(Drop, TheQueueTakesAtMost4096Archives) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 132);
    std::vector<std::wstring> paths;
    for (int i = 0; i <= 4096; ++i) paths.push_back(folder_ + L"\\" + std::to_wstring(i) + L".zip");
    drop(paths);
    ASSERT_EQ(4096u, g_queue.count);
    EXPECT_EQ(paths[4095], std::wstring(g_queue.items[4095].path)) << "the first 4096 stay";
    EXPECT_EQ(4096, (int)SendMessageW(nth_control(main_, N_QUEUE_LIST), LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(L"Could not add every archive. The queue supports up to 4096 files.", status());
    // An archive already queued still counts as added when the queue is full.
    drop({paths[0]});
    EXPECT_EQ(L"Extracted: 0   Errors: 0   Waiting: 4096", status());
}
