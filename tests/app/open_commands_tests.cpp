// Opening archives in the real window: the open dialog, a path, the command line; the contents
// list that mirrors the listing; failures that leave the open archive as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "operations/operation.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class OpenArchive : public CommandTest {
protected:
    std::vector<std::wstring> row(int index) {
        HWND list = contents_list();
        return {list_cell(list, index, 0), list_cell(list, index, 1), list_cell(list, index, 2)};
    }
};

// A tar with a sparse file of 5 GiB: its size without its data.
bool make_sparse_tar(const std::wstring& folder, const std::wstring& archive) {
    return host("cd {} && truncate -s 5G huge.bin && tar --sparse --format=pax -cf {} huge.bin && rm huge.bin",
                {folder, archive});
}

}  // namespace

TEST_F(OpenArchive, ContentsListMirrorsTheListing) {
    std::wstring archive = folder_ + L"\\mixed.zip";
    ASSERT_TRUE(make_zip(archive, {{"docs/", "", false},
                                   {"docs/empty.txt", "", false},
                                   {"docs/report.txt", std::string(1048576, 'r'), false},
                                   {"locked/", "", true},
                                   {"locked/plan.txt", "secret plan", true},
                                   {"zażółć.txt", "Polish name", false}}));
    const std::vector<std::vector<std::wstring>> expected[2] = {
        {{L"docs/", L"", L"Folder"},
         {L"docs/empty.txt", L"0 B", L"File"},
         {L"docs/report.txt", L"1048576 B", L"File"},
         {L"locked/", L"", L"Encrypted"},
         {L"locked/plan.txt", L"11 B", L"Encrypted"},
         {L"zażółć.txt", L"11 B", L"File"}},
        {{L"docs/", L"", L"Folder"},
         {L"docs/empty.txt", L"0 B", L"Plik"},
         {L"docs/report.txt", L"1048576 B", L"Plik"},
         {L"locked/", L"", L"Z hasłem"},
         {L"locked/plan.txt", L"11 B", L"Z hasłem"},
         {L"zażółć.txt", L"11 B", L"Plik"}},
    };
    for (int polish = 0; polish < 2; ++polish) {
        ASSERT_NE(nullptr, open_window(polish != 0));
        EXPECT_EQ(polish ? L"Brak otwartego archiwum" : L"No archive open", label());
        open_path(archive);
        ASSERT_EQ(6, rows()) << polish;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(expected[polish][i], row(i)) << "row " << i << " polish " << polish;
        EXPECT_EQ(polish ? L"Elementy: 6" : L"Items: 6", status());
        EXPECT_EQ(archive, label());
        EXPECT_EQ(archive, std::wstring(g_app.archive_path));
        EXPECT_EQ(6u, g_app.entries.count);
        EXPECT_EQ(0u, g_slot.pending_listing.count) << "the listing was moved, not copied";
    }
}

