// Choosing folders: the shell's folder browser and the folder fields of the window.
#pragma once

#include <stdint.h>
#include <windows.h>

// The folder browser over the main window (file-system folders only, the new dialog style) with
// the title. True with the chosen folder in the buffer (at least MAX_PATH units).
bool browse_for_folder(wchar_t* buffer, const wchar_t* title);

// The field's text as a full path of an existing folder (PATH_CAPACITY units), without trailing
// backslashes except a drive root's. False for an empty field, a text longer than a path can be, or
// anything that is not a folder.
bool read_folder_field(HWND edit, wchar_t* buffer);
