// Contents view speed: opens an archive of many entries in the real main window, the way the user
// does, and prints the time from the start of the open operation to the filled list, the part of it
// spent filling the list, the memory the open archive takes (its listing and the list rows), the
// time to fill the list again, and the time to close the window with the rows against closing it
// with an empty list.
//
//   contents_view_bench.exe [entry count]        (default 100000; needs a display)
//
// The archive is written by a child run of this program, so that the memory figures of this
// process belong to the window and the open archive alone.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/contents_view.h"
#include "app/startup.h"
#include "engine/engine_api.h"
#include "many_entries.h"
#include "operations/operation.h"

static double seconds_since(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)(now.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

// Pumps the window's messages until the operation is over; *listed (when given) gets the moment
// the worker's completion message is taken from the queue.
static void pump_until_idle(LARGE_INTEGER* listed = nullptr) {
    while (g_app.busy) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_APP_OPERATION_DONE && listed != nullptr) QueryPerformanceCounter(listed);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (g_app.busy) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// What the listing itself holds: its record block and the entry names.
static size_t listing_bytes(const EntryList* list) {
    size_t bytes = (size_t)list->capacity * sizeof(ListEntry);
    for (uint32_t i = 0; i < list->count; ++i) bytes += (wcslen(list->items[i].name) + 1) * sizeof(wchar_t);
    return bytes;
}

static PROCESS_MEMORY_COUNTERS memory_now() {
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    return memory;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && wcscmp(argv[1], L"--write") == 0) {
        if (!engine_bind()) return 2;
        return write_many_entries(argv[2], true, true, (uint32_t)_wtoi(argv[3])) ? 0 : 1;
    }
    uint32_t count = argc > 1 ? (uint32_t)_wtoi(argv[1]) : 100000;

    // The program's own start-up, with preferences and profiles of an empty data folder.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t data_folder[MAX_PATH];
    swprintf(data_folder, MAX_PATH, L"%lslumarek-view-bench-%lu", temp, GetCurrentProcessId());
    CreateDirectoryW(data_folder, nullptr);
    SetEnvironmentVariableW(L"LOCALAPPDATA", data_folder);
    startup_prepare();
    if (!g_app.engine_present) {
        fprintf(stderr, "no archive engine\n");
        return 2;
    }
    wchar_t archive[MAX_PATH];
    swprintf(archive, MAX_PATH, L"%lslumarek-view-bench-%lu.zip", temp, GetCurrentProcessId());
    wchar_t arguments[MAX_PATH + 64];
    swprintf(arguments, sizeof(arguments) / sizeof(arguments[0]), L"--write \"%ls\" %u", archive, count);
    if (!run_self_child(arguments)) {
        fprintf(stderr, "could not write the archive\n");
        return 1;
    }
    // Closing a window with an empty list, for comparison with closing one that shows the rows.
    if (create_main_window() == nullptr) {
        fprintf(stderr, "no main window\n");
        return 1;
    }
    pump_until_idle();
    LARGE_INTEGER empty_close_start;
    QueryPerformanceCounter(&empty_close_start);
    DestroyWindow(g_app.main);
    double empty_close_seconds = seconds_since(empty_close_start);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE)) {
    }
    if (create_main_window() == nullptr) {
        fprintf(stderr, "no main window\n");
        return 1;
    }
    pump_until_idle();

    PROCESS_MEMORY_COUNTERS before = memory_now();
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    open_archive_path(archive);
    LARGE_INTEGER listed = start;
    pump_until_idle(&listed);
    double open_seconds = seconds_since(start);
    double listing_seconds = open_seconds - seconds_since(listed);
    PROCESS_MEMORY_COUNTERS after = memory_now();
    HWND contents = control(CTL_CONTENTS_LIST);
    int rows = (int)SendMessageW(contents, LVM_GETITEMCOUNT, 0, 0);

    // The refill alone: the same rows rebuilt from the listing already in memory, the way opening
    // another archive or saving the settings does it. Its two halves are timed apart: deleting the
    // old rows (the list control's own work) and adding the new ones (the fill proper), which then
    // starts from an empty list.
    LARGE_INTEGER delete_start;
    QueryPerformanceCounter(&delete_start);
    SendMessageW(contents, WM_SETREDRAW, FALSE, 0);
    SendMessageW(contents, LVM_DELETEALLITEMS, 0, 0);
    double delete_seconds = seconds_since(delete_start);
    LARGE_INTEGER fill_start;
    QueryPerformanceCounter(&fill_start);
    fill_contents_list();
    double fill_seconds = seconds_since(fill_start);
    PROCESS_MEMORY_COUNTERS refilled = memory_now();

    printf("entries: %u, rows shown: %d, status: %ls\n", count, rows, g_app.status_text);
    printf(
        "open to filled list: %.3f s (%.0f entries/s), of which listing with its progress %.3f s; "
        "filling the list again alone: %.3f s (deleting the old rows %.3f s, adding the rows %.3f s)\n",
        open_seconds, count / open_seconds, listing_seconds, delete_seconds + fill_seconds, delete_seconds,
        fill_seconds);
    printf(
        "private memory: %.1f MB before, %.1f MB with the open archive (+%.1f MB, %.0f bytes per entry; the "
        "listing itself %.1f MB, the rest is the list control's rows); after filling again %.1f MB\n",
        megabytes(before.PagefileUsage), megabytes(after.PagefileUsage),
        megabytes(after.PagefileUsage - before.PagefileUsage),
        (double)(after.PagefileUsage - before.PagefileUsage) / count, megabytes(listing_bytes(&g_app.entries)),
        megabytes(refilled.PagefileUsage));
    printf("working set: %.1f MB before, %.1f MB after, peak %.1f MB\n", megabytes(before.WorkingSetSize),
           megabytes(after.WorkingSetSize), megabytes(refilled.PeakWorkingSetSize));

    LARGE_INTEGER close_start;
    QueryPerformanceCounter(&close_start);
    DestroyWindow(g_app.main);
    double close_seconds = seconds_since(close_start);
    printf("closing the window: %.3f s with the rows, %.3f s with an empty list (%+.3f s)\n", close_seconds,
           empty_close_seconds, close_seconds - empty_close_seconds);
    DeleteFileW(archive);
    RemoveDirectoryW(data_folder);
    return rows == (int)count && g_app.entries.count == count ? 0 : 1;
}
