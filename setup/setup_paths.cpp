#include "setup/setup_paths.h"

#include <windows.h>

#include <shlobj.h>

#include "common/path.h"

SetupPaths g_setup_paths;

static const wchar_t kShortcutName[] = L"Lumarek.lnk";

// The user's shell folder joined with the shortcut's name; empty when either step fails.
static void shortcut_in(int folder_id, wchar_t* destination) {
    wchar_t folder[MAX_PATH];
    destination[0] = 0;
    if (SHGetFolderPathW(nullptr, folder_id, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return;
    if (!path_join(destination, PATH_CAPACITY, folder, kShortcutName)) destination[0] = 0;
}

bool compute_setup_paths() {
    SetupPaths* paths = &g_setup_paths;
    shortcut_in(CSIDL_PROGRAMS, paths->start_menu_shortcut);
    shortcut_in(CSIDL_DESKTOPDIRECTORY, paths->desktop_shortcut);
    paths->program_path[0] = 0;
    return local_data_path(paths->install_folder, L"Lumarek") &&
           path_join(paths->program_path, PATH_CAPACITY, paths->install_folder, L"Lumarek.exe");
}

bool maintenance_program_path(wchar_t* destination) {
    return path_join(destination, PATH_CAPACITY, g_setup_paths.install_folder, L"Lumarek-Maintenance.exe");
}
