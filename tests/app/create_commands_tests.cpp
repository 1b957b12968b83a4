// The New archive view in the real window: adding and removing sources, the save dialog with its
// extension rules, the ZIP password field, and the question after a saved archive.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/status_line.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "operations/archive_format.h"
#include "operations/operation.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

namespace {

class NewArchive : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        source_ = folder_ + L"\\Report";
        ASSERT_TRUE(CreateDirectoryW(source_.c_str(), nullptr));
        ASSERT_TRUE(write_bytes(source_ + L"\\q1.txt", "first quarter", 13));
        ASSERT_TRUE(write_bytes(folder_ + L"\\notes.txt", "notes", 5));
        out_ = folder_ + L"\\out";
        ASSERT_TRUE(CreateDirectoryW(out_.c_str(), nullptr));
    }
    HWND sources_list() { return nth_control(main_, N_SOURCES_LIST); }
    std::vector<std::wstring> source_rows() {
        std::vector<std::wstring> rows;
        int count = (int)SendMessageW(sources_list(), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            wchar_t text[PATH_CAPACITY] = {};
            SendMessageW(sources_list(), LB_GETTEXT, i, (LPARAM)text);
            rows.push_back(text);
        }
        return rows;
    }
    std::vector<std::wstring> sources() {
        return std::vector<std::wstring>(g_app.sources, g_app.sources + g_app.source_count);
    }
    void set_format(int format) {
        HWND formats = GetDlgItem(main_, 110);
        SendMessageW(formats, CB_SETCURSEL, format, 0);
        SendMessageW(main_, WM_COMMAND, MAKEWPARAM(110, CBN_SELCHANGE), (LPARAM)formats);
    }
    // Create archive… with the save dialog answered with the name and the question with the answer.
    std::vector<SeenWindow> create(const std::wstring& name, int answer, std::vector<std::wstring>* filters = nullptr) {
        UserPlayer user({[name, filters](HWND dialog) {
                             if (filters != nullptr) *filters = dialog_filter_names(dialog);
                             choose_file(name)(dialog);
                         },
                         press_button(answer)});
        press(main_, 109);
        EXPECT_TRUE(wait_until_idle());
        return user.seen();
    }
    std::wstring source_;
    std::wstring out_;
};

}  // namespace

TEST(ArchiveNames, TheFormatsExtensionIsAddedOnlyWhenMissing) {
    const struct {
        const wchar_t* name;
        uint32_t format;
        const wchar_t* result;
    } cases[] = {
        {L"C:\\x\\backup", FORMAT_ZIP, L"C:\\x\\backup.zip"},
        {L"C:\\x\\Backup.ZIP", FORMAT_ZIP, L"C:\\x\\Backup.ZIP"},
        {L"C:\\x\\backup.7z", FORMAT_ZIP, L"C:\\x\\backup.7z.zip"},
        {L"C:\\x\\x.gz", FORMAT_TAR_GZ, L"C:\\x\\x.gz.tar.gz"},
        {L"C:\\x\\y.tar.gz", FORMAT_TAR_GZ, L"C:\\x\\y.tar.gz"},
        {L"C:\\x\\y.TAR.Gz", 7, L"C:\\x\\y.TAR.Gz"},  // any other format is TAR.GZ
        {L"C:\\x\\ytar.gz", FORMAT_TAR_GZ, L"C:\\x\\ytar.gz.tar.gz"},
        {L"C:\\x\\a.7Z", FORMAT_7Z, L"C:\\x\\a.7Z"},
        {L"C:\\x\\zip", FORMAT_ZIP, L"C:\\x\\zip.zip"},
    };
    for (const auto& c : cases) {
        wchar_t name[PATH_CAPACITY];
        wcscpy(name, c.name);
        EXPECT_TRUE(archive_name_with_extension(name, PATH_CAPACITY, c.format)) << c.name;
        EXPECT_EQ(std::wstring(c.result), name) << c.name;
    }
    // A name that leaves no room for the extension stays as it was and is refused.
    std::wstring longest(PATH_CAPACITY - 4, L'n');
    wchar_t name[PATH_CAPACITY];
    wcscpy(name, longest.c_str());
    EXPECT_FALSE(archive_name_with_extension(name, PATH_CAPACITY, FORMAT_ZIP));
    EXPECT_EQ(longest, name);
    wcscpy(name, longest.c_str());
    name[PATH_CAPACITY - 5] = 0;
    EXPECT_TRUE(archive_name_with_extension(name, PATH_CAPACITY, FORMAT_ZIP));
}

