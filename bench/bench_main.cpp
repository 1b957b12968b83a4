// Side-by-side benchmark of our operations against bsdtar.exe (the engine's own tool, linked to the
// same engine) and 7za.exe (7-Zip), on generated data. Run by scripts/bench.sh, which puts both
// tools beside this program; see --help.
#include <stdio.h>
#include <algorithm>

#include "bench/bench.h"
#include "engine/engine_api.h"
#include "operations/listing.h"

namespace {

enum Tool { OURS, BSDTAR, SEVEN_ZIP, SEVEN_ZIP_ONE_THREAD, TOOL_COUNT };
const wchar_t* const TOOL_IDS[TOOL_COUNT] = {L"ours", L"bsdtar", L"7za", L"7za-mt1"};

enum Format { ZIP, SEVEN_Z, TAR_GZ, FORMAT_COUNT };
const wchar_t* const FORMAT_IDS[FORMAT_COUNT] = {L"zip", L"7z", L"tar.gz"};
const wchar_t* const FORMAT_TITLES[FORMAT_COUNT] = {L"ZIP", L"7z", L"TAR.GZ"};

struct Job {
    std::wstring kind;  // list, test, extract, create
    int format;
    int level;  // create only
};

struct Sample {
    Measured measured;
    double operation_seconds = 0;  // ours: from operation_start to the completion message
    uint64_t output_bytes = 0;     // create: the archive's size
};

struct Context {
    Options options;
    std::wstring bin;      // this program, bsdtar.exe and 7za.exe
    std::wstring results;  // the Markdown file
    std::wstring raw;      // every run, one line each
    std::wstring log;      // standard error of every child
    bool tools[TOOL_COUNT];
    int failures = 0;
    // Medians of the idle job (start, load, end): the fixed cost of each tool's process.
    bool have_idle = false;
    double idle_seconds[TOOL_COUNT] = {};
    double idle_peak_mib[TOOL_COUNT] = {};
};

// Short jobs are cheap to repeat and the noisiest: they get more counted runs.
const double SHORT_ROUND_SECONDS = 5;
const uint32_t SHORT_JOB_RUNS = 7;

void print(Context& context, const std::string& text) {
    fputs(text.c_str(), stdout);
    fflush(stdout);
    write_text_file(context.results, text, true);
}

bool listed(const std::vector<std::wstring>& filter, const std::wstring& value) {
    return filter.empty() || std::find(filter.begin(), filter.end(), value) != filter.end();
}

std::vector<std::wstring> split(const std::wstring& text) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) comma = text.size();
        if (comma > start) parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

std::wstring archive_of(const Context& context, const DataSet& set, int format) {
    return context.options.work + L"\\archives\\" + set.id + L"." + FORMAT_IDS[format];
}

// The engine options of our writer for a format and level, as one option text.
std::wstring engine_options(int format, int level) {
    std::wstring level_option = L"compression-level=" + std::to_wstring(level);
    if (format == ZIP) return L"zip:hdrcharset=UTF-8," + level_option;
    if (format == SEVEN_Z) return level == 9 ? L"7zip:compression=lzma2," + level_option : level_option;
    return L"pax:hdrcharset=UTF-8," + level_option;
}

std::wstring bsdtar_format(int format) {
    return format == ZIP ? L"zip" : format == SEVEN_Z ? L"7zip" : L"rpax";
}

