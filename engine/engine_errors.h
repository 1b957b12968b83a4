// Engine failures turned into result codes, with the engine's own words as the detail.
#pragma once

#include "common/operation_result.h"
#include "engine/engine_api.h"

// Sets the code from the engine's current error text (unsupported encryption, password, a failed
// write of the engine's output, or any other archive error) and converts that text into the
// detail, cut to the field when it is longer. Without any text: RESULT_ARCHIVE_ERROR and the
// detail unchanged. Always false, so that a caller can fail and record in one step.
bool record_engine_error(OperationResult* result, struct archive* archive);
