#include "window_fixture.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "common/ui.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"
#include "test_support.h"

void prepare_program_once() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    // No preferences or profiles of an earlier run: the test's own empty local data folder.
    std::wstring folder = make_scratch_folder(L"window-data");
    SetEnvironmentVariableW(L"LOCALAPPDATA", folder.c_str());
    startup_prepare();
}

std::wstring preferences_file() {
    wchar_t folder[4096] = {};
    GetEnvironmentVariableW(L"LOCALAPPDATA", folder, 4096);
    return std::wstring(folder) + L"\\LumarekPreferences.dat";
}

void close_main_window() {
    if (g_app.main != nullptr && IsWindow(g_app.main)) DestroyWindow(g_app.main);
    // The quit message of the destroyed window must not end a later message loop of the test.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}

HWND open_main_window(bool polish, uint32_t startup_view) {
    prepare_program_once();
    close_main_window();
    bool engine_present = g_app.engine_present;
    g_app = AppState();
    g_app.engine_present = engine_present;
    preferences_default(&g_preferences);
    g_preferences.polish_ui = polish ? 1 : 0;
    g_preferences.startup_view = startup_view;
    HWND main = create_main_window();
    if (main != nullptr) {
        SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(main);
        pump_messages(50);
    }
    return main;
}

HWND nth_control(HWND main, int number) {
    HWND child = GetWindow(main, GW_CHILD);
    for (int i = 1; i < number && child != nullptr; ++i) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

void pump_messages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

SIZE client_size(HWND main) {
    RECT client;
    GetClientRect(main, &client);
    return SIZE{client.right, client.bottom};
}

void set_client_size(HWND main, int width, int height) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT outer;
        GetWindowRect(main, &outer);
        SIZE inner = client_size(main);
        if (inner.cx == width && inner.cy == height) return;
        SetWindowPos(main, nullptr, 0, 0, (outer.right - outer.left) + width - inner.cx,
                     (outer.bottom - outer.top) + height - inner.cy, SWP_NOMOVE | SWP_NOZORDER);
        pump_messages(20);
    }
}

RECT child_rect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), (POINT*)&rect, 2);
    return rect;
}

bool has_style(HWND window, DWORD bits) {
    return ((DWORD)GetWindowLongW(window, GWL_STYLE) & bits) == bits;
}

std::wstring text_of(HWND window) {
    wchar_t text[4096];
    int length = GetWindowTextW(window, text, 4096);
    return std::wstring(text, length);
}

std::wstring combo_item(HWND combo, int index) {
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length < 0) return L"(none)";
    std::wstring text(length + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, (LPARAM)&text[0]);
    text.resize(length);
    return text;
}

std::wstring column_title(HWND list, int column) {
    wchar_t title[256] = {};
    LVCOLUMNW info = {};
    info.mask = LVCF_TEXT;
    info.pszText = title;
    info.cchTextMax = 256;
    if (!SendMessageW(list, LVM_GETCOLUMNW, column, (LPARAM)&info)) return L"(none)";
    return title;
}

std::wstring list_cell(HWND list, int row, int column) {
    wchar_t text[4096] = {};
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 4096;
    SendMessageW(list, LVM_GETITEMTEXTW, row, (LPARAM)&cell);
    return text;
}

void press(HWND main, int id) {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(main, id));
}

const ViewButton VIEW_BUTTONS[8] = {{100, L"0-contents"}, {105, L"1-new-archive"}, {104, L"2-settings"},
                                    {118, L"3-profiles"}, {132, L"4-queue"},       {138, L"5-help"},
                                    {139, L"6-about"},    {140, L"7-contact"}};

void type_key(WORD key) {
    SetForegroundWindow(GetAncestor(GetFocus(), GA_ROOT));
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = key;
    keys[1].type = INPUT_KEYBOARD;
    keys[1].ki.wVk = key;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

static void CALLBACK end_loop(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(LOOP_TIMED_OUT);
}

int run_message_loop_for(HWND main, UINT milliseconds) {
    UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, end_loop);
    int code = run_message_loop(main);
    KillTimer(nullptr, timer);
    return code;
}

void MainWindowTest::SetUp() {
    main_ = open_main_window(false);
    ASSERT_NE(nullptr, main_);
}

void MainWindowTest::TearDown() {
    if (g_app.busy) set_busy(false);
    InterlockedExchange(&g_slot.cancel_requested, 0);
}

std::wstring MainWindowTest::status() {
    return text_of(nth_control(main_, N_STATUS));
}

std::wstring MainWindowTest::hint() {
    return text_of(nth_control(main_, N_HINT));
}
