// The preferences record and its 8,212-byte file: defaults, every accepted and rejected form, and
// the atomic save.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "settings/preferences.h"
#include "test_support.h"

namespace {

// A record that differs from the defaults in every field, with a folder as the settings view
// writes it.
Preferences sample_record() {
    Preferences record;
    ZeroMemory(&record, sizeof(record));
    Preferences defaults;
    preferences_default(&defaults);
    record.polish_ui = defaults.polish_ui ? 0 : 1;
    record.open_folder_after_extract = 1;
    record.default_format = 2;
    record.default_compression = 0;
    wcscpy(record.default_extract_folder, L"C:\\Użytkownicy\\Ola\\Wyniki");
    record.startup_view = 3;
    record.use_default_folder_silently = 1;
    return record;
}

std::vector<unsigned char> image_of(const Preferences& record) {
    const unsigned char* bytes = (const unsigned char*)&record;
    return std::vector<unsigned char>(bytes, bytes + sizeof(record));
}

bool same(const Preferences& a, const Preferences& b) {
    return memcmp(&a, &b, sizeof(a)) == 0;
}

class PreferencesFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = make_scratch_folder(L"preferences");
        ASSERT_FALSE(folder_.empty());
        SetEnvironmentVariableW(L"LOCALAPPDATA", folder_.c_str());
        path_ = folder_ + L"\\LumarekPreferences.dat";
        preferences_default(&defaults_);
    }
    void TearDown() override { remove_folder_tree(folder_); }

    void write_file(const std::vector<unsigned char>& bytes) {
        ASSERT_TRUE(write_bytes(path_, bytes.data(), bytes.size()));
    }
    // Loads after putting a marker into the current preferences, so a load that keeps nothing of
    // the file still shows that it started from the defaults.
    Preferences load() {
        g_preferences.default_format = 77;
        preferences_load();
        return g_preferences;
    }

    std::wstring folder_;
    std::wstring path_;
    Preferences defaults_;
};

}  // namespace

TEST(PreferencesDefaults, FollowTheDisplayLanguage) {
    Preferences record;
    memset(&record, 0xAB, sizeof(record));
    preferences_default(&record);
    EXPECT_EQ((GetUserDefaultUILanguage() & 0x3FF) == 0x15 ? 1 : 0, record.polish_ui);
    EXPECT_EQ(0, record.open_folder_after_extract);
    EXPECT_EQ(0u, record.default_format);
    EXPECT_EQ(1u, record.default_compression);
    EXPECT_EQ(0u, record.startup_view);
    EXPECT_EQ(0u, record.use_default_folder_silently);
    for (uint32_t i = 0; i < PATH_CAPACITY; ++i) ASSERT_EQ(0, record.default_extract_folder[i]) << i;
    EXPECT_EQ(0, record.padding[0]);
    EXPECT_EQ(0, record.padding[1]);
}

TEST_F(PreferencesFile, MissingFileOrFolderGivesTheDefaults) {
    EXPECT_TRUE(same(defaults_, load()));
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    EXPECT_TRUE(same(defaults_, load())) << "no local data folder";
    EXPECT_FALSE(preferences_save(&defaults_));
    SetEnvironmentVariableW(L"LOCALAPPDATA", L"");
    EXPECT_TRUE(same(defaults_, load())) << "an empty local data folder value";
}

TEST_F(PreferencesFile, AcceptedAndRejectedSizes) {
    Preferences record = sample_record();
    std::vector<unsigned char> full = image_of(record);
    // The short form ends after the folder field; its last two fields take their defaults.
    Preferences short_form = record;
    short_form.startup_view = 0;
    short_form.use_default_folder_silently = 0;
    const struct {
        size_t size;
        bool accepted;
    } cases[] = {{0, false},    {8203, false}, {8204, true}, {8205, false},
                 {8211, false}, {8212, true},  {8213, true}, {20000, true}};
    for (const auto& item : cases) {
        std::vector<unsigned char> bytes(item.size, 0);
        for (size_t i = 0; i < item.size && i < full.size(); ++i) bytes[i] = full[i];
        for (size_t i = full.size(); i < item.size; ++i) bytes[i] = 0xEE;  // beyond the record
        write_file(bytes);
        Preferences loaded = load();
        const Preferences& expected = !item.accepted ? defaults_ : item.size == 8204 ? short_form : record;
        EXPECT_TRUE(same(expected, loaded)) << "a file of " << item.size << " bytes";
    }
}

