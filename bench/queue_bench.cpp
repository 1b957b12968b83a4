// Extraction queue speed: small archives (ZIP, 7z and TAR.GZ in turn, 2 to 5 files each) extracted
// through the queue of the real main window, the way the user runs it (Extract queue… into the
// default folder), against the same archives extracted by bsdtar.exe one process per archive, each
// into a new folder of its own, as a user's script would do it. The two take turns in every round
// (one round's first is the next round's second); medians of the rounds. Then where our time goes:
// the engine reading every archive (entries and data, nothing written), the queue's body alone on
// this thread (so the rest of it is naming and creating folders and files), and the window (the
// worker thread, the progress and queue messages, the list and status updates).
//
//   queue_bench.exe [--archives N] [--runs N] [--work FOLDER] [--machine TEXT]
//
// Run by scripts/bench.sh --queue-only, which puts bsdtar.exe (built against the prefix's engine)
// beside it and gives it a display. The archives are made once and kept in <work>\queue.
#include <windows.h>

#include <stdio.h>

#include "app/app_state.h"
#include "app/queue_view.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "engine/engine_api.h"
#include "engine/safe_paths.h"
#include "operations/create.h"
#include "operations/extract.h"
#include "operations/extraction_queue.h"
#include "operations/extraction_queue_run.h"
#include "operations/operation.h"
#include "settings/preferences.h"

namespace {

const wchar_t* const EXTENSIONS[3] = {L".zip", L".7z", L".tar.gz"};

struct Setup {
    uint32_t count = 1000;
    uint32_t runs = 3;
    std::wstring bin, work, archives, out, log;
    std::vector<std::wstring> paths;  // the archives, in queue order
    std::vector<std::wstring> stems;  // their names without the extension: the output folders
    TreeTotals totals;                // what all of them hold together
    std::string machine;
};

double seconds_between(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
}

struct Stopwatch {
    LARGE_INTEGER start;
    Stopwatch() { QueryPerformanceCounter(&start); }
    double seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return seconds_between(start, now);
    }
};

// One archive of 2 to 5 text files of 100 bytes to 20 kB, written by the engine in the format of
// its turn.
bool write_archive(const std::wstring& path, uint32_t index, uint64_t* random) {
    wchar_t temporary[PATH_CAPACITY];
    OperationResult result = {};
    struct archive* writer = open_archive_writer(path.c_str(), temporary, index % 3, 6, L"", &result);
    if (writer == nullptr) return false;
    bool ok = true;
    uint32_t files = 2 + index % 4;
    for (uint32_t f = 0; ok && f < files; ++f) {
        *random = *random * 6364136223846793005ull + 1442695040888963407ull;
        size_t size = 100 + (size_t)((*random >> 33) % 19900);
        std::string data;
        while (data.size() < size) data += "line " + std::to_string(data.size() * 7 + index) + " of the notes\n";
        data.resize(size);
        std::wstring name =
            f == files - 1 ? L"notes/part-" + std::to_wstring(f) + L".txt" : L"part-" + std::to_wstring(f) + L".txt";
        struct archive_entry* entry = g_engine.archive_entry_new();
        g_engine.archive_entry_copy_pathname_w(entry, name.c_str());
        g_engine.archive_entry_set_filetype(entry, AE_IFREG);
        g_engine.archive_entry_set_perm(entry, 0644);
        g_engine.archive_entry_set_size(entry, (la_int64)data.size());
        g_engine.archive_entry_set_mtime(entry, 1700000000, 0);
        ok = g_engine.archive_write_header(writer, entry) == ARCHIVE_OK &&
             g_engine.archive_write_data(writer, data.data(), data.size()) == (la_ssize)data.size();
        g_engine.archive_entry_free(entry);
    }
    if (g_engine.archive_write_close(writer) != ARCHIVE_OK) ok = false;
    g_engine.archive_write_free(writer);
    if (ok && MoveFileExW(temporary, path.c_str(), 0)) return true;
    DeleteFileW(temporary);
    return false;
}

