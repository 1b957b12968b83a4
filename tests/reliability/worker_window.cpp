#include "worker_window.h"

#include <windows.h>

#include "operations/window_seams.h"

static HWND g_window;
static bool g_done;
static std::vector<int32_t>* g_queue_codes;

HWND operation_window() {
    return g_window;
}

void set_status(const wchar_t*) {}

void set_busy(bool) {}

bool engine_present() {
    return true;
}

static LRESULT CALLBACK worker_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_OPERATION_DONE) {
        g_done = true;
        return 0;
    }
    if (message == WM_APP_QUEUE_ITEM_DONE) {
        if (g_queue_codes != nullptr) g_queue_codes->push_back((int32_t)lparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool worker_window_create() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = worker_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"LumarekReliabilityWorker";
    if (RegisterClassW(&window_class) == 0) return false;
    g_window = CreateWindowExW(0, window_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               window_class.hInstance, nullptr);
    return g_window != nullptr;
}

void run_operation(OperationKind kind, std::vector<int32_t>* queue_codes) {
    g_done = false;
    g_queue_codes = queue_codes;
    operation_start(kind);
    MSG message;
    while (!g_done && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    // Whatever the worker posted before its completion message has been handled by now.
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    g_queue_codes = nullptr;
    operation_release_inputs();
}