// The command lines of one run (two when the tool pipes one process into another).
std::vector<std::wstring> command_lines(const Context& context, Tool tool, const Job& job, const DataSet& set,
                                        const std::wstring& archive, const std::wstring& output,
                                        const std::wstring& report) {
    std::wstring child = quote(context.bin + L"\\lumarek_bench_child.exe");
    std::wstring bsdtar = quote(context.bin + L"\\bsdtar.exe");
    std::wstring seven = quote(context.bin + L"\\7za.exe");
    std::wstring source = set.folder + L"\\" + set.root_name;
    bool tar_gz = job.format == TAR_GZ;
    if (job.kind == L"idle") {
        if (tool == OURS) return {child + L" " + quote(report) + L" idle"};
        if (tool == BSDTAR) return {bsdtar + L" --version"};
        return {seven + L" i" + (tool == SEVEN_ZIP_ONE_THREAD ? L" -mmt=1" : L"")};
    }
    if (tool == OURS) {
        std::wstring run = child + L" " + quote(report) + L" ";
        if (job.kind == L"list") return {run + L"open " + quote(archive)};
        if (job.kind == L"test") return {run + L"test " + quote(archive)};
        if (job.kind == L"extract") return {run + L"extract " + quote(archive) + L" " + quote(output)};
        return {run + L"create " + quote(output) + L" " + FORMAT_IDS[job.format] + L" " + std::to_wstring(job.level) +
                L" " + quote(source)};
    }
    if (tool == BSDTAR) {
        if (job.kind == L"list") return {bsdtar + L" -tf " + quote(archive)};
        if (job.kind == L"test") return {bsdtar + L" -xOf " + quote(archive)};  // all data read, written to NUL
        if (job.kind == L"extract") return {bsdtar + L" -xf " + quote(archive) + L" -C " + quote(output)};
        return {bsdtar + L" -c" + (tar_gz ? L"z" : L"") + L"f " + quote(output) + L" --format " +
                bsdtar_format(job.format) + L" --options " + engine_options(job.format, job.level) + L" -C " +
                quote(set.folder) + L" " + quote(set.root_name)};
    }
    std::wstring switches = tool == SEVEN_ZIP_ONE_THREAD ? L" -bd -y -mmt=1" : L" -bd -y";
    // 7-Zip reads and writes a .tar.gz in two steps: gzip and tar, piped.
    if (job.kind == L"list") {
        if (tar_gz) return {seven + L" x -so" + switches + L" " + quote(archive), seven + L" l -si -ttar" + switches};
        return {seven + L" l" + switches + L" " + quote(archive)};
    }
    if (job.kind == L"test") return {seven + L" t" + switches + L" " + quote(archive)};
    if (job.kind == L"extract") {
        if (tar_gz)
            return {seven + L" x -so" + switches + L" " + quote(archive),
                    seven + L" x -si -ttar" + switches + L" -o" + quote(output)};
        return {seven + L" x" + switches + L" -o" + quote(output) + L" " + quote(archive)};
    }
    std::wstring level = L" -mx=" + std::to_wstring(job.level);
    if (job.format == ZIP)
        return {seven + L" a -tzip -mm=Deflate" + level + switches + L" " + quote(output) + L" " + quote(source)};
    // Our 7z writer uses LZMA below level 9 and LZMA2 at 9; 7-Zip is given the same method.
    if (job.format == SEVEN_Z)
        return {seven + L" a -t7z -m0=" + (job.level == 9 ? L"LZMA2" : L"LZMA") + level + switches + L" " +
                quote(output) + L" " + quote(source)};
    return {seven + L" a -ttar -so -an" + switches + L" " + quote(source),
            seven + L" a -tgzip -si" + set.root_name + L".tar" + level + switches + L" " + quote(output)};
}

uint64_t file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// Our listing of an archive a tool made must hold every file of the set with its size.
bool archive_holds_set(const std::wstring& archive, const DataSet& set, std::string* problem) {
    EntryList list = {};
    OperationResult result = {};
    bool ok = list_archive(archive.c_str(), L"", &list, &result);
    uint64_t files = 0, bytes = 0;
    for (uint32_t i = 0; i < list.count; ++i)
        if (!list.items[i].is_directory) {
            ++files;
            bytes += (uint64_t)list.items[i].size;
        }
    entry_list_free(&list);
    if (ok && files == set.totals.files && bytes == set.totals.bytes) return true;
    char text[200];
    snprintf(text, sizeof(text), "archive holds %llu files, %llu bytes (listing result %d)", (unsigned long long)files,
             (unsigned long long)bytes, (int)result.code);
    *problem = text;
    return false;
}

