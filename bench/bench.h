// The side-by-side benchmark: our operations (through the runner, in a child process of this
// program), the engine's own bsdtar.exe and 7-Zip's 7za.exe on the same generated data.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <string>
#include <vector>

// ---- options ---------------------------------------------------------------------------------

struct Options {
    uint64_t seed = 20240611;
    uint32_t runs = 3;  // counted runs per tool, after one warm-up run
    uint32_t documents_files = 1000;
    uint32_t documents_mb = 200;
    uint32_t small_files = 20000;
    uint32_t small_max_bytes = 4096;
    uint32_t big_mb = 512;
    uint32_t mixed_small_files = 3000;
    uint32_t mixed_small_max_bytes = 16384;
    uint32_t mixed_large_files = 4;
    uint32_t mixed_large_mb = 32;
    uint32_t profile_files = 100000;  // the profile benchmark's tree: files, folders, largest file
    uint32_t profile_folders = 2000;
    uint32_t profile_max_bytes = 8192;
    std::vector<std::wstring> sets;     // documents, small, big, mixed
    std::vector<std::wstring> jobs;     // list, test, extract, create (empty: all)
    std::vector<std::wstring> tools;    // ours, bsdtar, 7za, 7za-mt1 (empty: all)
    std::vector<std::wstring> formats;  // zip, 7z, tar.gz (empty: all)
    std::vector<std::wstring> levels;   // creation levels, 1, 6, 9 (empty: all)
    std::wstring work;                  // data, archives, outputs and results
    std::wstring label = L"run";        // names the results file
    std::wstring machine;               // a description of the machine, printed above the tables
};

// ---- data sets -------------------------------------------------------------------------------

struct TreeTotals {
    uint64_t files = 0;
    uint64_t folders = 0;
    uint64_t bytes = 0;
};

struct DataSet {
    std::wstring id;          // documents, small, big, mixed, profile
    std::wstring title;       // as the tables show it
    std::wstring folder;      // <work>\data\<id>, the parent of the packed folder
    std::wstring root_name;   // the folder that is packed, inside folder
    std::wstring parameters;  // what the set was generated from
    TreeTotals totals;        // what the packed folder holds
    bool read_jobs;           // list, test and extract run on archives of this set
};

// The set's description for these options (nothing is written).
DataSet describe_set(const Options& options, const std::wstring& id);

// Generates the set unless the same set (same parameters) is already there; fills the totals.
bool prepare_set(const Options& options, DataSet* set);

// Counts what lies below a folder (every file and folder inside it, not the folder itself).
bool tree_totals(const std::wstring& folder, TreeTotals* totals);

// Removes a folder with everything in it; nothing when it does not exist.
void remove_folder(const std::wstring& folder);

// ---- processes -------------------------------------------------------------------------------

struct Measured {
    bool started = false;
    bool succeeded = false;   // every process ended with exit code 0
    double seconds = 0;       // from the first start to the last exit
    uint64_t peak_bytes = 0;  // peak working set, summed over the processes of a pipeline
    DWORD exit_code = 0;      // the first nonzero exit code, or 0
};

// Runs one program, or two with the first one's output piped into the second, and measures the
// wall time and the peak working set of each. Standard output of the last goes to the output file
// (replaced), or to NUL when none is named; standard error of all is appended to the log file.
// (Under Wine, NUL is a character device and a program writing many small lines to it is slowed
// down by each write: the listings go to a file.)
Measured run_measured(const std::vector<std::wstring>& command_lines, const std::wstring& output_path,
                      const std::wstring& log_path);

// ---- text helpers ----------------------------------------------------------------------------

std::wstring quote(const std::wstring& text);
std::wstring this_program();
std::wstring folder_of(const std::wstring& path);
std::string narrow(const std::wstring& text);
std::wstring widen(const std::string& text);
bool write_text_file(const std::wstring& path, const std::string& text, bool append);
bool read_text_file(const std::wstring& path, std::string* text);

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);

// The host's 1-minute load average, as text ("?" when it cannot be read).
std::string load_average();
// The three load averages (1, 5 and 15 minutes).
std::string load_averages();
