#include "app/file_dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include "app/app_state.h"
#include "common/memory.h"
#include "common/path.h"
#include "common/text.h"
#include "engine/safe_paths.h"
#include "operations/archive_format.h"
#include "settings/language.h"

const wchar_t* archive_filter() {
    return ui_text(
        L"Archives\0*.zip;*.rar;*.7z;*.tar;*.gz;*.tgz;*.bz2;*.xz;*.zst;*.cab;*.iso;*.001\0"
        L"All files\0*.*\0",
        L"Pliki spakowane\0*.zip;*.rar;*.7z;*.tar;*.gz;*.tgz;*.bz2;*.xz;*.zst;*.cab;*.iso;*.001\0"
        L"Wszystkie pliki\0*.*\0");
}

FilesChoice choose_files_to_open(wchar_t* buffer, uint32_t capacity, const wchar_t* filter, bool several) {
    buffer[0] = 0;
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = g_app.main;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = capacity;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (several) dialog.Flags |= OFN_ALLOWMULTISELECT;
    if (GetOpenFileNameW(&dialog)) return FILES_CHOSEN;
    return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? FILES_TOO_MANY : FILES_CANCELED;
}

// Units that a folder and this many names of the longest kind take in an open dialog's buffer.
static uint32_t multiple_files_capacity(uint32_t names) {
    return PATH_CAPACITY + names * (MAX_FILE_NAME_LENGTH + 1) + 1;
}

FilesChoice for_each_file_to_open(const wchar_t* filter, uint32_t limit,
                                  bool (*visit)(const wchar_t* path, void* context), void* context) {
    // Room for the limit itself: a selection that still does not fit holds more files than that.
    uint32_t capacity = multiple_files_capacity(limit);
    wchar_t* buffer = (wchar_t*)mem_alloc(capacity * sizeof(wchar_t));
    if (buffer == nullptr) return FILES_CANCELED;
    FilesChoice choice = choose_files_to_open(buffer, capacity, filter, true);
    if (choice == FILES_CHOSEN) for_each_chosen_file(buffer, visit, context);
    mem_free(buffer);
    return choice;
}

bool choose_archive_to_save(wchar_t* path, uint32_t format) {
    static const wchar_t* const FILTERS[3] = {L"ZIP (*.zip)\0*.zip\0", L"7z (*.7z)\0*.7z\0",
                                              L"TAR.GZ (*.tar.gz)\0*.tar.gz\0"};
    path[0] = 0;
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = g_app.main;
    dialog.lpstrFilter = FILTERS[format <= FORMAT_TAR_GZ ? format : FORMAT_TAR_GZ];
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = PATH_CAPACITY;
    dialog.Flags = OFN_EXPLORER | OFN_NOREADONLYRETURN | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return GetSaveFileNameW(&dialog) != FALSE;
}

void for_each_chosen_file(const wchar_t* buffer, bool (*visit)(const wchar_t* path, void* context), void* context) {
    const wchar_t* first_name = buffer + text_length(buffer) + 1;
    if (*first_name == 0) {
        // One file: the buffer holds its full path.
        visit(buffer, context);
        return;
    }
    wchar_t path[PATH_CAPACITY];
    for (const wchar_t* name = first_name; *name != 0; name += text_length(name) + 1) {
        bool joined = path_join(path, PATH_CAPACITY, buffer, name);
        if (!visit(joined ? path : nullptr, context)) return;
    }
}
