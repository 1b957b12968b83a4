#include "operations/extraction_queue_run.h"

#include <windows.h>

#include "common/path.h"
#include "operations/extract.h"
#include "operations/extract_folder.h"
#include "operations/operation.h"
#include "operations/window_seams.h"

static bool cancel_requested(const OperationResult* result) {
    return result->cancel_flag != nullptr && InterlockedCompareExchange(result->cancel_flag, 0, 0) != 0;
}

// The item's code, or RESULT_CANCELED when the run must stop here.
static int32_t extract_item(const QueueItem* item, const wchar_t* output_folder, bool beside_archives,
                            const OperationResult* run) {
    wchar_t parent[PATH_CAPACITY];
    if (!beside_archives || !path_parent(parent, PATH_CAPACITY, item->path))
        text_copy(parent, PATH_CAPACITY, output_folder);
    // Its own outcome, with the run's cancel flag and hooks; the progress starts afresh.
    OperationResult result = *run;
    result.code = RESULT_OK;
    result.detail[0] = 0;
    progress_restart();
    wchar_t target[PATH_CAPACITY];
    if (parent[0] == 0 || !extract_folder_for(item->path, parent, target)) return RESULT_IO_ERROR;
    extract_archive(item->path, L"", target, nullptr, nullptr, &result);
    return result.code;
}

void run_extraction_queue(const ExtractionQueue* queue, const wchar_t* output_folder, bool beside_archives,
                          OperationResult* result) {
    // The count is read again after every item; the window changes neither it nor the paths while
    // the run lasts, and writes an item's status only once its DONE message arrived.
    for (uint32_t i = 0; i < queue->count; ++i) {
        const QueueItem* item = &queue->items[i];
        if (item->status == QUEUE_EXTRACTED) continue;
        if (cancel_requested(result)) {
            result->code = RESULT_CANCELED;
            return;
        }
        PostMessageW(operation_window(), WM_APP_QUEUE_ITEM_STARTED, i, 0);
        int32_t code = extract_item(item, output_folder, beside_archives, result);
        if (code == RESULT_CANCELED) {
            result->code = RESULT_CANCELED;
            return;
        }
        PostMessageW(operation_window(), WM_APP_QUEUE_ITEM_DONE, i, (LPARAM)code);
    }
}
