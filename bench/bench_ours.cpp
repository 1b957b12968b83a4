// Our side of a measurement, a program of its own so that its time and memory are those of our
// code alone: the operation is started through the runner, exactly as the window starts it, and a
// hidden window receives its progress and its completion message.
//
//   lumarek_bench_child.exe <report file> idle
//   lumarek_bench_child.exe <report file> open <archive>
//   lumarek_bench_child.exe <report file> test <archive>
//   lumarek_bench_child.exe <report file> extract <archive> <new output folder>
//   lumarek_bench_child.exe <report file> create <output archive> <zip|7z|tar.gz> <level> <source>...
//
// "idle" binds the engine, creates the window and starts a kind without a body, so that only the
// runner's own round trip (worker thread, completion message) happens: the fixed cost of the rest.
// The report file gets one line: the result code, the seconds from operation_start to the
// completion message, and the process's peak working set in bytes. The exit code is the result
// code (0 for success).
#include <windows.h>

#include <psapi.h>
#include <stdio.h>

#include "common/text.h"
#include "engine/engine_api.h"
#include "operations/archive_format.h"
#include "operations/operation.h"
#include "operations/window_seams.h"

// What the window holds for the operations: the open archive, its listing, the new archive's
// sources.
static HWND g_hidden_window;
static bool g_engine_bound;
static wchar_t g_archive_path[PATH_CAPACITY];
static bool g_done;

HWND operation_window() {
    return g_hidden_window;
}

void set_status(const wchar_t*) {}

void set_busy(bool) {}

bool engine_present() {
    return g_engine_bound;
}

static LRESULT CALLBACK hidden_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_OPERATION_DONE) {
        g_done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

static bool create_hidden_window() {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = hidden_window_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"LumarekBenchWindow";
    if (RegisterClassW(&window_class) == 0) return false;
    g_hidden_window = CreateWindowExW(0, window_class.lpszClassName, L"Lumarek benchmark", WS_OVERLAPPEDWINDOW, 0, 0,
                                      400, 300, nullptr, nullptr, window_class.hInstance, nullptr);
    return g_hidden_window != nullptr;
}

static uint32_t format_named(const wchar_t* name) {
    if (wcscmp(name, L"zip") == 0) return FORMAT_ZIP;
    if (wcscmp(name, L"7z") == 0) return FORMAT_7Z;
    return FORMAT_TAR_GZ;
}

// Puts every input of the operation in the slot, as the window's commands do; false for a malformed command line.
static bool prepare(int argc, wchar_t** argv, OperationKind* kind) {
    const wchar_t* operation = argv[2];
    if (wcscmp(operation, L"open") == 0 && argc == 4) {
        *kind = OP_OPEN_ARCHIVE;
        return text_copy(g_slot.target_path, PATH_CAPACITY, argv[3]);
    }
    if (wcscmp(operation, L"test") == 0 && argc == 4) {
        *kind = OP_TEST;
        g_slot.archive_path = g_archive_path;
        return text_copy(g_archive_path, PATH_CAPACITY, argv[3]);
    }
    if (wcscmp(operation, L"extract") == 0 && argc == 5) {
        *kind = OP_EXTRACT;
        g_slot.selection = nullptr;  // nothing selected: the whole archive
        g_slot.listing = nullptr;
        g_slot.archive_path = g_archive_path;
        return text_copy(g_archive_path, PATH_CAPACITY, argv[3]) &&
               text_copy(g_slot.target_path, PATH_CAPACITY, argv[4]);
    }
    if (wcscmp(operation, L"create") == 0 && argc >= 7) {
        *kind = OP_CREATE;
        g_slot.format = format_named(argv[4]);
        g_slot.compression_level = _wtoi(argv[5]);
        g_slot.sources = &argv[6];
        g_slot.source_count = (uint32_t)(argc - 6);
        return text_copy(g_slot.target_path, PATH_CAPACITY, argv[3]);
    }
    return false;
}

// The report line, written with the platform's calls only (no runtime beyond what the program has).
static bool write_report(const wchar_t* path, int32_t code, double seconds, uint32_t entries) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    char line[160];
    int length = snprintf(line, sizeof(line), "%d %.6f %llu %u\n", (int)code, seconds,
                          (unsigned long long)memory.PeakWorkingSetSize, entries);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, line, (DWORD)length, &written, nullptr) && written == (DWORD)length;
    CloseHandle(file);
    return ok;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 100;
    g_engine_bound = engine_bind();
    if (!g_engine_bound) {
        fprintf(stderr, "no archive engine\n");
        return 101;
    }
    OperationKind kind = (OperationKind)0;  // runs no body
    bool idle = wcscmp(argv[2], L"idle") == 0 && argc == 3;
    if (!idle && !prepare(argc, argv, &kind)) {
        fprintf(stderr, "bad command line\n");
        return 100;
    }
    if (!create_hidden_window()) return 102;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    operation_start(kind);
    MSG message;
    while (!g_done && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    QueryPerformanceCounter(&end);
    double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;

    // A kind without a body reports a failure; idle measures the round trip alone.
    int32_t code = idle ? (int32_t)RESULT_OK : g_slot.result.code;
    if (!write_report(argv[1], code, seconds, g_slot.pending_listing.count)) return 103;
    if (code != RESULT_OK) fprintf(stderr, "result %d: %ls\n", (int)code, g_slot.result.detail);
    return code;
}
