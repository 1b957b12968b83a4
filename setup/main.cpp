// Lumarek-Maintenance: installs and removes Lumarek for the current user.
#include <objbase.h>
#include <windows.h>

#include "common/ui.h"

static LRESULT CALLBACK setup_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui_init();
    register_window_class(L"LumarekSetup", setup_window_proc, true);
    HWND window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, L"LumarekSetup", L"Lumarek Setup",
                                  WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 560, 300,
                                  nullptr, nullptr, g_ui.instance, nullptr);
    if (window == nullptr) return 1;
    center_window(window, nullptr);
    ShowWindow(window, SW_SHOW);
    int32_t exit_code = run_message_loop(window);
    CoUninitialize();
    return exit_code;
}
