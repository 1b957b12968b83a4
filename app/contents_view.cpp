#include "app/contents_view.h"

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

void fit_contents_columns() {
    HWND list = control(CTL_CONTENTS_LIST);
    RECT inside;
    if (!GetClientRect(list, &inside)) return;
    int name_width = inside.right - CONTENTS_SIZE_WIDTH - CONTENTS_TYPE_WIDTH;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, name_width > 0 ? name_width : 0);
}

void fill_contents_list() {
    HWND list = control(CTL_CONTENTS_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, g_app.entries.count, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    // The vertical scroll bar may have come or gone with the count.
    fit_contents_columns();
    InvalidateRect(list, nullptr, TRUE);
}

static const wchar_t* entry_type_text(const ListEntry* entry) {
    if (entry->is_encrypted) return ui_text(L"Encrypted", L"Z hasłem");
    if (entry->is_directory) return L"Folder";
    return ui_text(L"File", L"Plik");
}

// The list copies a cell's text at once, so one buffer serves every Size cell.
static wchar_t g_size_cell[SIZE_TEXT_CAPACITY];

static void answer_cell(LVITEMW* item) {
    if ((item->mask & LVIF_TEXT) == 0) return;
    if (item->iItem < 0 || (uint32_t)item->iItem >= g_app.entries.count) {
        if (item->pszText != nullptr && item->cchTextMax > 0) item->pszText[0] = 0;
        return;
    }
    const ListEntry* entry = &g_app.entries.items[item->iItem];
    switch (item->iSubItem) {
    case 0:
        item->pszText = entry->name;
        break;
    case 1:
        g_size_cell[0] = 0;
        if (!entry->is_directory) {
            format_decimal(g_size_cell, (uint64_t)entry->size);
            text_append(g_size_cell, SIZE_TEXT_CAPACITY, L" B");
        }
        item->pszText = g_size_cell;
        break;
    default:
        item->pszText = (wchar_t*)entry_type_text(entry);
        break;
    }
}

static bool name_starts_with(const wchar_t* name, const wchar_t* prefix, uint32_t prefix_length) {
    return text_length(name) >= prefix_length &&
           CompareStringOrdinal(name, (int)prefix_length, prefix, (int)prefix_length, TRUE) == CSTR_EQUAL;
}

// The first row from the start row on, then from the top, whose name begins with the typed text in
// any letter case (or equals it, when the list asks for a whole match); -1 when none does.
static LRESULT find_row(const NMLVFINDITEMW* find) {
    const LVFINDINFOW* info = &find->lvfi;
    if ((info->flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info->psz == nullptr) return -1;
    uint32_t count = g_app.entries.count;
    if (count == 0) return -1;
    uint32_t prefix_length = text_length(info->psz);
    bool whole = (info->flags & LVFI_PARTIAL) == 0;
    uint32_t start = find->iStart >= 0 && (uint32_t)find->iStart < count ? (uint32_t)find->iStart : 0;
    for (uint32_t step = 0; step < count; ++step) {
        uint32_t row = (start + step) % count;
        const wchar_t* name = g_app.entries.items[row].name;
        if (whole ? text_equal_nocase(name, info->psz) : name_starts_with(name, info->psz, prefix_length))
            return (LRESULT)row;
    }
    return -1;
}

bool on_contents_notify(const NMHDR* header, LRESULT* answer) {
    switch (header->code) {
    case LVN_GETDISPINFOW:
        answer_cell(&((NMLVDISPINFOW*)header)->item);
        *answer = 0;
        return true;
    case LVN_ODFINDITEMW:
        *answer = find_row((const NMLVFINDITEMW*)header);
        return true;
    }
    return false;
}
