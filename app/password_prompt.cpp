#include "app/password_prompt.h"

#include "common/text.h"
#include "common/ui.h"
#include "operations/window_seams.h"
#include "settings/language.h"

PasswordPrompt g_password_prompt;

#define PASSWORD_WINDOW_CLASS L"LumarekPassword"

LRESULT CALLBACK password_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            GetWindowTextW(g_password_prompt.edit, g_password_prompt.text, PASSWORD_CAPACITY);
            g_password_prompt.accepted = g_password_prompt.text[0] != 0;
            DestroyWindow(window);
            return 0;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        g_password_prompt.closed = true;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool ask_archive_password() {
    HWND main = operation_window();
    register_window_class(PASSWORD_WINDOW_CLASS, password_window_proc, false);
    PasswordPrompt* prompt = &g_password_prompt;
    prompt->accepted = false;
    prompt->closed = false;
    prompt->text[0] = 0;
    prompt->window =
        CreateWindowExW(WS_EX_CONTROLPARENT, PASSWORD_WINDOW_CLASS, ui_text(L"Archive password", L"Hasło do archiwum"),
                        WS_CAPTION | WS_SYSMENU, 0, 0, 432, 169, main, nullptr, g_ui.instance, nullptr);
    if (prompt->window == nullptr) return false;

    HWND label = create_child(prompt->window, L"STATIC",
                              ui_text(L"Enter the archive password.", L"Wpisz hasło do archiwum."), 0, 0, 0);
    prompt->edit =
        create_child(prompt->window, L"EDIT", L"", ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 3);
    SendMessageW(prompt->edit, EM_LIMITTEXT, PASSWORD_CAPACITY - 1, 0);
    HWND ok = create_child(prompt->window, L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, IDOK);
    HWND cancel =
        create_child(prompt->window, L"BUTTON", ui_text(L"Cancel", L"Anuluj"), BS_PUSHBUTTON | WS_TABSTOP, 0, IDCANCEL);
    move_child(label, 16, 12, 380, 23);
    move_child(prompt->edit, 16, 39, 382, 28);
    move_child(ok, 192, 84, 98, 29);
    move_child(cancel, 300, 84, 98, 29);

    EnableWindow(main, FALSE);
    center_window(prompt->window, main);
    ShowWindow(prompt->window, SW_SHOW);
    SetFocus(prompt->edit);

    MSG msg;
    while (!prompt->closed) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave without a password and let the main loop see the quit.
            if (got == 0) PostQuitMessage((int)msg.wParam);
            if (!prompt->closed) DestroyWindow(prompt->window);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            DestroyWindow(prompt->window);
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == prompt->edit) {
            SendMessageW(prompt->window, WM_COMMAND, IDOK, 0);
            continue;
        }
        if (IsDialogMessageW(prompt->window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(main, TRUE);
    if (prompt->accepted) text_copy(g_slot.password, PASSWORD_CAPACITY, prompt->text);
    SecureZeroMemory(prompt->text, sizeof(prompt->text));
    prompt->window = nullptr;
    prompt->edit = nullptr;
    return prompt->accepted;
}
