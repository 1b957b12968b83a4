#include "setup_fixture.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <tlhelp32.h>

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumarek";

static const wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
static const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::wstring built_program(const wchar_t* name) {
    return program_folder() + L"\\" + name;
}

static bool read_string_value(HKEY root, const std::wstring& subkey, const wchar_t* name, std::wstring* data,
                              DWORD* type) {
    wchar_t buffer[4096];
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (RegGetValueW(root, subkey.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, type, buffer,
                     &bytes) != ERROR_SUCCESS)
        return false;
    *data = buffer;
    return true;
}

static void write_string_value(HKEY root, const std::wstring& subkey, const wchar_t* name, const std::wstring& data,
                               DWORD type) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, type, (const BYTE*)data.c_str(), (DWORD)((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

static std::wstring shell_folder(int id) {
    wchar_t path[MAX_PATH] = {};
    return SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : L"";
}

void SetupTest::SetUp() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    root_ = make_scratch_folder(L"setup-user");
    ASSERT_FALSE(root_.empty());
    // The test user's folders lie inside the prefix's drive C: no host link on the way leads out of it.
    ASSERT_EQ(0, run_unix("case \"$(realpath " + shell_quote(unix_path(root_)) + ")\" in \"$(realpath " +
                          shell_quote(unix_path(L"C:\\")) + ")\"/*) exit 0;; esac; exit 1"));
    profile_ = root_ + L"\\Test User";
    local_ = profile_ + L"\\AppData\\Local";
    desktop_ = profile_ + L"\\Desktop";
    programs_ = profile_ + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
    records_ = root_ + L"\\records";
    for (const std::wstring& folder : {local_, desktop_, programs_, records_})
        ASSERT_EQ(ERROR_SUCCESS, SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr)) << folder;

    // The shell folders the setup program asks for, pointed at the test user's before anything runs.
    const struct {
        const wchar_t* name;
        std::wstring folder;
        const wchar_t* fallback;  // the prefix's own value, should an earlier run have been cut short
    } redirects[] = {
        {L"Desktop", desktop_, L"%USERPROFILE%\\Desktop"},
        {L"Programs", programs_, L"%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
    };
    for (const auto& redirect : redirects) {
        for (const wchar_t* subkey : {kUserShellFolders, kShellFolders}) {
            SavedValue saved = {HKEY_CURRENT_USER, subkey, redirect.name, L"", REG_SZ, false};
            saved.present = read_string_value(HKEY_CURRENT_USER, subkey, redirect.name, &saved.data, &saved.type);
            if (saved.data.find(L"lmk-setup-user") != std::wstring::npos) {
                saved.data = redirect.fallback;
                saved.type = REG_EXPAND_SZ;
            }
            saved_.push_back(saved);
            write_string_value(HKEY_CURRENT_USER, subkey, redirect.name, redirect.folder,
                               subkey == kUserShellFolders ? REG_EXPAND_SZ : REG_SZ);
        }
    }
    ASSERT_EQ(desktop_, shell_folder(CSIDL_DESKTOPDIRECTORY));
    ASSERT_EQ(programs_, shell_folder(CSIDL_PROGRAMS));

    // Wine's own powershell.exe runs nothing; the stand-in records its start.
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    powershell_ = std::wstring(system) + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
    powershell_bytes_ = read_bytes(powershell_);
    ASSERT_FALSE(powershell_bytes_.empty());
    ASSERT_TRUE(CopyFileW(built_program(L"command_recorder.exe").c_str(), powershell_.c_str(), FALSE));

    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
}

void SetupTest::TearDown() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    if (!powershell_bytes_.empty()) write_bytes(powershell_, powershell_bytes_.data(), powershell_bytes_.size());
    for (const SavedValue& saved : saved_) {
        if (saved.present) {
            write_string_value(saved.key, saved.subkey, saved.name.c_str(), saved.data, saved.type);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExW(saved.key, saved.subkey.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, saved.name.c_str());
                RegCloseKey(key);
            }
        }
    }
    if (!root_.empty()) remove_folder_tree(root_);
    CoUninitialize();
}

std::vector<std::wstring> SetupTest::user_environment() const {
    return {L"LOCALAPPDATA=" + local_, L"USERPROFILE=" + profile_, L"LUMAREK_TEST_RECORDS=" + records_};
}

void SetupTest::start_setup(const std::wstring& arguments, ChildProcess* child, const std::wstring& program,
                            const std::vector<std::wstring>& environment) {
    // An entry given here takes the place of the test user's entry of the same name.
    std::vector<std::wstring> entries;
    for (const std::wstring& own : user_environment()) {
        bool replaced = false;
        for (const std::wstring& given : environment)
            replaced = replaced || _wcsnicmp(own.c_str(), given.c_str(), own.find(L'=') + 1) == 0;
        if (!replaced) entries.push_back(own);
    }
    entries.insert(entries.end(), environment.begin(), environment.end());
    std::wstring line = L"\"" + (program.empty() ? built_program(L"Lumarek-Maintenance.exe") : program) + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    ASSERT_TRUE(start_process(line, entries, child)) << line;
}

void SetupTest::open_setup(const std::wstring& arguments, ChildProcess* child, HWND* window,
                           const std::wstring& program, const std::vector<std::wstring>& environment) {
    ASSERT_NO_FATAL_FAILURE(start_setup(arguments, child, program, environment));
    *window = wait_for_setup_window(*child);
    ASSERT_NE(nullptr, *window);
}

