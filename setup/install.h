// Installing Lumarek for the current user: the carried program, the maintenance copy, the shortcuts
// and the installed-apps entry.
#pragma once

#include <wchar.h>

// The complete Lumarek program, carried by the setup program as an RT_RCDATA resource.
const int PROGRAM_RESOURCE_ID = 101;

// The platform's archive engine can be loaded from the system folder (probed, never called).
bool archive_engine_present();

// Steps 2 to 4 of an installation are all attempted once the files are in place; *complete tells
// whether every shortcut and the installed-apps entry were made too. False when the files failed.
bool install(bool desktop_shortcut_wanted, bool* complete);

// The install folder (a plain folder, created when missing), the program written from the resource
// and the maintenance copy.
bool install_files();

// Copies the running program's own file over the target through a temporary sibling. When the
// target already is the running file (under any spelling of its path) nothing is copied.
bool copy_self_atomically(const wchar_t* target);
