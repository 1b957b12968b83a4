#include "queue_fixture.h"

#include <commctrl.h>

#include "archive_fixtures.h"
#include "control_numbers.h"
#include "test_support.h"
#include "window_fixture.h"

static bool ends_with(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool make_small_archive(const std::wstring& path) {
    std::string pack;
    if (ends_with(path, L".zip"))
        pack = "zip -q -r out inside.txt sub";
    else if (ends_with(path, L".tar.gz"))
        pack = "bsdtar -czf out inside.txt sub";
    else
        pack = "7z a -bd -y -t7z out inside.txt sub >/dev/null";
    // Made in a folder of its own beside the archive, then moved onto its name.
    size_t slash = path.find_last_of(L'\\');
    std::wstring work = path.substr(0, slash) + L"\\making";
    std::wstring name = path.substr(slash + 1);
    char text[1024] = {};
    int length = WideCharToMultiByte(CP_UTF8, 0, name.c_str(), -1, text, sizeof(text), nullptr, nullptr) - 1;
    return CreateDirectoryW(work.c_str(), nullptr) && CreateDirectoryW((work + L"\\sub").c_str(), nullptr) &&
           length >= 0 && write_bytes(work + L"\\inside.txt", text, (size_t)length) &&
           write_bytes(work + L"\\sub\\deeper.txt", "deeper", 6) &&
           host("cd {} && " + pack + " && mv out* {} && cd .. && rm -rf {}", {work, path, work});
}

std::vector<std::wstring> small_archive_tree() {
    return {L"inside.txt", L"sub/", L"sub/deeper.txt"};
}

std::vector<std::wstring> queue_column(HWND main, int column) {
    HWND list = nth_control(main, N_QUEUE_LIST);
    std::vector<std::wstring> cells;
    int rows = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; ++row) cells.push_back(list_cell(list, row, column));
    return cells;
}

bool pump_through(UINT message, WPARAM wparam, DWORD timeout_ms) {
    for (ULONGLONG until = GetTickCount64() + timeout_ms; GetTickCount64() < until;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (msg.message == message && msg.wParam == wparam) return true;
    }
    return false;
}
