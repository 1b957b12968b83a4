// The tests drive host tools (7z, bsdtar, zip, python3); their command lines must arrive intact.
#include <gtest/gtest.h>

#include "test_support.h"

TEST(HostTools, CommandLinesArriveIntact) {
    const char* texts[] = {"plain",       "a\\b",         "quote\"inside",    "trailing\\", "spaces  and\ttab",
                           "zażółć 日本", "single'quote", "\\\\\"mixed\\\"\\"};
    for (const char* text : texts) {
        std::string output;
        ASSERT_EQ(0, run_unix("printf %s " + shell_quote(text), &output)) << text;
        EXPECT_EQ(text, output);
    }
    std::string output;
    EXPECT_EQ(3, run_unix("exit 3", &output));
}

TEST(HostTools, UnixPathsOfWindowsPaths) {
    std::wstring folder = make_scratch_folder(L"unixpath");
    ASSERT_TRUE(write_bytes(folder + L"\\plik ą.txt", "abc", 3));
    std::string output;
    ASSERT_EQ(0, run_unix("cat " + shell_quote(unix_path(folder + L"\\plik ą.txt")), &output));
    EXPECT_EQ("abc", output);
    remove_folder_tree(folder);
}
