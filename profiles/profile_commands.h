// The commands of the ZIP profiles view: reading the fields into a profile, saving and deleting
// it, the preview and Create ZIP, and the two Browse… buttons (declared with the other commands in
// app/commands.h).
#pragma once

#include <wchar.h>

#include "profiles/profile_store.h"

// Fills the zeroed record from the fields (the folders as full paths of existing folders) and
// works out the ZIP path it names (PATH_CAPACITY units). False, with the reason in the status
// line, when a folder is missing or the name pattern gives no valid, free ZIP name.
bool read_profile_fields(Profile* record, wchar_t* zip_path);
