// The one operation slot shared by the window and the worker, and the outcome record.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "common/text.h"
#include "operations/result_codes.h"

const uint32_t DETAIL_CAPACITY = 384;
const uint32_t PASSWORD_CAPACITY = 512;
const uint32_t ERROR_TEXT_CAPACITY = 1000;

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
