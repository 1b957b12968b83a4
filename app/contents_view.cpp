#include "app/contents_view.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/texts.h"

void set_contents_columns(bool insert) {
    const wchar_t* titles[3] = {ui_text(L"Name in archive", L"Nazwa w archiwum"), ui_text(L"Size", L"Rozmiar"),
                                ui_text(L"Type", L"Typ")};
    const int widths[3] = {CONTENTS_NAME_WIDTH, CONTENTS_SIZE_WIDTH, CONTENTS_TYPE_WIDTH};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_WIDTH | LVCF_TEXT;
        info.cx = widths[column];
        info.pszText = (wchar_t*)titles[column];
        SendMessageW(control(CTL_CONTENTS_LIST), insert ? LVM_INSERTCOLUMNW : LVM_SETCOLUMNW, column, (LPARAM)&info);
    }
}
