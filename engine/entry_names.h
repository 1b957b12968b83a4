// Entry names as the archive stores them, decoded to UTF-16 and otherwise left unchanged.
#pragma once

#include <wchar.h>

#include "engine/engine_api.h"

// The engine's wide name when it has one that is not empty; otherwise its UTF-8 name decoded into
// buffer (PATH_CAPACITY units). nullptr when the entry has neither, or the UTF-8 name is not valid
// UTF-8 or does not fit.
const wchar_t* entry_name(struct archive_entry* entry, wchar_t* buffer);

// ".", "./" or ".\": the entry that stands for the archive's root, never listed or created.
bool is_root_entry(const wchar_t* name);
