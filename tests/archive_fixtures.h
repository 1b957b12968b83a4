// Archives for the tests, made in the test itself: by host tools, by a small RAR5 writer (for names
// that exist only as UTF-8 bytes) and by the engine.
#pragma once

#include <string>
#include <vector>

// Runs a host shell command in which every "{}" stands for the next path, given as Windows paths
// and handed over quoted in their host form. True when the command exits with 0; its output then
// goes to *output when given.
bool host(const std::string& command, const std::vector<std::wstring>& paths, std::string* output = nullptr);

// The same inside a folder: "cd" into its host path first.
bool host_in(const std::wstring& folder, const std::string& command, std::string* output = nullptr);

// Runs a python3 script with the paths (in their host form) as its arguments.
bool python(const std::string& script, const std::vector<std::wstring>& paths, std::string* output = nullptr);

// A tar of `count` files of 3 bytes each, named prefix + "0.txt", prefix + "1.txt", ... (the prefix
// may name a folder, as "many/").
bool make_tar_of_small_files(const std::wstring& path, int count, const std::string& prefix = "");

// A RAR5 archive of stored 4-byte files with exactly these name bytes (valid UTF-8 or not).
bool make_rar5(const std::wstring& path, const std::vector<std::string>& raw_names);

struct EngineEntry {
    std::wstring name;
    std::string data;
    bool directory;
};

// A ZIP written by the engine itself; with a password (UTF-8) its files are encrypted with AES-256.
// Stored (not deflated) entries make a ZIP of very many entries quick to write.
bool write_zip_with_engine(const std::wstring& path, const std::vector<EngineEntry>& entries,
                           const std::string& utf8_password = "", bool stored = false);

// Reads the archive through the engine the way a listing does (every header, data skipped) and
// returns the engine's text at the first failure, or "" when there is none.
std::string engine_listing_failure(const std::wstring& path);

// An 8-bit text in the system code page, as UTF-16.
std::wstring from_system_code_page(const std::string& text);
