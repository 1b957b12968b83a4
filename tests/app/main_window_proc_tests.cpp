// The main window's procedure: keyboard rules, closing, the busy state, and the progress and queue
// messages of a running operation.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/app_state.h"
#include "app/queue_view.h"
#include "app/startup.h"
#include "common/memory.h"
#include "common/ui.h"
#include "control_numbers.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"
#include "window_fixture.h"

namespace {

class MainWindowProc : public MainWindowTest {};

}  // namespace

TEST_F(MainWindowProc, HelpRequestWhileBusyDoesNothing) {
    SendMessageW(main_, WM_COMMAND, 132, 0);
    set_busy(true);
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(1, SendMessageW(main_, WM_HELP, 0, (LPARAM)&info));
    EXPECT_NE(L"Help", hint());
    set_busy(false);
    EXPECT_EQ(1, SendMessageW(main_, WM_HELP, 0, (LPARAM)&info));
    EXPECT_EQ(L"Help", hint());
}

TEST_F(MainWindowProc, BackReturnsToTheViewSettingsWereOpenedFrom) {
    const wchar_t* profiles_hint = L"Save your rules and review the files before packing.";
    SendMessageW(main_, WM_COMMAND, 118, 0);
    SendMessageW(main_, WM_COMMAND, 104, 0);
    SendMessageW(main_, WM_COMMAND, 104, 0);  // entered twice: the first origin is kept
    EXPECT_EQ(L"Choose your language and defaults.", hint());
    SendMessageW(main_, WM_COMMAND, 117, 0);
    EXPECT_EQ(profiles_hint, hint());
    SendMessageW(main_, WM_COMMAND, 138, 0);
    SendMessageW(main_, WM_COMMAND, 104, 0);
    SendMessageW(main_, WM_COMMAND, 117, 0);
    EXPECT_EQ(L"Help", hint());
}

TEST_F(MainWindowProc, BusyStateDisablesAndShowsTheCancelButtonAndProgressBar) {
    SendMessageW(main_, WM_COMMAND, 118, 0);
    SIZE client = client_size(main_);
    set_busy(true);
    EXPECT_TRUE(g_app.busy);
    for (int number : DISABLED_WHILE_BUSY)
        EXPECT_FALSE(IsWindowEnabled(nth_control(main_, number))) << "control " << number;
    for (int number : {N_LANGUAGE_LIST, N_DEFAULT_FOLDER, N_SAVE_SETTINGS, N_BACK, N_INFO_TEXT, N_COPY_SUPPORT})
        EXPECT_TRUE(IsWindowEnabled(nth_control(main_, number))) << "control " << number;
    HWND cancel = nth_control(main_, N_CANCEL);
    HWND progress = nth_control(main_, N_PROGRESS);
    EXPECT_TRUE(has_style(cancel, WS_VISIBLE));
    EXPECT_TRUE(IsWindowEnabled(cancel));
    EXPECT_TRUE(has_style(progress, WS_VISIBLE));
    EXPECT_TRUE(has_style(progress, PBS_MARQUEE)) << "every operation starts with the marquee";
    RECT line = child_rect(nth_control(main_, N_STATUS));
    EXPECT_EQ(client.cx - 216, line.right - line.left);

    // Commands other than cancel are ignored while busy.
    SendMessageW(main_, WM_COMMAND, 100, 0);
    EXPECT_EQ(L"Save your rules and review the files before packing.", hint());

    set_busy(false);
    for (int number : DISABLED_WHILE_BUSY) {
        bool enabled = IsWindowEnabled(nth_control(main_, number));
        // Delete profile: only for a stored profile; Create ZIP: only with a ready preview.
        EXPECT_EQ(number != 61 && number != 63, enabled) << "control " << number;
    }
    EXPECT_FALSE(has_style(cancel, WS_VISIBLE));
    EXPECT_FALSE(has_style(progress, WS_VISIBLE));
    line = child_rect(nth_control(main_, N_STATUS));
    EXPECT_EQ(client.cx - 48, line.right - line.left);

    g_app.preview_ready = true;
    set_busy(false);
    EXPECT_TRUE(IsWindowEnabled(nth_control(main_, N_CREATE_ZIP))) << "Create ZIP with a ready preview";
}

