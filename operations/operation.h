// The one operation slot shared by the window and the worker, the operation kinds, the runner and
// the window messages through which operations report.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "common/operation_result.h"
#include "common/text.h"
#include "operations/entry_list.h"
#include "operations/extraction_queue.h"
#include "profiles/profile_store.h"

const uint32_t PASSWORD_CAPACITY = 512;
const uint32_t ERROR_TEXT_CAPACITY = 1000;
// The least time between two percentages, and between two item counts past 15.
const uint64_t PERCENT_POST_INTERVAL_MS = 50;
const uint64_t ITEMS_POST_INTERVAL_MS = 50;

// Each kind is also the command identifier of the button that starts it. Any other value runs no
// body: the worker only reports completion, and never as a success.
enum OperationKind : int32_t {
    OP_OPEN_ARCHIVE = 101,
    OP_EXTRACT = 102,
    OP_TEST = 103,
    OP_CREATE = 109,
    OP_PROFILE_PREVIEW = 130,
    OP_PROFILE_ZIP = 131,
    OP_EXTRACT_QUEUE = 135,
};

// Posted to the main window. OPERATION_DONE: once, after the body returned. PROGRESS_ITEMS: wParam
// the count of items. PROGRESS_PERCENT: wParam 0-100, or -1 (sign-extended) for an unknown total.
// QUEUE_ITEM_STARTED: wParam the queue index. QUEUE_ITEM_DONE: wParam the index, lParam its code.
const UINT WM_APP_OPERATION_DONE = WM_APP + 16;
const UINT WM_APP_PROGRESS_ITEMS = WM_APP + 17;
const UINT WM_APP_PROGRESS_PERCENT = WM_APP + 18;
const UINT WM_APP_QUEUE_ITEM_STARTED = WM_APP + 19;
const UINT WM_APP_QUEUE_ITEM_DONE = WM_APP + 20;

// Handed over, not locked: the user-interface thread writes every input of the kind before the start
// and reads the outputs after WM_APP_OPERATION_DONE; the worker reads nothing but the slot. Only
// cancel_requested is shared while the worker runs, and only through interlocked operations. The
// pointers name the window's own data, which it leaves alone while busy.
struct OperationSlot {
    OperationKind kind;
    volatile LONG cancel_requested;
    uint32_t last_items_posted;
    uint64_t last_items_time;
    int32_t last_percent_posted;
    uint64_t last_percent_time;
    wchar_t target_path[PATH_CAPACITY];
    wchar_t password[PASSWORD_CAPACITY];
    const wchar_t* archive_path;  // the open archive (extract, test)
    const EntryList* listing;     // its listing (extract)
    wchar_t* const* sources;      // the new archive's sources (create)
    uint32_t source_count;
    uint32_t format;  // ArchiveFormat of a new archive
    int32_t compression_level;
    uint8_t* selection;  // one byte per entry of the listing, or none
    EntryList pending_listing;
    const ExtractionQueue* queue;        // the queue to run: its items, in order
    const wchar_t* queue_output_folder;  // where each archive's new folder is made
    bool extract_beside_archives;        // instead, each archive's own folder
    Profile profile_copy;                // the profile fields as read for the preview (preview, ZIP)
    wchar_t zip_path[PATH_CAPACITY];     // the ZIP they name, free when the fields were read
    EntryList profile_files;             // filled by the preview, packed by the ZIP; owned by the window after
    OperationResult result;
};

extern OperationSlot g_slot;

// User-interface thread, no operation running, the kind's inputs in place. Either the worker starts
// (busy state, "Working…", the outcome arrives as WM_APP_OPERATION_DONE) or the failure is reported
// at once.
void operation_start(OperationKind kind);

// The worker thread: runs the body of the slot's kind, then posts WM_APP_OPERATION_DONE.
DWORD WINAPI operation_worker(void* unused);

// Clears what an operation must not keep once it is over: all of the password and the selection.
void operation_release_inputs();

// The progress hooks of every operation, thinned so that a fast body cannot flood the window: item
// counts 1 to 15, then a multiple of 16 only when ITEMS_POST_INTERVAL_MS have passed since the
// last items message; percentages only when they change and at most one per interval, except that
// the first value and a change away from -1 go at once.
bool progress_items_hook(void* context, uint32_t count);
void progress_percent_hook(void* context, uint64_t done, uint64_t total);

// Forgets what the hooks posted, so that the next values are posted as the first ones: at every
// start, and for each archive of a queue run.
void progress_restart();

// Shows the message of the slot result's code (with its detail after a blank line) in an error
// box owned by the main window; the status line gets the message alone.
void report_error();

// The same for a failure outside any operation: the slot's result becomes the code alone (no detail,
// flag or hooks) before it is reported.
void report_error_code(int32_t code);
