#include "common/operation_result.h"

#include "common/text.h"

bool operation_should_continue(OperationResult* result, uint32_t count) {
    if (result->cancel_flag != nullptr && InterlockedCompareExchange(result->cancel_flag, 0, 0) != 0) {
        result->code = RESULT_CANCELED;
        return false;
    }
    if (result->on_items != nullptr && !result->on_items(result->context, count)) {
        result->code = RESULT_CANCELED;
        return false;
    }
    return true;
}

bool record_failure(OperationResult* result, int32_t code, const wchar_t* detail) {
    result->code = code;
    if (detail == nullptr || !text_copy(result->detail, DETAIL_CAPACITY, detail)) result->detail[0] = 0;
    return false;
}

bool record_failure_cut(OperationResult* result, int32_t code, const wchar_t* detail) {
    result->code = code;
    uint32_t length = 0;
    for (; detail != nullptr && detail[length] != 0 && length < DETAIL_CAPACITY - 1; ++length)
        result->detail[length] = detail[length];
    result->detail[length] = 0;
    return false;
}
