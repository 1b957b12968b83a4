// ZIP profile speed (run by scripts/bench.sh --profile-only, not by CTest): a tree of 100,000 files in
// 2,000 folders, every other file a .pdf, previewed with the extension rule "pdf" and then packed
// at level 1. Side by side, interleaved, in the same run:
//   preview  our OP_PROFILE_PREVIEW through the runner against a bare FindFirstFileW walk of the
//            same tree (the floor: no rules, no list);
//   pack     our OP_PROFILE_ZIP of that preview against bsdtar.exe (the engine's own tool, the same
//            archiveint.dll) making a ZIP of the same file list with the same writer options.
// Each run is a process of its own; ours report the time from operation_start to the completion
// message, bsdtar's time is its wall time less the median wall time of "bsdtar --version".
//
//   profile_bench.exe --work <folder> [--runs <n>] [--machine <text>]
//   profile_bench.exe --child <report> walk <source>
//   profile_bench.exe --child <report> preview <source> <zip path>
//   profile_bench.exe --child <report> body <source> <zip path>
//   profile_bench.exe --child <report> pack <source> <zip path> <level>
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "bench/bench_window.h"
#include "common/text.h"
#include "profiles/profile_scan.h"

namespace {

const wchar_t* const EXTENSIONS = L"pdf";

// ---- the child ---------------------------------------------------------------------------------

// The floor: every entry listed, folders entered, nothing else.
void bare_walk(wchar_t* path, uint32_t* files) {
    uint32_t length = text_length(path);
    text_append(path, PATH_CAPACITY, L"\\*");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    path[length] = 0;
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const wchar_t* name = found.cFileName;
        if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            text_append(path, PATH_CAPACITY, L"\\");
            text_append(path, PATH_CAPACITY, name);
            bare_walk(path, files);
            path[length] = 0;
        } else {
            ++*files;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The profile's fields in the slot, as the Preview files command puts them there.
void prepare_preview(const wchar_t* source, const wchar_t* zip_path) {
    ZeroMemory(&g_slot.profile_copy, sizeof(g_slot.profile_copy));
    text_copy(g_slot.profile_copy.name, PROFILE_NAME_CAPACITY, L"bench");
    text_copy(g_slot.profile_copy.extensions, PROFILE_EXTENSIONS_CAPACITY, EXTENSIONS);
    text_copy(g_slot.profile_copy.source_folder, PATH_CAPACITY, source);
    text_copy(g_slot.zip_path, PATH_CAPACITY, zip_path);
}

DWORD WINAPI preview_body(void*) {
    preview_profile_files(&g_slot.profile_copy, g_slot.zip_path, &g_slot.profile_files, &g_slot.result);
    return 0;
}

// The preview's body alone on a thread of its own, with the cancel flag but without the progress
// hooks the runner gives it: what the scan and the sort cost without the item-count messages.
int body_alone(const wchar_t* report, const wchar_t* source, const wchar_t* zip_path) {
    prepare_preview(source, zip_path);
    ZeroMemory(&g_slot.result, sizeof(g_slot.result));
    g_slot.result.cancel_flag = &g_slot.cancel_requested;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    HANDLE thread = CreateThread(nullptr, 0, preview_body, nullptr, 0, nullptr);
    if (thread == nullptr) return 102;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    QueryPerformanceCounter(&end);
    double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
    return write_report(report, g_slot.result.code, seconds, g_slot.profile_files.count) ? g_slot.result.code : 103;
}

int child(int argc, wchar_t** argv) {
    const wchar_t* report = argv[2];
    const wchar_t* mode = argv[3];
    if (wcscmp(mode, L"walk") == 0 && argc == 5) {
        static wchar_t path[PATH_CAPACITY];
        text_copy(path, PATH_CAPACITY, argv[4]);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        uint32_t files = 0;
        bare_walk(path, &files);
        QueryPerformanceCounter(&end);
        return write_report(report, 0, (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart, files)
                   ? 0
                   : 103;
    }
    if (wcscmp(mode, L"body") == 0 && argc == 6) return body_alone(report, argv[4], argv[5]);
    bool preview = wcscmp(mode, L"preview") == 0 && argc == 6;
    bool pack = wcscmp(mode, L"pack") == 0 && argc == 7;
    if (!preview && !pack) return 100;
    if (!open_bench_window()) return 101;
    prepare_preview(argv[4], argv[5]);
    double seconds = run_operation_timed(OP_PROFILE_PREVIEW);
    uint32_t files = g_slot.profile_files.count;
    uint32_t messages = items_messages_received();
    if (pack && g_slot.result.code == RESULT_OK) {
        g_slot.compression_level = _wtoi(argv[6]);
        seconds = run_operation_timed(OP_PROFILE_ZIP);
    }
    int32_t code = g_slot.result.code;
    if (code != RESULT_OK) fprintf(stderr, "result %d: %ls\n", (int)code, g_slot.result.detail);
    return write_report(report, code, seconds, files, messages) ? code : 103;
}

// ---- the parent --------------------------------------------------------------------------------

struct Figures {
    std::vector<double> seconds;
    uint32_t messages = 0;  // item-count messages of the last run
    std::vector<double> peak_mib;
    uint32_t count = 0;
    int failures = 0;
};

struct Bench {
    std::wstring self, bsdtar, source, list, out, report, log;
    bool counted = false;  // false for the warm-up round
};

// One of our children; its own report gives the time, the peak and the count.
void run_ours(Bench& bench, const std::wstring& arguments, Figures* figures) {
    DeleteFileW(bench.out.c_str());
    Measured measured =
        run_measured({quote(bench.self) + L" --child " + quote(bench.report) + L" " + arguments}, L"", bench.log);
    std::string line;
    int code = -1;
    double seconds = 0;
    unsigned long long peak = 0;
    unsigned count = 0, messages = 0;
    bool read = read_text_file(bench.report, &line) &&
                sscanf(line.c_str(), "%d %lf %llu %u %u", &code, &seconds, &peak, &count, &messages) == 5;
    DeleteFileW(bench.report.c_str());
    if (!measured.succeeded || !read || code != 0) {
        ++figures->failures;
        return;
    }
    figures->count = count;
    figures->messages = messages;
    if (!bench.counted) return;
    figures->seconds.push_back(seconds);
    figures->peak_mib.push_back((double)peak / 1048576.0);
}

Measured run_bsdtar(Bench& bench, const std::wstring& arguments, Figures* figures) {
    DeleteFileW(bench.out.c_str());
    Measured measured = run_measured({quote(bench.bsdtar) + L" " + arguments}, L"", bench.log);
    if (!measured.succeeded) ++figures->failures;
    if (bench.counted && measured.succeeded) {
        figures->seconds.push_back(measured.seconds);
        figures->peak_mib.push_back((double)measured.peak_bytes / 1048576.0);
    }
    return measured;
}

uint64_t file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA facts;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts)) return 0;
    return (uint64_t)facts.nFileSizeHigh << 32 | facts.nFileSizeLow;
}