TEST_F(MainWindowProc, PasswordFieldFollowsTheFormatList) {
    HWND formats = GetDlgItem(main_, 110);
    HWND password = GetDlgItem(main_, 111);
    const struct {
        int selection;
        bool enabled;
    } cases[] = {{1, false}, {0, true}, {2, false}, {-1, true}};
    for (const auto& item : cases) {
        SendMessageW(formats, CB_SETCURSEL, item.selection, 0);
        SendMessageW(main_, WM_COMMAND, MAKEWPARAM(110, CBN_SELCHANGE), (LPARAM)formats);
        EXPECT_EQ(item.enabled, IsWindowEnabled(password) != 0) << "selection " << item.selection;
    }
    // After an operation the same rule holds.
    SendMessageW(formats, CB_SETCURSEL, 2, 0);
    set_busy(true);
    set_busy(false);
    EXPECT_FALSE(IsWindowEnabled(password));
}

TEST_F(MainWindowProc, ItemProgressReachesTheStatusLineOnlyWhenItShould) {
    set_busy(true);
    g_slot.kind = OP_EXTRACT;
    SendMessageW(main_, WM_APP_PROGRESS_ITEMS, 48, 0);
    EXPECT_EQ(L"Processing items: 48", status());

    g_slot.kind = OP_EXTRACT_QUEUE;
    SendMessageW(main_, WM_APP_PROGRESS_ITEMS, 64, 0);
    EXPECT_EQ(L"Processing items: 48", status()) << "the queue keeps its own line";

    g_slot.kind = OP_OPEN_ARCHIVE;
    InterlockedExchange(&g_slot.cancel_requested, 1);
    SendMessageW(main_, WM_APP_PROGRESS_ITEMS, 80, 0);
    EXPECT_EQ(L"Processing items: 48", status()) << "after a cancel request";

    InterlockedExchange(&g_slot.cancel_requested, 0);
    set_busy(false);
    SendMessageW(main_, WM_APP_PROGRESS_ITEMS, 96, 0);
    EXPECT_EQ(L"Processing items: 48", status()) << "when nothing runs";
}

TEST_F(MainWindowProc, PercentProgressSwitchesBetweenMarqueeAndPosition) {
    HWND bar = nth_control(main_, N_PROGRESS);
    set_busy(true);
    g_slot.kind = OP_EXTRACT;
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, 35, 0);
    EXPECT_FALSE(has_style(bar, PBS_MARQUEE));
    EXPECT_EQ(35, SendMessageW(bar, PBM_GETPOS, 0, 0));
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, (WPARAM)-1, 0);
    EXPECT_TRUE(has_style(bar, PBS_MARQUEE));
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, (WPARAM)-1, 0);
    EXPECT_TRUE(has_style(bar, PBS_MARQUEE));
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, 70, 0);
    EXPECT_FALSE(has_style(bar, PBS_MARQUEE));
    EXPECT_EQ(70, SendMessageW(bar, PBM_GETPOS, 0, 0));

    InterlockedExchange(&g_slot.cancel_requested, 1);
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, 90, 0);
    EXPECT_EQ(70, SendMessageW(bar, PBM_GETPOS, 0, 0)) << "after a cancel request";
    InterlockedExchange(&g_slot.cancel_requested, 0);
    set_busy(false);
    SendMessageW(main_, WM_APP_PROGRESS_PERCENT, 95, 0);
    EXPECT_EQ(70, SendMessageW(bar, PBM_GETPOS, 0, 0)) << "when nothing runs";
}

