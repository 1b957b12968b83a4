// The app's entry in the current user's list of installed apps.
#pragma once

#include <wchar.h>

// Under HKEY_CURRENT_USER.
extern const wchar_t UNINSTALL_KEY[];

// Creates or opens the key and writes its seven values in order; stops at the first failure.
bool register_uninstall_entry(const wchar_t* maintenance_path);

// Deletes the key with everything below it; a key that is already gone counts as deleted.
bool delete_uninstall_entry();
