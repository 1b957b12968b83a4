// Preview files in the ZIP profiles view of the real window, against real folders: the extension
// and skip-folder rules, the sort, the limits of the scan, links, and the ZIP name the pattern
// gives.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "archive_fixtures.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "profile_view_fixture.h"
#include "profiles/profile_name.h"
#include "profiles/profile_scan.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

const wchar_t* const NO_MATCH = L"box: No files match the profile rules.";
const wchar_t* const INVALID_NAME = L"Use a valid ZIP name. Available placeholders are {folder} and {date}.";
const wchar_t* const IO_ERROR = L"Could not read the source or write the result to the selected location.";
const wchar_t* const LINK = L"A source contains a link or a cloud-only file.";

typedef std::vector<std::wstring> Rows;

class ProfilePreview : public ProfileViewTest {
protected:
    // The rows of a preview with these rules on the Docs folder.
    Rows preview_with(const std::wstring& extensions, const std::wstring& skip_folders, bool box_expected = false) {
        set_rules(source_, extensions, skip_folders, destination_, L"{folder}_{date}");
        return preview(box_expected);
    }
};

}  // namespace

TEST_F(ProfilePreview, ExtensionRules) {
    ASSERT_TRUE(put_files(source_, {L"a.pdf", L"B.JPG", L"c.tar.pdf", L"a.pdfx", L"pdf", L"a.jpeg", L".pdf",
                                    L"x.tar.gz", L"x.gz", L"notes.txt"}));
    const Rows every = {L".pdf",      L"a.jpeg",    L"a.pdf", L"a.pdfx", L"B.JPG",
                        L"c.tar.pdf", L"notes.txt", L"pdf",   L"x.gz",   L"x.tar.gz"};
    const Rows pdf_and_jpg = {L".pdf", L"a.pdf", L"B.JPG", L"c.tar.pdf"};
    const struct {
        const wchar_t* extensions;
        Rows rows;
    } cases[] = {
        {L"pdf; jpg", pdf_and_jpg},
        {L"*.pdf,*.jpg", pdf_and_jpg},
        {L".PDF .JPG", pdf_and_jpg},
        {L"\tjpg;;pdf,", pdf_and_jpg},
        {L"*", every},
        {L"pdf *", every},
        {L"", every},
        {L" ,;\t ; ", every},  // separators only: no rule
        {L".", {NO_MATCH}},    // a rule that takes nothing
        {L"*.", {NO_MATCH}},
        {L"tar.gz", {L"x.tar.gz"}},
        {L"GZ", {L"x.gz", L"x.tar.gz"}},
        {L"jpeg pdfx", {L"a.jpeg", L"a.pdfx"}},
    };
    ASSERT_NE(nullptr, open_profiles());
    for (const auto& c : cases) {
        bool box = c.rows.size() == 1 && c.rows[0] == NO_MATCH;
        EXPECT_EQ(c.rows, preview_with(c.extensions, L"", box)) << c.extensions;
        EXPECT_EQ(!box, g_app.preview_ready) << c.extensions;
        EXPECT_EQ(!box, create_zip_enabled()) << c.extensions;
        if (box) {
            EXPECT_EQ(0u, g_slot.profile_files.count) << "a failed preview keeps no list";
            EXPECT_EQ(L"", target_line());
        }
    }
}

