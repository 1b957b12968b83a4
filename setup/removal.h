// Removing the installation, and the clean-up of the maintenance copy after the program has exited.
#pragma once

#include <stdint.h>
#include <wchar.h>
#include <windows.h>

// Units of the clean-up's parameter text; the text for any process id fits.
const uint32_t CLEANUP_PARAMETERS_CAPACITY = 768;

// Deletes the program file, the shortcuts and the installed-apps entry, in that order; the first
// failing step ends it. What is already gone counts as deleted.
bool remove_installation();

// The parameters of the hidden PowerShell that waits for the process, deletes the maintenance copy
// and then the install folder if nothing else is in it.
bool cleanup_parameters(wchar_t* destination, uint32_t capacity, uint64_t process_id);

// Starts that PowerShell from the system folder for this process; nothing is reported.
void schedule_self_cleanup(HWND owner);
