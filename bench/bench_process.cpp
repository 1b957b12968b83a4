// Child processes with their wall time and peak working set, and small text helpers.
#include <windows.h>

#include <psapi.h>
#include <stdio.h>

#include <algorithm>

#include "bench/bench.h"

std::wstring quote(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring this_program() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring folder_of(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out((size_t)size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), nullptr, 0);
    std::wstring out((size_t)size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), (int)text.size(), &out[0], size);
    return out;
}

bool write_text_file(const std::wstring& path, const std::string& text, bool append) {
    HANDLE file = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

bool read_text_file(const std::wstring& path, std::string* text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    text->clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) text->append(buffer, got);
    CloseHandle(file);
    return true;
}

static HANDLE inheritable(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

static uint64_t peak_working_set(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(process, &memory, sizeof(memory))) return 0;
    return memory.PeakWorkingSetSize;
}

Measured run_measured(const std::vector<std::wstring>& command_lines, const std::wstring& output_path,
                      const std::wstring& log_path) {
    Measured measured;
    size_t count = command_lines.size();
    if (count == 0 || count > 2) return measured;

    HANDLE null_output = inheritable(CreateFileW(
        L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    HANDLE output = output_path.empty()
                        ? null_output
                        : inheritable(CreateFileW(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    HANDLE log = inheritable(CreateFileW(log_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    HANDLE pipe_read = nullptr, pipe_write = nullptr;
    if (count == 2) {
        // Not inheritable: each end goes to its own process only, or the reader would hold a
        // writing end itself and never see the end of its input.
        if (!CreatePipe(&pipe_read, &pipe_write, nullptr, 1 << 20)) pipe_read = pipe_write = nullptr;
    }

    HANDLE processes[2] = {};
    uint64_t peaks[2] = {};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    bool all_started =
        null_output != INVALID_HANDLE_VALUE && log != INVALID_HANDLE_VALUE && (count == 1 || pipe_read != nullptr);
    for (size_t i = 0; all_started && i < count; ++i) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = i == 1 ? pipe_read : null_output;
        startup.hStdOutput = (count == 2 && i == 0) ? pipe_write : output;
        startup.hStdError = log;
        PROCESS_INFORMATION info = {};
        std::wstring line = command_lines[i];
        HANDLE pipe_end = count == 2 ? (i == 0 ? pipe_write : pipe_read) : nullptr;
        if (pipe_end != nullptr) SetHandleInformation(pipe_end, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        BOOL created = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                      &startup, &info);
        if (pipe_end != nullptr) SetHandleInformation(pipe_end, HANDLE_FLAG_INHERIT, 0);
        if (!created) {
            fprintf(stderr, "could not start: %ls\n", command_lines[i].c_str());
            all_started = false;
            break;
        }
        CloseHandle(info.hThread);
        processes[i] = info.hProcess;
    }
    // Only the children hold the pipe now, so the reader sees its end when the writer exits.
    if (pipe_read != nullptr) CloseHandle(pipe_read);
    if (pipe_write != nullptr) CloseHandle(pipe_write);

    DWORD started = 0;
    while (started < count && processes[started] != nullptr) ++started;
    // Poll the peaks while the processes run; the last look after they ended completes them.
    while (started > 0 && WaitForMultipleObjects(started, processes, TRUE, 10) == WAIT_TIMEOUT)
        for (DWORD i = 0; i < started; ++i) {
            uint64_t peak = peak_working_set(processes[i]);
            if (peak > peaks[i]) peaks[i] = peak;
        }
    QueryPerformanceCounter(&end);
    measured.seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
    measured.started = all_started && started == count;
    measured.succeeded = measured.started;
    for (DWORD i = 0; i < started; ++i) {
        uint64_t peak = peak_working_set(processes[i]);
        if (peak > peaks[i]) peaks[i] = peak;
        measured.peak_bytes += peaks[i];
        DWORD code = 1;
        GetExitCodeProcess(processes[i], &code);
        if (code != 0) {
            measured.succeeded = false;
            if (measured.exit_code == 0) measured.exit_code = code;
        }
        CloseHandle(processes[i]);
    }
    if (output != null_output && output != INVALID_HANDLE_VALUE) CloseHandle(output);
    if (null_output != INVALID_HANDLE_VALUE) CloseHandle(null_output);
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    return measured;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string load_average() {
    std::string text;
    if (!read_text_file(L"Z:\\proc\\loadavg", &text)) return "?";
    return text.substr(0, text.find(' '));
}

std::string load_averages() {
    std::string text;
    if (!read_text_file(L"Z:\\proc\\loadavg", &text)) return "(unknown)";
    size_t end = 0;
    for (int fields = 0; fields < 3 && end != std::string::npos; ++fields) end = text.find(' ', end + 1);
    return text.substr(0, end);
}