bool prepare_archives(Setup* setup) {
    CreateDirectoryW(setup->work.c_str(), nullptr);
    CreateDirectoryW(setup->archives.c_str(), nullptr);
    std::wstring marker = setup->archives + L"\\made-" + std::to_wstring(setup->count) + L".txt";
    bool made = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!made) {
        remove_folder(setup->archives);
        CreateDirectoryW(setup->archives.c_str(), nullptr);
        printf("making %u archives in %ls...\n", setup->count, setup->archives.c_str());
        fflush(stdout);
    }
    uint64_t random = 20240611;
    for (uint32_t i = 0; i < setup->count; ++i) {
        wchar_t stem[32];
        swprintf(stem, 32, L"archive-%04u", i + 1);
        setup->stems.push_back(stem);
        setup->paths.push_back(setup->archives + L"\\" + stem + EXTENSIONS[i % 3]);
        if (!made && !write_archive(setup->paths.back(), i, &random)) {
            fprintf(stderr, "could not write %ls\n", setup->paths.back().c_str());
            return false;
        }
    }
    if (!made && !write_text_file(marker, "made\n", false)) return false;
    // What the archives hold: extract them once and count.
    std::wstring check = setup->work + L"\\queue-check";
    remove_folder(check);
    CreateDirectoryW(check.c_str(), nullptr);
    for (uint32_t i = 0; i < setup->count; ++i) {
        OperationResult result = {};
        std::wstring target = check + L"\\" + setup->stems[i];
        if (!extract_archive(setup->paths[i].c_str(), L"", target.c_str(), nullptr, nullptr, &result)) {
            fprintf(stderr, "could not extract %ls: %d\n", setup->paths[i].c_str(), (int)result.code);
            return false;
        }
    }
    bool counted = tree_totals(check, &setup->totals);
    remove_folder(check);
    return counted;
}

// Every archive extracted once into its own folder in the output folder, and nothing else there.
bool output_is_complete(const Setup& setup, std::string* problem) {
    TreeTotals totals;
    bool ok = tree_totals(setup.out, &totals) && totals.files == setup.totals.files &&
              totals.bytes == setup.totals.bytes && totals.folders == setup.totals.folders;
    for (uint32_t i = 0; ok && i < setup.count; i += 97)
        ok = GetFileAttributesW((setup.out + L"\\" + setup.stems[i] + L"\\part-0.txt").c_str()) !=
             INVALID_FILE_ATTRIBUTES;
    if (!ok)
        *problem = "output holds " + std::to_string(totals.files) + " files, " + std::to_string(totals.folders) +
                   " folders, " + std::to_string(totals.bytes) + " bytes";
    return ok;
}

void fresh_output(const Setup& setup) {
    remove_folder(setup.out);
    CreateDirectoryW(setup.out.c_str(), nullptr);
}