void SetupTest::install_with_the_window(bool desktop_shortcut) {
    ChildProcess child = {};
    ProcessGuard guard = {&child};
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(open_setup(L"", &child, &window));
    if (desktop_shortcut) SendMessageW(setup_controls(window).desktop_box, BM_CLICK, 0, 0);
    press_main_button(window);
    HWND box = wait_for_box(child);
    ASSERT_NE(nullptr, box);
    ASSERT_NE(nullptr, GetDlgItem(box, IDNO)) << box_text(box);
    answer_box(box, IDNO);
    ASSERT_EQ(0u, wait_for_exit(child));
}

std::vector<StartRecord> SetupTest::start_records() const {
    std::vector<StartRecord> records;
    for (const std::wstring& name : folder_names(records_)) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, L".txt") != 0) continue;
        std::vector<unsigned char> bytes = read_bytes(records_ + L"\\" + name);
        std::wstring text((const wchar_t*)bytes.data(), bytes.size() / sizeof(wchar_t));
        StartRecord record;
        std::wstring* fields[] = {&record.module, &record.command, &record.folder, &record.show,
                                  &record.local_app_data};
        size_t at = 0;
        for (std::wstring* field : fields) {
            size_t equals = text.find(L'=', at), end = text.find(L'\n', at);
            if (equals == std::wstring::npos || end == std::wstring::npos) break;
            *field = text.substr(equals + 1, end - equals - 1);
            at = end + 1;
        }
        records.push_back(record);
    }
    return records;
}

bool SetupTest::wait_for_start_records(size_t count) const {
    for (ULONGLONG until = GetTickCount64() + 30000; GetTickCount64() < until; Sleep(20))
        if (start_records().size() >= count) return true;
    return false;
}

HWND wait_for_setup_window(const ChildProcess& child) {
    return wait_for_window(child.id, L"LumarekSetup", 60000);
}

SetupControls setup_controls(HWND window) {
    HWND found[7] = {};
    HWND child = GetWindow(window, GW_CHILD);
    for (int i = 0; i < 7 && child != nullptr; ++i, child = GetWindow(child, GW_HWNDNEXT)) found[i] = child;
    return {found[0], found[1], found[2], found[3], found[4], found[5], found[6]};
}

void press_main_button(HWND window) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
}

void choose_language(HWND window, bool polish) {
    HWND list = GetDlgItem(window, 3);
    SendMessageW(list, CB_SETCURSEL, polish ? 0 : 1, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), (LPARAM)list);
}

HWND wait_for_box(const ChildProcess& child, DWORD timeout_ms) {
    for (ULONGLONG until = GetTickCount64() + timeout_ms; GetTickCount64() < until; Sleep(20)) {
        for (HWND box : top_level_windows(child.id, L"#32770"))
            if (!box_text(box).empty()) return box;  // built: its text is set
        if (WaitForSingleObject(child.process, 0) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

std::wstring box_text(HWND box) {
    return window_text(GetDlgItem(box, 0xFFFF));
}

void answer_box(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
}

DWORD wait_for_exit(const ChildProcess& child, DWORD timeout_ms) {
    if (WaitForSingleObject(child.process, timeout_ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(child.process, &code);
    return code;
}

bool read_shortcut(const std::wstring& link, std::wstring* target, std::wstring* working_folder) {
    IShellLinkW* shell_link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**)&shell_link)))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(shell_link->QueryInterface(IID_IPersistFile, (void**)&file));
    if (ok) {
        ok = SUCCEEDED(file->Load(link.c_str(), STGM_READ));
        file->Release();
    }
    wchar_t text[MAX_PATH] = {};
    if (ok) ok = SUCCEEDED(shell_link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
    *target = text;
    text[0] = 0;
    if (ok) ok = SUCCEEDED(shell_link->GetWorkingDirectory(text, MAX_PATH));
    *working_folder = text;
    shell_link->Release();
    return ok;
}

bool read_registry_key(const std::wstring& subkey, std::vector<RegistryValue>* values) {
    values->clear();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD name_length = 256, type = 0;
        unsigned char data[16384];
        DWORD bytes = sizeof(data);
        if (RegEnumValueW(key, index, name, &name_length, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
        values->push_back({std::wstring(name, name_length), type, std::vector<unsigned char>(data, data + bytes)});
    }
    RegCloseKey(key);
    return true;
}

std::string narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes - 1 : 0, ' ');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], bytes, nullptr, nullptr);
    return result;
}

int wine_reg_query(const std::wstring& subkey, std::vector<std::string>* value_lines) {
    std::string output;
    int exit_code = run_unix("wine reg query " + shell_quote("HKEY_CURRENT_USER\\" + narrow(subkey)), &output);
    value_lines->clear();
    for (size_t at = 0; at < output.size();) {
        size_t end = output.find('\n', at);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 4, "    ") == 0) value_lines->push_back(line);
        at = end + 1;
    }
    return exit_code;
}

std::vector<unsigned char> carried_program() {
    std::vector<unsigned char> bytes;
    HMODULE module = LoadLibraryExW(built_program(L"Lumarek-Maintenance.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) return bytes;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(101), RT_RCDATA);
    const unsigned char* data = found ? (const unsigned char*)LockResource(LoadResource(module, found)) : nullptr;
    if (data != nullptr) bytes.assign(data, data + SizeofResource(module, found));
    FreeLibrary(module);
    return bytes;
}

size_t processes_named(const wchar_t* exe_name) {
    size_t count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, exe_name) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

void picture_of_window(HWND window, const wchar_t* name) {
    // The window's own thread paints it before the redraw returns.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    save_window_picture(window, name);
}
