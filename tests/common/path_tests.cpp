#include <gtest/gtest.h>

#include <string>

#include "common/path.h"
#include "common/text.h"
#include "test_support.h"

TEST(PathJoin, Forms) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* joined;
    };
    const Case cases[] = {
        {L"C:\\Out", L"a.txt", L"C:\\Out\\a.txt"},
        {L"C:\\Out\\", L"a.txt", L"C:\\Out\\a.txt"},
        {L"C:/Out/", L"a.txt", L"C:/Out/\\a.txt"},  // only a backslash counts as a separator
        {L"", L"a.txt", L"a.txt"},
        {L"C:\\Out", L"", L"C:\\Out\\"},
        {L"C:\\Out", L"\\a", L"C:\\Out\\\\a"},  // the name is taken as given
        {L"C:\\", L"Zdjęcia", L"C:\\Zdjęcia"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[PATH_CAPACITY];
        ASSERT_TRUE(path_join(buffer, PATH_CAPACITY, c.folder, c.name)) << c.folder << L" + " << c.name;
        EXPECT_STREQ(c.joined, buffer);
    }
}

TEST(PathJoin, CapacityBoundaries) {
    static wchar_t buffer[PATH_CAPACITY];
    // folder of 4093 units + "\" + one unit = 4095 units: fits exactly.
    std::wstring folder(4093, L'd');
    ASSERT_TRUE(path_join(buffer, PATH_CAPACITY, folder.c_str(), L"n"));
    EXPECT_EQ(4095u, text_length(buffer));
    EXPECT_FALSE(path_join(buffer, PATH_CAPACITY, folder.c_str(), L"nn"));
    // The separator itself does not fit after a folder of 4095 units.
    std::wstring full(4095, L'd');
    EXPECT_FALSE(path_join(buffer, PATH_CAPACITY, full.c_str(), L""));
    // A folder that does not fit at all leaves the destination empty.
    std::wstring over(4096, L'd');
    EXPECT_FALSE(path_join(buffer, PATH_CAPACITY, over.c_str(), L"n"));
    EXPECT_EQ(0, buffer[0]);
    // Small capacities: "ab" + "\" needs 4 units with the terminator.
    wchar_t small[4];
    EXPECT_TRUE(path_join(small, 4, L"ab", L""));
    EXPECT_STREQ(L"ab\\", small);
    EXPECT_FALSE(path_join(small, 3, L"ab", L""));
}

TEST(PathParent, Forms) {
    struct Case {
        const wchar_t* path;
        bool ok;
        const wchar_t* parent;
    };
    const Case cases[] = {
        {L"C:\\Data\\a.zip", true, L"C:\\Data"},
        {L"C:\\a.zip", true, L"C:\\"},
        {L"D:\\dir\\sub\\x.zip", true, L"D:\\dir\\sub"},
        {L"folder/x.7z", true, L"folder"},
        {L"\\a", true, L"\\"},
        {L"ab\\c", true, L"ab\\"},  // a three-unit prefix keeps its separator
        {L"abc\\d", true, L"abc"},
        {L"C:\\dir\\", true, L"C:\\dir"},
        {L"archive.zip", false, L"unchanged"},
        {L"", false, L"unchanged"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[PATH_CAPACITY];
        text_copy(buffer, PATH_CAPACITY, L"unchanged");
        EXPECT_EQ(c.ok, path_parent(buffer, PATH_CAPACITY, c.path)) << c.path;
        EXPECT_STREQ(c.parent, buffer) << c.path;
    }
    // The prefix up to and including the separator must be shorter than the capacity, even when
    // the separator itself is dropped.
    wchar_t small[5];
    text_copy(small, 5, L"old");
    EXPECT_FALSE(path_parent(small, 4, L"abc\\e"));
    EXPECT_STREQ(L"old", small);
    EXPECT_TRUE(path_parent(small, 5, L"abc\\e"));
    EXPECT_STREQ(L"abc", small);
}

TEST(PathFileName, PositionAfterTheLastSeparator) {
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\a\\b.tar.gz", L"b.tar.gz"},
        {L"dir/", L""},
        {L"plain.zip", L"plain.zip"},
        {L"a/b\\c", L"c"},
        {L"", L""},
        {L"C:\\", L""},
    };
    for (const Case& c : cases) {
        const wchar_t* name = path_file_name(c.path);
        EXPECT_STREQ(c.name, name) << c.path;
        EXPECT_TRUE(name >= c.path && name <= c.path + text_length(c.path)) << "a position inside the path";
    }
}

TEST(PathExists, FilesFoldersAndNothing) {
    std::wstring folder = make_scratch_folder(L"exists");
    std::wstring file = folder + L"\\plik.txt";
    ASSERT_TRUE(write_bytes(file, "x", 1));
    EXPECT_TRUE(path_exists(folder.c_str()));
    EXPECT_TRUE(path_exists(file.c_str()));
    EXPECT_FALSE(path_exists((folder + L"\\brak").c_str()));
    EXPECT_TRUE(path_is_directory(folder.c_str()));
    EXPECT_FALSE(path_is_directory(file.c_str()));
    EXPECT_FALSE(path_is_directory((folder + L"\\brak").c_str()));
    remove_folder_tree(folder);
}

