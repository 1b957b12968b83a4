#include "bench/bench_window.h"

#include <psapi.h>
#include <stdio.h>

#include "engine/engine_api.h"
#include "operations/window_seams.h"

static HWND g_hidden_window;
static bool g_engine_bound;
static bool g_done;
static uint32_t g_items_messages;

HWND operation_window() {
    return g_hidden_window;
}

void set_status(const wchar_t*) {}

void set_busy(bool) {}

bool engine_present() {
    return g_engine_bound;
}

static LRESULT CALLBACK hidden_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_PROGRESS_ITEMS) ++g_items_messages;
    if (message == WM_APP_OPERATION_DONE) {
        g_done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool open_bench_window() {
    g_engine_bound = engine_bind();
    if (!g_engine_bound) {
        fprintf(stderr, "no archive engine\n");
        return false;
    }
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = hidden_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"LumarekBenchWindow";
    if (RegisterClassW(&window_class) == 0) return false;
    g_hidden_window = CreateWindowExW(0, window_class.lpszClassName, L"Lumarek benchmark", WS_OVERLAPPEDWINDOW, 0, 0,
                                      400, 300, nullptr, nullptr, window_class.hInstance, nullptr);
    return g_hidden_window != nullptr;
}

double run_operation_timed(OperationKind kind) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    g_done = false;
    operation_start(kind);
    MSG message;
    while (!g_done && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    QueryPerformanceCounter(&end);
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

uint32_t items_messages_received() {
    return g_items_messages;
}

// Written with the platform's calls only (no runtime beyond what the program has).
bool write_report(const wchar_t* path, int32_t code, double seconds, uint32_t count, uint32_t messages) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    char line[160];
    int length = snprintf(line, sizeof(line), "%d %.6f %llu %u %u\n", (int)code, seconds,
                          (unsigned long long)memory.PeakWorkingSetSize, count, messages);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, line, (DWORD)length, &written, nullptr) && written == (DWORD)length;
    CloseHandle(file);
    return ok;
}
