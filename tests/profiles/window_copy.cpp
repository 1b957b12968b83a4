#include "window_copy.h"

#include <vector>

WindowCopy::~WindowCopy() {
    if (input != nullptr) CloseHandle(input);
    if (output != nullptr) CloseHandle(output);
    close_process(&child);
}

bool start_copy(WindowCopy* copy) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE child_input = nullptr, child_output = nullptr;
    if (!CreatePipe(&child_input, &copy->input, &inherit, 0)) return false;
    if (!CreatePipe(&copy->output, &child_output, &inherit, 0)) {
        CloseHandle(child_input);
        return false;
    }
    SetHandleInformation(copy->input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(copy->output, HANDLE_FLAG_INHERIT, 0);
    std::wstring command = L"\"" + program_folder() + L"\\profile_window.exe\"";
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = child_input;
    startup.hStdOutput = child_output;
    startup.hStdError = child_output;
    PROCESS_INFORMATION info = {};
    bool started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info) != 0;
    CloseHandle(child_input);
    CloseHandle(child_output);
    if (!started) return false;
    CloseHandle(info.hThread);
    copy->child.process = info.hProcess;
    copy->child.id = info.dwProcessId;
    return true;
}

bool send_line(WindowCopy* copy, const std::string& command) {
    std::string line = command + "\n";
    DWORD written = 0;
    return WriteFile(copy->input, line.data(), (DWORD)line.size(), &written, nullptr) && written == line.size();
}

bool poll_line(WindowCopy* copy, std::string* line) {
    DWORD available = 0;
    if (PeekNamedPipe(copy->output, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        std::vector<char> buffer(available);
        DWORD got = 0;
        if (ReadFile(copy->output, buffer.data(), available, &got, nullptr)) copy->received.append(buffer.data(), got);
    }
    size_t end = copy->received.find('\n');
    if (end == std::string::npos) return false;
    *line = copy->received.substr(0, end);
    copy->received.erase(0, end + 1);
    return true;
}

std::string ask(WindowCopy* copy, const std::string& command, DWORD timeout_ms) {
    if (!send_line(copy, command)) return "(not sent)";
    std::string line;
    for (ULONGLONG until = GetTickCount64() + timeout_ms; GetTickCount64() < until; Sleep(2))
        if (poll_line(copy, &line)) return line;
    return "(no answer)";
}
