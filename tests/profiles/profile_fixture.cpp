#include "profile_fixture.h"

#include <windows.h>

#include "test_support.h"

void ProfileFolder::SetUp() {
    folder_ = make_scratch_folder(L"profiles");
    ASSERT_FALSE(folder_.empty());
    wchar_t saved[PATH_CAPACITY];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", saved, PATH_CAPACITY);
    had_folder_ = length > 0 && length < PATH_CAPACITY;
    if (had_folder_) saved_folder_ = saved;
    ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", folder_.c_str()));
}

void ProfileFolder::TearDown() {
    SetEnvironmentVariableW(L"LOCALAPPDATA", had_folder_ ? saved_folder_.c_str() : nullptr);
    remove_folder_tree(folder_);
}

std::vector<unsigned char> ProfileFolder::store_bytes() const {
    return read_bytes(store_path());
}

bool ProfileFolder::lock_exists() const {
    return GetFileAttributesW(lock_path().c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::unique_ptr<ProfileStore> new_store() {
    return std::unique_ptr<ProfileStore>(new ProfileStore());
}

Profile make_profile(const std::wstring& name, const std::wstring& source) {
    Profile record;
    ZeroMemory(&record, sizeof(record));
    wcscpy(record.name, name.c_str());
    wcscpy(record.name_pattern, L"{folder}_{date}");
    wcscpy(record.extensions, L"pdf; jpg");
    wcscpy(record.source_folder, source.c_str());
    wcscpy(record.destination_folder, L"C:\\Archiwum");
    return record;
}

void append_profile(ProfileStore* store, const Profile& record) {
    store->profiles[store->count++] = record;
}

static std::string utf8(const wchar_t* text) {
    char buffer[4 * PATH_CAPACITY];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return bytes > 0 ? std::string(buffer, (size_t)bytes - 1) : std::string();
}

std::string describe(const ProfileStore& store) {
    std::string shown;
    for (uint32_t i = 0; i < store.count; ++i)
        shown += (i > 0 ? "," : "") + utf8(store.profiles[i].name) + "=" + utf8(store.profiles[i].source_folder);
    return shown;
}