TEST_F(OpenArchive, SizesAsPlainBytesAndEmptyArchives) {
    std::wstring sparse = folder_ + L"\\sparse.tar";
    ASSERT_TRUE(make_sparse_tar(folder_, sparse));
    std::wstring empty = folder_ + L"\\empty.zip";
    ASSERT_TRUE(write_bytes(empty, "PK\5\6\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22));
    ASSERT_NE(nullptr, open_window());
    open_path(sparse);
    ASSERT_EQ(1, rows());
    EXPECT_EQ((std::vector<std::wstring>{L"huge.bin", L"5368709120 B", L"File"}), row(0));
    open_path(empty);
    EXPECT_EQ(0, rows());
    EXPECT_EQ(L"Items: 0", status());
    EXPECT_EQ(empty, label());
}

TEST_F(OpenArchive, TheColumnsFitBesideTheVerticalScrollBar) {
    std::wstring archive = folder_ + L"\\many.zip";
    std::vector<ZipMember> members;
    for (int i = 0; i < 300; ++i) members.push_back({"file" + std::to_string(i) + ".txt", "x", false});
    ASSERT_TRUE(make_zip(archive, members));
    ASSERT_NE(nullptr, open_window());
    HWND list = contents_list();
    for (int round = 0; round < 2; ++round) {
        open_path(archive);
        ASSERT_EQ(300, rows());
        EXPECT_TRUE(has_style(list, WS_VSCROLL));
        RECT inside;
        GetClientRect(list, &inside);
        int widths = 0;
        for (int column = 0; column < 3; ++column) widths += (int)SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0);
        EXPECT_EQ(inside.right, widths) << round;
        EXPECT_FALSE(has_style(list, WS_HSCROLL)) << round;
        set_client_size(main_, 1100, 760);  // and again after the layout of another size
        pump_messages(20);
    }
}

TEST_F(OpenArchive, TheOpenDialogChoosesTheArchive) {
    std::wstring archive = folder_ + L"\\chosen.zip";
    ASSERT_TRUE(make_zip(archive, {{"a.txt", "a", false}, {"b.txt", "bb", false}}));
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        std::vector<std::wstring> filters;
        {
            UserPlayer user({[&](HWND dialog) {
                filters = dialog_filter_names(dialog);
                choose_file(archive)(dialog);
            }});
            press(main_, 101);
            std::vector<SeenWindow> seen = user.seen();
            ASSERT_EQ(1u, seen.size());
            EXPECT_EQ(main_, seen[0].owner);
        }
        ASSERT_TRUE(wait_until_idle());
        EXPECT_EQ(2, rows());
        EXPECT_EQ(archive, label());
        EXPECT_EQ(polish ? (std::vector<std::wstring>{L"Pliki spakowane", L"Wszystkie pliki"})
                         : (std::vector<std::wstring>{L"Archives", L"All files"}),
                  filters);
    }
    // Cancel: nothing starts and nothing changes.
    std::wstring before = status();
    {
        UserPlayer user({press_button(IDCANCEL)});
        press(main_, 101);
        EXPECT_EQ(1u, user.seen().size());
    }
    EXPECT_FALSE(g_app.busy);
    EXPECT_EQ(before, status());
    EXPECT_EQ(archive, label());
}

TEST_F(OpenArchive, AFailedOpenLeavesTheOpenArchive) {
    std::wstring good = folder_ + L"\\good.zip";
    ASSERT_TRUE(make_zip(good, {{"kept.txt", "kept", false}}));
    std::wstring bad = folder_ + L"\\not-an-archive.zip";
    ASSERT_TRUE(write_bytes(bad, "this is plain text, not an archive", 34));
    ASSERT_NE(nullptr, open_window());
    open_path(good);
    ASSERT_EQ(1, rows());

    std::vector<SeenWindow> seen;
    {
        UserPlayer user({press_button(IDOK)});
        open_path(bad);
        seen = user.seen();
    }
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(L"Lumarek", seen[0].caption);
    EXPECT_EQ(0u, seen[0].text.find(L"Could not process the archive. The file may be damaged or use an unsupported "
                                    L"format."))
        << seen[0].text;
    EXPECT_EQ(L"Could not process the archive. The file may be damaged or use an unsupported format.", status());
    EXPECT_EQ(1, rows());
    EXPECT_EQ(L"kept.txt", list_cell(contents_list(), 0, 0));
    EXPECT_EQ(good, label());
    EXPECT_EQ(good, std::wstring(g_app.archive_path));

    // A path too long for the operation is not even tried.
    std::wstring too_long = L"C:\\" + std::wstring(4100, L'x') + L".zip";
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(101, 1), (LPARAM)too_long.c_str());
    EXPECT_FALSE(g_app.busy);
    EXPECT_EQ(good, label());
}