TEST_F(ProfilePreview, SkipFolderRulesAtAnyDepth) {
    ASSERT_TRUE(put_files(source_, {L"Temp\\a.txt", L"x\\temp\\b.txt", L"x\\Old Files\\c.txt", L"x\\old\\d.txt",
                                    L"y\\Temp", L"keep.txt", L"x\\Old Files\\deeper\\Temp\\e.txt"}));
    const struct {
        const wchar_t* skip_folders;
        Rows rows;
    } cases[] = {
        {L"Temp; old files", {L"keep.txt", L"x\\old\\d.txt", L"y\\Temp"}},
        {L"",
         {L"keep.txt", L"Temp\\a.txt", L"x\\Old Files\\c.txt", L"x\\Old Files\\deeper\\Temp\\e.txt", L"x\\old\\d.txt",
          L"x\\temp\\b.txt", L"y\\Temp"}},
        {L"  TEMP\t;;", {L"keep.txt", L"x\\Old Files\\c.txt", L"x\\old\\d.txt", L"y\\Temp"}},
        {L"old",
         {L"keep.txt", L"Temp\\a.txt", L"x\\Old Files\\c.txt", L"x\\Old Files\\deeper\\Temp\\e.txt", L"x\\temp\\b.txt",
          L"y\\Temp"}},
        // Split at semicolons only: one name with a comma and a space, which no folder has.
        {L"old files, temp",
         {L"keep.txt", L"Temp\\a.txt", L"x\\Old Files\\c.txt", L"x\\Old Files\\deeper\\Temp\\e.txt", L"x\\old\\d.txt",
          L"x\\temp\\b.txt", L"y\\Temp"}},
        // The source folder itself is never tested against the rules.
        {L"Docs",
         {L"keep.txt", L"Temp\\a.txt", L"x\\Old Files\\c.txt", L"x\\Old Files\\deeper\\Temp\\e.txt", L"x\\old\\d.txt",
          L"x\\temp\\b.txt", L"y\\Temp"}},
    };
    ASSERT_NE(nullptr, open_profiles());
    for (const auto& c : cases) EXPECT_EQ(c.rows, preview_with(L"", c.skip_folders)) << c.skip_folders;
}

TEST_F(ProfilePreview, SortedIgnoringCaseAcrossFoldersWithTheZipPathAndCount) {
    ASSERT_TRUE(put_files(source_, {L"Sub\\a.pdf", L"D.pdf", L"b.pdf", L"Sub\\skip.txt"}));
    ASSERT_NE(nullptr, open_profiles());
    EXPECT_EQ((Rows{L"b.pdf", L"D.pdf", L"Sub\\a.pdf"}), preview_with(L"pdf", L""));
    // Beyond ASCII too: after folding, Ą (0x104) comes after Z, and "ą." before "Ą2".
    ASSERT_TRUE(put_files(folder_ + L"\\More", {L"Ą2.pdf", L"z.pdf", L"ą.pdf", L"Sub\\ä.pdf", L"Sub\\B.pdf"}));
    set_rules(folder_ + L"\\More", L"pdf", L"", destination_, L"{folder}_{date}");
    EXPECT_EQ((Rows{L"Sub\\B.pdf", L"Sub\\ä.pdf", L"z.pdf", L"ą.pdf", L"Ą2.pdf"}), preview());
    preview_with(L"pdf", L"");
    EXPECT_EQ(destination_ + L"\\Docs_" + today() + L".zip", target_line());
    EXPECT_EQ(L"Files to pack: 3", status());
    EXPECT_TRUE(create_zip_enabled());
    ASSERT_EQ(3u, g_slot.profile_files.count);
    // Sizes and times as the folder listing reports them.
    WIN32_FILE_ATTRIBUTE_DATA facts;
    ASSERT_TRUE(GetFileAttributesExW((source_ + L"\\Sub\\a.pdf").c_str(), GetFileExInfoStandard, &facts));
    const ListEntry& entry = g_slot.profile_files.items[2];
    EXPECT_EQ((int64_t)facts.nFileSizeLow, entry.size);
    EXPECT_EQ((uint64_t)facts.ftLastWriteTime.dwHighDateTime << 32 | facts.ftLastWriteTime.dwLowDateTime,
              entry.modified);
    EXPECT_FALSE(entry.is_directory);

    // In Polish.
    ASSERT_NE(nullptr, open_profiles(true));
    preview_with(L"pdf", L"");
    EXPECT_EQ(L"Pliki do spakowania: 3", status());
}

