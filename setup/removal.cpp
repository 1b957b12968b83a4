#include "setup/removal.h"

#include <shellapi.h>

#include "common/path.h"
#include "common/text.h"
#include "setup/setup_paths.h"
#include "setup/uninstall_entry.h"

// Deletes the file if it is there; an empty path names nothing.
static bool delete_if_present(const wchar_t* path) {
    return path[0] == 0 || !path_exists(path) || DeleteFileW(path);
}

bool remove_installation() {
    const SetupPaths* paths = &g_setup_paths;
    if (path_exists(paths->install_folder)) {
        if (!path_is_plain_directory(paths->install_folder)) return false;
        if (!delete_if_present(paths->program_path)) return false;
    }
    if (!delete_if_present(paths->start_menu_shortcut)) return false;
    if (!delete_if_present(paths->desktop_shortcut)) return false;
    return delete_uninstall_entry();
}

static const wchar_t kCleanupBefore[] =
    L"-NoLogo -NoProfile -NonInteractive -WindowStyle Hidden -Command \"Wait-Process -ErrorAction SilentlyContinue "
    L"-Id ";
static const wchar_t kCleanupAfter[] =
    L"; $folder=Join-Path $env:LOCALAPPDATA 'Lumarek'; Remove-Item -ErrorAction SilentlyContinue -LiteralPath "
    L"(Join-Path $folder 'Lumarek-Maintenance.exe'); if ((Test-Path -LiteralPath $folder) -and !(Get-ChildItem "
    L"-LiteralPath $folder -Force)) { [IO.Directory]::Delete($folder) }\"";

bool cleanup_parameters(wchar_t* destination, uint32_t capacity, uint64_t process_id) {
    wchar_t digits[DECIMAL_CAPACITY];
    format_decimal(digits, process_id);
    return text_copy(destination, capacity, kCleanupBefore) && text_append(destination, capacity, digits) &&
           text_append(destination, capacity, kCleanupAfter);
}

void schedule_self_cleanup(HWND owner) {
    wchar_t system[PATH_CAPACITY];
    UINT length = GetSystemDirectoryW(system, PATH_CAPACITY);
    if (length == 0 || length >= PATH_CAPACITY) return;
    wchar_t powershell[PATH_CAPACITY];
    if (!path_join(powershell, PATH_CAPACITY, system, L"WindowsPowerShell\\v1.0\\powershell.exe")) return;
    wchar_t parameters[CLEANUP_PARAMETERS_CAPACITY];
    if (!cleanup_parameters(parameters, CLEANUP_PARAMETERS_CAPACITY, GetCurrentProcessId())) return;
    ShellExecuteW(owner, L"open", powershell, parameters, nullptr, SW_HIDE);
}
