#include "app/main_window.h"

#include <windows.h>

#include <shellapi.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/contents_view.h"
#include "app/layout.h"
#include "app/operation_window.h"
#include "app/views.h"
#include "common/ui.h"
#include "operations/operation.h"

void register_main_window_class() {
    register_window_class(MAIN_WINDOW_CLASS, main_window_proc, true);
}

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (control(CTL_TITLE) != nullptr) layout_main_window();
        return 0;
    case WM_CLOSE:
        if (g_app.busy)
            on_command(CMD_CANCEL, 0, 0);
        else
            DestroyWindow(window);
        return 0;
    case WM_GETMINMAXINFO:
        ((MINMAXINFO*)lparam)->ptMinTrackSize.x = MIN_TRACK_WIDTH;
        ((MINMAXINFO*)lparam)->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
        return 0;
    case WM_HELP:
        if (!g_app.busy) show_view(VIEW_HELP);
        return 1;
    case WM_COMMAND:
        on_command(LOWORD(wparam), HIWORD(wparam), lparam);
        return 0;
    case WM_CTLCOLORSTATIC:
        SetTextColor((HDC)wparam, TEXT_COLOR);
        SetBkColor((HDC)wparam, BACKGROUND_COLOR);
        return (LRESULT)g_ui.background_brush;
    case WM_NOTIFY: {
        LRESULT answer = 0;
        const NMHDR* header = (const NMHDR*)lparam;
        if (header->hwndFrom == control(CTL_CONTENTS_LIST) && on_contents_notify(header, &answer)) return answer;
        break;
    }
    case WM_DROPFILES:
        on_drop_files((HDROP)wparam);
        return 0;
    case WM_APP_OPERATION_DONE:
        on_operation_done();
        return 0;
    case WM_APP_PROGRESS_ITEMS:
        on_progress_items(wparam);
        return 0;
    case WM_APP_PROGRESS_PERCENT:
        on_progress_percent(wparam);
        return 0;
    case WM_APP_QUEUE_ITEM_STARTED:
        on_queue_item_started(wparam);
        return 0;
    case WM_APP_QUEUE_ITEM_DONE:
        on_queue_item_done(wparam, lparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
