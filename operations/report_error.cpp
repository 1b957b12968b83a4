#include "operations/operation.h"
#include "operations/result_codes.h"
#include "operations/window_seams.h"

void report_error() {
    const wchar_t* message = result_message(g_slot.result.code);
    wchar_t text[ERROR_TEXT_CAPACITY];
    text_copy(text, ERROR_TEXT_CAPACITY, message);
    if (g_slot.result.detail[0] != 0 && text_append(text, ERROR_TEXT_CAPACITY, L"\n\n"))
        text_append(text, ERROR_TEXT_CAPACITY, g_slot.result.detail);
    set_status(message);
    MessageBoxW(operation_window(), text, L"Lumarek", MB_ICONERROR);
}

void report_error_code(int32_t code) {
    ZeroMemory(&g_slot.result, sizeof(g_slot.result));
    g_slot.result.code = code;
    report_error();
}