// One run of one tool; checks what it produced when asked to.
Sample run_once(Context& context, Tool tool, const Job& job, const DataSet& set, bool verify, std::string* problem) {
    Sample sample;
    std::wstring out_base = context.options.work + L"\\out\\" + TOOL_IDS[tool];
    std::wstring output = job.kind == L"create" ? out_base + L"." + FORMAT_IDS[job.format] : out_base;
    std::wstring report = context.options.work + L"\\out\\report.txt";
    remove_folder(out_base);
    DeleteFileW(output.c_str());
    DeleteFileW(report.c_str());
    // Our extraction makes its own new folder; the others extract into an existing one.
    if (job.kind == L"extract" && tool != OURS) CreateDirectoryW(output.c_str(), nullptr);

    std::wstring archive = archive_of(context, set, job.format);
    std::vector<std::wstring> lines = command_lines(context, tool, job, set, archive, output, report);
    // What the tools print goes to a file; bsdtar's test writes all the data there, so it goes to NUL.
    std::wstring printed = context.options.work + L"\\out\\printed.txt";
    bool data_to_output = tool == BSDTAR && job.kind == L"test";
    sample.measured = run_measured(lines, data_to_output ? std::wstring() : printed, context.log);
    DeleteFileW(printed.c_str());

    if (tool == OURS) {
        std::string text;
        int code = -1;
        double seconds = 0;
        unsigned long long peak = 0;
        unsigned count = 0;
        if (read_text_file(report, &text) &&
            sscanf(text.c_str(), "%d %lf %llu %u", &code, &seconds, &peak, &count) == 4) {
            sample.operation_seconds = seconds;
            if (peak > sample.measured.peak_bytes) sample.measured.peak_bytes = peak;
            if (job.kind == L"list" && code == 0 && count != set.totals.files + set.totals.folders) {
                *problem = "listing has " + std::to_string(count) + " entries";
                sample.measured.succeeded = false;
            }
        } else {
            sample.measured.succeeded = false;
        }
    }
    if (sample.measured.succeeded && job.kind == L"extract") {
        TreeTotals totals;
        if (!tree_totals(output, &totals) || totals.files != set.totals.files || totals.bytes != set.totals.bytes) {
            *problem =
                "extracted " + std::to_string(totals.files) + " files, " + std::to_string(totals.bytes) + " bytes";
            sample.measured.succeeded = false;
        }
    }
    if (sample.measured.succeeded && job.kind == L"create") {
        sample.output_bytes = file_size(output);
        if (verify && !archive_holds_set(output, set, problem)) sample.measured.succeeded = false;
    }
    if (!sample.measured.succeeded && problem->empty())
        *problem = "exit code " + std::to_string(sample.measured.exit_code);
    remove_folder(out_base);
    DeleteFileW(output.c_str());
    return sample;
}

std::string format_number(const char* pattern, double value) {
    char text[64];
    snprintf(text, sizeof(text), pattern, value);
    return text;
}

struct ToolFigures {
    bool ran = false;
    bool failed = false;
    std::string problem;
    double seconds = 0, operation_seconds = 0, peak_mib = 0, output_mib = 0;
};

