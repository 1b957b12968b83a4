#include "setup/install.h"

#include <windows.h>

#include "common/file_io.h"
#include "common/path.h"
#include "common/text.h"
#include "setup/setup_paths.h"
#include "setup/shortcut.h"
#include "setup/uninstall_entry.h"

bool archive_engine_present() {
    HMODULE engine = LoadLibraryExW(L"archiveint.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (engine == nullptr) return false;
    FreeLibrary(engine);
    return true;
}

bool install(bool desktop_shortcut_wanted, bool* complete) {
    *complete = false;
    if (!install_files()) return false;
    const SetupPaths* paths = &g_setup_paths;
    bool start_menu = paths->start_menu_shortcut[0] != 0 && create_shortcut(paths->start_menu_shortcut);
    bool desktop =
        !desktop_shortcut_wanted || (paths->desktop_shortcut[0] != 0 && create_shortcut(paths->desktop_shortcut));
    wchar_t maintenance[PATH_CAPACITY];
    bool entry = maintenance_program_path(maintenance) && register_uninstall_entry(maintenance);
    *complete = start_menu && desktop && entry;
    return true;
}

// The carried program's bytes in this module; false when the resource is missing or empty.
static bool carried_program(ByteBlock* block) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(PROGRAM_RESOURCE_ID), (LPCWSTR)RT_RCDATA);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    block->data = loaded != nullptr ? LockResource(loaded) : nullptr;
    block->size = SizeofResource(nullptr, found);
    return block->data != nullptr && block->size != 0;
}

bool install_files() {
    const SetupPaths* paths = &g_setup_paths;
    if (!path_exists(paths->install_folder)) {
        if (!CreateDirectoryW(paths->install_folder, nullptr)) return false;
    } else if (!path_is_plain_directory(paths->install_folder)) {
        return false;
    }
    ByteBlock program;
    if (!carried_program(&program)) return false;
    wchar_t maintenance[PATH_CAPACITY];
    if (!maintenance_program_path(maintenance)) return false;
    if (!replace_file_atomically(paths->program_path, &program, 1, false)) return false;
    return copy_self_atomically(maintenance);
}

// The volume and file index of an existing file, read through a handle that shares everything (the
// running program's own file can be opened so).
static bool file_identity(const wchar_t* path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileW(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return ok;
}

// Two paths name the same file: the same volume serial number and file index. A short name, another
// letter case or a "\\?\" form of one path names the same file; a missing file is the same as none.
static bool same_file(const wchar_t* a, const wchar_t* b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    if (!file_identity(a, &first) || !file_identity(b, &second)) return false;
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

bool copy_self_atomically(const wchar_t* target) {
    wchar_t own[PATH_CAPACITY];
    DWORD length = GetModuleFileNameW(nullptr, own, PATH_CAPACITY);
    if (length == 0 || length >= PATH_CAPACITY) return false;
    if (same_file(own, target)) return true;  // already the installed maintenance copy

    wchar_t temporary[PATH_CAPACITY];
    if (!temporary_name_for(temporary, target) || !CopyFileW(own, temporary, TRUE)) return false;
    if (MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(temporary);
    return false;
}
