#include "app/startup.h"

#include <objbase.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "app/archive_label.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/profile_view.h"
#include "app/status_line.h"
#include "app/texts.h"
#include "app/views.h"
#include "common/memory.h"
#include "common/ui.h"
#include "engine/engine_api.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "settings/language.h"
#include "settings/preferences.h"

bool startup_prepare() {
    ui_init();
    preferences_load();
    bool profiles_loaded = profile_store_load(&g_profile_store);
    g_app.engine_present = engine_bind();
    return profiles_loaded;
}

RECT primary_work_area() {
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT main_window_placement(const RECT* work_area) {
    int work_width = work_area->right - work_area->left;
    int work_height = work_area->bottom - work_area->top;
    int width = work_width < MAIN_WINDOW_WIDTH ? work_width : MAIN_WINDOW_WIDTH;
    int height = work_height < MAIN_WINDOW_HEIGHT ? work_height : MAIN_WINDOW_HEIGHT;
    RECT placement;
    placement.left = work_area->left + (work_width - width) / 2;
    placement.top = work_area->top + (work_height - height) / 2;
    placement.right = placement.left + width;
    placement.bottom = placement.top + height;
    return placement;
}

HWND create_main_window() {
    register_main_window_class();
    RECT work = primary_work_area();
    RECT placement = main_window_placement(&work);
    // Until the controls exist, a WM_SIZE of the new window lays nothing out.
    ZeroMemory(g_app.controls, sizeof(g_app.controls));
    HWND main = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, MAIN_WINDOW_CLASS, L"Lumarek",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, placement.left, placement.top,
                                placement.right - placement.left, placement.bottom - placement.top, nullptr, nullptr,
                                g_ui.instance, nullptr);
    if (main == nullptr) return nullptr;
    g_app.main = main;

    create_main_controls(main, g_app.controls);
    apply_interface_texts();
    load_profile_fields();
    EnableWindow(control(CTL_PASSWORD), g_preferences.default_format == 0);
    show_view(STARTUP_VIEW_TABLE[g_preferences.startup_view <= 3 ? g_preferences.startup_view : 0]);
    show_archive_label();
    DragAcceptFiles(main, TRUE);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    return main;
}

void report_startup_problems(bool profiles_loaded) {
    if (!g_app.engine_present) {
        report_error_code(RESULT_ENGINE_MISSING);
    } else if (!profiles_loaded && !g_app.busy) {
        set_status(ui_text(L"Could not load the saved profiles.", L"Nie udało się odczytać zapisanych profili."));
    }
}

void shutdown_program() {
    entry_list_free(&g_app.entries);
    entry_list_free(&g_slot.pending_listing);
    entry_list_free(&g_slot.profile_files);
    for (uint32_t i = 0; i < g_app.source_count; ++i) mem_free(g_app.sources[i]);
    mem_free(g_app.sources);
    g_app.sources = nullptr;
    g_app.source_count = 0;
    g_app.source_capacity = 0;
    queue_free();
    CoUninitialize();
}
