// The ZIP profiles view of the real window: saving, renaming in place, names taken, deleting with
// its question, the "(New profile)" row, rule edits and the preview, the Browse… buttons, relative
// folders and the "--profile" command line.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/status_line.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "profile_view_fixture.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

namespace {

typedef std::vector<std::wstring> Rows;

class ProfileCommands : public ProfileViewTest {
protected:
    void fill(const std::wstring& name, const std::wstring& extensions = L"pdf") {
        set_field(N_PROFILE_NAME, name);
        set_rules(source_, extensions, L"", destination_, L"{folder}_{date}");
    }
    // The fields, name first, then source, destination, extensions, skip folders and pattern.
    Rows fields() {
        return {field(N_PROFILE_NAME), field(N_SOURCE_FOLDER), field(N_DESTINATION),
                field(N_EXTENSIONS),   field(N_SKIP_FOLDERS),  field(N_PATTERN)};
    }
    // Save profile: the status it leaves.
    std::wstring save() {
        press_and_answer(128);
        return status();
    }
    bool delete_enabled() { return IsWindowEnabled(nth_control(main_, N_DELETE_PROFILE)) != FALSE; }
    std::string narrow(const std::wstring& text) {
        char buffer[4 * PATH_CAPACITY];
        int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
        return bytes > 0 ? std::string(buffer, bytes - 1) : std::string();
    }
};

const Rows NEW_PROFILE_FIELDS = {L"", L"", L"", L"", L"", L"{folder}_{date}"};

}  // namespace

TEST_F(ProfileCommands, SaveRenameInPlaceAndNamesTaken) {
    ASSERT_NE(nullptr, open_profiles());
    const std::string docs = narrow(source_);
    fill(L"Faktury");
    EXPECT_EQ(L"Profile saved.", save());
    EXPECT_EQ((Rows{L"(New profile)", L"Faktury"}), profile_rows());
    EXPECT_EQ(1, selected_profile_row());
    EXPECT_TRUE(delete_enabled());
    EXPECT_EQ("Faktury=" + docs, file_profiles());
    EXPECT_EQ((Rows{L"Faktury", source_, destination_, L"pdf", L"", L"{folder}_{date}"}), fields());

    // A new profile is added only from "(New profile)", whose fields start at the new-profile values.
    select_profile_row(0);
    EXPECT_EQ(NEW_PROFILE_FIELDS, fields());
    EXPECT_FALSE(delete_enabled());
    fill(L"FAKTURY");
    EXPECT_EQ(L"That profile name already exists.", save()) << "in any letter case";
    EXPECT_EQ(L"FAKTURY", field(N_PROFILE_NAME)) << "the fields stay as they are";
    fill(L"Zdjęcia", L"jpg");
    press_and_answer(128);
    EXPECT_EQ((Rows{L"(New profile)", L"Faktury", L"Zdjęcia"}), profile_rows());
    EXPECT_EQ(2, selected_profile_row());

    // Saving a stored profile under a new name renames it in its place.
    select_profile_row(1);
    set_field(N_PROFILE_NAME, L"Rachunki");
    EXPECT_EQ(L"Profile saved.", save());
    EXPECT_EQ((Rows{L"(New profile)", L"Rachunki", L"Zdjęcia"}), profile_rows());
    EXPECT_EQ(1, selected_profile_row());
    set_field(N_PROFILE_NAME, L"zdjęcia");
    EXPECT_EQ(L"That profile name already exists.", save()) << "another profile's name";
    set_field(N_PROFILE_NAME, L"RACHUNKI");
    EXPECT_EQ(L"Profile saved.", save()) << "its own name in other letter case";
    EXPECT_EQ("RACHUNKI=" + docs + ",Zdjęcia=" + docs, file_profiles());

    // Blank names are refused, other names are stored as typed.
    select_profile_row(0);
    fill(L"   ");
    EXPECT_EQ(L"Enter a profile name.", save());
    set_field(N_PROFILE_NAME, L" \t");
    EXPECT_EQ(L"Enter a profile name.", save());
    set_field(N_PROFILE_NAME, L" a ");
    press_and_answer(128);
    EXPECT_EQ((Rows{L"(New profile)", L"RACHUNKI", L"Zdjęcia", L" a "}), profile_rows());
    // The folders are checked before the name.
    select_profile_row(0);
    set_rules(source_, L"", L"", folder_ + L"\\Missing", L"{folder}_{date}");
    EXPECT_EQ(L"Choose existing source and destination folders.", save());
    set_rules(source_, L"", L"", destination_, L"{nope}");
    EXPECT_EQ(L"Use a valid ZIP name. Available placeholders are {folder} and {date}.", save());
    EXPECT_EQ(3u, g_profile_store.count);

    // Polish texts.
    ASSERT_NE(nullptr, open_profiles(true));
    EXPECT_EQ(L"(Nowy profil)", profile_rows()[0]);
    fill(L"zdjęcia");
    EXPECT_EQ(L"Taka nazwa profilu już istnieje.", save());
    set_field(N_PROFILE_NAME, L"");
    EXPECT_EQ(L"Wpisz nazwę profilu.", save());
    set_field(N_PROFILE_NAME, L"Nowy");
    EXPECT_EQ(L"Zapisano profil.", save());
}

