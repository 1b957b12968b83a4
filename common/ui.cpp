#include "common/ui.h"

#include <commctrl.h>
#include <objbase.h>

UiResources g_ui;

static HFONT make_font(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
}

void ui_init() {
    g_ui.instance = GetModuleHandleW(nullptr);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    g_ui.body_font = make_font(16, 400);
    g_ui.emphasis_font = make_font(16, 600);
    g_ui.title_font = make_font(31, 650);
    g_ui.background_brush = CreateSolidBrush(BACKGROUND_COLOR);
}

HWND create_child(HWND parent, const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style,
                  int32_t id) {
    HWND child = CreateWindowExW(ex_style, class_name, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                 (HMENU)(INT_PTR)id, g_ui.instance, nullptr);
    SendMessageW(child, WM_SETFONT, (WPARAM)g_ui.body_font, TRUE);
    return child;
}

bool register_window_class(const wchar_t* class_name, WNDPROC procedure, bool with_icon) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = g_ui.instance;
    if (with_icon) window_class.hIcon = LoadIconW(g_ui.instance, MAKEINTRESOURCEW(1));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = g_ui.background_brush;
    window_class.lpszClassName = class_name;
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool set_text(HWND window, const wchar_t* text) {
    return SetWindowTextW(window, text) != 0;
}

bool move_child(HWND window, int x, int y, int width, int height) {
    return MoveWindow(window, x, y, width, height, TRUE) != 0;
}

LRESULT set_list_cell(HWND list, uint32_t row, int32_t column, const wchar_t* text) {
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = (wchar_t*)text;
    return SendMessageW(list, LVM_SETITEMTEXTW, row, (LPARAM)&cell);
}

void center_window(HWND window, HWND owner) {
    RECT reference = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr) GetWindowRect(owner, &reference);
    RECT own;
    GetWindowRect(window, &own);
    int x = reference.left + ((reference.right - reference.left) - (own.right - own.left)) / 2;
    int y = reference.top + ((reference.bottom - reference.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int32_t run_message_loop(HWND main_window) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return (int32_t)msg.wParam;
        if (got == -1) return 1;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && msg.hwnd == main_window) {
            SendMessageW(main_window, WM_CLOSE, 0, 0);
            continue;
        }
        if (IsDialogMessageW(main_window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
