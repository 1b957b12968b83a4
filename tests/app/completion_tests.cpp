// Completion steps that need no archive: the queue run's end, and the support details copied to
// the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "command_fixture.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"
#include "shell_recorder.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

namespace {

class Completion : public CommandTest {
protected:
    // A queue run that ends with the code, as the worker reports it.
    void finish_queue_run(int32_t code) {
        set_busy(true);
        g_slot.kind = OP_EXTRACT_QUEUE;
        g_slot.result.code = code;
        SendMessageW(main_, WM_APP_OPERATION_DONE, 0, 0);
    }
};

std::wstring clipboard_text() {
    std::wstring text = L"(none)";
    if (!OpenClipboard(nullptr)) return L"(not opened)";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        const wchar_t* locked = (const wchar_t*)GlobalLock(data);
        if (locked != nullptr) text = locked;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

}  // namespace

TEST_F(Completion, SupportDetailsOnTheClipboard) {
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        press(main_, 139);
        press(main_, 141);
        EXPECT_EQ(polish ? L"Lumarek 1.2.0 (x64)\r\nJęzyk interfejsu: polski"
                         : L"Lumarek 1.2.0 (x64)\r\nInterface language: English",
                  clipboard_text());
        EXPECT_EQ(polish ? L"Skopiowano dane do zgłoszenia." : L"Support details copied.", status());
    }
}

TEST_F(Completion, TheEndOfAQueueRun) {
    record_shell_calls();
    ASSERT_NE(nullptr, open_window());
    press(main_, 132);
    ASSERT_TRUE(queue_add((folder_ + L"\\a.zip").c_str()));
    ASSERT_TRUE(queue_add((folder_ + L"\\b.zip").c_str()));
    queue_item_finished(&g_queue.items[0], RESULT_OK);
    wcscpy(g_queue_output_folder, folder_.c_str());

    finish_queue_run(RESULT_CANCELED);
    EXPECT_EQ(L"Canceled. Extracted: 1   Errors: 0   Waiting: 1", status());
    EXPECT_TRUE(shell_calls().empty());

    finish_queue_run(RESULT_OK);
    EXPECT_EQ(L"Extracted: 1   Errors: 0   Waiting: 1", status());
    EXPECT_TRUE(shell_calls().empty()) << "only when the preference says so";

    g_preferences.open_folder_after_extract = 1;
    finish_queue_run(RESULT_OK);
    ASSERT_EQ(1u, shell_calls().size());
    EXPECT_EQ(folder_, shell_calls()[0].file);
    EXPECT_EQ(L"open", shell_calls()[0].verb);
    EXPECT_EQ(SW_SHOWNORMAL, shell_calls()[0].show);

    g_preferences.polish_ui = 1;
    finish_queue_run(RESULT_CANCELED);
    EXPECT_EQ(L"Anulowano. Rozpakowano: 1   Błędy: 0   Czeka: 1", status());
    EXPECT_EQ(1u, shell_calls().size()) << "not after a cancel";
}
