// Lumarek: the archive manager's entry point.
#include <objbase.h>
#include <windows.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "common/ui.h"
#include "engine/engine_api.h"
#include "operations/operation.h"
#include "operations/window_seams.h"
#include "settings/preferences.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui_init();
    preferences_load();
    g_app.engine_present = engine_bind();
    register_main_window_class();

    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int work_width = work.right - work.left;
    int work_height = work.bottom - work.top;
    int width = work_width < 940 ? work_width : 940;
    int height = work_height < 730 ? work_height : 730;
    int x = work.left + (work_width - width) / 2;
    int y = work.top + (work_height - height) / 2;

    HWND main = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, MAIN_WINDOW_CLASS, L"Lumarek",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr,
                                g_ui.instance, nullptr);
    if (main == nullptr) return 1;
    g_app.main = main;
    create_main_controls(main);
    layout_main_window(main);
    DragAcceptFiles(main, TRUE);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);

    // Without the engine the command line is not acted on; the window says why.
    if (!g_app.engine_present) {
        ZeroMemory(&g_slot.result, sizeof(g_slot.result));
        g_slot.result.code = RESULT_ENGINE_MISSING;
        report_error();
    }

    int32_t exit_code = run_message_loop(main);
    entry_list_free(&g_app.entries);
    entry_list_free(&g_slot.pending_listing);
    CoUninitialize();
    return exit_code;
}
