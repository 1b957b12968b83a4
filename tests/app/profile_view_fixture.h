// The ZIP profiles view of the real window with folders of the test's own: a source folder
// (Docs) and a destination (Out) in the scratch folder, a profile file that starts empty, and the
// view's fields, lists and buttons used the way the user uses them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "command_fixture.h"
#include "profiles/profile_store.h"

class ProfileViewTest : public CommandTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window (in the language) on the ZIP profiles view.
    HWND open_profiles(bool polish = false);

    // The saved profiles: written to the file and loaded as the current store, as at start-up.
    void store_profiles(const std::vector<Profile>& profiles);
    std::wstring store_path();
    // The file as another copy would read it now: "name=source" of every profile, or "(unreadable)".
    std::string file_profiles();

    void set_field(int number, const std::wstring& text);
    std::wstring field(int number);
    // All five rules at once.
    void set_rules(const std::wstring& source, const std::wstring& extensions, const std::wstring& skip_folders,
                   const std::wstring& destination, const std::wstring& pattern);
    void select_profile_row(int row);
    int selected_profile_row();
    std::vector<std::wstring> profile_rows();
    std::vector<std::wstring> preview_rows();
    std::wstring target_line();
    bool create_zip_enabled();

    // Presses the button and waits until the window is idle again. With a box expected, the
    // error or question box is answered with the button and its text is returned.
    std::wstring press_and_answer(int id, int answer = 0);
    // Preview files: the rows of the preview list, or, when an error box is expected, its text
    // (answered with OK) as the only row, after "box: ".
    std::vector<std::wstring> preview(bool box_expected = false);

    std::wstring source_;       // <scratch>\Docs
    std::wstring destination_;  // <scratch>\Out
};

// What the profile fields give: an all-zero record with the texts filled in.
Profile profile_record(const std::wstring& name, const std::wstring& source, const std::wstring& destination,
                       const std::wstring& extensions = L"", const std::wstring& skip_folders = L"",
                       const std::wstring& pattern = L"{folder}_{date}");

// Today's local date as yyyy-MM-dd, worked out here and not by the program.
std::wstring today();

// Writes small files (and the folders they need) below the root; a name ending in "\" is a folder.
bool put_files(const std::wstring& root, const std::vector<std::wstring>& names);
