#include "app/folder_browser.h"

#include <shlobj.h>

#include "app/app_state.h"
#include "common/path.h"
#include "common/text.h"

bool browse_for_folder(wchar_t* buffer, const wchar_t* title) {
    BROWSEINFOW browse = {};
    browse.hwndOwner = g_app.main;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
    if (item == nullptr) return false;
    bool converted = SHGetPathFromIDListW(item, buffer) != FALSE;
    CoTaskMemFree(item);
    return converted;
}

bool read_folder_field(HWND edit, wchar_t* buffer) {
    // A text that does not fit is refused, not cut: the cut text could name another folder.
    wchar_t text[PATH_CAPACITY];
    if (GetWindowTextLengthW(edit) >= (int)PATH_CAPACITY) return false;
    if (GetWindowTextW(edit, text, PATH_CAPACITY) <= 0) return false;
    if (!path_absolute(buffer, text) || !path_is_directory(buffer)) return false;
    uint32_t length = text_length(buffer);
    // A drive root such as C:\ keeps its backslash.
    while (length > 3 && buffer[length - 1] == L'\\') buffer[--length] = 0;
    return true;
}
