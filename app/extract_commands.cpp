// Extract… and Test archive: both work on the open archive.
#include "app/commands.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/folder_browser.h"
#include "app/status_line.h"
#include "common/memory.h"
#include "common/path.h"
#include "operations/extract_folder.h"
#include "operations/operation.h"
#include "settings/language.h"
#include "settings/preferences.h"

static bool archive_is_open() {
    if (g_app.archive_path[0] != 0) return true;
    set_status(ui_text(L"Open an archive first.", L"Najpierw otwórz archiwum."));
    return false;
}

bool choose_extract_parent(wchar_t* buffer) {
    const wchar_t* folder = g_preferences.default_extract_folder;
    if (folder[0] != 0 && path_is_directory(folder)) {
        if (g_preferences.use_default_folder_silently) return text_copy(buffer, PATH_CAPACITY, folder);
        int answer = MessageBoxW(g_app.main, folder, ui_text(L"Use the default folder?", L"Użyć domyślnego folderu?"),
                                 MB_YESNO | MB_ICONINFORMATION);
        if (answer == IDYES) return text_copy(buffer, PATH_CAPACITY, folder);
    }
    return browse_for_folder(buffer,
                             ui_text(L"Choose a parent folder. Each archive will be extracted to its own folder.",
                                     L"Wybierz folder nadrzędny. Program utworzy osobny folder dla każdego "
                                     L"archiwum."));
}

void command_extract() {
    if (!archive_is_open()) return;
    wchar_t parent[PATH_CAPACITY];
    if (!choose_extract_parent(parent)) return;
    if (!extract_folder_for(g_app.archive_path, parent, g_slot.target_path)) {
        report_error_code(RESULT_IO_ERROR);
        return;
    }
    mem_free(g_slot.selection);
    g_slot.selection = nullptr;
    HWND list = control(CTL_CONTENTS_LIST);
    int row = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row >= 0) {
        // Rows are never reordered, so a row's index is its entry's index.
        g_slot.selection = (uint8_t*)mem_alloc(g_app.entries.count);
        if (g_slot.selection == nullptr) {
            report_error_code(RESULT_OUT_OF_MEMORY);
            return;
        }
        for (; row >= 0 && (uint32_t)row < g_app.entries.count;
             row = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)row, LVNI_SELECTED))
            g_slot.selection[row] = 1;
    }
    g_slot.archive_path = g_app.archive_path;
    g_slot.listing = &g_app.entries;
    operation_start(OP_EXTRACT);
}

void command_test() {
    if (!archive_is_open()) return;
    g_slot.archive_path = g_app.archive_path;
    operation_start(OP_TEST);
}
