#include "operations/operation_result.h"

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