TEST_F(OpenArchive, CommandLineOfOneArchiveOrNone) {
    std::wstring archive = folder_ + L"\\from command line.zip";
    ASSERT_TRUE(make_zip(archive, {{"x.txt", "x", false}, {"y/", "", false}, {"y/z.txt", "z", false}}));
    ASSERT_NE(nullptr, open_window());
    press(main_, 105);  // another view first: the path shows the contents view
    act_on_command_line(L"Lumarek.exe");
    EXPECT_FALSE(g_app.busy) << "no argument: nothing";
    EXPECT_EQ(VIEW_NEW_ARCHIVE, g_app.current_view);

    act_on_command_line((L"\"C:\\Program Files\\Lumarek.exe\" \"" + archive + L"\"").c_str());
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(3, rows());
    EXPECT_EQ(archive, label());
    EXPECT_EQ(L"Items: 3", status());

    // A folder is handed over like any path; its failure is that of any open.
    press(main_, 105);
    UserPlayer user({press_button(IDOK)});
    act_on_command_line((L"Lumarek.exe " + folder_).c_str());
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    ASSERT_TRUE(wait_until_idle());
    std::vector<SeenWindow> seen = user.seen();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(L"Lumarek", seen[0].caption);
    EXPECT_EQ(archive, label());
    EXPECT_EQ(3, rows());

    // Without the engine the arguments are ignored.
    g_app.engine_present = false;
    press(main_, 105);
    act_on_command_line((L"Lumarek.exe \"" + archive + L"\"").c_str());
    g_app.engine_present = true;
    EXPECT_EQ(VIEW_NEW_ARCHIVE, g_app.current_view);
    EXPECT_FALSE(g_app.busy);
}

TEST_F(OpenArchive, TypingJumpsToTheNextRowStartingWithTheLetters) {
    std::wstring archive = folder_ + L"\\letters.zip";
    ASSERT_TRUE(make_zip(archive, {{"alpha.txt", "a", false},
                                   {"Beta.txt", "b", false},
                                   {"docs/", "", false},
                                   {"docs/b.txt", "b", false},
                                   {"beta2.txt", "b", false},
                                   {"Zeta.txt", "z", false}}));
    ASSERT_NE(nullptr, open_window());
    open_path(archive);
    ASSERT_EQ(6, rows());
    HWND list = contents_list();
    ULONGLONG last_key = 0;
    // Letters typed close together make one search text; a pause of a second starts a new one.
    auto type = [&](const wchar_t* letters, bool new_search) {
        if (new_search)
            while (GetTickCount64() - last_key < 1000) Sleep(20);
        for (const wchar_t* c = letters; *c != 0; ++c) SendMessageW(list, WM_CHAR, *c, 1);  // one key press
        last_key = GetTickCount64();
        return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    };
    EXPECT_EQ(5, type(L"z", true)) << "any letter case";
    EXPECT_EQ(1, type(L"b", true)) << "from the row after the current one, wrapping to the top";
    EXPECT_EQ(1, type(L"eta", false)) << "the row found so far still begins with beta";
    EXPECT_EQ(4, type(L"2", false)) << "beta2";
    EXPECT_EQ(2, type(L"DOCS/", true)) << "a whole name";
    EXPECT_EQ(2, type(L"x", true)) << "no row begins with it: the focus stays";
    EXPECT_EQ(1, (int)SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)) << "the found row is selected";
}

TEST_F(OpenArchive, RefillingTheListDropsTheSelection) {
    std::wstring archive = folder_ + L"\\three.zip";
    ASSERT_TRUE(make_zip(archive, {{"a.txt", "a", false}, {"b.txt", "b", false}, {"c.txt", "c", false}}));
    ASSERT_NE(nullptr, open_window());
    open_path(archive);
    select_rows({0, 2});
    HWND list = contents_list();
    ASSERT_EQ(2, (int)SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    open_path(archive);
    EXPECT_EQ(3, rows());
    EXPECT_EQ(0, (int)SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_EQ(-1, (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
    EXPECT_EQ(L"b.txt", list_cell(list, 1, 0));
}
