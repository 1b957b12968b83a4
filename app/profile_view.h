// The ZIP profiles view: the saved-profile list and the profile fields.
#pragma once

#include <stdint.h>

#define NEW_PROFILE_PATTERN L"{folder}_{date}"

// Refills the saved-profile list ("(New profile)" first, then every stored name), selects the row
// and enables Delete profile only for a stored profile while nothing runs.
void fill_profile_list(int32_t row);

// Loads the selected profile (or the new-profile values) into the fields and drops any preview.
void load_profile_fields();

// Drops the file preview (the preview's list freed, the target line and the file list emptied):
// Create ZIP is disabled until a new preview is made.
void clear_profile_preview();

// Shows the finished preview: its files in the file list, the ZIP's path in the target line, the
// count in the status line; Create ZIP is enabled. When the list refuses a row the preview is
// dropped and the lack of memory reported.
void show_profile_preview();
