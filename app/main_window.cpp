#include "app/main_window.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <stdio.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/layout.h"
#include "app/queue_view.h"
#include "app/texts.h"
#include "app/views.h"
#include "common/ui.h"
#include "operations/operation.h"

AppState g_app;

HWND operation_window() {
    return g_app.main;
}

bool engine_present() {
    return g_app.engine_present;
}

const wchar_t* window_archive_path() {
    return g_app.archive_path;
}

const EntryList* window_entries() {
    return &g_app.entries;
}

wchar_t* const* window_sources(uint32_t* count) {
    *count = g_app.source_count;
    return g_app.sources;
}

void register_main_window_class() {
    register_window_class(MAIN_WINDOW_CLASS, main_window_proc, true);
}

static bool cancel_requested() {
    return InterlockedCompareExchange(&g_slot.cancel_requested, 0, 0) != 0;
}

// Progress is dropped once cancel was requested, so "Canceling…" stays until the operation ends.
// The queue keeps its per-archive line instead of item counts.
static void on_progress_items(WPARAM count) {
    if (!g_app.busy || g_slot.kind == OP_EXTRACT_QUEUE || cancel_requested()) return;
    wchar_t text[120];
    wchar_t digits[DECIMAL_CAPACITY];
    text_copy(text, 120, ui_text(L"Processing items: ", L"Przetwarzanie elementów: "));
    format_decimal(digits, (uint32_t)count);
    text_append(text, 120, digits);
    set_status(text);
}

// -1 (unknown total) runs the marquee, started once; a value of 0 or more stops it and shows it.
static void on_progress_percent(WPARAM value) {
    if (!g_app.busy || cancel_requested()) return;
    HWND bar = control(CTL_PROGRESS);
    LONG style = GetWindowLongW(bar, GWL_STYLE);
    int32_t percent = (int32_t)value;
    if (percent < 0) {
        if (style & PBS_MARQUEE) return;
        SetWindowLongW(bar, GWL_STYLE, style | PBS_MARQUEE);
        SendMessageW(bar, PBM_SETMARQUEE, TRUE, 42);
        return;
    }
    if (style & PBS_MARQUEE) {
        SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        SetWindowLongW(bar, GWL_STYLE, style & ~PBS_MARQUEE);
    }
    SendMessageW(bar, PBM_SETPOS, (WPARAM)percent, 0);
}

static void on_queue_item_started(WPARAM index) {
    wchar_t text[160];
    swprintf_s(text, 160, ui_text(L"Extracting archive %u of %u…", L"Rozpakowywanie archiwum %u z %u…"),
               (uint32_t)index + 1, g_queue.count);
    if (!cancel_requested()) set_status(text);
}

static void on_queue_item_done(WPARAM index, LPARAM code) {
    if (index >= g_queue.count) return;
    QueueItem* item = &g_queue.items[index];
    queue_item_finished(item, (int32_t)code);
    set_list_cell(control(CTL_QUEUE_LIST), (uint32_t)index, 1, queue_status_text(item));
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (control(CTL_TITLE) != nullptr) layout_main_window();
        return 0;
    case WM_CLOSE:
        if (g_app.busy)
            on_command(CMD_CANCEL, 0, 0);
        else
            DestroyWindow(window);
        return 0;
    case WM_GETMINMAXINFO:
        ((MINMAXINFO*)lparam)->ptMinTrackSize.x = MIN_TRACK_WIDTH;
        ((MINMAXINFO*)lparam)->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
        return 0;
    case WM_HELP:
        if (!g_app.busy) show_view(VIEW_HELP);
        return 1;
    case WM_COMMAND:
        on_command(LOWORD(wparam), HIWORD(wparam), lparam);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetTextColor((HDC)wparam, TEXT_COLOR);
        SetBkColor((HDC)wparam, BACKGROUND_COLOR);
        return (LRESULT)g_ui.background_brush;
    case WM_DROPFILES:
        on_drop_files((HDROP)wparam);
        return 0;
    }
    if (message == WM_APP_OPERATION_DONE) {
        on_operation_done();
        return 0;
    }
    if (message == WM_APP_PROGRESS_ITEMS) {
        on_progress_items(wparam);
        return 0;
    }
    if (message == WM_APP_PROGRESS_PERCENT) {
        on_progress_percent(wparam);
        return 0;
    }
    if (message == WM_APP_QUEUE_ITEM_STARTED) {
        on_queue_item_started(wparam);
        return 0;
    }
    if (message == WM_APP_QUEUE_ITEM_DONE) {
        on_queue_item_done(wparam, lparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