TEST_F(ProfilePreview, FolderMoreThanAHundredLevelsDownFailsTheScan) {
    // 100 levels of five-unit names: the deepest file is taken.
    std::wstring chain;
    for (int level = 1; level <= 100; ++level) chain += L"d" + std::to_wstring(1000 + level) + L"\\";
    ASSERT_TRUE(put_files(source_, {L"top.txt", chain + L"deep.txt"}));
    ASSERT_NE(nullptr, open_profiles());
    Rows rows = preview_with(L"txt", L"");
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(chain + L"deep.txt", rows[0]);

    // One more level, even an empty one, is too deep; the detail is the folder's path cut to 383 units.
    std::wstring too_deep = source_ + L"\\" + chain + L"d1101";
    ASSERT_TRUE(CreateDirectoryW(too_deep.c_str(), nullptr));
    ASSERT_GT(too_deep.size(), 383u);
    EXPECT_EQ((Rows{L"box: " + std::wstring(IO_ERROR) + L"\n\n" + too_deep.substr(0, 383)}),
              preview_with(L"txt", L"", true));
    EXPECT_FALSE(g_app.preview_ready);
    EXPECT_EQ(0u, g_slot.profile_files.count);
    // Skipped by the rules, the deep folder is never entered.
    EXPECT_EQ(rows, preview_with(L"txt", L"d1101"));
}

TEST_F(ProfilePreview, AtMost131072Files) {
    // Made by the host: many files quickly.
    ASSERT_TRUE(
        python("import os, sys\n"
               "for i in range(131073): open(os.path.join(sys.argv[1], 'f%06d.pdf' % i), 'w').close()\n"
               "for i in range(5): open(os.path.join(sys.argv[1], 'other%d.txt' % i), 'w').close()\n",
               {source_}));
    ASSERT_NE(nullptr, open_profiles());
    EXPECT_EQ((Rows{L"box: There is not enough memory to complete the operation."}), preview_with(L"pdf", L"", true));
    EXPECT_FALSE(g_app.preview_ready);

    ASSERT_TRUE(DeleteFileW((source_ + L"\\f000000.pdf").c_str()));
    Rows rows = preview_with(L"pdf", L"");
    ASSERT_EQ(131072u, rows.size());
    EXPECT_EQ(L"f000001.pdf", rows.front());
    EXPECT_EQ(L"f131072.pdf", rows.back());
    EXPECT_EQ(L"Files to pack: 131072", status());
    ASSERT_TRUE(host("rm -rf {}", {source_})) << "quicker by the host";
}

