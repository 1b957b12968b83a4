// The ZIP profiles view of the real window while another running copy of the program
// (profile_window.exe, a process of its own) changes the same profile file.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "control_numbers.h"
#include "profile_view_fixture.h"
#include "profiles/window_copy.h"
#include "test_support.h"
#include "window_fixture.h"

namespace {

typedef std::vector<std::wstring> Rows;

const wchar_t* const CHANGED = L"The profile changed in another window. Select it again.";
const wchar_t* const NOT_LOADED = L"Could not load the saved profiles.";
const wchar_t* const NOT_SAVED = L"Could not save profiles.";

class ProfileConflict : public ProfileViewTest {
protected:
    void SetUp() override {
        ProfileViewTest::SetUp();
        // Stored as the other copy's own saves store them, so that it sees the same records.
        store_profiles({profile_record(L"P", L"C:\\p1", L"C:\\Archiwum", L"pdf; jpg"),
                        profile_record(L"Q", L"C:\\q1", L"C:\\Archiwum", L"pdf; jpg")});
    }
    // The list, the fields and the store describe the same profiles: a row per stored profile, and
    // the fields those of the selected row (or the new-profile values for "(New profile)").
    void expect_list_fields_and_store_agree(const char* when) {
        SCOPED_TRACE(when);
        Rows expected = {L"(New profile)"};
        for (uint32_t i = 0; i < g_profile_store.count; ++i) expected.push_back(g_profile_store.profiles[i].name);
        EXPECT_EQ(expected, profile_rows());
        int row = selected_profile_row();
        ASSERT_GE(row, 0);
        ASSERT_LT(row, (int)expected.size());
        EXPECT_EQ(row == 0 ? L"" : expected[row], text_of(nth_control(main_, N_PROFILE_NAME)));
        EXPECT_EQ(row > 0, IsWindowEnabled(nth_control(main_, N_DELETE_PROFILE)) != FALSE);
    }
    // Selects P and saves it with valid fields.
    void save_p() {
        int row = 0;
        Rows rows = profile_rows();
        for (size_t i = 1; i < rows.size(); ++i)
            if (rows[i] == L"P") row = (int)i;
        select_profile_row(row);
        set_field(N_PROFILE_NAME, L"P");
        set_rules(source_, L"pdf", L"", destination_, L"{folder}_{date}");
        press_and_answer(128);
    }
};

}  // namespace

TEST_F(ProfileConflict, AProfileChangedInAnotherCopyIsReloaded) {
    ASSERT_NE(nullptr, open_profiles());
    WindowCopy other;
    ASSERT_TRUE(start_copy(&other));
    ASSERT_EQ("true 2", ask(&other, "load"));
    ASSERT_EQ("OK", ask(&other, "save P P C:\\p2"));
    const std::vector<unsigned char> written_there = read_bytes(store_path());

    save_p();
    EXPECT_EQ(CHANGED, status());
    EXPECT_TRUE(written_there == read_bytes(store_path())) << "nothing written over the other copy's change";
    EXPECT_EQ(0, selected_profile_row());
    expect_list_fields_and_store_agree("after the reload");
    // The other copy's version can be selected again, and then saved.
    select_profile_row(1);
    EXPECT_EQ(L"C:\\p2", text_of(nth_control(main_, N_SOURCE_FOLDER)));
    save_p();
    EXPECT_EQ(L"Profile saved.", status());

    // Deleted there: a delete here is a conflict too.
    ASSERT_EQ("true 2", ask(&other, "load"));
    ASSERT_EQ("OK", ask(&other, "delete Q"));
    select_profile_row(2);
    EXPECT_EQ(L"Delete the saved profile?", press_and_answer(129, IDYES));
    EXPECT_EQ(CHANGED, status());
    EXPECT_EQ((Rows{L"(New profile)", L"P"}), profile_rows());
    expect_list_fields_and_store_agree("after a delete of a deleted profile");

    // In Polish.
    ASSERT_EQ("OK", ask(&other, "save P P C:\\p3"));
    ASSERT_NE(nullptr, open_profiles(true));
    save_p();
    EXPECT_EQ(L"Profil zmienił się w innym oknie. Wybierz go ponownie.", status());
}

// The reload after a conflict can fail: the other copy may have damaged the file in between. The
// other copy here replaces the file over and over, in turn with a changed P and with a damaged
// file, while this window saves P again and again; whatever each save meets, the list, the fields
// and the store must agree, and the window must not go on offering profiles it no longer holds.
TEST_F(ProfileConflict, AFailedReloadLeavesListFieldsAndStoreInAgreement) {
    ASSERT_NE(nullptr, open_profiles());
    WindowCopy other;
    ASSERT_TRUE(start_copy(&other));
    ASSERT_EQ("true 2", ask(&other, "load"));
    ASSERT_TRUE(send_line(&other, "churn P"));

    int saves = 0, failed_reloads = 0, reloads = 0, refused = 0;
    for (ULONGLONG until = GetTickCount64() + 120000; failed_reloads == 0 && GetTickCount64() < until;) {
        if (g_profile_store.count == 0) break;
        save_p();
        ++saves;
        std::wstring outcome = status();
        if (outcome == NOT_LOADED) {
            ++failed_reloads;
            EXPECT_EQ(0u, g_profile_store.count);
        } else if (outcome == CHANGED) {
            ++reloads;
        } else if (outcome == NOT_SAVED) {
            ++refused;  // the save itself found the damaged file
        } else {
            EXPECT_EQ(L"Profile saved.", outcome);
        }
        expect_list_fields_and_store_agree("after a save");
        if (HasFailure()) break;
    }
    std::string line;
    ASSERT_TRUE(send_line(&other, "stop"));
    for (ULONGLONG until = GetTickCount64() + 30000; !poll_line(&other, &line) && GetTickCount64() < until;) Sleep(5);
    printf("%d saves: %d reloads, %d failed reloads, %d refused; the other copy: %s\n", saves, reloads, failed_reloads,
           refused, line.c_str());
    ASSERT_EQ(0, line.find("churned")) << line;
    ASSERT_EQ(1, failed_reloads) << "a reload met the damaged file";

    // The window shows no profile now; with the file whole again, a new "P" is still refused.
    EXPECT_EQ(Rows{L"(New profile)"}, profile_rows());
    EXPECT_EQ(0, selected_profile_row());
    EXPECT_EQ(NOT_LOADED, status());
    set_field(N_PROFILE_NAME, L"p");
    set_rules(source_, L"", L"", destination_, L"{folder}");
    press_and_answer(128);
    EXPECT_EQ(L"That profile name already exists.", status());
    EXPECT_EQ(0u, file_profiles().find("P=C:\\churn\\")) << file_profiles();
    EXPECT_NE(std::string::npos, file_profiles().find(",Q=C:\\q1")) << file_profiles();
}
