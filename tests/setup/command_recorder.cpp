// A stand-in for a program that the setup program starts (the installed Lumarek.exe, PowerShell):
// it records how it was started into the folder named by LUMAREK_TEST_RECORDS, one file per start
// named after its process id, and does nothing else.
#include <windows.h>

#include <string>

static std::wstring environment_value(const wchar_t* name) {
    wchar_t value[4096];
    DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length > 0 && length < 4096 ? std::wstring(value, length) : L"(none)";
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring folder = environment_value(L"LUMAREK_TEST_RECORDS");
    if (folder == L"(none)") return 2;
    wchar_t module[4096];
    DWORD module_length = GetModuleFileNameW(nullptr, module, 4096);
    wchar_t current[4096];
    DWORD current_length = GetCurrentDirectoryW(4096, current);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    std::wstring show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"none";
    std::wstring record = L"module=" + std::wstring(module, module_length) + L"\n" + L"command=" + GetCommandLineW() +
                          L"\n" + L"folder=" + std::wstring(current, current_length) + L"\n" + L"show=" + show + L"\n" +
                          L"localappdata=" + environment_value(L"LOCALAPPDATA") + L"\n";
    // Written under another name first, so that a record is there only when it is complete.
    std::wstring name = folder + L"\\" + std::to_wstring(GetCurrentProcessId());
    HANDLE file = CreateFileW((name + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    BOOL ok = WriteFile(file, record.data(), (DWORD)(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW((name + L".part").c_str(), (name + L".txt").c_str(), 0)) return 4;
    return 0;
}