void pump_until_idle() {
    while (g_app.busy) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (g_app.busy) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void queue_every_archive(const Setup& setup) {
    queue_free();
    for (const std::wstring& path : setup.paths) queue_add(path.c_str());
    queue_after_adding(true);
}

// The user's way: every archive queued, then Extract queue… into the default folder, until the
// window is idle again.
double run_in_window(const Setup& setup, std::string* problem) {
    queue_every_archive(setup);
    fresh_output(setup);
    Stopwatch watch;
    SendMessageW(g_app.main, WM_COMMAND, MAKEWPARAM(CMD_EXTRACT_QUEUE, BN_CLICKED), 0);
    pump_until_idle();
    double seconds = watch.seconds();
    for (uint32_t i = 0; i < g_queue.count; ++i)
        if (g_queue.items[i].status != QUEUE_EXTRACTED) *problem = "not every archive was extracted";
    if (g_queue.count != setup.count) *problem = "not every archive was queued";
    return seconds;
}

// A user's script: for each archive a new folder, then one bsdtar process that extracts into it.
double run_bsdtar(const Setup& setup, std::string* problem) {
    fresh_output(setup);
    std::wstring bsdtar = quote(setup.bin + L"\\bsdtar.exe");
    Stopwatch watch;
    for (uint32_t i = 0; i < setup.count; ++i) {
        std::wstring folder = setup.out + L"\\" + setup.stems[i];
        CreateDirectoryW(folder.c_str(), nullptr);
        Measured measured =
            run_measured({bsdtar + L" -xf " + quote(setup.paths[i]) + L" -C " + quote(folder)}, L"", setup.log);
        if (!measured.succeeded) *problem = "bsdtar failed on " + narrow(setup.paths[i]);
    }
    return watch.seconds();
}

// The engine alone: every archive read through, entries and data, nothing written.
double run_engine_reads(const Setup& setup, std::string* problem) {
    Stopwatch watch;
    for (const std::wstring& path : setup.paths) {
        OperationResult result = {};
        if (!test_archive(path.c_str(), L"", &result)) *problem = "could not read " + narrow(path);
    }
    return watch.seconds();
}

// The queue's body on this thread, without progress hooks; its queue messages are dropped after.
double run_body_alone(const Setup& setup, std::string* problem) {
    queue_every_archive(setup);
    fresh_output(setup);
    OperationResult result = {};
    Stopwatch watch;
    run_extraction_queue(&g_queue, setup.out.c_str(), false, &result);
    double seconds = watch.seconds();
    MSG msg;
    uint32_t done = 0;
    while (PeekMessageW(&msg, g_app.main, WM_APP_QUEUE_ITEM_STARTED, WM_APP_QUEUE_ITEM_DONE, PM_REMOVE))
        if (msg.message == WM_APP_QUEUE_ITEM_DONE && msg.lParam == RESULT_OK) ++done;
    if (result.code != RESULT_OK || done != setup.count) *problem = "the body did not extract every archive";
    return seconds;
}

// The fixed cost of one bsdtar process: started, prints its version, ends (median of the runs).
double run_bsdtar_idle(const Setup& setup, uint32_t times) {
    std::wstring line = quote(setup.bin + L"\\bsdtar.exe") + L" --version";
    std::wstring printed = setup.work + L"\\queue-version.txt";
    std::vector<double> seconds;
    for (uint32_t i = 0; i < times; ++i) seconds.push_back(run_measured({line}, printed, setup.log).seconds);
    DeleteFileW(printed.c_str());
    return median(seconds);
}

bool parse(int argc, wchar_t** argv, Setup* setup) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring name = argv[i];
        if (name == L"--archives")
            setup->count = (uint32_t)_wtoi(argv[i + 1]);
        else if (name == L"--runs")
            setup->runs = (uint32_t)_wtoi(argv[i + 1]);
        else if (name == L"--work")
            setup->work = argv[i + 1];
        else if (name == L"--machine")
            setup->machine = narrow(argv[i + 1]);
        else
            return false;
    }
    return argc % 2 == 1 && setup->count > 0 && setup->runs > 0;
}