TEST_F(PreferencesFile, EveryCheckRejectsTheWholeFile) {
    const struct {
        const char* name;
        size_t offset;
        uint32_t value;
        bool accepted;
    } cases[] = {
        {"default_format 2", 4, 2, true},
        {"default_format 3", 4, 3, false},
        {"default_format 0xFFFFFFFF", 4, 0xFFFFFFFF, false},
        {"default_compression 2", 8, 2, true},
        {"default_compression 3", 8, 3, false},
        {"startup_view 3", 8204, 3, true},
        {"startup_view 4", 8204, 4, false},
        {"use_default_folder_silently 1", 8208, 1, true},
        {"use_default_folder_silently 2", 8208, 2, false},
    };
    for (const auto& item : cases) {
        std::vector<unsigned char> bytes = image_of(sample_record());
        memcpy(&bytes[item.offset], &item.value, 4);
        write_file(bytes);
        Preferences loaded = load();
        if (item.accepted) {
            EXPECT_EQ(0, memcmp(bytes.data(), &loaded, bytes.size())) << item.name;
        } else {
            EXPECT_TRUE(same(defaults_, loaded)) << item.name << ": nothing of the file is used, not even the language";
        }
    }
}

TEST_F(PreferencesFile, FolderFieldNeedsItsTerminator) {
    Preferences record = sample_record();
    for (uint32_t i = 0; i < PATH_CAPACITY; ++i) record.default_extract_folder[i] = L'x';
    write_file(image_of(record));
    EXPECT_TRUE(same(defaults_, load())) << "the unit at offset 8202 is not zero";

    record.default_extract_folder[PATH_CAPACITY - 1] = 0;
    write_file(image_of(record));
    Preferences loaded = load();
    EXPECT_TRUE(same(record, loaded)) << "a folder of 4095 units";
}

TEST_F(PreferencesFile, AnyNonzeroFlagCountsAsSet) {
    std::vector<unsigned char> bytes = image_of(sample_record());
    bytes[0] = 7;     // polish_ui
    bytes[1] = 255;   // open_folder_after_extract
    bytes[2] = 0x5A;  // the padding is not checked
    write_file(bytes);
    Preferences loaded = load();
    EXPECT_EQ(7, loaded.polish_ui);
    EXPECT_EQ(255, loaded.open_folder_after_extract);
    EXPECT_EQ(2u, loaded.default_format) << "the file was used";
}

TEST_F(PreferencesFile, SaveWritesTheWholeRecordAndLoadReadsItBack) {
    Preferences record = sample_record();
    // Whatever the caller's record holds in its padding and after the folder's end, the file has
    // zeros there.
    record.padding[0] = 0x11;
    record.padding[1] = 0x22;
    record.default_extract_folder[100] = L'q';
    Preferences current = g_preferences;
    ASSERT_TRUE(preferences_save(&record));
    EXPECT_EQ(0, memcmp(&current, &g_preferences, sizeof(current))) << "the current preferences are not changed";

    std::vector<unsigned char> file = read_bytes(path_);
    ASSERT_EQ(8212u, file.size());
    EXPECT_EQ(record.polish_ui, file[0]);
    EXPECT_EQ(1, file[1]);
    EXPECT_EQ(0, file[2]);
    EXPECT_EQ(0, file[3]);
    const unsigned char format[4] = {2, 0, 0, 0};
    EXPECT_EQ(0, memcmp(format, &file[4], 4));
    const unsigned char compression[4] = {0, 0, 0, 0};
    EXPECT_EQ(0, memcmp(compression, &file[8], 4));
    std::wstring folder = L"C:\\Użytkownicy\\Ola\\Wyniki";
    EXPECT_EQ(0, memcmp(folder.c_str(), &file[12], (folder.size() + 1) * 2));
    for (size_t i = 12 + (folder.size() + 1) * 2; i < 8204; ++i) ASSERT_EQ(0, file[i]) << "folder remainder " << i;
    const unsigned char tail[8] = {3, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(0, memcmp(tail, &file[8204], 8));

    Preferences loaded = load();
    Preferences expected = sample_record();
    EXPECT_TRUE(same(expected, loaded));

    // A second save replaces the file.
    expected.default_format = 1;
    ASSERT_TRUE(preferences_save(&expected));
    EXPECT_TRUE(same(expected, load()));
    EXPECT_EQ(8212u, read_bytes(path_).size());
}

TEST_F(PreferencesFile, LeftoverTemporaryFileMakesTheSaveFailUntouched) {
    Preferences first = sample_record();
    ASSERT_TRUE(preferences_save(&first));
    std::vector<unsigned char> before = read_bytes(path_);
    std::wstring leftover = path_ + L"." + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(write_bytes(leftover, "left", 4));

    Preferences second = first;
    second.default_format = 0;
    EXPECT_FALSE(preferences_save(&second));
    EXPECT_EQ(before, read_bytes(path_)) << "the file is untouched";
    std::vector<unsigned char> left = read_bytes(leftover);
    EXPECT_EQ(std::string("left"), std::string(left.begin(), left.end())) << "the leftover is untouched";
}

TEST_F(PreferencesFile, ReadWhileAnotherCopyHoldsItForReplacing) {
    // The file is opened for reading with delete sharing: a handle with delete access (another
    // copy moving its new file over it) does not keep this copy from reading it.
    Preferences record = sample_record();
    ASSERT_TRUE(preferences_save(&record));
    HANDLE reader = CreateFileW(path_.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_TRUE(same(record, load()));
    CloseHandle(reader);
}
