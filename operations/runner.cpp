#include "common/memory.h"
#include "operations/create.h"
#include "operations/extract.h"
#include "operations/extraction_queue_run.h"
#include "operations/listing.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "profiles/profile_scan.h"
#include "profiles/profile_zip.h"
#include "settings/language.h"

OperationSlot g_slot;

void operation_release_inputs() {
    mem_free(g_slot.selection);
    g_slot.selection = nullptr;
    SecureZeroMemory(g_slot.password, sizeof(g_slot.password));
}

void operation_start(OperationKind kind) {
    if (!engine_present()) {
        operation_release_inputs();
        report_error_code(RESULT_ENGINE_MISSING);
        return;
    }
    g_slot.kind = kind;
    InterlockedExchange(&g_slot.cancel_requested, 0);
    progress_restart();
    ZeroMemory(&g_slot.result, sizeof(g_slot.result));
    g_slot.result.code = RESULT_OK;
    g_slot.result.cancel_flag = &g_slot.cancel_requested;
    g_slot.result.on_items = progress_items_hook;
    g_slot.result.on_percent = progress_percent_hook;

    set_busy(true);
    set_status(ui_text(L"Working…", L"Operacja w toku…"));
    HANDLE thread = CreateThread(nullptr, 0, operation_worker, nullptr, 0, nullptr);
    if (thread != nullptr) {
        // The thread is never joined: it ends by posting its completion message.
        CloseHandle(thread);
        return;
    }
    set_busy(false);
    operation_release_inputs();
    g_slot.result.code = RESULT_IO_ERROR;
    report_error();
}

DWORD WINAPI operation_worker(void*) {
    switch (g_slot.kind) {
    case OP_OPEN_ARCHIVE:
        list_archive(g_slot.target_path, g_slot.password, &g_slot.pending_listing, &g_slot.result);
        break;
    case OP_EXTRACT:
        extract_archive(g_slot.archive_path, g_slot.password, g_slot.target_path, g_slot.listing, g_slot.selection,
                        &g_slot.result);
        break;
    case OP_TEST:
        test_archive(g_slot.archive_path, g_slot.password, &g_slot.result);
        break;
    case OP_CREATE:
        create_archive(g_slot.target_path, g_slot.sources, g_slot.source_count, g_slot.format, g_slot.compression_level,
                       g_slot.password, &g_slot.result);
        break;
    case OP_EXTRACT_QUEUE:
        run_extraction_queue(g_slot.queue, g_slot.queue_output_folder, g_slot.extract_beside_archives, &g_slot.result);
        break;
    case OP_PROFILE_PREVIEW:
        preview_profile_files(&g_slot.profile_copy, g_slot.zip_path, &g_slot.profile_files, &g_slot.result);
        break;
    case OP_PROFILE_ZIP:
        create_profile_zip(g_slot.zip_path, g_slot.profile_copy.source_folder, &g_slot.profile_files,
                           g_slot.compression_level, &g_slot.result);
        break;
    default:
        // A kind without a body has done nothing, which must not pass for a success.
        g_slot.result.code = RESULT_ARCHIVE_ERROR;
        break;
    }
    PostMessageW(operation_window(), WM_APP_OPERATION_DONE, 0, 0);
    return 0;
}
