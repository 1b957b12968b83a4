// Create ZIP in the ZIP profiles view of the real window: exactly the previewed files, checked
// with 7z and bsdtar; files changed since the preview, an output path taken meanwhile, and the
// compression level of the moment.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/status_line.h"
#include "archive_fixtures.h"
#include "control_numbers.h"
#include "operations/archive_format.h"
#include "operations/create.h"
#include "operations/operation.h"
#include "profile_view_fixture.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

namespace {

typedef std::vector<std::wstring> Rows;

const wchar_t* const CHANGED = L"Files changed since the preview. Refresh the file list.";

class ProfileZip : public ProfileViewTest {
protected:
    void SetUp() override {
        ProfileViewTest::SetUp();
        ASSERT_TRUE(put_files(source_, {L"a.pdf", L"Sub\\Scan 01.pdf", L"Sub\\Deeper\\b.pdf", L"notes.txt"}));
        zip_ = destination_ + L"\\Docs_" + today() + L".zip";
    }
    // The preview of the pdf files in the profiles view.
    void preview_pdfs(bool polish = false) {
        ASSERT_NE(nullptr, open_profiles(polish));
        set_rules(source_, L"pdf", L"", destination_, L"{folder}_{date}");
        ASSERT_EQ((Rows{L"a.pdf", L"Sub\\Deeper\\b.pdf", L"Sub\\Scan 01.pdf"}), preview());
        ASSERT_EQ(zip_, target_line());
    }
    // Create ZIP; an error box expected is answered and its text returned.
    std::wstring create_zip(bool box_expected = false) { return press_and_answer(131, box_expected ? IDOK : 0); }
    bool preview_kept() {
        return g_app.preview_ready && create_zip_enabled() && preview_rows().size() == 3 &&
               g_slot.profile_files.count == 3 && target_line() == zip_;
    }
    bool preview_dropped() {
        return !g_app.preview_ready && !create_zip_enabled() && preview_rows().empty() &&
               g_slot.profile_files.count == 0;
    }
    // What the destination holds: nothing but finished ZIPs, never a temporary file.
    std::vector<std::wstring> destination_files() { return folder_names(destination_); }
    std::wstring zip_;
};

// "Packed Size" of the entry in the ZIP, as 7z reports it.
std::string packed_size(const std::wstring& zip, const std::string& entry) {
    std::string details;
    if (!host("7z l -slt {}", {zip}, &details)) return "(7z failed)";
    size_t at = details.find("Path = " + entry + "\n");
    if (at == std::string::npos) return "(no entry)";
    size_t packed = details.find("Packed Size = ", at);
    return details.substr(packed + 14, details.find('\n', packed) - packed - 14);
}

}  // namespace

TEST_F(ProfileZip, ThePreviewedFilesUnderSlashNamesWithoutFolderEntries) {
    preview_pdfs();
    create_zip();
    EXPECT_EQ(L"Profile ZIP saved.", status());
    EXPECT_EQ(zip_, target_line()) << "the ZIP just written";
    EXPECT_TRUE(preview_dropped());
    EXPECT_EQ(std::vector<std::wstring>{L"Docs_" + today() + L".zip"}, destination_files());

    std::string listing;
    ASSERT_TRUE(host("bsdtar -tf {}", {zip_}, &listing));
    EXPECT_EQ("a.pdf\nSub/Deeper/b.pdf\nSub/Scan 01.pdf\n", listing) << "in the preview's order";
    std::string details;
    ASSERT_TRUE(host("7z l -slt {}", {zip_}, &details));
    EXPECT_EQ(std::string::npos, details.find("Folder = +")) << details;
    EXPECT_EQ(std::string::npos, details.find("Encrypted = +")) << details;
    EXPECT_NE(std::string::npos, details.find("Path = Sub/Scan 01.pdf\n")) << details;
    EXPECT_TRUE(host("7z t {}", {zip_}));
    std::wstring unpacked = folder_ + L"\\unpacked";
    ASSERT_TRUE(host("mkdir {} && cd {} && bsdtar -xf {}", {unpacked, unpacked, zip_}));
    EXPECT_EQ(file_text(source_ + L"\\Sub\\Scan 01.pdf"), file_text(unpacked + L"\\Sub\\Scan 01.pdf"));
    EXPECT_EQ((std::vector<std::wstring>{L"Sub/", L"Sub/Deeper/", L"Sub/Deeper/b.pdf", L"Sub/Scan 01.pdf", L"a.pdf"}),
              folder_tree(unpacked));

    // The preview is gone, so Create ZIP again does nothing.
    set_status(L"-");
    create_zip();
    EXPECT_EQ(L"-", status());
    EXPECT_EQ(1u, destination_files().size());

    // In Polish.
    ASSERT_TRUE(DeleteFileW(zip_.c_str()));
    preview_pdfs(true);
    create_zip();
    EXPECT_EQ(L"Zapisano ZIP według profilu.", status());
}

