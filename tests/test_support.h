// Helpers shared by the test programs: scratch folders, files, processes and windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The folder of the running test program (the build's bin folder, beside Lumarek.exe).
std::wstring program_folder();

// A new empty folder under %TEMP%, removed again by remove_folder_tree.
std::wstring make_scratch_folder(const wchar_t* label);
void remove_folder_tree(const std::wstring& folder);

// The names directly in a folder (not "." and ".."), sorted.
std::vector<std::wstring> folder_names(const std::wstring& folder);

bool write_bytes(const std::wstring& path, const void* data, size_t size);
// The file's identity (volume serial number and file index), or 0 when it cannot be opened: a new
// file moved over an old one has another.
unsigned long long file_identity(const std::wstring& path);
// Copies the program under the copy's name and tells Wine's loader to refuse the archive engine to
// that name alone, so that to the copy the system has no engine.
bool copy_without_engine(const std::wstring& program, const std::wstring& copy);
std::vector<unsigned char> read_bytes(const std::wstring& path);
// The bytes of a file as text.
std::string file_text(const std::wstring& path);
// Every file and folder below the folder, relative, sorted; the separator also ends folder names.
std::vector<std::wstring> folder_tree(const std::wstring& folder, wchar_t separator = L'/');

// A folder text of 4,096 units (one more than a path can hold) whose first 4,095 units name the
// existing folder through "." steps, while the whole text names a folder inside it that does not
// exist: a text that must be refused, since cutting it would name another folder.
std::wstring overlong_folder_text(const std::wstring& folder);

// A started child process; the handles are closed by close_process.
struct ChildProcess {
    HANDLE process;
    DWORD id;
};
// Starts a program with a command line; extra_environment ("NAME=value" entries) is added to the
// test's own environment.
bool start_process(const std::wstring& command_line, const std::vector<std::wstring>& extra_environment,
                   ChildProcess* child);
void close_process(ChildProcess* child);

// Ends the child (if still running) and closes its handle when the test leaves its scope, so a
// failed assertion never leaves a process behind.
struct ProcessGuard {
    ChildProcess* child;
    ~ProcessGuard() { close_process(child); }
};

// Host (Linux) tools: Wine starts Unix programs through CreateProcessW, so a test can make and
// check archives with 7z, bsdtar, zip or python3. unix_path gives the host's name of a Windows
// path; run_unix runs "/bin/sh -c command" and returns its exit code, with standard output and
// error collected into *output when it is given (-1 when the shell could not be started).
std::string unix_path(const std::wstring& windows_path);
int run_unix(const std::string& shell_command, std::string* output = nullptr);
// Quotes a text for the shell.
std::string shell_quote(const std::string& text);

// The first top-level window of the process with the given class, waiting up to timeout_ms.
HWND wait_for_window(DWORD process_id, const wchar_t* class_name, DWORD timeout_ms);
std::vector<HWND> top_level_windows(DWORD process_id, const wchar_t* class_name);
std::wstring window_text(HWND window);

// Saves what the window shows as a PNG under the build folder's screenshots/ (converted from a
// bitmap by the test script) and returns the bitmap's path.
std::wstring save_window_picture(HWND window, const wchar_t* name);