std::string figure(const char* pattern, double value) {
    char text[64];
    snprintf(text, sizeof(text), pattern, value);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Setup setup;
    if (!parse(argc, argv, &setup)) {
        printf("queue_bench.exe [--archives N] [--runs N] [--work FOLDER] [--machine TEXT]\n");
        return 2;
    }
    setup.bin = folder_of(this_program());
    if (setup.work.empty()) setup.work = folder_of(setup.bin) + L"\\bench";
    setup.work += L"\\queue";
    setup.archives = setup.work + L"\\archives";
    setup.out = setup.work + L"\\out";
    setup.log = setup.work + L"\\bsdtar.log";
    if (GetFileAttributesW((setup.bin + L"\\bsdtar.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        fprintf(stderr, "%ls\\bsdtar.exe is missing: run the benchmark through scripts/bench.sh --queue-only\n",
                setup.bin.c_str());
        return 2;
    }

    // The program's own start-up, with preferences and profiles of an empty data folder.
    std::wstring data = setup.work + L"\\local-data";
    CreateDirectoryW(setup.work.c_str(), nullptr);
    CreateDirectoryW(data.c_str(), nullptr);
    SetEnvironmentVariableW(L"LOCALAPPDATA", data.c_str());
    startup_prepare();
    if (!g_app.engine_present) {
        fprintf(stderr, "no archive engine\n");
        return 2;
    }
    if (!prepare_archives(&setup)) return 1;
    if (create_main_window() == nullptr) {
        fprintf(stderr, "no main window\n");
        return 1;
    }
    wcscpy(g_preferences.default_extract_folder, setup.out.c_str());
    g_preferences.use_default_folder_silently = 1;
    g_preferences.open_folder_after_extract = 0;

    printf("## Extraction queue: %u archives\n\n", setup.count);
    printf("Machine: %s.\n\n", setup.machine.c_str());
    printf("%u archives, ZIP, 7z and TAR.GZ in turn, written by the engine: %llu files (2 to 5 each), %.1f MB.\n",
           setup.count, (unsigned long long)setup.totals.files, (double)setup.totals.bytes / 1e6);
    printf(
        "Lumarek: the real main window, every archive queued, Extract queue… into the default folder, until the "
        "window is idle. bsdtar: per archive a new folder, then \"bsdtar -xf ARCHIVE -C FOLDER\" (its own process, "
        "built against the same engine DLL). The two take turns, one round's first is the next round's second; "
        "one warm-up round is not counted.\n\n");
    printf(
        "| round | first | Lumarek s | Lumarek archives/s | bsdtar s | bsdtar archives/s | bsdtar / Lumarek | load "
        "|\n");
    printf("|--:|---|--:|--:|--:|--:|--:|--:|\n");
    fflush(stdout);

    std::vector<double> ours, theirs, engine, body;
    int failures = 0;
    for (uint32_t round = 0; round <= setup.runs; ++round) {
        double seconds[2] = {};
        bool ours_first = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            bool run_ours = (turn == 0) == ours_first;
            std::string problem;
            double s = run_ours ? run_in_window(setup, &problem) : run_bsdtar(setup, &problem);
            if (problem.empty()) output_is_complete(setup, &problem);
            if (!problem.empty()) {
                fprintf(stderr, "%s, round %u: %s\n", run_ours ? "Lumarek" : "bsdtar", round, problem.c_str());
                ++failures;
            }
            seconds[run_ours ? 0 : 1] = s;
        }
        // Where our time goes, measured in the same round.
        std::string problem;
        double engine_seconds = run_engine_reads(setup, &problem);
        double body_seconds = run_body_alone(setup, &problem);
        if (problem.empty()) output_is_complete(setup, &problem);
        if (!problem.empty()) {
            fprintf(stderr, "breakdown, round %u: %s\n", round, problem.c_str());
            ++failures;
        }
        printf("| %s | %s | %.2f | %.1f | %.2f | %.1f | %.2f | %s |\n",
               round == 0 ? "warm-up" : std::to_string(round).c_str(), ours_first ? "Lumarek" : "bsdtar", seconds[0],
               setup.count / seconds[0], seconds[1], setup.count / seconds[1], seconds[1] / seconds[0],
               load_average().c_str());
        fflush(stdout);
        if (round == 0) continue;
        ours.push_back(seconds[0]);
        theirs.push_back(seconds[1]);
        engine.push_back(engine_seconds);
        body.push_back(body_seconds);
    }
    remove_folder(setup.out);
    double o = median(ours), t = median(theirs), e = median(engine), b = median(body);
    double idle = run_bsdtar_idle(setup, 20);
    printf("| **median** | | **%.2f** | **%.1f** | **%.2f** | **%.1f** | **%.2f** | |\n\n", o, setup.count / o, t,
           setup.count / t, t / o);
    printf("Where Lumarek's %.2f s go (medians of the same rounds; per archive in brackets):\n", o);
    printf("- the engine reading every archive, entries and data, nothing written: %.2f s (%.2f ms)\n", e,
           1000 * e / setup.count);
    printf(
        "- naming and creating the folders and files, writing the data, renaming into place (the queue's body "
        "alone, less the engine): %.2f s (%.2f ms)\n",
        b - e, 1000 * (b - e) / setup.count);
    printf("- the window: worker thread, progress and queue messages, list cells and status line: %.2f s (%.2f ms)\n",
           o - b, 1000 * (o - b) / setup.count);
    printf(
        "bsdtar: one process started and ended (\"bsdtar --version\", median of 20) takes %.1f ms, %.2f s for %u "
        "archives: %s of its %.2f s.\n",
        1000 * idle, idle * setup.count, setup.count, figure("%.0f%%", 100 * idle * setup.count / t).c_str(), t);
    printf("load average at the end %s\n", load_average().c_str());
    DestroyWindow(g_app.main);
    return failures == 0 ? 0 : 1;
}
