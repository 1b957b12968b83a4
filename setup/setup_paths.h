// The paths the setup program works with, computed once at start-up.
#pragma once

#include <wchar.h>

#include "common/text.h"

struct SetupPaths {
    wchar_t start_menu_shortcut[PATH_CAPACITY];  // empty when the Programs folder is unknown
    wchar_t desktop_shortcut[PATH_CAPACITY];     // empty when the desktop folder is unknown
    wchar_t install_folder[PATH_CAPACITY];       // LOCALAPPDATA\Lumarek
    wchar_t program_path[PATH_CAPACITY];         // install_folder\Lumarek.exe
};

extern SetupPaths g_setup_paths;

// Fills g_setup_paths; false only when the install folder or the program path cannot be built.
bool compute_setup_paths();

// The maintenance copy's path, install_folder\Lumarek-Maintenance.exe.
bool maintenance_program_path(wchar_t* destination);
