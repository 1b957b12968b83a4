// The ZIP profiles view: the saved-profile list and the profile fields.
#pragma once

#include <stdint.h>

#define NEW_PROFILE_PATTERN L"{folder}_{date}"

// Refills the saved-profile list ("(New profile)" first, then every stored name), selects the row
// and enables Delete profile only for a stored profile while nothing runs.
void fill_profile_list(int32_t row);

// Loads the selected profile (or the new-profile values) into the fields and drops any preview.
void load_profile_fields();

// Drops the file preview: Create ZIP is disabled until a new preview is made.
void clear_profile_preview();
