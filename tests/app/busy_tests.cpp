// A real operation running in the real window: the busy state, progress, cancel by the button and
// by closing the window, and what stays ignored meanwhile.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class Busy : public CommandTest {
protected:
    // Long enough to list that a cancel pressed right after the start always finds it running.
    // Written once per process, by the first test that needs it (each test runs in a process of
    // its own, and writing it takes a while).
    static const std::wstring& long_archive() {
        static std::wstring path;
        if (path.empty()) {
            std::wstring folder = make_scratch_folder(L"busy-archive");
            std::vector<EngineEntry> entries;
            for (int i = 0; i < 100000; ++i) entries.push_back({L"f/" + std::to_wstring(i) + L".txt", "", false});
            if (write_zip_with_engine(folder + L"\\long.zip", entries, "", true)) path = folder + L"\\long.zip";
        }
        return path;
    }
    void SetUp() override {
        CommandTest::SetUp();
        small_ = folder_ + L"\\small.zip";
        ASSERT_TRUE(make_zip(small_, {{"only.txt", "only", false}}));
        ASSERT_NE(nullptr, open_window());
        open_path(small_);
        ASSERT_EQ(1, rows());
    }
    void start_long_open() {
        const std::wstring& archive = long_archive();
        ASSERT_FALSE(archive.empty());
        SendMessageW(main_, WM_COMMAND, MAKEWPARAM(101, 1), (LPARAM)archive.c_str());
    }
    // Expects the open of the long archive to end canceled, with the small archive still open.
    void expect_canceled() {
        ASSERT_TRUE(wait_until_idle());
        EXPECT_EQ(L"Operation canceled.", status());
        EXPECT_EQ(1, rows());
        EXPECT_EQ(small_, label());
        EXPECT_FALSE(has_style(nth_control(main_, N_CANCEL), WS_VISIBLE));
        EXPECT_FALSE(has_style(nth_control(main_, N_PROGRESS), WS_VISIBLE));
    }
    std::wstring small_;
};

}  // namespace

TEST_F(Busy, CancelButtonWhileTheOperationRuns) {
    SIZE client = client_size(main_);
    std::wstring hint = text_of(nth_control(main_, N_HINT));
    start_long_open();
    ASSERT_TRUE(g_app.busy);
    EXPECT_EQ(L"Working…", status());
    for (int number : DISABLED_WHILE_BUSY)
        EXPECT_FALSE(IsWindowEnabled(nth_control(main_, number))) << "control " << number;
    HWND cancel = nth_control(main_, N_CANCEL);
    HWND bar = nth_control(main_, N_PROGRESS);
    EXPECT_TRUE(has_style(cancel, WS_VISIBLE));
    EXPECT_TRUE(IsWindowEnabled(cancel));
    EXPECT_TRUE(has_style(bar, WS_VISIBLE));
    EXPECT_TRUE(has_style(bar, PBS_MARQUEE));
    RECT line = child_rect(nth_control(main_, N_STATUS));
    EXPECT_EQ(client.cx - 216, line.right - line.left) << "the status line leaves room for the cancel button";

    // F1 and other commands are ignored meanwhile.
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    SendMessageW(main_, WM_HELP, 0, (LPARAM)&info);
    press(main_, 105);
    EXPECT_EQ(hint, text_of(nth_control(main_, N_HINT)));

    press(main_, 115);
    EXPECT_EQ(L"Canceling…", status());
    EXPECT_FALSE(IsWindowEnabled(cancel));
    expect_canceled();
    EXPECT_TRUE(IsWindowEnabled(cancel)) << "ready for the next operation";
    RECT idle_line = child_rect(nth_control(main_, N_STATUS));
    EXPECT_EQ(client.cx - 48, idle_line.right - idle_line.left);

    // Polish.
    g_preferences.polish_ui = 1;
    start_long_open();
    EXPECT_EQ(L"Operacja w toku…", status());
    press(main_, 115);
    EXPECT_EQ(L"Anulowanie operacji…", status());
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Anulowano operację.", status());
}

TEST_F(Busy, ClosingTheWindowCancelsFirstAndClosesLater) {
    start_long_open();
    SendMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main_)) << "the window stays while the operation runs";
    EXPECT_EQ(L"Canceling…", status());
    expect_canceled();
    EXPECT_TRUE(IsWindow(main_));
    SendMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main_)) << "once idle, closing closes";
}

TEST_F(Busy, TheProgressBarTurnsFromMarqueeToPercent) {
    std::wstring archive = folder_ + L"\\big.zip";
    ASSERT_TRUE(write_zip_with_engine(archive, {{L"big.txt", std::string(64 << 20, 'b'), false}}));
    open_path(archive);
    HWND bar = nth_control(main_, N_PROGRESS);
    press(main_, 103);
    ASSERT_TRUE(g_app.busy);
    EXPECT_TRUE(has_style(bar, PBS_MARQUEE)) << "marquee first";
    // Pump until the completion arrives and look at the bar just before it is handled (every
    // message goes through this loop, so none can slip past it).
    bool seen_done = false;
    bool marquee_at_end = true;
    int position_at_end = -1;
    for (ULONGLONG until = GetTickCount64() + 180000; !seen_done && GetTickCount64() < until;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_APP_OPERATION_DONE) {
            seen_done = true;
            marquee_at_end = has_style(bar, PBS_MARQUEE);
            position_at_end = (int)SendMessageW(bar, PBM_GETPOS, 0, 0);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ASSERT_TRUE(seen_done) << "a loaded machine may take a while, but not this long";
    EXPECT_FALSE(g_app.busy);
    EXPECT_FALSE(marquee_at_end) << "the entry's size is known: percent";
    EXPECT_GE(position_at_end, 0);
    EXPECT_EQ(L"Archive data checked. No errors reported.", status());
}

TEST_F(Busy, TheStatusLineMovesDuringALongListing) {
    start_long_open();
    // Every message goes through this loop, so every status the listing writes is seen.
    std::vector<uint32_t> shown;
    for (ULONGLONG until = GetTickCount64() + 180000; g_app.busy && GetTickCount64() < until;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        std::wstring line = status();
        const std::wstring label = L"Processing items: ";
        if (line.compare(0, label.size(), label) == 0) {
            uint32_t count = (uint32_t)wcstoul(line.c_str() + label.size(), nullptr, 10);
            if (shown.empty() || shown.back() != count) shown.push_back(count);
        }
    }
    ASSERT_FALSE(g_app.busy);
    EXPECT_EQ(L"Items: 100000", status());
    ASSERT_GE(shown.size(), 16u) << "1 to 15, then at least one count of the long part";
    for (uint32_t i = 0; i < 15; ++i) EXPECT_EQ(i + 1, shown[i]);
    for (size_t i = 15; i < shown.size(); ++i) {
        EXPECT_EQ(0u, shown[i] % 16) << shown[i];
        EXPECT_GT(shown[i], shown[i - 1]);
    }
    EXPECT_LT(shown.size(), 15u + 100000u / 16u / 4u) << "thinned by time, far fewer than every 16th";
}
