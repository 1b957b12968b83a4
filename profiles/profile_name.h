// The path of the ZIP a profile makes: its name pattern expanded ("{folder}" the source folder's
// name, "{date}" today's local date as 2025-03-07), ".zip" added, and " (2)", " (3)", … inserted
// until the name is free in the destination folder.
#pragma once

#include <stdint.h>
#include <wchar.h>

#include "profiles/profile_store.h"

// The ZIP's file name, terminator included.
const uint32_t ZIP_NAME_CAPACITY = 256;

// The most candidates tried: the plain name and " (2)" to " (10000)".
const uint32_t MAX_NAME_NUMBER = 10000;

// Writes the first free candidate's full path into output (PATH_CAPACITY units). False when the
// pattern is invalid (an unknown or unclosed placeholder, a stray "}", an unsafe or too long name)
// or every candidate exists.
bool profile_zip_path(const Profile* profile, wchar_t* output);
