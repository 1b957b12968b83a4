#include "setup/uninstall_entry.h"

#include <windows.h>

#include "common/text.h"
#include "setup/setup_paths.h"

const wchar_t UNINSTALL_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumarek";

// A REG_SZ value when text is given, otherwise a REG_DWORD value.
struct EntryValue {
    const wchar_t* name;
    const wchar_t* text;
    DWORD number;
};

static bool set_value(HKEY key, const EntryValue& value) {
    if (value.text != nullptr) {
        // The terminating zero unit is counted in the data size.
        DWORD bytes = (text_length(value.text) + 1) * (DWORD)sizeof(wchar_t);
        return RegSetValueExW(key, value.name, 0, REG_SZ, (const BYTE*)value.text, bytes) == ERROR_SUCCESS;
    }
    return RegSetValueExW(key, value.name, 0, REG_DWORD, (const BYTE*)&value.number, sizeof(DWORD)) == ERROR_SUCCESS;
}

bool register_uninstall_entry(const wchar_t* maintenance_path) {
    wchar_t uninstall_string[PATH_CAPACITY];
    wchar_t display_icon[PATH_CAPACITY];
    if (!text_copy(uninstall_string, PATH_CAPACITY, L"\"") ||
        !text_append(uninstall_string, PATH_CAPACITY, maintenance_path) ||
        !text_append(uninstall_string, PATH_CAPACITY, L"\" --uninstall") ||
        !text_copy(display_icon, PATH_CAPACITY, g_setup_paths.program_path))
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, UNINSTALL_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const EntryValue values[] = {
        {L"DisplayName", L"Lumarek", 0},
        {L"DisplayVersion", L"1.2.0", 0},
        {L"InstallLocation", g_setup_paths.install_folder, 0},
        {L"DisplayIcon", display_icon, 0},
        {L"UninstallString", uninstall_string, 0},
        {L"NoModify", nullptr, 1},
        {L"NoRepair", nullptr, 1},
    };
    bool ok = true;
    for (const EntryValue& value : values) {
        ok = set_value(key, value);
        if (!ok) break;
    }
    RegCloseKey(key);
    return ok;
}

bool delete_uninstall_entry() {
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, UNINSTALL_KEY);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
