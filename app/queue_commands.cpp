// The Extract queue view: adding and removing archives, running the queue, and the two ways to
// look at its archives and its results.
#include "app/commands.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/file_dialogs.h"
#include "app/queue_view.h"
#include "app/shell_open.h"
#include "app/status_line.h"
#include "app/views.h"
#include "common/path.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "settings/language.h"

static bool queue_chosen_file(const wchar_t* path, void* all_added) {
    // The first name whose path does not fit or that the queue refuses ends the additions.
    if (path != nullptr && queue_add(path)) return true;
    *(bool*)all_added = false;
    return false;
}

void command_add_archives() {
    bool all_added = true;
    FilesChoice choice = for_each_file_to_open(archive_filter(), QUEUE_LIMIT, queue_chosen_file, &all_added);
    if (choice == FILES_CANCELED) return;
    queue_after_adding(choice == FILES_CHOSEN && all_added);
}

void command_remove_queued() {
    HWND list = control(CTL_QUEUE_LIST);
    // Backwards, so the rows still to visit keep their indexes.
    for (uint32_t index = g_queue.count; index-- > 0;)
        if (SendMessageW(list, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) queue_remove_at(index);
    queue_refresh_list();
    queue_show_summary();
}

void start_queue_run(bool beside_archives) {
    g_app.extract_beside_archives = beside_archives;
    g_slot.queue = &g_queue;
    g_slot.queue_output_folder = g_queue_output_folder;
    g_slot.extract_beside_archives = g_app.extract_beside_archives;
    operation_start(OP_EXTRACT_QUEUE);
}

void command_run_queue() {
    bool waiting = false;
    for (uint32_t i = 0; i < g_queue.count && !waiting; ++i) waiting = g_queue.items[i].status != QUEUE_EXTRACTED;
    if (!waiting) {
        set_status(ui_text(L"Add archives to extract.", L"Dodaj spakowane pliki do rozpakowania."));
        return;
    }
    if (!choose_extract_parent(g_queue_output_folder)) return;
    start_queue_run(false);
}

void command_open_preview() {
    int row = (int)SendMessageW(control(CTL_QUEUE_LIST), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0 || (uint32_t)row >= g_queue.count) {
        set_status(ui_text(L"Select an archive in the list.", L"Zaznacz archiwum na liście."));
        return;
    }
    show_view(VIEW_CONTENTS);
    open_archive_path(g_queue.items[row].path);
}

void command_open_output_folder() {
    if (g_queue_output_folder[0] == 0 || !path_is_directory(g_queue_output_folder)) {
        set_status(ui_text(L"Run the extraction queue first.", L"Najpierw uruchom rozpakowywanie."));
        return;
    }
    open_folder_in_shell(g_queue_output_folder);
}