TEST_F(ProfileCommands, DeleteAsksFirst) {
    store_profiles({profile_record(L"P", source_, destination_), profile_record(L"Q", destination_, source_)});
    ASSERT_NE(nullptr, open_profiles());
    EXPECT_EQ((Rows{L"(New profile)", L"P", L"Q"}), profile_rows());

    // "(New profile)" shown: nothing to delete, and no question.
    EXPECT_FALSE(delete_enabled());
    press_and_answer(129);
    EXPECT_EQ(2u, g_profile_store.count);

    select_profile_row(2);
    {
        UserPlayer user({press_button(IDNO)});
        press(main_, 129);
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(L"Delete the saved profile?", seen[0].text);
        EXPECT_EQ(L"Q", seen[0].caption);
    }
    EXPECT_EQ(2u, g_profile_store.count) << "No keeps the profile";
    EXPECT_EQ(2, selected_profile_row());

    EXPECT_EQ(L"Delete the saved profile?", press_and_answer(129, IDYES));
    EXPECT_EQ(L"Profile deleted.", status());
    EXPECT_EQ((Rows{L"(New profile)", L"P"}), profile_rows());
    EXPECT_EQ(0, selected_profile_row());
    EXPECT_EQ(NEW_PROFILE_FIELDS, fields());
    EXPECT_FALSE(delete_enabled());
    EXPECT_EQ("P=" + narrow(source_), file_profiles());

    ASSERT_NE(nullptr, open_profiles(true));
    select_profile_row(1);
    EXPECT_EQ(L"Usunąć zapisany profil?", press_and_answer(129, IDYES));
    EXPECT_EQ(L"Usunięto profil.", status());
    EXPECT_EQ(PROFILES_HEADER_SIZE, read_bytes(store_path()).size()) << "the last one deleted";
}

TEST_F(ProfileCommands, SelectingAProfileLoadsItAndDropsThePreview) {
    store_profiles({profile_record(L"P", source_, destination_, L"pdf", L"Temp", L"P-{date}")});
    ASSERT_TRUE(put_files(source_, {L"a.pdf"}));
    ASSERT_NE(nullptr, open_profiles());
    select_profile_row(1);
    EXPECT_EQ((Rows{L"P", source_, destination_, L"pdf", L"Temp", L"P-{date}"}), fields());
    EXPECT_TRUE(delete_enabled());
    EXPECT_EQ(Rows{L"a.pdf"}, preview());
    select_profile_row(0);
    EXPECT_EQ(NEW_PROFILE_FIELDS, fields());
    EXPECT_FALSE(g_app.preview_ready);
    EXPECT_EQ(Rows{}, preview_rows());
    EXPECT_EQ(0u, g_slot.profile_files.count);
    EXPECT_FALSE(create_zip_enabled());
    // A selection beyond the list describes a new profile too.
    select_profile_row(-1);
    EXPECT_EQ(NEW_PROFILE_FIELDS, fields());
    EXPECT_FALSE(delete_enabled());
}

