#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_fixture.h"
#include "profiles/profile_lock.h"
#include "profiles/profile_store.h"
#include "test_support.h"

class ProfileUpdate : public ProfileFolder {
protected:
    // Saves each name as a new profile through the update, as a window would.
    void save_new(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) {
            Profile record = make_profile(name, std::wstring(L"C:\\") + name);
            ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), -1, &record));
        }
    }
    // The file must hold exactly what the current store holds.
    void expect_file_matches_current() {
        std::unique_ptr<ProfileStore> loaded = new_store();
        ASSERT_TRUE(profile_store_load(loaded.get()));
        EXPECT_EQ(describe(*current_), describe(*loaded));
        EXPECT_EQ(0, memcmp(current_->profiles, loaded->profiles, loaded->count * PROFILE_RECORD_SIZE));
        EXPECT_FALSE(lock_exists()) << "the lock goes with the update";
    }
    std::unique_ptr<ProfileStore> current_ = new_store();
};

TEST_F(ProfileUpdate, NewProfilesGoToTheEndAndAChangeKeepsItsPlace) {
    save_new({L"Dokumenty", L"Zdjęcia", L"Muzyka"});
    EXPECT_EQ(8 + 3 * PROFILE_RECORD_SIZE, store_bytes().size());
    Profile changed = make_profile(L"Zdjęcia", L"E:\\Aparat");
    wcscpy(changed.skip_folders, L"miniatury");
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), 1, &changed));
    EXPECT_EQ("Dokumenty=C:\\Dokumenty,Zdjęcia=E:\\Aparat,Muzyka=C:\\Muzyka", describe(*current_));
    EXPECT_STREQ(L"miniatury", current_->profiles[1].skip_folders);
    expect_file_matches_current();
}

// Names are unique ignoring letter case; a profile may keep its own name in another case.
TEST_F(ProfileUpdate, NameRules) {
    save_new({L"Dokumenty", L"Zdjęcia", L"Muzyka"});
    struct Case {
        const char* label;
        int32_t edited;
        const wchar_t* name;
        ProfileUpdateResult expected;
        const char* after;
    };
    const Case cases[] = {
        {"new profile named like another in other case", -1, L"DOKUMENTY", PROFILE_NAME_TAKEN, nullptr},
        {"new profile with a Polish name in other case", -1, L"ZDJĘCIA", PROFILE_NAME_TAKEN, nullptr},
        {"renaming onto another profile's name", 1, L"Muzyka", PROFILE_NAME_TAKEN, nullptr},
        {"renaming onto another profile's name in other case", 1, L"muzyka", PROFILE_NAME_TAKEN, nullptr},
        {"own name in other case", 1, L"ZDJĘCIA", PROFILE_UPDATE_OK, "Dokumenty=C:\\x,ZDJĘCIA=C:\\x,Muzyka=C:\\x"},
        {"renaming to a free name keeps the place", 0, L"Pisma", PROFILE_UPDATE_OK,
         "Pisma=C:\\x,ZDJĘCIA=C:\\x,Muzyka=C:\\x"},
        {"the old name is free again", -1, L"dokumenty", PROFILE_UPDATE_OK,
         "Pisma=C:\\x,ZDJĘCIA=C:\\x,Muzyka=C:\\x,dokumenty=C:\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // Every source is the same, so the description shows names and order.
        for (uint32_t i = 0; i < current_->count; ++i) wcscpy(current_->profiles[i].source_folder, L"C:\\x");
        ASSERT_TRUE(profile_store_write(current_.get()));
        std::vector<unsigned char> before = store_bytes();
        Profile record = make_profile(c.name, L"C:\\x");
        EXPECT_EQ(c.expected, profile_store_update(current_.get(), c.edited, &record));
        if (c.after == nullptr)
            EXPECT_TRUE(before == store_bytes()) << "nothing is written";
        else
            EXPECT_EQ(c.after, describe(*current_));
        expect_file_matches_current();
    }
}

TEST_F(ProfileUpdate, FullStoreRefusesANewProfileButAcceptsAChange) {
    for (int i = 0; i < 64; ++i) append_profile(current_.get(), make_profile(L"P" + std::to_wstring(i)));
    ASSERT_TRUE(profile_store_write(current_.get()));
    std::vector<unsigned char> before = store_bytes();
    Profile added = make_profile(L"P64");
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current_.get(), -1, &added));
    EXPECT_TRUE(before == store_bytes());
    EXPECT_FALSE(lock_exists());

    Profile changed = make_profile(L"P63", L"D:\\Nowe");
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), 63, &changed));
    EXPECT_EQ(1150984u, store_bytes().size());
    EXPECT_STREQ(L"D:\\Nowe", current_->profiles[63].source_folder);
    expect_file_matches_current();
}

