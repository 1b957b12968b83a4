// Path helpers over bounded UTF-16 texts.
#pragma once

#include <stdint.h>
#include <wchar.h>

// Folder, one "\" unless the folder is empty or already ends in "\", then the name.
bool path_join(wchar_t* destination, uint32_t capacity, const wchar_t* folder, const wchar_t* name);

// The position just after the last "\" or "/", the whole path without one.
const wchar_t* path_file_name(const wchar_t* path);

// The folder part: the separator is dropped unless the prefix is three units or shorter (C:\).
bool path_parent(wchar_t* destination, uint32_t capacity, const wchar_t* path);

// destination (PATH_CAPACITY units) := the full form of the path, resolved against the current
// folder when it is relative. False, with an empty destination, for an empty path or one whose full
// form does not fit.
bool path_absolute(wchar_t* destination, const wchar_t* path);

bool path_exists(const wchar_t* path);

// A directory; one that is a reparse point counts too.
bool path_is_directory(const wchar_t* path);

// A directory that is not a reparse point (no junction, mount point or symbolic link).
bool path_is_plain_directory(const wchar_t* path);

// The named file directly in the user's local application-data folder (LOCALAPPDATA).
bool local_data_path(wchar_t* destination, const wchar_t* file_name);
