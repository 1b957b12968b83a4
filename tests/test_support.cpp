#include "test_support.h"

#include <algorithm>

#include <gtest/gtest.h>

std::wstring program_folder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring make_scratch_folder(const wchar_t* label) {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (;;) {
        std::wstring folder = std::wstring(temp) + L"lmk-" + label + L"-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return L"";
    }
}

void remove_folder_tree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            // A link is removed itself, never followed into what it names.
            if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                FILE_ATTRIBUTE_DIRECTORY)
                remove_folder_tree(path);
            else if (!DeleteFileW(path.c_str()))
                RemoveDirectoryW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::vector<std::wstring> folder_names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool write_bytes(const std::wstring& path, const void* data, size_t size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, data, (DWORD)size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

unsigned long long file_identity(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool read = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!read) return 0;
    return (unsigned long long)info.dwVolumeSerialNumber << 40 ^ (unsigned long long)info.nFileIndexHigh << 32 ^
           info.nFileIndexLow;
}

bool copy_without_engine(const std::wstring& program, const std::wstring& copy) {
    if (!CopyFileW(program.c_str(), copy.c_str(), FALSE)) return false;
    std::wstring key_path =
        L"Software\\Wine\\AppDefaults\\" + copy.substr(copy.find_last_of(L'\\') + 1) + L"\\DllOverrides";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool set = RegSetValueExW(key, L"archiveint", 0, REG_SZ, (const BYTE*)L"", sizeof(wchar_t)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

std::vector<unsigned char> read_bytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) {
        bytes.resize((size_t)size.QuadPart);
        DWORD got = 0;
        if (!bytes.empty() &&
            (!ReadFile(file, bytes.data(), (DWORD)bytes.size(), &got, nullptr) || got != bytes.size()))
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

std::wstring overlong_folder_text(const std::wstring& folder) {
    std::wstring text = folder + L"\\";
    // A doubled separator counts as one; it makes the number of units left even.
    if ((4095 - text.size()) % 2 == 1) text += L"\\";
    while (text.size() < 4095) text += L".\\";
    return text + L"x";
}

bool start_process(const std::wstring& command_line, const std::vector<std::wstring>& extra_environment,
                   ChildProcess* child) {
    std::wstring environment;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry != 0; entry += wcslen(entry) + 1) {
        bool replaced = false;
        for (const std::wstring& extra : extra_environment) {
            size_t name_length = extra.find(L'=') + 1;
            if (_wcsnicmp(entry, extra.c_str(), name_length) == 0) replaced = true;
        }
        if (replaced) continue;
        environment.append(entry);
        environment.push_back(0);
    }
    FreeEnvironmentStringsW(own);
    for (const std::wstring& entry : extra_environment) {
        environment.append(entry);
        environment.push_back(0);
    }
    environment.push_back(0);
    std::vector<wchar_t> line(command_line.begin(), command_line.end());
    line.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, environment.data(),
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    child->process = info.hProcess;
    child->id = info.dwProcessId;
    return true;
}

void close_process(ChildProcess* child) {
    if (child->process == nullptr) return;
    if (WaitForSingleObject(child->process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(child->process, 99);
        WaitForSingleObject(child->process, 5000);
    }
    CloseHandle(child->process);
    child->process = nullptr;
}

std::string unix_path(const std::wstring& windows_path) {
    typedef char*(CDECL * ToUnix)(const wchar_t*);
    ToUnix to_unix = (ToUnix)(void*)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    if (to_unix == nullptr) return "";
    char* name = to_unix(windows_path.c_str());
    if (name == nullptr) return "";
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::string shell_quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted.push_back(c);
    }
    return quoted + "'";
}

int run_unix(const std::string& shell_command, std::string* output) {
    // Wine gives no usable handle for a Unix process, so the shell reports its end itself: the
    // exit status is written to a file that appears (by a rename) only when the command is done.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    std::wstring base =
        std::wstring(temp) + L"lmk-unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    std::wstring capture = base + L".out", status = base + L".status", pending = base + L".pending";
    write_bytes(capture, "", 0);
    std::string unix_base = unix_path(capture);
    unix_base.resize(unix_base.size() - 4);
    std::string full = "exec >" + shell_quote(unix_base + ".out") + " 2>&1 </dev/null; (" + shell_command +
                       "); echo $? >" + shell_quote(unix_base + ".pending") + "; mv " +
                       shell_quote(unix_base + ".pending") + " " + shell_quote(unix_base + ".status");
    // The Windows command line is split by the usual rules: backslashes are literal unless they
    // come before a quote.
    int units = MultiByteToWideChar(CP_UTF8, 0, full.c_str(), -1, nullptr, 0);
    std::wstring wide(units > 0 ? units - 1 : 0, L' ');
    if (units > 1) MultiByteToWideChar(CP_UTF8, 0, full.c_str(), -1, &wide[0], units);
    std::wstring command = L"Z:\\bin\\sh -c \"";
    size_t backslashes = 0;
    for (wchar_t c : wide) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        command.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        command.push_back(c);
    }
    command.append(backslashes * 2, L'\\');
    command += L"\"";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        DeleteFileW(capture.c_str());
        return -1;
    }
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    int code = -1;
    for (ULONGLONG until = GetTickCount64() + 600000; GetTickCount64() < until; Sleep(20)) {
        std::vector<unsigned char> bytes = read_bytes(status);
        if (GetFileAttributesW(status.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        code = atoi(std::string(bytes.begin(), bytes.end()).c_str());
        break;
    }
    if (output != nullptr) {
        std::vector<unsigned char> bytes = read_bytes(capture);
        output->assign(bytes.begin(), bytes.end());
    }
    DeleteFileW(capture.c_str());
    DeleteFileW(status.c_str());
    DeleteFileW(pending.c_str());
    return code;
}

struct WindowSearch {
    DWORD process_id;
    const wchar_t* class_name;
    std::vector<HWND> found;
};

static BOOL CALLBACK collect_window(HWND window, LPARAM parameter) {
    WindowSearch* search = (WindowSearch*)parameter;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t class_name[256];
    if (owner == search->process_id && GetClassNameW(window, class_name, 256) &&
        wcscmp(class_name, search->class_name) == 0 && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> top_level_windows(DWORD process_id, const wchar_t* class_name) {
    WindowSearch search = {process_id, class_name, {}};
    EnumWindows(collect_window, (LPARAM)&search);
    return search.found;
}

HWND wait_for_window(DWORD process_id, const wchar_t* class_name, DWORD timeout_ms) {
    ULONGLONG until = GetTickCount64() + timeout_ms;
    do {
        std::vector<HWND> windows = top_level_windows(process_id, class_name);
        if (!windows.empty()) return windows[0];
        Sleep(50);
    } while (GetTickCount64() < until);
    return nullptr;
}

std::wstring window_text(HWND window) {
    wchar_t text[2048];
    // WM_GETTEXT works across processes for the standard controls.
    LRESULT length = SendMessageW(window, WM_GETTEXT, 2048, (LPARAM)text);
    return std::wstring(text, (size_t)length);
}

std::wstring save_window_picture(HWND window, const wchar_t* name) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    DWORD row = ((DWORD)width * 3 + 3) & ~3u;
    DWORD image_size = row * (DWORD)height;
    BITMAPFILEHEADER file_header = {};
    file_header.bfType = 0x4D42;
    file_header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file_header.bfSize = file_header.bfOffBits + image_size;
    info.bmiHeader.biSizeImage = image_size;
    std::vector<unsigned char> bytes(file_header.bfSize);
    memcpy(bytes.data(), &file_header, sizeof(file_header));
    memcpy(bytes.data() + sizeof(file_header), &info.bmiHeader, sizeof(BITMAPINFOHEADER));
    memcpy(bytes.data() + file_header.bfOffBits, bits, image_size);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    // bin\ is inside the build folder; pictures go to <build>\screenshots.
    std::wstring folder = program_folder();
    folder = folder.substr(0, folder.find_last_of(L"\\/")) + L"\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"\\" + name + L".bmp";
    write_bytes(path, bytes.data(), bytes.size());
    return path;
}

int wmain(int argc, wchar_t** argv) {
    // Started once by the test script before the run, with its output going nowhere: Wine's
    // desktop process starts here, so that it does not inherit the output pipe of a test.
    if (argc == 2 && wcscmp(argv[1], L"--start-desktop") == 0) return GetDesktopWindow() != nullptr ? 0 : 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

std::string file_text(const std::wstring& path) {
    std::vector<unsigned char> bytes = read_bytes(path);
    return std::string(bytes.begin(), bytes.end());
}

static void collect_tree(const std::wstring& folder, const std::wstring& prefix, wchar_t separator,
                         std::vector<std::wstring>* found) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            found->push_back(prefix + name + separator);
            collect_tree(folder + L"\\" + name, prefix + name + separator, separator, found);
        } else {
            found->push_back(prefix + name);
        }
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

std::vector<std::wstring> folder_tree(const std::wstring& folder, wchar_t separator) {
    std::vector<std::wstring> found;
    collect_tree(folder, L"", separator, &found);
    std::sort(found.begin(), found.end());
    return found;
}