TEST_F(MainWindowProc, QueueItemMessages) {
    g_queue.items = (QueueItem*)mem_alloc(3 * sizeof(QueueItem));
    g_queue.capacity = 3;
    for (const wchar_t* path : {L"C:\\In\\a.zip", L"C:\\In\\b.zip", L"C:\\In\\c.zip"})
        g_queue.items[g_queue.count++] = QueueItem{text_duplicate(path), QUEUE_WAITING, RESULT_OK};
    queue_refresh_list();  // as after adding them
    SendMessageW(main_, WM_COMMAND, 132, 0);
    HWND list = nth_control(main_, N_QUEUE_LIST);
    ASSERT_EQ(3, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));

    set_busy(true);
    g_slot.kind = OP_EXTRACT_QUEUE;
    SendMessageW(main_, WM_APP_QUEUE_ITEM_STARTED, 1, 0);
    EXPECT_EQ(L"Extracting archive 2 of 3…", status());
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 1, RESULT_PASSWORD_REQUIRED);
    EXPECT_EQ(QUEUE_FAILED, g_queue.items[1].status);
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, g_queue.items[1].result);
    EXPECT_EQ(L"Password required", list_cell(list, 1, 1));
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 2, RESULT_OK);
    EXPECT_EQ(QUEUE_EXTRACTED, g_queue.items[2].status);
    EXPECT_EQ(L"Extracted", list_cell(list, 2, 1));
    EXPECT_EQ(L"Waiting", list_cell(list, 0, 1));

    InterlockedExchange(&g_slot.cancel_requested, 1);
    SendMessageW(main_, WM_APP_QUEUE_ITEM_STARTED, 2, 0);
    EXPECT_EQ(L"Extracting archive 2 of 3…", status()) << "after a cancel request";
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 0, RESULT_OUTPUT_EXISTS);
    EXPECT_EQ(L"Output exists", list_cell(list, 0, 1)) << "a finished item is shown even after a cancel request";
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 3, RESULT_OK);  // beyond the queue: ignored
    set_busy(false);
    queue_free();
}

TEST_F(MainWindowProc, SmallestTrackingSizeAndStaticColours) {
    MINMAXINFO info = {};
    info.ptMaxTrackSize = {5000, 4000};
    info.ptMaxSize = {3000, 2000};
    EXPECT_EQ(0, SendMessageW(main_, WM_GETMINMAXINFO, 0, (LPARAM)&info));
    EXPECT_EQ(690, info.ptMinTrackSize.x);
    EXPECT_EQ(630, info.ptMinTrackSize.y);
    EXPECT_EQ(5000, info.ptMaxTrackSize.x) << "nothing else is changed";
    EXPECT_EQ(2000, info.ptMaxSize.y);

    HDC dc = CreateCompatibleDC(nullptr);
    LRESULT brush = SendMessageW(main_, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)nth_control(main_, N_HINT));
    EXPECT_EQ((LRESULT)g_ui.background_brush, brush);
    EXPECT_EQ(0x004E3521u, GetTextColor(dc));
    EXPECT_EQ(0x00FBF7F4u, GetBkColor(dc));
    DeleteDC(dc);
}

TEST_F(MainWindowProc, StatusLineKeepsOnlyATextThatFits) {
    std::wstring fits(383, L'a');
    set_status(fits.c_str());
    EXPECT_EQ(fits, g_app.status_text);
    EXPECT_EQ(fits, status());
    std::wstring longer(384, L'b');
    set_status(longer.c_str());
    EXPECT_EQ(L"", std::wstring(g_app.status_text)) << "a text that does not fit is not kept";
    EXPECT_EQ(longer, status()) << "the line shows the whole text";
}

TEST_F(MainWindowProc, SavedProfilesMessageAtStartUp) {
    report_startup_problems(false);
    EXPECT_EQ(L"Could not load the saved profiles.", status());
    SendMessageW(main_, WM_COMMAND, 100, 0);
    set_busy(true);
    set_status(L"Working…");
    report_startup_problems(false);
    EXPECT_EQ(L"Working…", status()) << "not while an operation started from the command line runs";
    set_busy(false);
    report_startup_problems(true);
    EXPECT_EQ(L"Working…", status()) << "nothing to report";
}

TEST_F(MainWindowProc, RestoreDefaultsFillsTheSettingsViewOnly) {
    SendMessageW(main_, WM_COMMAND, 104, 0);
    HWND folder = GetDlgItem(main_, 113);
    SetWindowTextW(folder, L"C:\\Somewhere");
    SendMessageW(GetDlgItem(main_, 144), CB_SETCURSEL, 3, 0);
    SendMessageW(nth_control(main_, N_OPEN_FOLDER_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    Preferences before = g_preferences;
    SendMessageW(main_, WM_COMMAND, 146, 0);
    EXPECT_EQ(L"", text_of(folder));
    EXPECT_EQ(0, SendMessageW(GetDlgItem(main_, 144), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(nth_control(main_, N_OPEN_FOLDER_CHECK), BM_GETCHECK, 0, 0));
    EXPECT_EQ(L"Defaults restored. Select Save settings to apply them.", status());
    EXPECT_EQ(0, memcmp(&before, &g_preferences, sizeof(before))) << "the current preferences stay";
}
