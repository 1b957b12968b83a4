// The keyboard rules of the program's message loop: keys are typed (as keyboard input, not posted)
// while the loop runs. The focus is shared with every window on the display, so these tests run on
// their own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "common/ui.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "window_fixture.h"

namespace {

class MainKeyboard : public MainWindowTest {};

}  // namespace

TEST_F(MainKeyboard, EscapeOnTheWindowItselfClosesIt) {
    SetFocus(main_);
    type_key(VK_ESCAPE);
    EXPECT_EQ(0, run_message_loop_for(main_, 2000)) << "the loop ends with the quit code of the closed window";
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(MainKeyboard, EscapeInAControlDoesNotClose) {
    const int numbers[] = {N_OPEN_ARCHIVE, N_TAB_CONTENTS,
                           N_CONTENTS_LIST};  // a button, a tab button, the contents list
    for (int number : numbers) {
        HWND child = nth_control(main_, number);
        SetFocus(child);
        type_key(VK_ESCAPE);
        EXPECT_EQ(LOOP_TIMED_OUT, run_message_loop_for(main_, 300)) << number;
        EXPECT_TRUE(IsWindow(main_)) << number;
    }
}

TEST_F(MainKeyboard, EscapeWhileBusyCancelsAndKeepsTheWindow) {
    set_busy(true);
    SetFocus(main_);
    type_key(VK_ESCAPE);
    EXPECT_EQ(LOOP_TIMED_OUT, run_message_loop_for(main_, 300));
    ASSERT_TRUE(IsWindow(main_));
    EXPECT_EQ(1, g_slot.cancel_requested);
    EXPECT_EQ(L"Canceling…", status());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main_, 115))) << "a cancel is requested once";

    // Once the operation has ended, a close request closes.
    set_busy(false);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main_, 115)));
    SendMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main_));
}

TEST_F(MainKeyboard, F1ShowsTheHelpAtItsTop) {
    HWND information = nth_control(main_, N_INFO_TEXT);
    // Help read to its end (the caret there), then another view.
    SendMessageW(main_, WM_COMMAND, 138, 0);
    SendMessageW(information, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
    SendMessageW(information, EM_SCROLLCARET, 0, 0);
    SendMessageW(information, EM_LINESCROLL, 0, 100);
    SendMessageW(main_, WM_COMMAND, 105, 0);

    SetFocus(nth_control(main_, N_ADD_FILES));
    type_key(VK_F1);
    run_message_loop_for(main_, 300);
    EXPECT_EQ(L"Help", hint());
    EXPECT_TRUE(has_style(information, WS_VISIBLE));
    EXPECT_EQ(0, SendMessageW(information, EM_GETFIRSTVISIBLELINE, 0, 0));
    DWORD start = 1, end = 1;
    SendMessageW(information, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
}
