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
#include "many_entries.h"
#include "operations/listing.h"

int wmain(int argc, wchar_t** argv) {
    if (!engine_bind()) {
        fprintf(stderr, "no archive engine\n");
        return 2;
    }
    if (argc == 5 && wcscmp(argv[1], L"--write") == 0)
        return write_many_entries(argv[2], wcscmp(argv[3], L"zip") == 0, false, (uint32_t)_wtoi(argv[4])) ? 0 : 1;

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
        if (!run_self_child(arguments)) {
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
