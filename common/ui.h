// Window toolkit shared by both programs: fonts, brush, child controls and the message loop.
#pragma once

#include <stdint.h>
#include <windows.h>

const COLORREF BACKGROUND_COLOR = RGB(244, 247, 251);
const COLORREF TEXT_COLOR = RGB(33, 53, 78);

struct UiResources {
    HINSTANCE instance;
    HFONT body_font;
    HFONT emphasis_font;
    HFONT title_font;
    HBRUSH background_brush;
};

extern UiResources g_ui;

void ui_init();

// A visible child at (0, 0), 10 x 10, with the body font; the owner places it later.
HWND create_child(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style, int32_t id);
// A window class of this module with the arrow cursor and the background brush, and icon resource 1
// when asked. Registering a class that already exists counts as success.
bool register_window_class(const wchar_t* class_name, WNDPROC procedure, bool with_icon);

bool set_text(HWND window, const wchar_t* text);
bool move_child(HWND window, int x, int y, int width, int height);

// The text of one cell (row, column) of a list view.
LRESULT set_list_cell(HWND list, uint32_t row, int32_t column, const wchar_t* text);

// Centres over the owner's window rectangle, or over the primary screen without an owner.
void center_window(HWND window, HWND owner);

// Escape sent to the main window itself closes it; everything else goes through the dialog manager.
int32_t run_message_loop(HWND main_window);