TEST_F(ProfileCommands, ARuleEditDropsThePreviewANameEditDoesNot) {
    ASSERT_TRUE(put_files(source_, {L"a.pdf", L"b.pdf"}));
    ASSERT_NE(nullptr, open_profiles());
    fill(L"P");
    const int rules[] = {N_SOURCE_FOLDER, N_EXTENSIONS, N_SKIP_FOLDERS, N_DESTINATION, N_PATTERN};
    for (int rule : rules) {
        fill(L"P");
        ASSERT_EQ((Rows{L"a.pdf", L"b.pdf"}), preview());
        set_field(N_PROFILE_NAME, L"Another name");
        EXPECT_TRUE(g_app.preview_ready) << "the name is no rule";
        EXPECT_EQ(2u, preview_rows().size());
        EXPECT_EQ(L"Files to pack: 2", status());

        set_field(rule, field(rule) + L"x");
        EXPECT_FALSE(g_app.preview_ready) << rule;
        EXPECT_EQ(Rows{}, preview_rows()) << rule;
        EXPECT_EQ(L"", target_line()) << rule;
        EXPECT_FALSE(create_zip_enabled()) << rule;
        EXPECT_EQ(0u, g_slot.profile_files.count) << "the list is freed";
        EXPECT_EQ(L"Preview the files after changing the rules.", status()) << rule;
    }
    // Without a preview an edit says nothing.
    set_status(L"-");
    set_field(N_EXTENSIONS, L"pdf");
    EXPECT_EQ(L"-", status());
    ASSERT_NE(nullptr, open_profiles(true));
    fill(L"P");
    preview();
    set_field(N_PATTERN, L"x");
    EXPECT_EQ(L"Pokaż listę plików po zmianie reguł.", status());
}

TEST_F(ProfileCommands, BrowseButtons) {
    ASSERT_NE(nullptr, open_profiles());
    wcscpy(g_app.source_folder_override, L"C:\\from-the-command-line");
    const struct {
        int button;
        int field;
        const wchar_t* title;
    } buttons[] = {{122, N_SOURCE_FOLDER, L"Choose the source folder."},
                   {126, N_DESTINATION, L"Choose where the ZIP will be saved."}};
    for (const auto& b : buttons) {
        UserPlayer user({choose_folder(destination_)});
        press(main_, b.button);
        std::vector<SeenWindow> seen = user.seen();
        ASSERT_EQ(1u, seen.size());
        bool titled = false;
        for (const std::wstring& text : seen[0].statics) titled = titled || text == b.title;
        EXPECT_TRUE(titled) << b.button;
        EXPECT_EQ(0, _wcsicmp(destination_.c_str(), field(b.field).c_str())) << field(b.field);
        if (b.button == 122) {
            EXPECT_EQ(L"", std::wstring(g_app.source_folder_override)) << "the override ends";
        }
    }
    // Cancelled: nothing changes.
    set_field(N_SOURCE_FOLDER, L"kept");
    wcscpy(g_app.source_folder_override, L"C:\\kept");
    {
        UserPlayer user({press_button(IDCANCEL)});
        press(main_, 122);
        EXPECT_EQ(1u, user.seen().size());
    }
    EXPECT_EQ(L"kept", field(N_SOURCE_FOLDER));
    EXPECT_EQ(L"C:\\kept", std::wstring(g_app.source_folder_override));
    g_app.source_folder_override[0] = 0;
}