// Warm-up, then the counted runs, the chosen tools taking turns within every round. Each round
// starts one tool further on (ours, bsdtar, 7za, 7za -mmt=1; then bsdtar, 7za, 7za -mmt=1, ours;
// ...), so that no tool always runs first or always right after the same one: a slow or fast
// stretch of the machine then falls on each of them in turn.
void run_job(Context& context, const DataSet& set, const Job& job) {
    ToolFigures figures[TOOL_COUNT];
    std::vector<double> seconds[TOOL_COUNT], operation[TOOL_COUNT], peaks[TOOL_COUNT], outputs[TOOL_COUNT];
    std::wstring name = (set.id.empty() ? L"-" : set.id) + L" " + job.kind + L" " + FORMAT_IDS[job.format] +
                        (job.kind == L"create" ? L" " + std::to_wstring(job.level) : L"");
    int order[TOOL_COUNT];
    uint32_t chosen = 0;
    for (int t = 0; t < TOOL_COUNT; ++t)
        if (context.tools[t]) order[chosen++] = t;
    uint32_t runs = context.options.runs;
    for (uint32_t round = 0; round <= runs; ++round) {
        double round_seconds = 0;
        for (uint32_t turn = 0; turn < chosen; ++turn) {
            int t = order[(round + turn) % chosen];
            if (figures[t].failed) continue;
            std::string problem;
            Sample sample = run_once(context, (Tool)t, job, set, round == 0, &problem);
            figures[t].ran = true;
            round_seconds += sample.measured.seconds;
            char line[512];
            snprintf(line, sizeof(line), "%ls\t%ls\t%u\t%.4f\t%.4f\t%llu\t%llu\t%s\n", name.c_str(), TOOL_IDS[t], round,
                     sample.measured.seconds, sample.operation_seconds, (unsigned long long)sample.measured.peak_bytes,
                     (unsigned long long)sample.output_bytes, sample.measured.succeeded ? "ok" : problem.c_str());
            write_text_file(context.raw, line, true);
            if (!sample.measured.succeeded) {
                figures[t].failed = true;
                figures[t].problem = problem;
                ++context.failures;
                fprintf(stderr, "%ls: %ls failed: %s (see %ls)\n", name.c_str(), TOOL_IDS[t], problem.c_str(),
                        context.log.c_str());
                continue;
            }
            if (round == 0) continue;  // the warm-up is not counted
            seconds[t].push_back(sample.measured.seconds);
            operation[t].push_back(sample.operation_seconds);
            peaks[t].push_back((double)sample.measured.peak_bytes / 1048576.0);
            outputs[t].push_back((double)sample.output_bytes / 1048576.0);
        }
        if (round == 0 && round_seconds < SHORT_ROUND_SECONDS && runs < SHORT_JOB_RUNS) runs = SHORT_JOB_RUNS;
    }
    for (int t = 0; t < TOOL_COUNT; ++t) {
        figures[t].seconds = median(seconds[t]);
        figures[t].operation_seconds = median(operation[t]);
        figures[t].peak_mib = median(peaks[t]);
        figures[t].output_mib = median(outputs[t]);
    }
    if (job.kind == L"idle") {
        context.have_idle = true;
        for (int t = 0; t < TOOL_COUNT; ++t) {
            context.idle_seconds[t] = figures[t].seconds;
            context.idle_peak_mib[t] = figures[t].peak_mib;
        }
    }

    auto usable = [&](int t) { return figures[t].ran && !figures[t].failed; };
    auto cell = [&](int t, const std::string& value) -> std::string {
        if (!figures[t].ran) return "–";
        if (figures[t].failed) return "failed";
        return value;
    };
    auto ratio = [&](int t) -> std::string {
        if (!usable(OURS) || !usable(t)) return "–";
        return format_number("%.2f", figures[OURS].seconds / figures[t].seconds);
    };
    // Both times less each tool's own idle start and end.
    auto net_ratio = [&](int t) -> std::string {
        if (!usable(OURS) || !usable(t) || !context.have_idle || job.kind == L"idle") return "–";
        double ours = figures[OURS].seconds - context.idle_seconds[OURS];
        double theirs = figures[t].seconds - context.idle_seconds[t];
        if (ours <= 0 || theirs <= 0) return "–";
        return format_number("%.2f", ours / theirs);
    };
    auto peak = [&](int t) -> std::string {
        std::string text = format_number("%.1f", figures[t].peak_mib);
        if (context.have_idle && job.kind != L"idle")
            text += format_number(" (%+.1f)", figures[t].peak_mib - context.idle_peak_mib[t]);
        return cell(t, text);
    };
    std::string format = job.kind == L"idle" ? "–" : narrow(FORMAT_TITLES[job.format]);
    if (job.kind == L"create") format += " " + std::to_string(job.level);
    std::string row = "| " + narrow(set.title) + " | " + narrow(job.kind) + " | " + format + " |";
    row += " " + cell(OURS, format_number("%.3f", figures[OURS].seconds)) + " |";
    row += " " + cell(OURS, format_number("%.3f", figures[OURS].operation_seconds)) + " |";
    for (int t = BSDTAR; t < TOOL_COUNT; ++t) row += " " + cell(t, format_number("%.3f", figures[t].seconds)) + " |";
    row += " " + ratio(BSDTAR) + " | " + net_ratio(BSDTAR) + " | " + ratio(SEVEN_ZIP) + " | " +
           ratio(SEVEN_ZIP_ONE_THREAD) + " |";
    std::string speed = set.totals.bytes == 0 || !usable(OURS)
                            ? std::string("–")
                            : format_number("%.1f", (double)set.totals.bytes / 1e6 / figures[OURS].seconds);
    row += " " + speed + " |";
    for (int t = 0; t < TOOL_COUNT; ++t) row += " " + peak(t) + " |";
    std::string sizes;
    if (job.kind == L"create")
        for (int t = 0; t < TOOL_COUNT; ++t)
            sizes += (t > 0 ? " / " : "") + cell(t, format_number("%.1f", figures[t].output_mib));
    row += " " + (sizes.empty() ? std::string("–") : sizes) + " | " + std::to_string(runs) + " | " + load_average() +
           " |\n";
    print(context, row);
}

