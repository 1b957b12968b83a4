// Listing speed: writes archives of many entries with the engine (ZIP and TAR), then lists each
// the way the program opens an archive and prints entries per second and peak memory.
//
//   listing_bench.exe [entry count]        (default 200000)
//
// The archives are written by a child run of this program, so that the memory figures of this
// process belong to the listing alone (plus the program and the engine themselves).
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include "engine/engine_api.h"
#include "operations/listing.h"

static bool write_archive(const wchar_t* path, bool zip, uint32_t count) {
    struct archive* writer = g_engine.archive_write_new();
    if (writer == nullptr) return false;
    // Stored ZIP entries: deflating 200,000 tiny files would only make the set-up slow.
    bool ok = (zip ? g_engine.archive_write_set_format_zip(writer) == ARCHIVE_OK &&
                         g_engine.archive_write_set_options(writer, "zip:compression=store") == ARCHIVE_OK
                   : g_engine.archive_write_set_format_pax_restricted(writer) == ARCHIVE_OK) &&
              g_engine.archive_write_open_filename_w(writer, path) == ARCHIVE_OK;
    static const char data[] = "entry data\n";
    for (uint32_t i = 0; ok && i < count; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"folder%03u/file%07u.txt", i / 1000, i);
        struct archive_entry* entry = g_engine.archive_entry_new();
        g_engine.archive_entry_copy_pathname_w(entry, name);
        g_engine.archive_entry_set_filetype(entry, AE_IFREG);
        g_engine.archive_entry_set_perm(entry, 0644);
        g_engine.archive_entry_set_size(entry, sizeof(data) - 1);
        g_engine.archive_entry_set_mtime(entry, 1700000000, 0);
        ok = g_engine.archive_write_header(writer, entry) == ARCHIVE_OK &&
             g_engine.archive_write_data(writer, data, sizeof(data) - 1) == (la_ssize)(sizeof(data) - 1);
        g_engine.archive_entry_free(entry);
    }
    if (g_engine.archive_write_close(writer) != ARCHIVE_OK) ok = false;
    g_engine.archive_write_free(writer);
    return ok;
}

static bool run_child(const wchar_t* arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t line[2 * MAX_PATH + 64];
    swprintf(line, sizeof(line) / sizeof(line[0]), L"\"%ls\" %ls", self, arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code == 0;
}

static double megabytes(SIZE_T bytes) {
    return (double)bytes / (1024.0 * 1024.0);
}

int wmain(int argc, wchar_t** argv) {
    if (!engine_bind()) {
        fprintf(stderr, "no archive engine\n");
        return 2;
    }
    if (argc == 5 && wcscmp(argv[1], L"--write") == 0)
        return write_archive(argv[2], wcscmp(argv[3], L"zip") == 0, (uint32_t)_wtoi(argv[4])) ? 0 : 1;

    uint32_t count = argc > 1 ? (uint32_t)_wtoi(argv[1]) : 200000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const wchar_t* formats[] = {L"zip", L"tar"};
    wchar_t paths[2][MAX_PATH];
    for (int f = 0; f < 2; ++f) {
        swprintf(paths[f], MAX_PATH, L"%lslumarek-bench-%lu.%ls", temp, GetCurrentProcessId(), formats[f]);
        wchar_t arguments[MAX_PATH + 64];
        swprintf(arguments, sizeof(arguments) / sizeof(arguments[0]), L"--write \"%ls\" %ls %u", paths[f], formats[f],
                 count);
        if (!run_child(arguments)) {
            fprintf(stderr, "could not write the %ls archive\n", formats[f]);
            return 1;
        }
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    printf("before listing: working set %.1f MB, private %.1f MB\n", megabytes(memory.WorkingSetSize),
           megabytes(memory.PagefileUsage));
    int status = 0;
    for (int f = 0; f < 2; ++f) {
        EntryList list = {};
        OperationResult result = {};
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        bool ok = list_archive(paths[f], L"", &list, &result);
        QueryPerformanceCounter(&end);
        double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
        printf(
            "%ls: %u entries listed in %.3f s = %.0f entries/s (result %d); peak working set %.1f MB, "
            "peak private %.1f MB\n",
            formats[f], list.count, seconds, list.count / seconds, (int)result.code,
            megabytes(memory.PeakWorkingSetSize), megabytes(memory.PeakPagefileUsage));
        if (!ok || list.count != count) status = 1;
        entry_list_free(&list);
        DeleteFileW(paths[f]);
    }
    return status;
}
