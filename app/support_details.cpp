// Copy support details: the version and the interface language on the clipboard.
#include "app/commands.h"

#include <stdio.h>

#include "app/app_state.h"
#include "app/help_texts.h"
#include "app/status_line.h"
#include "common/text.h"
#include "settings/language.h"

const uint32_t SUPPORT_DETAILS_CAPACITY = 160;

static bool copy_to_clipboard(const wchar_t* text) {
    size_t bytes = (text_length(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) return false;
    void* locked = GlobalLock(block);
    if (locked == nullptr) {
        GlobalFree(block);
        return false;
    }
    memcpy(locked, text, bytes);
    GlobalUnlock(block);
    if (!OpenClipboard(g_app.main)) {
        GlobalFree(block);
        return false;
    }
    if (!EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        CloseClipboard();
        GlobalFree(block);
        return false;
    }
    // The block belongs to the clipboard now.
    CloseClipboard();
    return true;
}

void command_copy_support_details() {
    wchar_t text[SUPPORT_DETAILS_CAPACITY];
    swprintf_s(
        text, SUPPORT_DETAILS_CAPACITY,
        ui_text(L"Lumarek %ls (x64)\r\nInterface language: English", L"Lumarek %ls (x64)\r\nJęzyk interfejsu: polski"),
        APP_VERSION);
    if (copy_to_clipboard(text))
        set_status(ui_text(L"Support details copied.", L"Skopiowano dane do zgłoszenia."));
    else
        set_status(ui_text(L"Could not copy support details.", L"Nie udało się skopiować danych."));
}
