#include "app/contents_view.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "common/text.h"
#include "common/ui.h"
#include "settings/language.h"

void set_contents_columns() {
    const wchar_t* titles[3] = {ui_text(L"Name in archive", L"Nazwa w archiwum"), ui_text(L"Size", L"Rozmiar"),
                                ui_text(L"Type", L"Typ")};
    const int widths[3] = {CONTENTS_NAME_WIDTH, CONTENTS_SIZE_WIDTH, CONTENTS_TYPE_WIDTH};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_WIDTH | LVCF_TEXT;
        info.cx = widths[column];
        info.pszText = (wchar_t*)titles[column];
        SendMessageW(control(CTL_CONTENTS_LIST), LVM_SETCOLUMNW, column, (LPARAM)&info);
    }
}

static const wchar_t* entry_type_text(const ListEntry* entry) {
    if (entry->is_encrypted) return ui_text(L"Encrypted", L"Z hasłem");
    if (entry->is_directory) return L"Folder";
    return ui_text(L"File", L"Plik");
}

void fill_contents_list() {
    HWND list = control(CTL_CONTENTS_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    // Room for every row at once, so the list does not grow step by step.
    SendMessageW(list, LVM_SETITEMCOUNT, g_app.entries.count, LVSICF_NOINVALIDATEALL);
    for (uint32_t i = 0; i < g_app.entries.count; ++i) {
        const ListEntry* entry = &g_app.entries.items[i];
        LVITEMW row = {};
        row.mask = LVIF_TEXT;
        row.iItem = (int)i;
        row.pszText = entry->name;
        if (SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&row) < 0) break;
        wchar_t size[SIZE_TEXT_CAPACITY];
        size[0] = 0;
        if (!entry->is_directory) {
            format_decimal(size, (uint64_t)entry->size);
            text_append(size, SIZE_TEXT_CAPACITY, L" B");
        }
        set_list_cell(list, i, 1, size);
        set_list_cell(list, i, 2, entry_type_text(entry));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}
