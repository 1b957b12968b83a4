// The main window as the operations see it: the runner's window functions (operation_window,
// engine_present, the busy state; the status line has a file of its own) and the handlers of the
// worker's progress messages.
#pragma once

#include <windows.h>

// WM_APP_PROGRESS_ITEMS: "Processing items: n" on the status line.
void on_progress_items(WPARAM count);

// WM_APP_PROGRESS_PERCENT: the progress bar's position, or its marquee for an unknown total.
void on_progress_percent(WPARAM value);

// WM_APP_QUEUE_ITEM_STARTED and WM_APP_QUEUE_ITEM_DONE: the queue's line and the item's row.
void on_queue_item_started(WPARAM index);
void on_queue_item_done(WPARAM index, LPARAM code);
