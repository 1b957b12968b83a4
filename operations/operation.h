// The one operation slot shared by the window and the worker, and the outcome record.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "common/text.h"
#include "operations/result_codes.h"

const uint32_t DETAIL_CAPACITY = 384;
const uint32_t PASSWORD_CAPACITY = 512;
const uint32_t ERROR_TEXT_CAPACITY = 1000;

// Each kind is also the command identifier of the button that starts it.
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

typedef bool (*ItemsHook)(void* context, uint32_t count);
typedef void (*PercentHook)(void* context, uint64_t done, uint64_t total);

struct OperationResult {
    int32_t code;
    wchar_t detail[DETAIL_CAPACITY];
    volatile LONG* cancel_flag;
    ItemsHook on_items;
    PercentHook on_percent;
    void* context;
};

struct OperationSlot {
    int32_t kind;
    volatile LONG cancel_requested;
    uint32_t last_items_posted;
    int32_t last_percent_posted;
    uint64_t last_percent_time;
    wchar_t target_path[PATH_CAPACITY];
    wchar_t password[PASSWORD_CAPACITY];
    int32_t compression_level;
    uint8_t* selection;
    OperationResult result;
};

extern OperationSlot g_slot;

// Shows the message of the slot result's code (with its detail after a blank line) in an error
// box owned by the main window; the status line gets the message alone.
void report_error();
