// A test of the real window with its own scratch folder: the window opened in either language,
// archives opened and rows selected the way the user does it, and what ended up on disk.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND open_window(bool polish = false);
    // Opens by path, as a drop or the command line does, and waits until the window is idle.
    void open_path(const std::wstring& path);
    std::wstring status();
    std::wstring label();
    HWND contents_list();
    int rows();
    // Selects exactly these rows of the contents list.
    void select_rows(const std::vector<int>& rows);
    // Saves a picture of the whole window, freshly painted, under the build folder's screenshots/.
    void picture(const std::wstring& name);
    // So many empty files with long names in the folder that, chosen together in an open dialog,
    // their names take more than 32,768 units; returns the names.
    std::vector<std::wstring> files_with_long_names(const std::wstring& folder, const std::wstring& extension);

    std::wstring folder_;
    HWND main_ = nullptr;
};
