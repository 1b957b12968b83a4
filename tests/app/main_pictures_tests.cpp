// Pictures of the main window at its start-up size: the eight views in both languages and the busy
// state. They land in the build folder's screenshots/ to be looked at.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/queue_view.h"
#include "common/memory.h"
#include "common/operation_result.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

void fill_queue() {
    const wchar_t* paths[3] = {L"C:\\Users\\Ola\\Downloads\\Zdjęcia z wakacji.zip",
                               L"C:\\Users\\Ola\\Downloads\\backup.7z",
                               L"C:\\Users\\Ola\\Downloads\\faktury-2024.tar.gz"};
    const int32_t statuses[3] = {QUEUE_EXTRACTED, QUEUE_FAILED, QUEUE_WAITING};
    g_queue.items = (QueueItem*)mem_alloc(3 * sizeof(QueueItem));
    g_queue.capacity = 3;
    for (int i = 0; i < 3; ++i)
        g_queue.items[g_queue.count++] =
            QueueItem{text_duplicate(paths[i]), statuses[i], i == 1 ? RESULT_PASSWORD_REQUIRED : RESULT_OK};
    queue_refresh_list();
}

void picture(HWND main, const std::wstring& name) {
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump_messages(300);
    std::wstring path = save_window_picture(main, name.c_str());
    EXPECT_GT(read_bytes(path).size(), 940u * 600u * 3u) << path;
}

class MainPictures : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(MainPictures, EveryViewAtTheStartUpSize) {
    bool polish = GetParam();
    HWND main = open_main_window(polish);
    ASSERT_NE(nullptr, main);
    RECT outer;
    GetWindowRect(main, &outer);
    EXPECT_EQ(940, outer.right - outer.left);
    fill_queue();
    for (const ViewButton& view : VIEW_BUTTONS) {
        press(main, view.button);
        picture(main, std::wstring(L"view-") + view.name + (polish ? L"-pl" : L"-en"));
    }
    queue_free();
}

TEST_P(MainPictures, BusyWithTheProgressBar) {
    bool polish = GetParam();
    HWND main = open_main_window(polish);
    ASSERT_NE(nullptr, main);
    set_busy(true);
    g_slot.kind = OP_EXTRACT;
    set_status(polish ? L"Operacja w toku…" : L"Working…");
    SendMessageW(main, WM_APP_PROGRESS_PERCENT, 35, 0);
    SendMessageW(main, WM_APP_PROGRESS_ITEMS, 48, 0);
    picture(main, std::wstring(L"busy-") + (polish ? L"pl" : L"en"));
    set_busy(false);
}

INSTANTIATE_TEST_SUITE_P(Languages, MainPictures, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Polish" : "English"; });