TEST_F(ProfileCommands, RelativeFoldersAreSavedAsFullPaths) {
    wchar_t saved_folder[PATH_CAPACITY];
    GetCurrentDirectoryW(PATH_CAPACITY, saved_folder);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    ASSERT_NE(nullptr, open_profiles());
    set_field(N_PROFILE_NAME, L"Relative");
    set_rules(L"Docs", L"", L"", L".\\Out\\\\", L"{folder}");
    press_and_answer(128);
    SetCurrentDirectoryW(saved_folder);
    EXPECT_EQ(L"Profile saved.", status());
    ASSERT_EQ(1u, g_profile_store.count);
    EXPECT_EQ(source_, std::wstring(g_profile_store.profiles[0].source_folder));
    EXPECT_EQ(destination_, std::wstring(g_profile_store.profiles[0].destination_folder)) << "no trailing backslash";
    EXPECT_EQ(source_, field(N_SOURCE_FOLDER)) << "the fields show the profile as saved";
}

TEST_F(ProfileCommands, CommandLineProfileFolder) {
    std::wstring other = folder_ + L"\\Scans";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    const std::wstring program = L"\"C:\\Program Files\\Lumarek\\Lumarek.exe\" ";

    // One saved profile: it is selected, with the folder as its source.
    store_profiles({profile_record(L"Only", source_, destination_, L"pdf")});
    ASSERT_NE(nullptr, open_window());
    act_on_command_line((program + L"--profile \"" + other + L"\"").c_str());
    EXPECT_EQ(VIEW_PROFILES, g_app.current_view);
    EXPECT_EQ(1, selected_profile_row());
    EXPECT_EQ((Rows{L"Only", other, destination_, L"pdf", L"", L"{folder}_{date}"}), fields());
    EXPECT_EQ(other, std::wstring(g_app.source_folder_override));
    // Until a save, every profile shown takes the folder; the save stores it and ends the override.
    select_profile_row(0);
    EXPECT_EQ(other, field(N_SOURCE_FOLDER));
    select_profile_row(1);
    press_and_answer(128);
    EXPECT_EQ(L"", std::wstring(g_app.source_folder_override));
    EXPECT_EQ(other, std::wstring(g_profile_store.profiles[0].source_folder));
    select_profile_row(0);
    EXPECT_EQ(L"", field(N_SOURCE_FOLDER));

    // Two saved profiles: "(New profile)" with the folder; the option in any letter case.
    store_profiles({profile_record(L"One", source_, destination_), profile_record(L"Two", source_, destination_)});
    ASSERT_NE(nullptr, open_window());
    act_on_command_line((program + L"--PROFILE " + other).c_str());
    EXPECT_EQ(VIEW_PROFILES, g_app.current_view);
    EXPECT_EQ(0, selected_profile_row());
    EXPECT_EQ((Rows{L"", other, L"", L"", L"", L"{folder}_{date}"}), fields());
    select_profile_row(2);
    EXPECT_EQ(L"Two", field(N_PROFILE_NAME));
    EXPECT_EQ(other, field(N_SOURCE_FOLDER)) << "selecting another profile keeps the folder";

    // A missing folder: the view, without an override.
    ASSERT_NE(nullptr, open_window());
    act_on_command_line((program + L"--profile " + folder_ + L"\\NoSuchFolder").c_str());
    EXPECT_EQ(VIEW_PROFILES, g_app.current_view);
    EXPECT_EQ(L"", std::wstring(g_app.source_folder_override));
    EXPECT_EQ(NEW_PROFILE_FIELDS, fields());

    // A relative folder is made absolute.
    wchar_t saved_folder[PATH_CAPACITY];
    GetCurrentDirectoryW(PATH_CAPACITY, saved_folder);
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    ASSERT_NE(nullptr, open_window());
    act_on_command_line((program + L"--profile Scans").c_str());
    SetCurrentDirectoryW(saved_folder);
    EXPECT_EQ(other, std::wstring(g_app.source_folder_override));
    EXPECT_EQ(other, field(N_SOURCE_FOLDER));
    g_app.source_folder_override[0] = 0;

    // "--profile" with two folders is a list of archives, not this form.
    ASSERT_NE(nullptr, open_window());
    act_on_command_line((program + L"--profile " + other + L" " + source_).c_str());
    EXPECT_EQ(L"", std::wstring(g_app.source_folder_override));
}