TEST_F(ProfileUpdate, DeletingMovesTheLaterProfilesDownAndTheLastLeavesTheHeader) {
    save_new({L"A", L"B", L"C"});
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), 0, nullptr));
    EXPECT_EQ("B=C:\\B,C=C:\\C", describe(*current_));
    expect_file_matches_current();
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), 1, nullptr));
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), 0, nullptr));
    EXPECT_EQ(0u, current_->count);
    std::vector<unsigned char> bytes = store_bytes();
    ASSERT_EQ(8u, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), "LMP1\0\0\0\0", 8));
}

// A record the load would refuse is never written: one such write would make the file
// unreadable for every running copy. Edited indexes outside the store are refused too.
TEST_F(ProfileUpdate, RequestsThatWouldDamageTheFileAreRefused) {
    save_new({L"A", L"B"});
    std::vector<unsigned char> before = store_bytes();
    struct Case {
        const char* label;
        int32_t edited;
        int unterminated_field;  // -1: none; 6: an empty name
        bool remove;
    };
    const Case cases[] = {
        {"new profile with an empty name", -1, 6, false},     {"change to an empty name", 0, 6, false},
        {"name without a terminator", -1, 0, false},          {"name pattern without a terminator", 0, 1, false},
        {"extensions without a terminator", -1, 2, false},    {"skip folders without a terminator", -1, 3, false},
        {"source folder without a terminator", -1, 4, false}, {"destination folder without a terminator", 1, 5, false},
        {"edited index past the count", 2, -1, false},        {"edited index below -1", -2, -1, false},
        {"delete without an edited profile", -1, -1, true},   {"delete past the count", 2, -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Profile record = make_profile(L"C");
        wchar_t* fields[] = {record.name,         record.name_pattern,  record.extensions,
                             record.skip_folders, record.source_folder, record.destination_folder};
        const uint32_t capacities[] = {96, 192, 256, 256, 4096, 4096};
        if (c.unterminated_field == 6)
            ZeroMemory(record.name, sizeof(record.name));
        else if (c.unterminated_field >= 0)
            fields[c.unterminated_field][capacities[c.unterminated_field] - 1] = L'x';
        EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current_.get(), c.edited, c.remove ? nullptr : &record));
        EXPECT_TRUE(before == store_bytes());
        EXPECT_EQ("A=C:\\A,B=C:\\B", describe(*current_));
    }
}

// Only an open handle is the lock: a lock file left on disk does not block, and the update's own
// lock is gone after it.
TEST_F(ProfileUpdate, LockFileLeftOnDiskDoesNotBlockButAnOpenLockDoes) {
    ASSERT_TRUE(write_bytes(lock_path(), "stale", 5));
    save_new({L"A"});
    EXPECT_FALSE(lock_exists());

    HANDLE lock = profile_lock_take();
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_TRUE(lock_exists());
    EXPECT_EQ(INVALID_HANDLE_VALUE, profile_lock_take()) << "a second holder is refused";
    Profile added = make_profile(L"B");
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current_.get(), -1, &added));
    profile_lock_release(lock);
    EXPECT_FALSE(lock_exists());
    EXPECT_EQ(PROFILE_UPDATE_OK, profile_store_update(current_.get(), -1, &added));
    expect_file_matches_current();
}
