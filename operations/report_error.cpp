#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"

void report_error() {
    const wchar_t* message = result_message(g_slot.result.code, g_preferences.polish_ui != 0);
    wchar_t text[ERROR_TEXT_CAPACITY];
    text_copy(text, ERROR_TEXT_CAPACITY, message);
    if (g_slot.result.detail[0] != 0 && text_append(text, ERROR_TEXT_CAPACITY, L"\n\n"))
        text_append(text, ERROR_TEXT_CAPACITY, g_slot.result.detail);
    set_status(message);
    MessageBoxW(operation_window(), text, L"Lumarek", MB_ICONERROR);
}
