#include "app/queue_view.h"

#include <windows.h>

#include <commctrl.h>
#include <stdio.h>

#include "app/app_state.h"
#include "app/status_line.h"
#include "common/operation_result.h"
#include "common/ui.h"
#include "settings/language.h"

const wchar_t* queue_status_text(const QueueItem* item) {
    if (item->status == QUEUE_WAITING) return ui_text(L"Waiting", L"Czeka");
    if (item->status == QUEUE_EXTRACTED) return ui_text(L"Extracted", L"Rozpakowano");
    switch (item->result) {
    case RESULT_IO_ERROR:
        return ui_text(L"Read or write error", L"Błąd odczytu lub zapisu");
    case RESULT_PASSWORD_REQUIRED:
        return ui_text(L"Password required", L"Wymaga hasła");
    case RESULT_UNSUPPORTED_ENCRYPTION:
        return ui_text(L"Unsupported encryption", L"Nieobsługiwane szyfrowanie");
    case RESULT_UNSAFE_PATH:
        return ui_text(L"Invalid archive path", L"Niedozwolona ścieżka");
    case RESULT_OUTPUT_EXISTS:
        return ui_text(L"Output exists", L"Wynik już istnieje");
    default:
        return ui_text(L"Archive error", L"Błąd archiwum");
    }
}

void queue_refresh_list() {
    HWND list = control(CTL_QUEUE_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (uint32_t i = 0; i < g_queue.count; ++i) {
        LVITEMW row = {};
        row.mask = LVIF_TEXT;
        row.iItem = (int)i;
        row.pszText = g_queue.items[i].path;
        if (SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&row) < 0) break;
        set_list_cell(list, i, 1, queue_status_text(&g_queue.items[i]));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void queue_show_summary() {
    uint32_t extracted = 0;
    uint32_t failed = 0;
    for (uint32_t i = 0; i < g_queue.count; ++i) {
        if (g_queue.items[i].status == QUEUE_EXTRACTED) ++extracted;
        if (g_queue.items[i].status == QUEUE_FAILED) ++failed;
    }
    wchar_t text[200];
    swprintf_s(text, 200,
               ui_text(L"Extracted: %u   Errors: %u   Waiting: %u", L"Rozpakowano: %u   Błędy: %u   Czeka: %u"),
               extracted, failed, g_queue.count - extracted - failed);
    set_status(text);
}

void queue_after_adding(bool all_added) {
    queue_refresh_list();
    if (all_added)
        queue_show_summary();
    else
        set_status(ui_text(L"Could not add every archive. The queue supports up to 4096 files.",
                           L"Nie udało się dodać wszystkich archiwów. Limit kolejki to 4096 plików."));
}
