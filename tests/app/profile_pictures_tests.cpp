// Pictures of the ZIP profiles view at work, in both languages: a saved profile with its preview,
// and the view after Create ZIP. They land in the build folder's screenshots/ to be looked at.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "control_numbers.h"
#include "profile_view_fixture.h"
#include "test_support.h"
#include "window_fixture.h"

typedef ProfileViewTest ProfilePictures;

TEST_F(ProfilePictures, PreviewAndCreateZip) {
    source_ = folder_ + L"\\Faktury 2024";
    ASSERT_TRUE(put_files(source_, {L"styczeń.pdf", L"luty.pdf", L"Skany\\paragon 01.jpg", L"Skany\\paragon 02.jpg",
                                    L"Skany\\Robocze\\szkic.pdf", L"notatki.txt", L"Marzec\\korekta.PDF"}));
    for (bool polish : {false, true}) {
        const std::wstring language = polish ? L"-pl" : L"-en";
        ASSERT_NE(nullptr, open_profiles(polish));
        set_field(N_PROFILE_NAME, polish ? L"Faktury" : L"Invoices");
        set_rules(source_, L"pdf; jpg", L"Robocze; Temp", destination_, L"{folder}_{date}");
        press_and_answer(128);
        ASSERT_EQ(5u, preview().size());
        picture(L"profiles-preview" + language);
        press_and_answer(131);
        picture(L"profiles-zip-saved" + language);
        // The next language makes the same ZIP again.
        EXPECT_TRUE(DeleteFileW((destination_ + L"\\Faktury 2024_" + today() + L".zip").c_str()));
        // The next language starts from the same file: the profile is stored once.
        g_profile_store.count = 0;
        DeleteFileW(store_path().c_str());
    }
}