std::vector<Job> jobs_for(const Context& context, const DataSet& set) {
    std::vector<Job> jobs;
    const Options& options = context.options;
    if (set.read_jobs) {
        const wchar_t* kinds[] = {L"list", L"test", L"extract"};
        for (const wchar_t* kind : kinds)
            for (int format = 0; format < FORMAT_COUNT; ++format) jobs.push_back({kind, format, 0});
        int creations[][2] = {{ZIP, 1}, {ZIP, 6}, {ZIP, 9}, {SEVEN_Z, 6}, {SEVEN_Z, 9}, {TAR_GZ, 6}};
        for (auto& c : creations) jobs.push_back({L"create", c[0], c[1]});
    } else {
        for (int format = 0; format < FORMAT_COUNT; ++format)
            for (int level : {1, 6, 9}) jobs.push_back({L"create", format, level});
    }
    std::vector<Job> chosen;
    for (const Job& job : jobs)
        if (listed(options.jobs, job.kind) && listed(options.formats, FORMAT_IDS[job.format]) &&
            (job.kind != L"create" || listed(options.levels, std::to_wstring(job.level))))
            chosen.push_back(job);
    return chosen;
}

// The archives that list, test and extract read: made by the engine (bsdtar.exe) from the set,
// ZIP with deflate at level 6, 7z with LZMA2 at level 6, TAR.GZ at level 6.
bool prepare_archives(Context& context, const DataSet& set) {
    CreateDirectoryW((context.options.work + L"\\archives").c_str(), nullptr);
    for (int format = 0; format < FORMAT_COUNT; ++format) {
        if (!listed(context.options.formats, FORMAT_IDS[format])) continue;
        std::wstring archive = archive_of(context, set, format);
        if (GetFileAttributesW(archive.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        printf("making %ls...\n", archive.c_str());
        fflush(stdout);
        std::wstring options =
            format == SEVEN_Z ? L"7zip:compression=lzma2,compression-level=6" : engine_options(format, 6);
        std::wstring temporary = archive + L".part";
        DeleteFileW(temporary.c_str());
        std::wstring line = quote(context.bin + L"\\bsdtar.exe") + L" -c" + (format == TAR_GZ ? L"z" : L"") + L"f " +
                            quote(temporary) + L" --format " + bsdtar_format(format) + L" --options " + options +
                            L" -C " + quote(set.folder) + L" " + quote(set.root_name);
        if (!run_measured({line}, std::wstring(), context.log).succeeded ||
            !MoveFileW(temporary.c_str(), archive.c_str())) {
            fprintf(stderr, "could not make %ls\n", archive.c_str());
            return false;
        }
    }
    return true;
}

std::string machine_description(const Options& options) {
    std::string text = narrow(options.machine);
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatusEx(&memory);
    char line[200];
    snprintf(line, sizeof(line), "%s%u logical processors, %.1f GiB memory (as Windows sees them)",
             text.empty() ? "" : "; ", (unsigned)system.dwNumberOfProcessors,
             (double)memory.ullTotalPhys / (1024.0 * 1024.0 * 1024.0));
    return text + line;
}

void usage() {
    printf(
        "lumarek_bench.exe [options]   (run it through scripts/bench.sh)\n"
        "  --quick                 small sets: documents 100 files/20 MB, 2,000 small files, big 64 MiB,\n"
        "                          mixed 300 small + 2 x 8 MiB\n"
        "  --documents FILES,MB    default 1000,200\n"
        "  --small FILES           default 20000 (0 to 4 KiB each)\n"
        "  --big MIB               default 512\n"
        "  --mixed SMALL,LARGE,MIB default 3000,4,32 (small files of 0 to 16 KiB, LARGE files of MIB)\n"
        "  --sets LIST             documents,small,big,mixed (default all)\n"
        "  --jobs LIST             idle,list,test,extract,create (default all)\n"
        "  --formats LIST          zip,7z,tar.gz (default all)\n"
        "  --levels LIST           creation levels among 1,6,9 (default all)\n"
        "  --tools LIST            ours,bsdtar,7za,7za-mt1 (default all)\n"
        "  --runs N                counted runs after the warm-up (default 3)\n"
        "  --seed N, --work FOLDER, --label NAME, --machine TEXT\n");
}

bool parse_options(int argc, wchar_t** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::wstring name = argv[i];
        if (name == L"--quick") {
            options->documents_files = 100;
            options->documents_mb = 20;
            options->small_files = 2000;
            options->big_mb = 64;
            options->mixed_small_files = 300;
            options->mixed_large_files = 2;
            options->mixed_large_mb = 8;
            continue;
        }
        if (i + 1 >= argc) return false;
        std::wstring value = argv[++i];
        std::vector<std::wstring> parts = split(value);
        auto number = [&](size_t k) -> uint32_t { return k < parts.size() ? (uint32_t)_wtoi(parts[k].c_str()) : 0; };
        if (name == L"--documents" && parts.size() == 2) {
            options->documents_files = number(0);
            options->documents_mb = number(1);
        } else if (name == L"--small") {
            options->small_files = number(0);
        } else if (name == L"--big") {
            options->big_mb = number(0);
        } else if (name == L"--mixed" && parts.size() == 3) {
            options->mixed_small_files = number(0);
            options->mixed_large_files = number(1);
            options->mixed_large_mb = number(2);
        } else if (name == L"--sets") {
            options->sets = parts;
        } else if (name == L"--jobs") {
            options->jobs = parts;
        } else if (name == L"--formats") {
            options->formats = parts;
        } else if (name == L"--levels") {
            options->levels = parts;
        } else if (name == L"--tools") {
            options->tools = parts;
        } else if (name == L"--runs") {
            options->runs = number(0);
        } else if (name == L"--seed") {
            options->seed = _wcstoui64(value.c_str(), nullptr, 10);
        } else if (name == L"--work") {
            options->work = value;
        } else if (name == L"--label") {
            options->label = value;
        } else if (name == L"--machine") {
            options->machine = value;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Context context;
    if (!parse_options(argc, argv, &context.options) || context.options.runs == 0) {
        usage();
        return 2;
    }
    Options& options = context.options;
    context.bin = folder_of(this_program());
    if (options.work.empty()) options.work = folder_of(context.bin) + L"\\bench";
    if (options.sets.empty()) options.sets = {L"documents", L"small", L"big", L"mixed"};
    for (int t = 0; t < TOOL_COUNT; ++t) context.tools[t] = listed(options.tools, TOOL_IDS[t]);
    if (!engine_bind()) {
        fprintf(stderr, "no archive engine\n");
        return 2;
    }
    const wchar_t* needed[] = {L"\\bsdtar.exe", L"\\7za.exe"};
    for (const wchar_t* program : needed)
        if (GetFileAttributesW((context.bin + program).c_str()) == INVALID_FILE_ATTRIBUTES) {
            fprintf(stderr, "%ls%ls is missing: run the benchmark through scripts/bench.sh\n", context.bin.c_str(),
                    program);
            return 2;
        }
    CreateDirectoryW(options.work.c_str(), nullptr);
    CreateDirectoryW((options.work + L"\\data").c_str(), nullptr);
    CreateDirectoryW((options.work + L"\\out").c_str(), nullptr);

    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    std::wstring base = options.work + L"\\results-" + options.label + L"-" + stamp;
    context.results = base + L".md";
    context.raw = base + L".runs.tsv";
    context.log = base + L".log";

    // Only list, test and extract read the prepared archives: a creation run needs none.
    bool reads = listed(options.jobs, L"list") || listed(options.jobs, L"test") || listed(options.jobs, L"extract");
    std::vector<DataSet> sets;
    for (const std::wstring& id : options.sets) {
        if (id != L"documents" && id != L"small" && id != L"big" && id != L"mixed") {
            usage();
            return 2;
        }
        DataSet set = describe_set(options, id);
        if (!prepare_set(options, &set)) {
            fprintf(stderr, "could not generate the %ls set\n", set.title.c_str());
            return 1;
        }
        if (set.read_jobs && reads && !prepare_archives(context, set)) return 1;
        sets.push_back(set);
    }

    char heading[400];
    snprintf(heading, sizeof(heading), "## Benchmark %s (%04u-%02u-%02u %02u:%02u)\n\n", narrow(options.label).c_str(),
             now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    print(context, heading);
    print(context, "Machine: " + machine_description(options) + ".\n\n");
    print(context, "Data sets (seed " + std::to_string(options.seed) + "):\n");
    for (const DataSet& set : sets) {
        char line[300];
        snprintf(line, sizeof(line), "- %s: %llu files, %llu folders, %.1f MB\n", narrow(set.title).c_str(),
                 (unsigned long long)set.totals.files, (unsigned long long)set.totals.folders,
                 (double)set.totals.bytes / 1e6);
        print(context, line);
    }
    print(context,
          "\nMedians of the counted runs (\"runs\"; one warm-up run before them is not counted), the tools taking "
          "turns in every round, each round starting one tool further on. Times are wall seconds of the whole "
          "process, start to exit; \"L op s\" is our operation alone, from operation_start to WM_APP_OPERATION_DONE, "
          "what a user of the open window waits "
          "for. \"idle\" is each program started and ended without work (ours: engine bound, hidden window "
          "made and an operation without a body run through the runner; bsdtar --version; 7za i): \"L/b net\" compares "
          "both times less that. Peak memory is each "
          "process's peak working set in MiB (both processes summed where 7za pipes gzip and tar), in brackets "
          "what it adds to that tool's idle peak. MB/s: the set's bytes (10^6) per second of our median. List, "
          "test and extract read archives made by the engine (ZIP deflate 6, 7z LZMA2 6, TAR.GZ 6). \"load\": "
          "the host's 1-minute load average after the job.\n\n");
    print(context,
          "| Set | Job | Format | Lumarek s | L op s | bsdtar s | 7za s | 7za mt=1 s | L/bsdtar | L/b net | L/7za | "
          "L/7za mt=1 | L MB/s | Lumarek MiB | bsdtar MiB | 7za MiB | 7za mt=1 MiB | Output MiB L / b / 7 / 7-1 | "
          "runs | load |\n"
          "|---|---|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
    // What each tool costs before it does anything: start, load, end.
    if (listed(options.jobs, L"idle")) {
        DataSet none;
        none.title = L"–";
        run_job(context, none, {L"idle", ZIP, 0});
    }
    for (const DataSet& set : sets)
        for (const Job& job : jobs_for(context, set)) run_job(context, set, job);

    printf("\nresults: %ls\nevery run: %ls\n", context.results.c_str(), context.raw.c_str());
    return context.failures == 0 ? 0 : 1;
}
