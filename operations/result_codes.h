// The messages of the result codes, in both languages.
#pragma once

#include <stdint.h>

#include "common/operation_result.h"

// The message shown for a code in the interface language; codes without a message of their own
// (OK, CANCELED and any value outside the table) give the message of RESULT_ARCHIVE_ERROR.
const wchar_t* result_message(int32_t code);
