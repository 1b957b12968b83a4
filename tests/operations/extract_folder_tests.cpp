#include <gtest/gtest.h>

#include <string>

#include "common/text.h"
#include "operations/extract_folder.h"
#include "test_support.h"

TEST(ExtractFolderFor, NamesFromTheArchive) {
    std::wstring parent = make_scratch_folder(L"folderfor");
    struct Case {
        const wchar_t* archive;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\In\\Photos.zip", L"Photos"},
        {L"C:\\In\\backup.TAR.GZ", L"backup"},
        {L"C:\\In\\backup.tar.gz", L"backup"},
        {L"C:\\In\\a.tar.gz", L"a"},    // ".tar" starts at position 1
        {L"C:\\In\\.tar.gz", L".tar"},  // the ".tar" would start the name: only ".gz" goes
        {L"C:\\In\\x.tgz", L"x"},
        {L"C:\\In\\report.2026.7z", L"report.2026"},
        {L"C:\\In\\.hidden", L".hidden"},  // a leading dot is no extension
        {L"C:\\In\\noextension", L"noextension"},
        {L"C:\\In\\name..zip", L"Lumarek"},  // "name." ends in a dot
        {L"C:\\In\\CON.zip", L"Lumarek"},
        {L"C:\\In\\.zip", L".zip"},
        {L"C:\\In\\Zdjęcia z wakacji.zip", L"Zdjęcia z wakacji"},
        {L"D:/in/slashes.rar", L"slashes"},
    };
    for (const Case& c : cases) {
        wchar_t output[PATH_CAPACITY];
        ASSERT_TRUE(extract_folder_for(c.archive, parent.c_str(), output)) << c.archive;
        EXPECT_EQ(parent + L"\\" + c.folder, output) << c.archive;
    }
    remove_folder_tree(parent);
}

TEST(ExtractFolderFor, TakenNamesGetANumber) {
    std::wstring parent = make_scratch_folder(L"folderfor");
    wchar_t output[PATH_CAPACITY];
    ASSERT_TRUE(CreateDirectoryW((parent + L"\\Photos").c_str(), nullptr));
    ASSERT_TRUE(write_bytes(parent + L"\\Photos (2)", "a file takes the name too", 25));
    ASSERT_TRUE(CreateDirectoryW((parent + L"\\Photos (3)").c_str(), nullptr));
    ASSERT_TRUE(extract_folder_for(L"C:\\x\\Photos.zip", parent.c_str(), output));
    EXPECT_EQ(parent + L"\\Photos (4)", output);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(output)) << "named, not created";

    // A name of 255 units fits, but with " (2)" it no longer fits in 256 units.
    std::wstring longest(255, L'n');
    ASSERT_TRUE(CreateDirectoryW((L"Z:\\tmp\\" + longest).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(extract_folder_for((L"C:\\" + longest + L".zip").c_str(), L"Z:\\tmp", output) == false);
    RemoveDirectoryW((L"Z:\\tmp\\" + longest).c_str());
    EXPECT_FALSE(extract_folder_for((L"C:\\" + std::wstring(256, L'n')).c_str(), parent.c_str(), output))
        << "an archive name that does not fit";
    std::wstring deep(4094, L'p');
    EXPECT_FALSE(extract_folder_for(L"C:\\a.zip", deep.c_str(), output)) << "the joined path does not fit";
    remove_folder_tree(parent);
}