TEST_F(ProfileZip, AFileChangedSinceThePreviewDropsThePreview) {
    const std::wstring scan = source_ + L"\\Sub\\Scan 01.pdf";
    const struct {
        const char* change;
        bool (*apply)(const std::wstring& path);
    } changes[] = {
        {"touched, same content",
         [](const std::wstring& path) {
             HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             FILETIME written;
             GetFileTime(file, nullptr, nullptr, &written);
             written.dwLowDateTime += 10000000;  // a second later
             if (written.dwLowDateTime < 10000000) ++written.dwHighDateTime;
             bool ok = SetFileTime(file, nullptr, nullptr, &written) != FALSE;
             CloseHandle(file);
             return ok;
         }},
        {"deleted", [](const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }},
        {"replaced by a folder",
         [](const std::wstring& path) { return DeleteFileW(path.c_str()) && CreateDirectoryW(path.c_str(), nullptr); }},
        {"grown", [](const std::wstring& path) { return write_bytes(path, "longer content", 14); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        RemoveDirectoryW(scan.c_str());
        ASSERT_TRUE(put_files(source_, {L"Sub\\Scan 01.pdf"}));
        preview_pdfs();
        ASSERT_TRUE(c.apply(scan));
        EXPECT_EQ(std::wstring(CHANGED) + L"\n\n" + scan, create_zip(true));
        EXPECT_EQ(CHANGED, status());
        EXPECT_TRUE(preview_dropped());
        EXPECT_EQ(std::vector<std::wstring>{}, destination_files()) << "no ZIP, no temporary file";
    }
    // Polish.
    RemoveDirectoryW(scan.c_str());
    ASSERT_TRUE(put_files(source_, {L"Sub\\Scan 01.pdf"}));
    preview_pdfs(true);
    ASSERT_TRUE(DeleteFileW(scan.c_str()));
    EXPECT_EQ(L"Pliki zmieniły się od podglądu. Pokaż listę ponownie.\n\n" + scan, create_zip(true));
}

TEST_F(ProfileZip, AFileAddedAfterThePreviewIsNotPacked) {
    preview_pdfs();
    ASSERT_TRUE(put_files(source_, {L"added.pdf", L"Sub\\added too.pdf"}));
    create_zip();
    EXPECT_EQ(L"Profile ZIP saved.", status());
    std::string listing;
    ASSERT_TRUE(host("bsdtar -tf {}", {zip_}, &listing));
    EXPECT_EQ("a.pdf\nSub/Deeper/b.pdf\nSub/Scan 01.pdf\n", listing);
}

TEST_F(ProfileZip, AFileAtTheOutputPathKeepsThePreview) {
    preview_pdfs();
    ASSERT_TRUE(write_bytes(zip_, "someone else's", 14));
    const std::wstring exists = L"The file or folder already exists. Choose a new name.\n\n" + zip_;
    EXPECT_EQ(exists, create_zip(true));
    EXPECT_TRUE(preview_kept());
    EXPECT_EQ(exists, create_zip(true)) << "again, until a new preview";
    EXPECT_EQ("someone else's", file_text(zip_)) << "never replaced";
    EXPECT_EQ(1u, destination_files().size()) << "no temporary file left";
    // A new preview picks the next free name.
    preview();
    const std::wstring second = destination_ + L"\\Docs_" + today() + L" (2).zip";
    EXPECT_EQ(second, target_line());
    create_zip();
    EXPECT_EQ(L"Profile ZIP saved.", status());
    EXPECT_TRUE(host("7z t {}", {second}));
}

TEST_F(ProfileZip, AFileTurnedIntoALinkKeepsThePreview) {
    preview_pdfs();
    const std::wstring scan = source_ + L"\\Sub\\Scan 01.pdf";
    ASSERT_TRUE(DeleteFileW(scan.c_str()));
    ASSERT_TRUE(host("ln -s .. {}", {scan}));
    EXPECT_EQ(L"A source contains a link or a cloud-only file.\n\n" + scan, create_zip(true));
    EXPECT_TRUE(preview_kept());
    EXPECT_EQ(std::vector<std::wstring>{}, destination_files());
    ASSERT_TRUE(host("rm {}", {scan}));
}

TEST_F(ProfileZip, TheLevelIsTheDefaultCompressionWhenCreateZipIsPressed) {
    // Text that each level packs to another size.
    std::string text;
    for (uint32_t i = 0, x = 12345; text.size() < 300000; ++i) {
        x = x * 1103515245 + 12345;
        text += "word" + std::to_string((x >> 16) % 5000) + ((x >> 8) % 7 == 0 ? "\n" : " ");
    }
    ASSERT_TRUE(write_bytes(source_ + L"\\Sub\\Scan 01.pdf", text.data(), text.size()));
    std::vector<std::string> sizes;
    for (uint32_t choice = 0; choice < 3; ++choice) {
        SCOPED_TRACE(choice);
        // The same file packed by the archive creation at that level, for comparison.
        std::wstring reference = folder_ + L"\\reference" + std::to_wstring(choice) + L".zip";
        std::wstring file = source_ + L"\\Sub\\Scan 01.pdf";
        wchar_t* sources[1] = {&file[0]};
        OperationResult result = {};
        ASSERT_TRUE(
            create_archive(reference.c_str(), sources, 1, FORMAT_ZIP, COMPRESSION_LEVELS[choice], L"", &result));

        preview_pdfs();
        g_preferences.default_compression = choice;  // changed after the preview, before Create ZIP
        create_zip();
        ASSERT_EQ(L"Profile ZIP saved.", status());
        EXPECT_EQ(packed_size(reference, "Scan 01.pdf"), packed_size(zip_, "Sub/Scan 01.pdf"));
        sizes.push_back(packed_size(zip_, "Sub/Scan 01.pdf"));
        ASSERT_TRUE(DeleteFileW(zip_.c_str()));
    }
    EXPECT_NE(sizes[0], sizes[1]);
    EXPECT_NE(sizes[1], sizes[2]);
}

TEST_F(ProfileZip, CancelKeepsTheReadyPreviewAndDropsAPartialOne) {
    // Large enough that a cancel right after the start always finds the work running.
    ASSERT_TRUE(
        python("import os, sys\n"
               "with open(os.path.join(sys.argv[1], 'big.pdf'), 'wb') as f: f.write(os.urandom(40 << 20))\n"
               "os.mkdir(os.path.join(sys.argv[1], 'many'))\n"
               "for i in range(4000): open(os.path.join(sys.argv[1], 'many', '%04d.pdf' % i), 'w').close()\n",
               {source_}));
    ASSERT_NE(nullptr, open_profiles());
    set_rules(source_, L"pdf", L"", destination_, L"{folder}_{date}");

    press(main_, 130);
    press(main_, 115);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Operation canceled.", status());
    EXPECT_FALSE(g_app.preview_ready);
    EXPECT_EQ(0u, g_slot.profile_files.count) << "the partial list is freed";
    EXPECT_FALSE(create_zip_enabled());

    ASSERT_EQ(4004u, preview().size());
    press(main_, 131);
    press(main_, 115);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(L"Operation canceled.", status());
    EXPECT_TRUE(g_app.preview_ready) << "Create ZIP can be pressed again";
    EXPECT_TRUE(create_zip_enabled());
    EXPECT_EQ(4004u, g_slot.profile_files.count);
    EXPECT_EQ(std::vector<std::wstring>{}, destination_files()) << "no ZIP, no temporary file";
    ASSERT_TRUE(host("rm -rf {}", {source_}));
}