TEST_F(NewArchive, SourcesAreAddedOnceAndRemovedInPlace) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    EXPECT_EQ(L"Sources: 0", status());

    // Add folder…: the browser, twice the same folder.
    for (int i = 0; i < 2; ++i) {
        UserPlayer user({choose_folder(source_)});
        press(main_, 107);
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(1u, seen.size());
        bool titled = false;
        for (const std::wstring& text : seen[0].statics) titled = titled || text == L"Choose a folder to archive.";
        EXPECT_TRUE(titled);
    }
    EXPECT_EQ(L"Sources: 1", status());
    ASSERT_EQ(1u, sources().size());
    EXPECT_EQ(0, _wcsicmp(source_.c_str(), sources()[0].c_str())) << sources()[0];

    // The same folder in another letter case is the same source.
    std::wstring upper = source_;
    for (wchar_t& c : upper) c = towupper(c);
    add_source(upper.c_str());
    EXPECT_EQ(1u, sources().size());

    // Add files…: two files chosen at once in the dialog.
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) ASSERT_TRUE(write_bytes(folder_ + L"\\" + name, "x", 1));
    {
        UserPlayer user({choose_files(folder_, {L"a.txt", L"b.txt"})});
        press(main_, 106);
        EXPECT_EQ(1u, user.seen().size());
    }
    EXPECT_EQ(L"Sources: 3", status());
    {
        UserPlayer user({choose_file(folder_ + L"\\c.txt")});
        press(main_, 106);
        EXPECT_EQ(1u, user.seen().size());
    }
    add_source((folder_ + L"\\notes.txt").c_str());
    update_count_status();
    EXPECT_EQ(L"Sources: 5", status());
    std::vector<std::wstring> five = sources();
    EXPECT_EQ(five, source_rows());
    EXPECT_EQ(folder_ + L"\\c.txt", five[3]);

    // Remove rows 1 and 3 of five: 0, 2 and 4 stay in their order.
    SendMessageW(sources_list(), LB_SETSEL, TRUE, 1);
    SendMessageW(sources_list(), LB_SETSEL, TRUE, 3);
    press(main_, 108);
    EXPECT_EQ((std::vector<std::wstring>{five[0], five[2], five[4]}), sources());
    EXPECT_EQ(sources(), source_rows());
    EXPECT_EQ(L"Sources: 3", status());
    // Nothing selected: nothing removed.
    press(main_, 108);
    EXPECT_EQ(3u, sources().size());
}

TEST_F(NewArchive, ALongSelectionOfFilesIsAddedWhole) {
    std::vector<std::wstring> names = files_with_long_names(out_, L".txt");
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    {
        UserPlayer user({choose_files(out_, names)});
        press(main_, 106);
        EXPECT_EQ(1u, user.seen(180000).size());
    }
    EXPECT_EQ(L"Sources: " + std::to_wstring(names.size()), status());
    ASSERT_EQ(names.size(), sources().size());
    EXPECT_EQ(out_ + L"\\" + names.back(), sources().back());
}

