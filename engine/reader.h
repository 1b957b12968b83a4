// Opening an archive for reading through the engine, with every filter and format and the password.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "common/operation_result.h"
#include "engine/engine_api.h"

const size_t READ_BLOCK_SIZE = 65536;

// A reader positioned before the first header, freed by the caller with archive_read_free; or
// nullptr with the result's code set. An empty password adds no passphrase; the UTF-8 copy of a
// password given to the engine is wiped before this returns.
struct archive* open_reader(const wchar_t* archive_path, const wchar_t* password, OperationResult* result);
