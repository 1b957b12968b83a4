#include "app/operation_window.h"

#include <commctrl.h>
#include <stdio.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/layout.h"
#include "app/queue_view.h"
#include "app/status_line.h"
#include "common/ui.h"
#include "operations/operation.h"
#include "settings/language.h"

HWND operation_window() {
    return g_app.main;
}

bool engine_present() {
    return g_app.engine_present;
}

static const ControlRole DISABLED_WHILE_BUSY[] = {
    CTL_OPEN_ARCHIVE,
    CTL_EXTRACT,
    CTL_TEST,
    CTL_ADD_FILES,
    CTL_ADD_FOLDER,
    CTL_REMOVE_SOURCES,
    CTL_CREATE_ARCHIVE,
    CTL_FORMAT_LIST,
    CTL_COMPRESSION_LIST,
    CTL_PASSWORD,
    CTL_CONTENTS_LIST,
    CTL_SOURCES_LIST,
    CTL_TAB_CONTENTS,
    CTL_TAB_NEW_ARCHIVE,
    CTL_TAB_PROFILES,
    CTL_TAB_QUEUE,
    CTL_SETTINGS,
    CTL_HELP,
    CTL_ABOUT,
    CTL_CONTACT,
    CTL_SAVED_PROFILE_LIST,
    CTL_PROFILE_NAME,
    CTL_SOURCE_FOLDER,
    CTL_EXTENSIONS,
    CTL_SKIP_FOLDERS,
    CTL_DESTINATION,
    CTL_PATTERN,
    CTL_BROWSE_SOURCE,
    CTL_BROWSE_DESTINATION,
    CTL_SAVE_PROFILE,
    CTL_PREVIEW_FILES,
    CTL_CREATE_ZIP,
    CTL_PREVIEW_LIST,
    CTL_ADD_ARCHIVES,
    CTL_REMOVE_QUEUED,
    CTL_EXTRACT_QUEUE,
    CTL_OPEN_PREVIEW,
    CTL_OPEN_OUTPUT,
    CTL_QUEUE_LIST,
};

void set_busy(bool busy) {
    g_app.busy = busy;
    for (ControlRole role : DISABLED_WHILE_BUSY) EnableWindow(control(role), !busy);

    EnableWindow(control(CTL_PASSWORD), !busy && password_allowed());
    int32_t row = (int32_t)SendMessageW(control(CTL_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
    EnableWindow(control(CTL_DELETE_PROFILE), !busy && row > 0 && row < (int32_t)g_profile_store.count + 1);
    EnableWindow(control(CTL_CREATE_ZIP), !busy && g_app.preview_ready);

    HWND cancel = control(CTL_CANCEL);
    ShowWindow(cancel, busy ? SW_SHOW : SW_HIDE);
    EnableWindow(cancel, TRUE);

    // Every operation starts with a moving marquee until its first percentage arrives.
    HWND progress = control(CTL_PROGRESS);
    ShowWindow(progress, busy ? SW_SHOW : SW_HIDE);
    SendMessageW(progress, PBM_SETMARQUEE, FALSE, 0);
    SetWindowLongW(progress, GWL_STYLE, GetWindowLongW(progress, GWL_STYLE) | PBS_MARQUEE);
    if (busy) SendMessageW(progress, PBM_SETMARQUEE, TRUE, 42);

    layout_main_window();
}

static bool cancel_requested() {
    return InterlockedCompareExchange(&g_slot.cancel_requested, 0, 0) != 0;
}

// Progress is dropped once cancel was requested, so "Canceling…" stays until the operation ends.
// The queue keeps its per-archive line instead of item counts.
void on_progress_items(WPARAM count) {
    if (!g_app.busy || g_slot.kind == OP_EXTRACT_QUEUE || cancel_requested()) return;
    wchar_t text[120];
    wchar_t digits[DECIMAL_CAPACITY];
    text_copy(text, 120, ui_text(L"Processing items: ", L"Przetwarzanie elementów: "));
    format_decimal(digits, (uint32_t)count);
    text_append(text, 120, digits);
    set_status(text);
}

// -1 (unknown total) runs the marquee, started once; a value of 0 or more stops it and shows it.
void on_progress_percent(WPARAM value) {
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

void on_queue_item_started(WPARAM index) {
    wchar_t text[160];
    swprintf_s(text, 160, ui_text(L"Extracting archive %u of %u…", L"Rozpakowywanie archiwum %u z %u…"),
               (uint32_t)index + 1, g_queue.count);
    if (!cancel_requested()) set_status(text);
}

void on_queue_item_done(WPARAM index, LPARAM code) {
    if (index >= g_queue.count) return;
    QueueItem* item = &g_queue.items[index];
    queue_item_finished(item, (int32_t)code);
    set_list_cell(control(CTL_QUEUE_LIST), (uint32_t)index, 1, queue_status_text(item));
}
