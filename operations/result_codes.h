// Outcomes of operations and their messages in both languages.
#pragma once

#include <stdint.h>

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

// The message shown for a code; codes without a message of their own (OK, CANCELED and any
// value outside the table) give the message of RESULT_ARCHIVE_ERROR.
const wchar_t* result_message(int32_t code, bool polish);
