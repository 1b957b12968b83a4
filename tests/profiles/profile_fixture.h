// Shared set-up of the profile store tests: a local data folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "profiles/profile_store.h"

// LOCALAPPDATA points at a new scratch folder for the duration of a test, so the store and lock
// files (and those of any copy the test starts, which inherits the environment) are the test's
// own and never the user's.
class ProfileFolder : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring store_path() const { return folder_ + L"\\" + PROFILES_FILE_NAME; }
    std::wstring lock_path() const { return folder_ + L"\\" + PROFILES_LOCK_NAME; }
    std::vector<unsigned char> store_bytes() const;
    bool lock_exists() const;

    std::wstring folder_;

private:
    std::wstring saved_folder_;
    bool had_folder_ = false;
};

// A zero-filled store on the heap.
std::unique_ptr<ProfileStore> new_store();

// What the profile fields produce: an all-zero record with the texts filled in.
Profile make_profile(const std::wstring& name, const std::wstring& source = L"C:\\Dane");

void append_profile(ProfileStore* store, const Profile& record);

// "name=source" of every profile in order, separated by ",".
std::string describe(const ProfileStore& store);