TEST_F(NewArchive, SaveDialogAndTheExtensionRules) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    press(main_, 109);
    EXPECT_EQ(L"Add at least one file or folder.", status());
    add_source(source_.c_str());
    add_source((folder_ + L"\\notes.txt").c_str());

    const struct {
        int format;
        const wchar_t* typed;
        const wchar_t* saved;
        const wchar_t* filter;
        const char* magic;
    } cases[] = {
        {0, L"backup", L"backup.zip", L"ZIP (*.zip)", "PK\3\4"},
        {0, L"Backup2.ZIP", L"Backup2.ZIP", L"ZIP (*.zip)", "PK\3\4"},
        {2, L"x.gz", L"x.gz.tar.gz", L"TAR.GZ (*.tar.gz)", "\x1f\x8b"},
        {2, L"y.tar.gz", L"y.tar.gz", L"TAR.GZ (*.tar.gz)", "\x1f\x8b"},
        {1, L"seven", L"seven.7z", L"7z (*.7z)", "7z\xbc\xaf"},
    };
    for (const auto& c : cases) {
        set_format(c.format);
        std::vector<std::wstring> filters;
        std::vector<SeenWindow> seen = create(out_ + L"\\" + c.typed, IDNO, &filters);
        ASSERT_EQ(2u, seen.size()) << c.typed;
        EXPECT_EQ(std::vector<std::wstring>{c.filter}, filters) << c.typed;
        EXPECT_EQ(L"Lumarek", seen[1].caption);
        EXPECT_EQ(L"Archive saved. Open its contents?", seen[1].text);
        EXPECT_EQ(L"Archive saved.", status()) << c.typed;
        std::string bytes = file_text(out_ + L"\\" + c.saved);
        EXPECT_EQ(c.magic, bytes.substr(0, strlen(c.magic))) << c.saved;
        std::string listing;
        EXPECT_TRUE(host("bsdtar -tf {} | sort", {out_ + L"\\" + c.saved}, &listing));
        EXPECT_EQ("Report/\nReport/q1.txt\nnotes.txt\n", listing) << c.saved;
    }
    EXPECT_EQ(5u, folder_tree(out_).size()) << "nothing else, no temporary file";
}

TEST_F(NewArchive, ThePasswordIsForZipOnly) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    add_source(source_.c_str());
    HWND password = GetDlgItem(main_, 111);

    // ZIP: the archive is encrypted with the field's password; the field is emptied after success.
    set_format(0);
    EXPECT_TRUE(IsWindowEnabled(password));
    SetWindowTextW(password, L"Hasło ąę");
    create(out_ + L"\\locked", IDNO);
    EXPECT_EQ(L"", text_of(password));
    std::string details;
    EXPECT_TRUE(host("7z l -slt {}", {out_ + L"\\locked.zip"}, &details));
    EXPECT_NE(std::string::npos, details.find("Encrypted = +")) << details;
    EXPECT_TRUE(host("7z t -p'Hasło ąę' {}", {out_ + L"\\locked.zip"}));
    for (wchar_t unit : g_slot.password) ASSERT_EQ(0, unit);

    // A failed creation (the name exists: the dialog asks nothing) keeps the field's text.
    SetWindowTextW(password, L"kept");
    std::vector<SeenWindow> seen = create(out_ + L"\\locked.zip", IDOK);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(L"The file or folder already exists. Choose a new name.\n\n" + out_ + L"\\locked.zip", seen[1].text);
    EXPECT_EQ(L"kept", text_of(password));

    // 7z: the disabled field is ignored, nothing of it reaches the operation.
    set_format(1);
    EXPECT_FALSE(IsWindowEnabled(password));
    std::wstring seen_password = L"(not seen)";
    {
        UserPlayer user({choose_file(out_ + L"\\open.7z"), press_button(IDNO)});
        press(main_, 109);
        seen_password = g_slot.password;  // while the operation runs
        EXPECT_TRUE(wait_until_idle());
        EXPECT_EQ(2u, user.seen().size());
    }
    EXPECT_EQ(L"", seen_password);
    EXPECT_TRUE(host("7z t -p {}", {out_ + L"\\open.7z"})) << "not encrypted";
    EXPECT_TRUE(host("7z l -slt {} | grep -q 'Encrypted = -'", {out_ + L"\\open.7z"}));
    EXPECT_EQ(L"", text_of(password)) << "emptied after every saved archive";
}

TEST_F(NewArchive, OpeningTheSavedArchiveOrStayingInTheView) {
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);
    add_source(source_.c_str());
    add_source((folder_ + L"\\notes.txt").c_str());

    create(out_ + L"\\stay.zip", IDNO);
    EXPECT_EQ(VIEW_NEW_ARCHIVE, g_app.current_view);
    EXPECT_EQ(2u, g_app.source_count);
    EXPECT_EQ(2, (int)SendMessageW(sources_list(), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"No archive open", label());

    create(out_ + L"\\open.zip", IDYES);
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    EXPECT_EQ(out_ + L"\\open.zip", label());
    EXPECT_EQ(3, rows());
    EXPECT_EQ(L"Items: 3", status());
    EXPECT_EQ(2u, g_app.source_count) << "the sources stay for another archive";
}
