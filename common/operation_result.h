// The outcome record every operation body fills: its result code and detail, the hooks through which
// it reports progress, and the continue check of its loops.
#pragma once

#include <stdint.h>
#include <windows.h>

enum ResultCode : int32_t {
    RESULT_OK = 0,
    RESULT_ENGINE_MISSING = 1,
    RESULT_ARCHIVE_ERROR = 2,
    RESULT_IO_ERROR = 3,
    RESULT_OUT_OF_MEMORY = 4,
    RESULT_PASSWORD_REQUIRED = 5,
    RESULT_UNSUPPORTED_ENCRYPTION = 6,
    RESULT_UNSAFE_PATH = 7,
    RESULT_OUTPUT_EXISTS = 8,
    RESULT_CANCELED = 9,
    RESULT_DUPLICATE_NAME = 10,
    RESULT_LINK_OR_CLOUD_SOURCE = 11,
    RESULT_NO_MATCHING_FILES = 12,
    RESULT_FILES_CHANGED = 13,
};

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

// Sets the code and the detail: the path or name the failure concerns when it fits whole, otherwise
// (or without one) an empty detail. Always false, so that a caller can fail and record in one step.
bool record_failure(OperationResult* result, int32_t code, const wchar_t* detail);

// The same, but a detail too long for the record is cut to its first DETAIL_CAPACITY - 1 units
// instead of being left out.
bool record_failure_cut(OperationResult* result, int32_t code, const wchar_t* detail);
