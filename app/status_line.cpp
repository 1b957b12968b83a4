#include "app/status_line.h"

#include "app/app_state.h"
#include "common/ui.h"
#include "settings/language.h"

void set_status(const wchar_t* text) {
    // The copy keeps only a text that fits whole; the line itself shows the full text.
    text_copy(g_app.status_text, STATUS_CAPACITY, text);
    set_text(control(CTL_STATUS), text);
}

void update_count_status() {
    wchar_t text[96];
    uint32_t count;
    if (g_app.current_view == VIEW_NEW_ARCHIVE) {
        text_copy(text, 96, ui_text(L"Sources: ", L"Źródła: "));
        count = g_app.source_count;
    } else {
        text_copy(text, 96, ui_text(L"Items: ", L"Elementy: "));
        count = g_app.entries.count;
    }
    wchar_t digits[DECIMAL_CAPACITY];
    format_decimal(digits, count);
    text_append(text, 96, digits);
    set_status(text);
}
