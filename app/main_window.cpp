#include "app/main_window.h"

#include "app/app_state.h"
#include "common/text.h"
#include "common/ui.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"

AppState g_app;

HWND operation_window() {
    return g_app.main;
}

void set_status(const wchar_t* text) {
    // The status line keeps at most its capacity; a longer text is cut there.
    uint32_t length = text_length(text);
    if (length >= STATUS_CAPACITY) length = STATUS_CAPACITY - 1;
    CopyMemory(g_app.status_text, text, length * sizeof(wchar_t));
    g_app.status_text[length] = 0;
    if (g_app.status != nullptr) set_text(g_app.status, g_app.status_text);
}

void set_busy(bool busy) {
    g_app.busy = busy;
}

bool engine_present() {
    return g_app.engine_present;
}

void on_operation_done() {
    set_busy(false);
    operation_release_inputs();
    int32_t code = g_slot.result.code;
    if (code == RESULT_CANCELED) {
        set_status(g_preferences.polish_ui ? L"Anulowano operację." : L"Operation canceled.");
        return;
    }
    if (code != RESULT_OK) {
        report_error();
        return;
    }
    if (g_slot.kind == OP_OPEN_ARCHIVE) {
        // The worker's listing becomes the open archive's.
        entry_list_free(&g_app.entries);
        g_app.entries = g_slot.pending_listing;
        ZeroMemory(&g_slot.pending_listing, sizeof(g_slot.pending_listing));
        text_copy(g_app.archive_path, PATH_CAPACITY, g_slot.target_path);
    }
}

void register_main_window_class() {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = g_ui.instance;
    window_class.hIcon = LoadIconW(g_ui.instance, MAKEINTRESOURCEW(1));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = g_ui.background_brush;
    window_class.lpszClassName = MAIN_WINDOW_CLASS;
    RegisterClassExW(&window_class);
}

void create_main_controls(HWND main) {
    g_app.status = create_child(main, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0);
}

void layout_main_window(HWND main) {
    if (g_app.status == nullptr) return;
    RECT client;
    GetClientRect(main, &client);
    move_child(g_app.status, 24, client.bottom - 34, client.right - 48, 22);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        layout_main_window(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetTextColor((HDC)wparam, TEXT_COLOR);
        SetBkColor((HDC)wparam, BACKGROUND_COLOR);
        return (LRESULT)g_ui.background_brush;
    case WM_APP_OPERATION_DONE:
        on_operation_done();
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