// Wine shows a host symbolic link to a folder as a folder with FILE_ATTRIBUTE_REPARSE_POINT, which is
// what a junction or a folder link shows on Windows.
TEST_F(ProfilePreview, LinksAreNeverEntered) {
    std::wstring elsewhere = folder_ + L"\\Elsewhere";
    ASSERT_TRUE(put_files(elsewhere, {L"far.pdf"}));
    ASSERT_TRUE(put_files(source_, {L"a.pdf"}));
    ASSERT_TRUE(host("ln -s ../Elsewhere {}", {source_ + L"\\Linked"}));
    ASSERT_EQ((DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              GetFileAttributesW((source_ + L"\\Linked").c_str()) &
                  (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    ASSERT_NE(nullptr, open_profiles());

    // Skipped by the rules: no error.
    EXPECT_EQ((Rows{L"a.pdf"}), preview_with(L"pdf", L"linked"));
    // Entered: the link fails the preview.
    EXPECT_EQ((Rows{L"box: " + std::wstring(LINK) + L"\n\n" + source_ + L"\\Linked"}), preview_with(L"pdf", L"", true));
    EXPECT_FALSE(g_app.preview_ready);

    // A source folder that is itself a link.
    std::wstring linked_source = folder_ + L"\\LinkToDocs";
    ASSERT_TRUE(host("ln -s Docs {}", {linked_source}));
    set_rules(linked_source, L"pdf", L"linked", destination_, L"{folder}_{date}");
    EXPECT_EQ((Rows{L"box: " + std::wstring(LINK) + L"\n\n" + linked_source}), preview(true));
}

TEST_F(ProfilePreview, TheZipBeingMadeIsNotScanned) {
    // Only the body can meet it: the fields give a name that is free when they are read.
    std::wstring zip_path = source_ + L"\\Docs_" + today() + L".zip";
    ASSERT_TRUE(put_files(source_, {L"old.zip", L"Docs_" + today() + L".zip"}));
    Profile profile = profile_record(L"p", source_, source_, L"zip");
    EntryList list = {};
    OperationResult result = {};
    ASSERT_TRUE(preview_profile_files(&profile, zip_path.c_str(), &list, &result));
    ASSERT_EQ(1u, list.count);
    EXPECT_EQ(std::wstring(L"old.zip"), list.items[0].name);
    entry_list_free(&list);
    // In other letter case, and in a subfolder.
    ASSERT_TRUE(put_files(source_, {L"Sub\\inner.zip", L"Sub\\kept.zip"}));
    std::wstring upper = source_ + L"\\SUB\\INNER.ZIP";
    ASSERT_TRUE(preview_profile_files(&profile, upper.c_str(), &list, &result));
    ASSERT_EQ(3u, list.count);
    EXPECT_EQ(std::wstring(L"Docs_") + today() + L".zip", list.items[0].name);
    EXPECT_EQ(std::wstring(L"old.zip"), list.items[1].name);
    EXPECT_EQ(std::wstring(L"Sub\\kept.zip"), list.items[2].name);
    entry_list_free(&list);
}

TEST_F(ProfilePreview, MissingSourceOrDestinationFolder) {
    ASSERT_NE(nullptr, open_profiles());
    const wchar_t* message = L"Choose existing source and destination folders.";
    const std::wstring missing = folder_ + L"\\Missing";
    const std::wstring file = folder_ + L"\\file.txt";
    ASSERT_TRUE(write_bytes(file, "x", 1));
    for (const std::wstring& source : {missing, file, std::wstring()}) {
        set_rules(source, L"", L"", destination_, L"{folder}_{date}");
        EXPECT_EQ(Rows{}, preview());
        EXPECT_EQ(message, status()) << source;
        set_rules(source_, L"", L"", source, L"{folder}_{date}");
        EXPECT_EQ(Rows{}, preview());
        EXPECT_EQ(message, status()) << source;
    }
    EXPECT_FALSE(g_app.busy);
}

TEST_F(ProfilePreview, NamePatterns) {
    ASSERT_TRUE(put_files(source_, {L"a.txt"}));
    const std::wstring date = today();
    const struct {
        const wchar_t* pattern;
        std::wstring zip;  // empty: the pattern is invalid
    } cases[] = {
        {L"{folder}_{date}", L"Docs_" + date + L".zip"},
        {L"{date}", date + L".zip"},
        {L"x{folder}y{date}z{folder}", L"xDocsy" + date + L"zDocs.zip"},
        {L"Backup.ZIP", L"Backup.zip"},
        {L"report.zip", L"report.zip"},
        {L"a.zip.zip", L"a.zip.zip"},
        {L".zip", L".zip.zip"},  // four units: not shortened
        {L"Faktury ąę", L"Faktury ąę.zip"},
        {L"{Folder}", L""},
        {L"{DATE}", L""},
        {L"{foo}", L""},
        {L"a}b", L""},
        {L"{folder", L""},
        {L"{", L""},
        {L"", L""},
        {L"a:b", L""},
        {L"a\\b", L""},
        {L"trailing.", L""},
        {L"trailing ", L""},
        {L" .zip", L""},  // what is left without ".zip" ends in a space
        {L"CON", L""},
        {L"nul.zip", L""},
    };
    ASSERT_NE(nullptr, open_profiles());
    for (const auto& c : cases) {
        set_rules(source_, L"", L"", destination_, c.pattern);
        if (c.zip.empty()) {
            EXPECT_EQ(Rows{}, preview()) << c.pattern;
            EXPECT_EQ(INVALID_NAME, status()) << c.pattern;
            EXPECT_FALSE(g_app.preview_ready) << c.pattern;
        } else {
            EXPECT_EQ(Rows{L"a.txt"}, preview()) << c.pattern;
            EXPECT_EQ(destination_ + L"\\" + c.zip, target_line()) << c.pattern;
        }
    }

    // The first free one of X.zip, X (2).zip, X (3).zip, …
    ASSERT_TRUE(put_files(destination_, {L"X.zip", L"x (2).ZIP"}));
    set_rules(source_, L"", L"", destination_, L"X");
    preview();
    EXPECT_EQ(destination_ + L"\\X (3).zip", target_line());
    // A folder of that name is taken too.
    ASSERT_TRUE(CreateDirectoryW((destination_ + L"\\X (3).zip").c_str(), nullptr));
    preview();
    EXPECT_EQ(destination_ + L"\\X (4).zip", target_line());
}

TEST_F(ProfilePreview, LongNamesAndTheLastCandidate) {
    ASSERT_TRUE(put_files(source_, {L"a.txt"}));
    // The folder word makes long expansions: 250 units fit with ".zip", 252 do not.
    std::wstring long_source = folder_ + L"\\" + std::wstring(250, L'n');
    ASSERT_TRUE(put_files(long_source, {L"a.txt"}));
    ASSERT_NE(nullptr, open_profiles());
    set_rules(long_source, L"", L"", destination_, L"{folder}");
    preview();
    EXPECT_EQ(destination_ + L"\\" + std::wstring(250, L'n') + L".zip", target_line());
    set_rules(long_source, L"", L"", destination_, L"{folder}y");
    preview();
    EXPECT_EQ(destination_ + L"\\" + std::wstring(250, L'n') + L"y.zip", target_line()) << "251 units";
    set_rules(long_source, L"", L"", destination_, L"{folder}yz");
    preview();
    EXPECT_EQ(INVALID_NAME, status()) << "252 units and .zip do not fit";
    set_rules(long_source, L"", L"", destination_, L"{folder}123456");
    preview();
    EXPECT_EQ(INVALID_NAME, status()) << "an expansion of 256 units";
    // Once the plain name exists, " (2)" no longer fits.
    ASSERT_TRUE(put_files(destination_, {std::wstring(250, L'n') + L".zip"}));
    set_rules(long_source, L"", L"", destination_, L"{folder}");
    preview();
    EXPECT_EQ(INVALID_NAME, status());

    // All 10,000 candidates taken: no name; the last one free: that one.
    std::wstring full = folder_ + L"\\Full";
    ASSERT_TRUE(CreateDirectoryW(full.c_str(), nullptr));
    ASSERT_TRUE(
        python("import os, sys\n"
               "open(os.path.join(sys.argv[1], 'E.zip'), 'w').close()\n"
               "for n in range(2, 10001): open(os.path.join(sys.argv[1], 'E (%d).zip' % n), 'w').close()\n",
               {full}));
    set_rules(source_, L"", L"", full, L"E");
    preview();
    EXPECT_EQ(INVALID_NAME, status());
    ASSERT_TRUE(DeleteFileW((full + L"\\E (10000).zip").c_str()));
    preview();
    EXPECT_EQ(full + L"\\E (10000).zip", target_line());
}

TEST(ProfileZipPath, ADriveRootGivesItsLetter) {
    std::wstring destination = make_scratch_folder(L"drive-root");
    for (const wchar_t* root : {L"C:\\", L"Z:\\"}) {
        Profile profile = profile_record(L"p", root, destination);
        wchar_t path[PATH_CAPACITY];
        ASSERT_TRUE(profile_zip_path(&profile, path)) << root;
        EXPECT_EQ(destination + L"\\" + root[0] + L"_" + today() + L".zip", std::wstring(path));
    }
    remove_folder_tree(destination);
}
