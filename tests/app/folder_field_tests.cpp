// A folder typed into a field: accepted only as the full path of an existing folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/folder_browser.h"
#include "common/text.h"
#include "test_support.h"

TEST(FolderField, OnlyExistingFoldersAsFullPaths) {
    std::wstring folder = make_scratch_folder(L"field");
    ASSERT_TRUE(write_bytes(folder + L"\\file.txt", "x", 1));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    const struct {
        std::wstring typed;
        bool accepted;
        std::wstring result;
    } cases[] = {
        {L"", false, L""},
        {folder, true, folder},
        {folder + L"\\\\", true, folder},
        {folder + L"\\.\\", true, folder},
        {L"C:\\", true, L"C:\\"},
        {L"C:\\\\", true, L"C:\\"},
        {L".", true, current},
        {folder + L"\\missing", false, L""},
        {folder + L"\\file.txt", false, L""},
        {L"C:\\" + std::wstring(4100, L'd'), false, L""},
        {overlong_folder_text(folder), false, L""},
    };
    for (const auto& c : cases) {
        SetWindowTextW(edit, c.typed.c_str());
        wchar_t buffer[PATH_CAPACITY] = {};
        EXPECT_EQ(c.accepted, read_folder_field(edit, buffer)) << c.typed.substr(0, 80);
        if (c.accepted) {
            EXPECT_EQ(c.result, buffer) << c.typed;
        }
    }
    DestroyWindow(edit);
    remove_folder_tree(folder);
}
