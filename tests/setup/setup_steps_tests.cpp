// The copy of the running program, called in this test program, whose own file is the running one.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/path.h"
#include "setup/install.h"
#include "test_support.h"

static std::wstring own_path() {
    wchar_t path[4096];
    DWORD length = GetModuleFileNameW(nullptr, path, 4096);
    return std::wstring(path, length);
}

static std::wstring temporary_of(const std::wstring& target) {
    return target + L"." + std::to_wstring(GetCurrentProcessId());
}

TEST(CopySelfAtomically, AnotherSpellingOfTheRunningFileIsTheSameFile) {
    std::wstring own = own_path();
    wchar_t short_form[4096] = {};
    ASSERT_NE(0u, GetShortPathNameW(own.c_str(), short_form, 4096));
    std::wstring upper = own;
    CharUpperW(&upper[0]);
    unsigned long long before = file_identity(own);
    ASSERT_NE(0u, before);
    for (const std::wstring& spelling : {upper, std::wstring(short_form), L"\\\\?\\" + own}) {
        SCOPED_TRACE(spelling);
        EXPECT_TRUE(copy_self_atomically(spelling.c_str())) << "nothing to copy: it is the running file";
        EXPECT_EQ(before, file_identity(own)) << "the running file is untouched";
        EXPECT_FALSE(path_exists(temporary_of(spelling).c_str()));
        EXPECT_FALSE(path_exists(temporary_of(own).c_str()));
    }
}

TEST(CopySelfAtomically, ReplacesAnotherFileThroughATemporarySibling) {
    std::wstring folder = make_scratch_folder(L"copy-self");
    std::wstring target = folder + L"\\Lumarek-Maintenance.exe";
    ASSERT_TRUE(write_bytes(target, "older", 5));
    unsigned long long before = file_identity(target);
    EXPECT_TRUE(copy_self_atomically(target.c_str()));
    EXPECT_TRUE(read_bytes(own_path()) == read_bytes(target));
    EXPECT_NE(before, file_identity(target)) << "moved over the old file";
    EXPECT_EQ(std::vector<std::wstring>{L"Lumarek-Maintenance.exe"}, folder_names(folder));

    // A leftover temporary name makes the copy fail and stays as it was.
    ASSERT_TRUE(write_bytes(temporary_of(target), "leftover", 8));
    EXPECT_FALSE(copy_self_atomically(target.c_str()));
    EXPECT_EQ("leftover", file_text(temporary_of(target)));
    EXPECT_TRUE(read_bytes(own_path()) == read_bytes(target));
    remove_folder_tree(folder);
}
