// Reading an archive's listing: every entry header once, in the archive's own order.
#pragma once

#include "common/operation_result.h"
#include "operations/entry_list.h"

// Fills the (empty) list with every entry of the archive except the one that stands for its root
// (".", "./", ".\"); entry data is skipped, never read. True when the whole archive was read; on
// any failure or cancel the list is empty again and the result holds the code (and, for an engine
// failure, the engine's text).
bool list_archive(const wchar_t* archive_path, const wchar_t* password, EntryList* list, OperationResult* result);
