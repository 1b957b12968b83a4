// The outcome record every operation body fills, with the hooks through which it reports progress
// and the continue check of its loops.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "operations/result_codes.h"

const uint32_t DETAIL_CAPACITY = 384;

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

// Polls the cancel flag, then the items hook, each only when given. False means stop; the code is
// then RESULT_CANCELED.
bool operation_should_continue(OperationResult* result, uint32_t count);
