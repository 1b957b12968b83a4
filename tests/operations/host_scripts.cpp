#include "host_scripts.h"

#include "test_support.h"

int run_python(const std::wstring& folder, const std::string& program, std::string* output) {
    static unsigned counter = 0;
    std::wstring script = folder + L"\\fixture-" + std::to_wstring(++counter) + L".py";
    if (!write_bytes(script, program.data(), program.size())) return -1;
    int code = run_unix("python3 " + shell_quote(unix_path(script)) + " " + shell_quote(unix_path(folder)), output);
    DeleteFileW(script.c_str());
    return code;
}

int run_in(const std::wstring& folder, const std::string& command, std::string* output) {
    return run_unix("cd " + shell_quote(unix_path(folder)) + " && " + command, output);
}
