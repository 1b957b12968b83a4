// Opening an archive: from a path (command line, drop, queue preview) or from the open dialog.
#include "app/commands.h"

#include "app/file_dialogs.h"
#include "common/text.h"
#include "operations/operation.h"

void open_archive_path(const wchar_t* path) {
    if (path != nullptr) {
        if (!text_copy(g_slot.target_path, PATH_CAPACITY, path)) return;
    } else {
        wchar_t chosen[PATH_CAPACITY];
        if (choose_files_to_open(chosen, PATH_CAPACITY, archive_filter(), false) != FILES_CHOSEN) return;
        if (!text_copy(g_slot.target_path, PATH_CAPACITY, chosen)) return;
    }
    // What is on screen stays until the listing succeeds.
    operation_start(OP_OPEN_ARCHIVE);
}
