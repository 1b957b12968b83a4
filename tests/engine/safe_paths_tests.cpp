#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "common/text.h"
#include "engine/safe_paths.h"
#include "test_support.h"

TEST(SafeNameComponent, Rules) {
    struct Case {
        const wchar_t* name;
        bool safe;
    };
    const Case cases[] = {
        {L"readme.txt", true},
        {L"Zażółć gęślą.doc", true},
        {L"日本語", true},
        {L".hidden", true},
        {L"a..b", true},
        {L"CONSOLE", true},
        {L"COM10", true},
        {L"con1", true},
        {L"lpt", true},
        {L"CON_x", true},
        {L"nul_", true},
        {L"COM\u00B4", true},  // an acute accent is no digit
        {L"", false},
        {L".", false},
        {L"..", false},
        {L"...", false},
        {L"name.", false},
        {L"name ", false},
        {L"CON", false},
        {L"con.txt", false},
        {L"nul .log", false},
        {L"AUX", false},
        {L"prn.x.y", false},
        {L"CONIN$", false},
        {L"conout$.txt", false},
        {L"com1", false},
        {L"LPT9.dat", false},
        {L"Com\u00B2", false},
        {L"lpt\u00B9", false},
        {L"COM\u00B3.txt", false},
        {L"COM0", false},
        {L"a:b", false},
        {L"a\"b", false},
        {L"a*b", false},
        {L"a/b", false},
        {L"a\\b", false},
        {L"a<b", false},
        {L"a>b", false},
        {L"a?b", false},
        {L"a|b", false},
        {L"a\x01z", false},
        {L"tab\tname", false},
        {L"a\x1f", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.safe, is_safe_name_component(c.name)) << L"[" << c.name << L"]";
}

TEST(SafeFileName, LengthLimitOnTopOfTheComponentRules) {
    EXPECT_TRUE(is_safe_file_name(std::wstring(255, L'a').c_str()));
    EXPECT_FALSE(is_safe_file_name(std::wstring(256, L'a').c_str()));
    EXPECT_FALSE(is_safe_file_name(L"report?.zip"));
    EXPECT_FALSE(is_safe_file_name(L"NUL.zip"));
    EXPECT_TRUE(is_safe_file_name(L"Zdjęcia 2026-12-10.zip"));
}

// Every name is made into a path under a fresh root inside an otherwise empty outer folder; the
// outer folder must hold nothing but the root afterwards.
class OutputPath : public testing::Test {
protected:
    void SetUp() override {
        outer_ = make_scratch_folder(L"outpath");
        ASSERT_FALSE(outer_.empty());
        root_ = outer_ + L"\\root";
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    }
    void TearDown() override {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((outer_ + L"\\*").c_str(), &found);
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        EXPECT_EQ(std::vector<std::wstring>{L"root"}, names) << "nothing is created beside the root";
        remove_folder_tree(outer_);
    }
    bool make(const std::wstring& name, bool directory) {
        result_ = OperationResult();
        return make_output_path(out_, root_.c_str(), name.c_str(), directory, &result_);
    }
    std::wstring outer_, root_;
    wchar_t out_[PATH_CAPACITY];
    OperationResult result_;
};

TEST_F(OutputPath, SafeNamesBecomePathsBelowTheRoot) {
    struct Case {
        const wchar_t* name;
        bool directory;
        const wchar_t* path;  // below the root
        const wchar_t* created_folder;
    };
    const Case cases[] = {
        {L"docs/readme.txt", false, L"docs\\readme.txt", L"docs"},
        {L"docs\\readme.txt", false, L"docs\\readme.txt", L"docs"},
        {L"docs//readme.txt", false, L"docs\\readme.txt", L"docs"},
        {L"./a/./b.txt", false, L"a\\b.txt", L"a"},
        {L"x/y/z/", true, L"x\\y\\z", L"x\\y\\z"},
        {L"d/", true, L"d", L"d"},
        {L"d/", true, L"d", L"d"},  // a repeated directory entry is fine
        {L"Zdjęcia/Łódź.jpg", false, L"Zdjęcia\\Łódź.jpg", L"Zdjęcia"},
        {L"file.txt", false, L"file.txt", nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(make(c.name, c.directory)) << c.name;
        EXPECT_EQ(root_ + L"\\" + c.path, out_) << c.name;
        EXPECT_EQ(RESULT_OK, result_.code);
        if (c.created_folder != nullptr) {
            EXPECT_TRUE(GetFileAttributesW((root_ + L"\\" + c.created_folder).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        }
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((root_ + L"\\file.txt").c_str()))
        << "a file entry's file is left to the caller";
}

TEST_F(OutputPath, HostileNamesAreRefusedWithTheOffendingPart) {
    std::wstring long_component(260, L'c');
    struct Case {
        std::wstring name;
        int32_t code;
        std::wstring detail;
    };
    const Case cases[] = {
        {L"../x", RESULT_UNSAFE_PATH, L".."},
        {L"a/../../x", RESULT_UNSAFE_PATH, L".."},
        {L"..\\x", RESULT_UNSAFE_PATH, L".."},
        {L"/etc/x", RESULT_UNSAFE_PATH, L"/etc/x"},
        {L"\\x", RESULT_UNSAFE_PATH, L"\\x"},
        {L"\\\\server\\share\\x", RESULT_UNSAFE_PATH, L"\\\\server\\share\\x"},
        {L"C:/x", RESULT_UNSAFE_PATH, L"C:"},
        {L"C:x", RESULT_UNSAFE_PATH, L"C:x"},
        {L"C:\\Windows\\x", RESULT_UNSAFE_PATH, L"C:"},
        {L"a/b:stream", RESULT_UNSAFE_PATH, L"b:stream"},
        {L"a/con/x", RESULT_UNSAFE_PATH, L"con"},
        {L"a/AUX.txt", RESULT_UNSAFE_PATH, L"AUX.txt"},
        {L"a/lpt1", RESULT_UNSAFE_PATH, L"lpt1"},
        {L"a/COM\u00B2.log", RESULT_UNSAFE_PATH, L"COM\u00B2.log"},
        {L"a/name.", RESULT_UNSAFE_PATH, L"name."},
        {L"a/name ", RESULT_UNSAFE_PATH, L"name "},
        {L"a/b?", RESULT_UNSAFE_PATH, L"b?"},
        {L"", RESULT_UNSAFE_PATH, L""},
        {L".", RESULT_UNSAFE_PATH, L""},
        {L"./", RESULT_UNSAFE_PATH, L""},
        {L"././", RESULT_UNSAFE_PATH, L""},
        {L"a/" + long_component, RESULT_UNSAFE_PATH, L""},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(make(c.name, false)) << c.name;
        EXPECT_EQ(c.code, result_.code) << c.name;
        EXPECT_EQ(c.detail, result_.detail) << c.name;
    }
    EXPECT_EQ(std::vector<std::wstring>{}, folder_names(root_)) << "a refused name makes no folder on its way";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\etc\\x"));
}

TEST_F(OutputPath, ComponentCountAndLengthLimits) {
    std::wstring folders;
    for (int i = 0; i < 124; ++i) folders += L"d/";
    ASSERT_TRUE(make(folders + L"f", false)) << "125 components";
    EXPECT_TRUE(make(folders + L"./f", false)) << "\".\" components are not counted";
    EXPECT_FALSE(make(folders + L"d/f", false)) << "126 components";
    EXPECT_EQ(RESULT_UNSAFE_PATH, result_.code);
    EXPECT_STREQ(L"f", result_.detail);

    std::wstring longest(259, L'n');
    EXPECT_TRUE(make(longest, false)) << "259 units pass this check";

    // Components that are fine one by one, but the whole path no longer fits in 4095 units. It is
    // refused before any folder of it is made: the host's own path limit (under Wine it counts the
    // prefix's path too) is never reached.
    std::wstring name;
    std::wstring component(200, L'p');
    while (name.size() < 4096) name += component + L"/";
    name += L"last";
    EXPECT_FALSE(make(name, false));
    EXPECT_EQ(RESULT_UNSAFE_PATH, result_.code);
    EXPECT_EQ(component, result_.detail);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((root_ + L"\\" + component).c_str()));
}

TEST_F(OutputPath, AFileOnTheWayIsAnInputOutputFailure) {
    ASSERT_TRUE(make(L"a", false));
    ASSERT_TRUE(write_bytes(out_, "x", 1));
    EXPECT_FALSE(make(L"a/b", false));
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_EQ(root_ + L"\\a", result_.detail);
    EXPECT_FALSE(make(L"a", true)) << "a directory entry over an existing file";
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_EQ(root_ + L"\\a", result_.detail);
    EXPECT_FALSE(make(L"a/b/con", false)) << "the name is checked whole before any folder is made";
    EXPECT_EQ(RESULT_UNSAFE_PATH, result_.code);
    EXPECT_STREQ(L"con", result_.detail);
}

TEST_F(OutputPath, ALinkedFolderOnTheWayIsNotFollowed) {
    // Wine shows a host symbolic link to a folder as a directory reparse point.
    std::wstring elsewhere = make_scratch_folder(L"elsewhere");
    ASSERT_EQ(0,
              run_unix("ln -s " + shell_quote(unix_path(elsewhere)) + " " + shell_quote(unix_path(root_) + "/link")));
    ASSERT_EQ(
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,
        GetFileAttributesW((root_ + L"\\link").c_str()) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    EXPECT_FALSE(make(L"link/x.txt", false));
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_FALSE(make(L"link/", true));
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_FALSE(ensure_directory((root_ + L"\\link").c_str()));
    DeleteFileW((root_ + L"\\link").c_str());
    RemoveDirectoryW((root_ + L"\\link").c_str());
    run_unix("rm -f " + shell_quote(unix_path(root_) + "/link"));
    remove_folder_tree(elsewhere);
}

TEST(WorkPath, BesideTheTargetWithProcessAndTick) {
    static wchar_t out[PATH_CAPACITY];
    ULONGLONG before = GetTickCount64();
    ASSERT_TRUE(make_work_path(out, L"C:\\Out\\Report"));
    ULONGLONG after = GetTickCount64();
    std::wstring prefix = L"C:\\Out\\.lumarek-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    std::wstring made = out;
    ASSERT_EQ(prefix, made.substr(0, prefix.size()));
    ULONGLONG tick = _wcstoui64(made.c_str() + prefix.size(), nullptr, 10);
    EXPECT_TRUE(tick >= before && tick <= after);
    EXPECT_EQ(std::to_wstring(tick), made.substr(prefix.size())) << "plain digits";

    ASSERT_TRUE(make_work_path(out, L"C:\\x.zip"));
    EXPECT_EQ(0, wcsncmp(out, L"C:\\.lumarek-", 11));
    EXPECT_FALSE(make_work_path(out, L"no-separator.zip"));
    std::wstring deep = L"C:\\" + std::wstring(4080, L'a') + L"\\target";
    EXPECT_FALSE(make_work_path(out, deep.c_str())) << "does not fit";
}

TEST(RemoveTree, RemovesEverythingButNeverFollowsALink) {
    std::wstring folder = make_scratch_folder(L"rmtree");
    std::wstring tree = folder + L"\\work";
    std::wstring outside = folder + L"\\outside";
    ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(outside.c_str(), nullptr));
    ASSERT_TRUE(write_bytes(outside + L"\\keep.txt", "keep", 4));
    std::wstring path = tree;
    for (int i = 0; i < 5; ++i) {
        path += L"\\sub" + std::to_wstring(i);
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        ASSERT_TRUE(write_bytes(path + L"\\f.bin", "data", 4));
    }
    ASSERT_TRUE(write_bytes(tree + L"\\empty", "", 0));
    ASSERT_EQ(0, run_unix("ln -s " + shell_quote(unix_path(outside)) + " " + shell_quote(unix_path(tree) + "/link")));

    remove_tree(tree.c_str(), 0);
    EXPECT_EQ(4u, read_bytes(outside + L"\\keep.txt").size()) << "the link's target is untouched";
    // Windows removes a folder link with RemoveDirectoryW. Wine cannot remove a host symbolic
    // link that way (it only ever reaches the link's target, and leaves a target with contents
    // alone), so under Wine the link, and with it the work folder, stay behind; all else is gone.
    std::string left;
    host_in(folder, "find work | sort", &left);
    EXPECT_TRUE(left == "" || left == "work\nwork/link\n") << left;
    run_unix("rm -f " + shell_quote(unix_path(tree) + "/link"));
    remove_folder_tree(folder);
}

TEST(RemoveTree, StopsBelowTheDepthLimit) {
    std::wstring folder = make_scratch_folder(L"rmdeep");
    std::wstring path = folder;
    for (int i = 0; i <= 132; ++i) {
        path += L"\\d";
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << i;
    }
    ASSERT_TRUE(write_bytes(path + L"\\deepest.txt", "x", 1));
    remove_tree(folder.c_str(), 0);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.c_str()))
        << "levels below the limit are left, so their parents stay";
    EXPECT_EQ(1u, read_bytes(path + L"\\deepest.txt").size());
    remove_folder_tree(folder);
}
