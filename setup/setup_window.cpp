#include "setup/setup_window.h"

#include <windows.h>

#include "common/ui.h"
#include "setup/setup_commands.h"
#include "setup/setup_paths.h"
#include "setup/setup_texts.h"

SetupState g_setup;

static const wchar_t kClassName[] = L"LumarekSetup";

static LRESULT CALLBACK setup_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        SetTextColor((HDC)wparam, TEXT_COLOR);
        SetBkColor((HDC)wparam, BACKGROUND_COLOR);
        return (LRESULT)g_ui.background_brush;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case SETUP_CANCEL_BUTTON:
            DestroyWindow(window);
            return 0;
        case SETUP_MAIN_BUTTON:
            if (g_setup.removal_mode)
                run_removal_command();
            else
                run_install_command();
            return 0;
        case SETUP_LANGUAGE_LIST:
            if (HIWORD(wparam) != CBN_SELCHANGE) break;
            g_setup.polish = SendMessageW(g_setup.language_list, CB_GETCURSEL, 0, 0) == 0;
            apply_setup_texts();
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

static void create_controls(HWND window) {
    SetupState* s = &g_setup;
    s->heading = create_child(window, L"STATIC", L"", 0, 0, 0);
    SendMessageW(s->heading, WM_SETFONT, (WPARAM)g_ui.title_font, TRUE);
    s->description = create_child(window, L"STATIC", L"", 0, 0, 0);
    s->folder_line = create_child(window, L"STATIC", g_setup_paths.install_folder, SS_ENDELLIPSIS, 0, 0);
    s->desktop_box = create_child(window, L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, 0, SETUP_DESKTOP_BOX);
    s->main_button = create_child(window, L"BUTTON", L"", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, SETUP_MAIN_BUTTON);
    s->cancel_button = create_child(window, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, 0, SETUP_CANCEL_BUTTON);
    s->language_list =
        create_child(window, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, SETUP_LANGUAGE_LIST);
    // The language names are the same in both languages.
    SendMessageW(s->language_list, CB_ADDSTRING, 0, (LPARAM)L"Polski");
    SendMessageW(s->language_list, CB_ADDSTRING, 0, (LPARAM)L"English");
    SendMessageW(s->language_list, CB_SETCURSEL, s->polish ? 0 : 1, 0);
}

static void place_controls() {
    const SetupState* s = &g_setup;
    move_child(s->heading, 24, 23, 378, 44);
    move_child(s->description, 25, 83, 510, 29);
    move_child(s->folder_line, 25, 116, 507, 37);
    move_child(s->desktop_box, 25, 155, 510, 30);
    move_child(s->main_button, 258, 203, 132, 37);
    move_child(s->cancel_button, 400, 203, 130, 37);
    move_child(s->language_list, 424, 32, 106, 104);  // the height includes the open list
    ShowWindow(s->desktop_box, s->removal_mode ? SW_HIDE : SW_SHOW);
}

bool create_setup_window() {
    register_window_class(kClassName, setup_window_proc, true);
    HWND window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kClassName, L"Lumarek",
                                  WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 570, 304, nullptr,
                                  nullptr, g_ui.instance, nullptr);
    if (window == nullptr) return false;
    g_setup.window = window;
    create_controls(window);
    place_controls();
    apply_setup_texts();
    center_window(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}
