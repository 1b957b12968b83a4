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

#include <stdio.h>

#include "bench/bench_window.h"
#include "common/text.h"
#include "operations/archive_format.h"
#include "operations/operation.h"

// What the window holds for the operations: the open archive.
static wchar_t g_archive_path[PATH_CAPACITY];

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

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 100;
    if (!open_bench_window()) return 101;
    OperationKind kind = (OperationKind)0;  // runs no body
    bool idle = wcscmp(argv[2], L"idle") == 0 && argc == 3;
    if (!idle && !prepare(argc, argv, &kind)) {
        fprintf(stderr, "bad command line\n");
        return 100;
    }
    double seconds = run_operation_timed(kind);
    // A kind without a body reports a failure; idle measures the round trip alone.
    int32_t code = idle ? (int32_t)RESULT_OK : g_slot.result.code;
    if (!write_report(argv[1], code, seconds, g_slot.pending_listing.count)) return 103;
    if (code != RESULT_OK) fprintf(stderr, "result %d: %ls\n", (int)code, g_slot.result.detail);
    return code;
}
