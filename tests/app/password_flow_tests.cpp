// A missing or wrong password on open, extract and test: the prompt, the restart with the password
// given, and every way of refusing it. Nothing of the password is kept afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/password_prompt.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "operations/operation.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class PasswordFlow : public CommandTest {
protected:
    // Nothing of a password stays in the slot or in the prompt once an operation is over.
    void expect_password_wiped(const char* when) {
        for (wchar_t unit : g_slot.password) ASSERT_EQ(0, unit) << "slot: " << when;
        for (wchar_t unit : g_password_prompt.text) ASSERT_EQ(0, unit) << "prompt: " << when;
    }
};

PlayerStep refuse_with(const char* how) {
    std::string way = how;
    return [way](HWND prompt) {
        HWND edit = GetDlgItem(prompt, 3);
        if (way == "Cancel") {
            PostMessageW(edit, WM_CHAR, L'x', 0);
            PostMessageW(GetDlgItem(prompt, IDCANCEL), BM_CLICK, 0, 0);
        } else if (way == "Escape") {
            PostMessageW(edit, WM_CHAR, L'x', 0);
            PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (way == "close button") {
            PostMessageW(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {  // OK with an empty field
            PostMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
        }
    };
}

}  // namespace

TEST_F(PasswordFlow, OpeningAsksUntilThePasswordIsGivenOrRefused) {
    std::wstring archive = folder_ + L"\\locked.zip";
    ASSERT_TRUE(make_streamed_encrypted_zip(archive, "secret"));
    ASSERT_NE(nullptr, open_window());
    for (const char* how : {"Cancel", "Escape", "close button", "OK with an empty field"}) {
        UserPlayer user({refuse_with(how)});
        open_path(archive);
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(1u, seen.size()) << how << ": the prompt, and no error box after it";
        EXPECT_EQ(L"LumarekPassword", seen[0].class_name) << how;
        EXPECT_EQ(L"Archive password", seen[0].caption) << how;
        EXPECT_EQ(main_, seen[0].owner) << how;
        EXPECT_EQ(L"Operation canceled.", status()) << how;
        EXPECT_EQ(0, rows()) << how;
        EXPECT_EQ(L"No archive open", label()) << how;
        EXPECT_TRUE(IsWindowEnabled(main_)) << how;
        expect_password_wiped(how);
    }
    UserPlayer user({type_password(L"secret", true)});
    open_path(archive);
    EXPECT_EQ(1u, user.seen().size());
    EXPECT_EQ(2, rows());
    EXPECT_EQ(L"Items: 2", status());
    EXPECT_EQ(archive, label());
    expect_password_wiped("after the listing");
}

TEST_F(PasswordFlow, AWrongPasswordAsksAgainWithAnEmptyField) {
    std::wstring archive = folder_ + L"\\aes.zip";
    ASSERT_TRUE(write_zip_with_engine(archive, {{L"a.txt", "first", false}, {L"b.txt", "second", false}}, "Tajne ąę"));
    ASSERT_NE(nullptr, open_window());
    open_path(archive);
    ASSERT_EQ(2, rows()) << "the headers need no password";

    std::wstring second_field = L"(not seen)";
    UserPlayer user({type_password(L"wrong", false), [&](HWND prompt) {
                         second_field = text_of(GetDlgItem(prompt, 3));
                         type_password(L"Tajne ąę", true)(prompt);
                     }});
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    std::vector<SeenWindow> seen = user.seen();
    ASSERT_EQ(2u, seen.size()) << "asked twice, no error box";
    EXPECT_EQ(L"LumarekPassword", seen[1].class_name);
    EXPECT_EQ(L"", second_field);
    EXPECT_EQ(L"Archive data checked. No errors reported.", status());
    expect_password_wiped("after the test");

    // Refused after a wrong one: canceled, no error box.
    UserPlayer again({type_password(L"wrong", true), refuse_with("Cancel")});
    press(main_, 103);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(2u, again.seen().size());
    EXPECT_EQ(L"Operation canceled.", status());
    expect_password_wiped("after the refusal");
}

TEST_F(PasswordFlow, ExtractionKeepsItsFolderAndSelectionAcrossTheRestart) {
    std::wstring archive = folder_ + L"\\aes.zip";
    ASSERT_TRUE(write_zip_with_engine(
        archive, {{L"keep/", "", true}, {L"keep/one.txt", "one", false}, {L"two.txt", "two", false}}, "secret"));
    std::wstring parent = folder_ + L"\\out";
    ASSERT_TRUE(CreateDirectoryW(parent.c_str(), nullptr));
    ASSERT_NE(nullptr, open_window());
    open_path(archive);
    ASSERT_EQ(3, rows());
    select_rows({1});

    // Refused: nothing is left, not even a work folder.
    {
        UserPlayer user({choose_folder(parent), refuse_with("Escape")});
        press(main_, 102);
        ASSERT_TRUE(wait_until_idle());
        EXPECT_EQ(2u, user.seen().size());
    }
    EXPECT_EQ(L"Operation canceled.", status());
    EXPECT_TRUE(folder_tree(parent).empty());
    EXPECT_EQ(nullptr, g_slot.selection);

    // Given: the same folder and the same rows, the folder is not asked for again.
    {
        UserPlayer user({choose_folder(parent), type_password(L"secret", true)});
        press(main_, 102);
        ASSERT_TRUE(wait_until_idle());
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(2u, seen.size());
        EXPECT_EQ(L"LumarekPassword", seen[1].class_name);
    }
    EXPECT_EQ(L"Extracted to a new folder.", status());
    EXPECT_EQ((std::vector<std::wstring>{L"aes/", L"aes/keep/", L"aes/keep/one.txt"}), folder_tree(parent));
    EXPECT_EQ("one", file_text(parent + L"\\aes\\keep\\one.txt"));
    EXPECT_EQ(nullptr, g_slot.selection);
    expect_password_wiped("after the extraction");
}