// The previewed names, "/"-separated, one a line: the list bsdtar packs.
bool write_file_list(const std::wstring& source, const std::wstring& list_path, uint32_t* count) {
    static Profile profile;
    ZeroMemory(&profile, sizeof(profile));
    text_copy(profile.extensions, PROFILE_EXTENSIONS_CAPACITY, EXTENSIONS);
    text_copy(profile.source_folder, PATH_CAPACITY, source.c_str());
    EntryList files = {};
    OperationResult result = {};
    if (!preview_profile_files(&profile, L"", &files, &result)) return false;
    std::string text;
    for (uint32_t i = 0; i < files.count; ++i) {
        std::string name = narrow(files.items[i].name);
        std::replace(name.begin(), name.end(), '\\', '/');
        text += name + "\n";
    }
    *count = files.count;
    entry_list_free(&files);
    return write_text_file(list_path, text, false);
}

int parent(int argc, wchar_t** argv) {
    Options options;
    uint32_t runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (wcscmp(argv[i], L"--work") == 0) options.work = argv[i + 1];
        if (wcscmp(argv[i], L"--runs") == 0) runs = (uint32_t)_wtoi(argv[i + 1]);
        if (wcscmp(argv[i], L"--machine") == 0) options.machine = argv[i + 1];
    }
    if (options.work.empty() || runs == 0) {
        fprintf(stderr, "usage: profile_bench.exe --work <folder> [--runs <n>] [--machine <text>]\n");
        return 2;
    }
    CreateDirectoryW(options.work.c_str(), nullptr);
    CreateDirectoryW((options.work + L"\\data").c_str(), nullptr);
    DataSet set = describe_set(options, L"profile");
    if (!prepare_set(options, &set)) {
        fprintf(stderr, "could not prepare the tree\n");
        return 1;
    }
    Bench bench;
    bench.self = this_program();
    bench.bsdtar = folder_of(bench.self) + L"\\bsdtar.exe";
    bench.source = set.folder + L"\\" + set.root_name;
    bench.list = options.work + L"\\profile-list.txt";
    bench.out = options.work + L"\\profile-out.zip";
    bench.report = options.work + L"\\profile-report.txt";
    bench.log = options.work + L"\\profile-bench.log";
    uint32_t listed = 0;
    if (!write_file_list(bench.source, bench.list, &listed)) {
        fprintf(stderr, "could not preview the tree\n");
        return 1;
    }
    printf("# ZIP profile: preview and pack\n\n%ls\n\n", options.machine.c_str());
    printf(
        "Tree: %llu files (%.0f MB) in %llu folders; the rule \"pdf\" takes %u files. %u counted runs of each "
        "after one warm-up, interleaved (the order of ours and the peer turns every run); medians.\n\n",
        (unsigned long long)set.totals.files, set.totals.bytes / 1e6, (unsigned long long)set.totals.folders - 1,
        listed, runs);
    printf("load average at the start: %s\n", load_averages().c_str());
    fflush(stdout);

    const std::wstring walk_arguments = L"walk " + quote(bench.source);
    const std::wstring preview_arguments = L"preview " + quote(bench.source) + L" " + quote(bench.out);
    const std::wstring body_arguments = L"body " + quote(bench.source) + L" " + quote(bench.out);
    const std::wstring pack_arguments = L"pack " + quote(bench.source) + L" " + quote(bench.out) + L" 1";
    const std::wstring bsdtar_arguments = L"-cf " + quote(bench.out) +
                                          L" --format zip --options zip:hdrcharset=UTF-8,compression-level=1 -C " +
                                          quote(bench.source) + L" -T " + quote(bench.list);
    Figures walk, preview, body, pack, tar, tar_idle;
    uint64_t ours_bytes = 0, tar_bytes = 0;
    std::vector<double> preview_ratios, body_ratios, pack_ratios;  // ours / peer within each run
    for (uint32_t run = 0; run <= runs; ++run) {
        bench.counted = run > 0;
        bool ours_first = run % 2 == 0;
        for (int step = 0; step < 2; ++step) {
            if ((step == 0) == ours_first) {
                run_ours(bench, preview_arguments, &preview);
                run_ours(bench, body_arguments, &body);
            } else {
                run_ours(bench, walk_arguments, &walk);
            }
        }
        for (int step = 0; step < 2; ++step) {
            if ((step == 0) == ours_first) {
                run_ours(bench, pack_arguments, &pack);
                ours_bytes = file_size(bench.out);
            } else {
                run_bsdtar(bench, bsdtar_arguments, &tar);
                tar_bytes = file_size(bench.out);
                run_bsdtar(bench, L"--version", &tar_idle);
            }
        }
        if (bench.counted && walk.seconds.size() == run && preview.seconds.size() == run &&
            body.seconds.size() == run) {
            preview_ratios.push_back(preview.seconds.back() / walk.seconds.back());
            body_ratios.push_back(body.seconds.back() / walk.seconds.back());
        }
        if (bench.counted && pack.seconds.size() == run && tar.seconds.size() == run && tar_idle.seconds.size() == run)
            pack_ratios.push_back(pack.seconds.back() / (tar.seconds.back() - tar_idle.seconds.back()));
        printf("run %u%s done, load average %s\n", run, run == 0 ? " (warm-up)" : "", load_averages().c_str());
        fflush(stdout);
    }
    DeleteFileW(bench.out.c_str());

    double walk_s = median(walk.seconds), preview_s = median(preview.seconds), body_s = median(body.seconds);
    double pack_s = median(pack.seconds), tar_s = median(tar.seconds), idle_s = median(tar_idle.seconds);
    double tar_net = tar_s - idle_s;
    double entries = (double)(set.totals.files + set.totals.folders - 1);
    printf("\n| job | ours | peer | ours / peer | ours peak | peer peak |\n|---|---|---|---|---|---|\n");
    printf(
        "| preview (%u of %u files): ours vs a bare FindFirstFileW walk | %.3f s (%.0f entries/s) | %.3f s "
        "(%.0f entries/s) | %.3f | %.1f MiB | %.1f MiB |\n",
        preview.count, walk.count, preview_s, entries / preview_s, walk_s, entries / walk_s, preview_s / walk_s,
        median(preview.peak_mib), median(walk.peak_mib));
    printf(
        "| the preview's body alone, without the runner's progress messages | %.3f s (%.0f entries/s) | %.3f s | "
        "%.3f | %.1f MiB | %.1f MiB |\n",
        body_s, entries / body_s, walk_s, body_s / walk_s, median(body.peak_mib), median(walk.peak_mib));
    printf(
        "| pack at level 1: ours vs bsdtar.exe -T list | %.3f s (%.0f files/s) | %.3f s (wall %.3f s less "
        "start-up %.3f s) | %.3f | %.1f MiB | %.1f MiB |\n",
        pack_s, listed / pack_s, tar_net, tar_s, idle_s, pack_s / tar_net, median(pack.peak_mib), median(tar.peak_mib));
    printf(
        "\nMedians of the ratios within each run: preview / walk %.3f, body alone / walk %.3f, pack / bsdtar %.3f.\n",
        median(preview_ratios), median(body_ratios), median(pack_ratios));
    printf(
        "The preview's worker posted %u item-count messages (one per 16 files found); the difference between the "
        "preview and its body alone, %.3f s, is %.1f microseconds per message.\n",
        preview.messages, preview_s - body_s, (preview_s - body_s) * 1e6 / (preview.messages ? preview.messages : 1));
    printf(
        "ZIP sizes: ours %llu bytes, bsdtar %llu bytes. Failed runs: walk %d, preview %d, body %d, pack %d, "
        "bsdtar %d.\n",
        (unsigned long long)ours_bytes, (unsigned long long)tar_bytes, walk.failures, preview.failures, body.failures,
        pack.failures, tar.failures + tar_idle.failures);
    printf("load average at the end: %s\n", load_averages().c_str());
    return walk.failures + preview.failures + body.failures + pack.failures + tar.failures > 0 ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && wcscmp(argv[1], L"--child") == 0) return child(argc, argv);
    return parent(argc, argv);
}
