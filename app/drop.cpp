// Files and folders dropped on the main window; what they mean depends on the view.
#include "app/commands.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "app/queue_view.h"
#include "app/status_line.h"
#include "app/views.h"
#include "common/path.h"
#include "common/ui.h"
#include "operations/extraction_queue.h"

void on_drop_files(HDROP drop) {
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (g_app.busy) {
        DragFinish(drop);
        return;
    }
    // Several archives dropped on the contents view are meant for the queue.
    if (g_app.current_view == VIEW_CONTENTS && count > 1) show_view(VIEW_QUEUE);
    bool ok = true;
    bool more = true;
    wchar_t path[PATH_CAPACITY];
    for (UINT i = 0; i < count && more; ++i) {
        if (DragQueryFileW(drop, i, nullptr, 0) >= PATH_CAPACITY || DragQueryFileW(drop, i, path, PATH_CAPACITY) == 0) {
            ok = false;
            break;
        }
        switch (g_app.current_view) {
        case VIEW_CONTENTS:
            if (!path_is_directory(path)) open_archive_path(path);
            more = false;
            break;
        case VIEW_PROFILES:
            if (path_is_directory(path)) set_text(control(CTL_SOURCE_FOLDER), path);
            more = false;
            break;
        case VIEW_NEW_ARCHIVE:
            add_source(path);
            break;
        case VIEW_QUEUE:
            ok = queue_add(path);
            more = ok;
            break;
        default:
            break;
        }
    }
    if (g_app.current_view == VIEW_NEW_ARCHIVE) update_count_status();
    if (g_app.current_view == VIEW_QUEUE) queue_after_adding(ok);
    DragFinish(drop);
}