TEST(PathAbsolute, RelativeFormsResolveAgainstTheCurrentFolder) {
    std::wstring folder = make_scratch_folder(L"absolute");
    wchar_t saved[PATH_CAPACITY];
    ASSERT_NE(0u, GetCurrentDirectoryW(PATH_CAPACITY, saved));
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    static wchar_t out[PATH_CAPACITY];
    const struct {
        std::wstring path;
        std::wstring expected;
    } cases[] = {
        {L"x.zip", folder + L"\\x.zip"},
        {L".\\sub\\..\\x.zip", folder + L"\\x.zip"},
        {folder + L"\\a\\b", folder + L"\\a\\b"},
        {L"C:\\Dane\\plik.7z", L"C:\\Dane\\plik.7z"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(path_absolute(out, c.path.c_str())) << c.path;
        EXPECT_EQ(c.expected, std::wstring(out)) << c.path;
    }
    EXPECT_FALSE(path_absolute(out, L""));
    EXPECT_STREQ(L"", out);
    std::wstring longest = L"C:\\" + std::wstring(4092, L'a');
    EXPECT_TRUE(path_absolute(out, longest.c_str())) << "4095 units and the terminator";
    EXPECT_EQ(longest, std::wstring(out));
    EXPECT_FALSE(path_absolute(out, (longest + L"a").c_str())) << "one unit more";
    EXPECT_STREQ(L"", out);
    SetCurrentDirectoryW(saved);
    remove_folder_tree(folder);
}

TEST(PathIsPlainDirectory, ALinkedFolderIsNot) {
    std::wstring folder = make_scratch_folder(L"plain");
    std::wstring elsewhere = make_scratch_folder(L"plain-target");
    std::wstring file = folder + L"\\plik.txt", link = folder + L"\\link";
    ASSERT_TRUE(write_bytes(file, "x", 1));
    // Wine shows a host symbolic link to a folder as a directory reparse point.
    ASSERT_EQ(0, run_unix("ln -s " + shell_quote(unix_path(elsewhere)) + " " + shell_quote(unix_path(link))));
    EXPECT_TRUE(path_is_plain_directory(folder.c_str()));
    EXPECT_FALSE(path_is_plain_directory(file.c_str()));
    EXPECT_FALSE(path_is_plain_directory((folder + L"\\brak").c_str()));
    EXPECT_TRUE(path_is_directory(link.c_str()));
    EXPECT_FALSE(path_is_plain_directory(link.c_str()));
    run_unix("rm -f " + shell_quote(unix_path(link)));
    remove_folder_tree(folder);
    remove_folder_tree(elsewhere);
}

// Sets LOCALAPPDATA for one test and puts the old value back afterwards.
class LocalDataPath : public testing::Test {
protected:
    void SetUp() override { had_value_ = GetEnvironmentVariableW(L"LOCALAPPDATA", saved_, PATH_CAPACITY) != 0; }
    void TearDown() override { SetEnvironmentVariableW(L"LOCALAPPDATA", had_value_ ? saved_ : nullptr); }
    wchar_t saved_[PATH_CAPACITY];
    bool had_value_ = false;
};

TEST_F(LocalDataPath, AcceptedAndRefusedValues) {
    static wchar_t path[PATH_CAPACITY];
    SetEnvironmentVariableW(L"LOCALAPPDATA", L"C:\\Users\\u\\AppData\\Local");
    ASSERT_TRUE(local_data_path(path, L"LumarekPreferences.dat"));
    EXPECT_STREQ(L"C:\\Users\\u\\AppData\\Local\\LumarekPreferences.dat", path);

    SetEnvironmentVariableW(L"LOCALAPPDATA", L"C:\\Local\\");
    ASSERT_TRUE(local_data_path(path, L"x.dat"));
    EXPECT_STREQ(L"C:\\Local\\x.dat", path);

    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    EXPECT_FALSE(local_data_path(path, L"x.dat")) << "unset";

    SetEnvironmentVariableW(L"LOCALAPPDATA", L"");
    EXPECT_FALSE(local_data_path(path, L"x.dat")) << "empty";

    std::wstring longest(4095, L'a');
    SetEnvironmentVariableW(L"LOCALAPPDATA", longest.c_str());
    EXPECT_FALSE(local_data_path(path, L"x.dat")) << "the value fits, the joined path does not";

    std::wstring too_long(4096, L'a');
    SetEnvironmentVariableW(L"LOCALAPPDATA", too_long.c_str());
    EXPECT_FALSE(local_data_path(path, L"x.dat")) << "4096 units";

    std::wstring close_to_limit(4000, L'a');
    SetEnvironmentVariableW(L"LOCALAPPDATA", close_to_limit.c_str());
    ASSERT_TRUE(local_data_path(path, L"x.dat"));
    EXPECT_EQ(4006u, text_length(path));
}
