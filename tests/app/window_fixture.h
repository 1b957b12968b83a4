// Runs the program's real main window inside the test process, built by the program's own start-up
// functions (everything but the message loop), and reads it back through its messages.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

// Toolkit, preferences (from an empty local data folder of the test), profiles and engine: once
// per test process, as the program does at start.
void prepare_program_once();

// The preferences file of the test's local data folder ("LumarekPreferences.dat" in LOCALAPPDATA).
std::wstring preferences_file();

// A new main window with default preferences in the given language and start-up view, placed at
// the screen's origin. A window opened before is destroyed first.
HWND open_main_window(bool polish, uint32_t startup_view = 0);
void close_main_window();

// The control with the given number in creation order (1 to 78).
HWND nth_control(HWND main, int number);

// Types a key: its press and release as keyboard input, to the window with the focus.
void type_key(WORD key);

// Runs the program's message loop (run_message_loop) for at most the given time; returns its exit
// code, or LOOP_TIMED_OUT when it was still running.
const int LOOP_TIMED_OUT = 12345;
int run_message_loop_for(HWND main, UINT milliseconds);

// Dispatches the thread's pending messages for the given time.
void pump_messages(DWORD milliseconds);

// Resizes the window so that its client area has the given size.
void set_client_size(HWND main, int width, int height);
SIZE client_size(HWND main);

// A child's rectangle in its parent's client coordinates.
RECT child_rect(HWND child);

bool has_style(HWND window, DWORD bits);
std::wstring text_of(HWND window);
std::wstring combo_item(HWND combo, int index);
std::wstring column_title(HWND list, int column);
std::wstring list_cell(HWND list, int row, int column);

// A click on the button with the id, as the button itself reports it.
void press(HWND main, int id);

// The button that shows each of the eight views, in view order, and a name for the view's pictures.
struct ViewButton {
    int button;
    const wchar_t* name;
};
extern const ViewButton VIEW_BUTTONS[8];

// A test of the window opened afresh in English, with its status and hint lines at hand; the busy
// state and the cancel flag are reset after it.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring status();
    std::wstring hint();
    HWND main_ = nullptr;
};
