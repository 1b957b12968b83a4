#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile_fixture.h"
#include "profiles/profile_store.h"
#include "test_support.h"

typedef ProfileFolder ProfileFile;

// The fields of a record in the file: byte offset from the record's start and capacity in units.
struct FieldLayout {
    const char* name;
    size_t offset;
    size_t capacity;
};
static const FieldLayout FIELDS[] = {
    {"name", 0, 96},
    {"name_pattern", 192, 192},
    {"extensions", 576, 256},
    {"skip_folders", 1088, 256},
    {"source_folder", 1600, 4096},
    {"destination_folder", 9792, 4096},
};
const size_t RECORD_BYTES = 17984;

static wchar_t* field_of(Profile* record, int field) {
    wchar_t* fields[] = {record->name,         record->name_pattern,  record->extensions,
                         record->skip_folders, record->source_folder, record->destination_folder};
    return fields[field];
}

static void put_u32(std::vector<unsigned char>* bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = (unsigned char)(value >> (8 * i));
}

TEST_F(ProfileFile, NoFileIsAnEmptyStoreAndAnEmptyStoreIsTheHeaderAlone) {
    std::unique_ptr<ProfileStore> store = new_store();
    store->count = 3;
    EXPECT_TRUE(profile_store_load(store.get()));
    EXPECT_EQ(0u, store->count);

    ASSERT_TRUE(profile_store_write(store.get()));
    std::vector<unsigned char> bytes = store_bytes();
    ASSERT_EQ(8u, bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), "LMP1\0\0\0\0", 8));
    store->count = 3;
    EXPECT_TRUE(profile_store_load(store.get()));
    EXPECT_EQ(0u, store->count);
}

// Each field of the first record filled to its longest text with its own letter, so every field
// must start and end exactly at its offset; the second record has short texts followed by zeros.
TEST_F(ProfileFile, EveryFieldLiesAtItsOffsetInUtf16LittleEndian) {
    std::unique_ptr<ProfileStore> store = new_store();
    Profile full;
    ZeroMemory(&full, sizeof(full));
    for (int f = 0; f < 6; ++f)
        for (size_t u = 0; u + 1 < FIELDS[f].capacity; ++u) field_of(&full, f)[u] = (wchar_t)(0x0141 + f * 0x101);
    append_profile(store.get(), full);
    Profile short_texts = make_profile(L"Zdjęcia", L"D:\\Źródło");
    append_profile(store.get(), short_texts);
    ASSERT_TRUE(profile_store_write(store.get()));

    std::vector<unsigned char> expected(8 + 2 * RECORD_BYTES, 0);
    memcpy(expected.data(), "LMP1", 4);
    put_u32(&expected, 4, 2);
    for (int f = 0; f < 6; ++f) {
        for (size_t u = 0; u + 1 < FIELDS[f].capacity; ++u) {
            size_t at = 8 + FIELDS[f].offset + 2 * u;
            expected[at] = (unsigned char)(0x41 + f * 1);
            expected[at + 1] = (unsigned char)(0x01 + f * 1);
        }
        const wchar_t* text = field_of(&short_texts, f);
        for (size_t u = 0; text[u] != 0; ++u) {
            size_t at = 8 + RECORD_BYTES + FIELDS[f].offset + 2 * u;
            expected[at] = (unsigned char)(text[u] & 0xFF);
            expected[at + 1] = (unsigned char)(text[u] >> 8);
        }
    }
    std::vector<unsigned char> bytes = store_bytes();
    ASSERT_EQ(expected.size(), bytes.size());
    EXPECT_EQ(0, memcmp(bytes.data(), expected.data(), 8)) << "header";
    for (int record = 0; record < 2; ++record) {
        for (int f = 0; f < 6; ++f) {
            size_t at = 8 + record * RECORD_BYTES + FIELDS[f].offset;
            EXPECT_EQ(0, memcmp(bytes.data() + at, expected.data() + at, 2 * FIELDS[f].capacity))
                << "record " << record << ", field " << FIELDS[f].name;
        }
    }
}

TEST_F(ProfileFile, FullStoreIsWrittenAndLoadedBackByteForByte) {
    std::unique_ptr<ProfileStore> store = new_store();
    for (int i = 0; i < 64; ++i) {
        Profile record = make_profile(L"Profil " + std::to_wstring(i) + L" żółć", L"C:\\Dane\\" + std::to_wstring(i));
        wcscpy(record.skip_folders, L"node_modules; .git");
        append_profile(store.get(), record);
    }
    ASSERT_TRUE(profile_store_write(store.get()));
    std::vector<unsigned char> first = store_bytes();
    ASSERT_EQ(1150984u, first.size());

    std::unique_ptr<ProfileStore> loaded = new_store();
    ASSERT_TRUE(profile_store_load(loaded.get()));
    ASSERT_EQ(64u, loaded->count);
    EXPECT_EQ(0, memcmp(store->profiles, loaded->profiles, 64 * RECORD_BYTES));
    ASSERT_TRUE(profile_store_write(loaded.get()));
    EXPECT_TRUE(first == store_bytes()) << "a loaded store is written back identically";
}

// A valid file of two profiles, damaged in one way per case.
struct Damage {
    const char* label;
    void (*apply)(std::vector<unsigned char>* bytes);
};
static void field_unterminated(std::vector<unsigned char>* bytes, int field) {
    size_t last = 8 + RECORD_BYTES + FIELDS[field].offset + 2 * (FIELDS[field].capacity - 1);
    (*bytes)[last] = 'x';
}
static const Damage DAMAGES[] = {
    {"count 65 with 65 whole records",
     [](std::vector<unsigned char>* b) {
         std::vector<unsigned char> record(b->begin() + 8, b->begin() + 8 + RECORD_BYTES);
         while (b->size() < 8 + 65 * RECORD_BYTES) b->insert(b->end(), record.begin(), record.end());
         put_u32(b, 4, 65);
     }},
    {"count 4294967295", [](std::vector<unsigned char>* b) { put_u32(b, 4, 0xFFFFFFFFu); }},
    {"magic LMP2", [](std::vector<unsigned char>* b) { (*b)[3] = '2'; }},
    {"magic in lower case", [](std::vector<unsigned char>* b) { memcpy(b->data(), "lmp1", 4); }},
    {"empty file", [](std::vector<unsigned char>* b) { b->clear(); }},
    {"header cut after 7 bytes", [](std::vector<unsigned char>* b) { b->resize(7); }},
    {"ends inside the second record", [](std::vector<unsigned char>* b) { b->resize(b->size() - 1); }},
    {"ends right after the header", [](std::vector<unsigned char>* b) { b->resize(8); }},
    {"second record with an empty name", [](std::vector<unsigned char>* b) { (*b)[8 + RECORD_BYTES] = 0; }},
    {"name without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 0); }},
    {"name_pattern without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 1); }},
    {"extensions without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 2); }},
    {"skip_folders without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 3); }},
    {"source_folder without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 4); }},
    {"destination_folder without its terminator", [](std::vector<unsigned char>* b) { field_unterminated(b, 5); }},
};

TEST_F(ProfileFile, DamagedFileIsRefusedAsAWholeAndNeverOverwritten) {
    std::unique_ptr<ProfileStore> current = new_store();
    append_profile(current.get(), make_profile(L"Dokumenty"));
    append_profile(current.get(), make_profile(L"Zdjęcia"));
    ASSERT_TRUE(profile_store_write(current.get()));
    const std::vector<unsigned char> valid = store_bytes();
    std::unique_ptr<ProfileStore> before = new_store();
    *before = *current;
    Profile changed = make_profile(L"Dokumenty", L"C:\\Inne");
    Profile added = make_profile(L"Muzyka");

    for (const Damage& damage : DAMAGES) {
        SCOPED_TRACE(damage.label);
        std::vector<unsigned char> damaged = valid;
        damage.apply(&damaged);
        ASSERT_TRUE(write_bytes(store_path(), damaged.data(), damaged.size()));

        std::unique_ptr<ProfileStore> loaded = new_store();
        *loaded = *current;
        EXPECT_FALSE(profile_store_load(loaded.get()));
        EXPECT_EQ(0u, loaded->count) << "the store is empty, never partial";

        EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), -1, &added)) << "new profile";
        EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), 0, &changed)) << "change";
        EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), 1, nullptr)) << "delete";
        EXPECT_TRUE(damaged == store_bytes()) << "the file is untouched";
        EXPECT_EQ(0, memcmp(before.get(), current.get(), sizeof(ProfileStore))) << "the current store is untouched";
        EXPECT_FALSE(lock_exists());
    }
}

TEST_F(ProfileFile, LongestNameAndBytesAfterTheLastRecordAreAccepted) {
    std::unique_ptr<ProfileStore> store = new_store();
    append_profile(store.get(), make_profile(std::wstring(95, L'ż')));
    append_profile(store.get(), make_profile(L"Zdjęcia"));
    ASSERT_TRUE(profile_store_write(store.get()));
    std::vector<unsigned char> bytes = store_bytes();
    const size_t exact = bytes.size();
    ASSERT_EQ(8 + 2 * RECORD_BYTES, exact);
    const char extra[] = "leftover bytes of a longer file";
    bytes.insert(bytes.end(), extra, extra + sizeof(extra));
    bytes.insert(bytes.end(), RECORD_BYTES, 0x55);
    ASSERT_TRUE(write_bytes(store_path(), bytes.data(), bytes.size()));

    std::unique_ptr<ProfileStore> current = new_store();
    ASSERT_TRUE(profile_store_load(current.get()));
    ASSERT_EQ(2u, current->count);
    EXPECT_EQ(std::wstring(95, L'ż'), current->profiles[0].name);

    Profile changed = make_profile(L"Zdjęcia", L"E:\\Zdjęcia");
    ASSERT_EQ(PROFILE_UPDATE_OK, profile_store_update(current.get(), 1, &changed));
    std::vector<unsigned char> rewritten = store_bytes();
    ASSERT_EQ(exact, rewritten.size()) << "the next write drops the extra bytes";
    EXPECT_EQ(0, memcmp(rewritten.data() + 8, bytes.data() + 8, RECORD_BYTES)) << "the first record is kept";
}

TEST_F(ProfileFile, LeftoverTemporaryFileFailsTheUpdateAndKeepsEverything) {
    std::unique_ptr<ProfileStore> current = new_store();
    append_profile(current.get(), make_profile(L"Dokumenty"));
    ASSERT_TRUE(profile_store_write(current.get()));
    const std::vector<unsigned char> before = store_bytes();
    std::wstring leftover = store_path() + L"." + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(write_bytes(leftover, "leftover", 8));

    Profile added = make_profile(L"Muzyka");
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(current.get(), -1, &added));
    EXPECT_TRUE(before == store_bytes());
    EXPECT_EQ(1u, current->count);
    EXPECT_EQ(8u, read_bytes(leftover).size());
    EXPECT_FALSE(lock_exists());

    ASSERT_TRUE(DeleteFileW(leftover.c_str()));
    EXPECT_EQ(PROFILE_UPDATE_OK, profile_store_update(current.get(), -1, &added));
    EXPECT_EQ("Dokumenty=C:\\Dane,Muzyka=C:\\Dane", describe(*current));
}

TEST_F(ProfileFile, WithoutALocalDataFolderNothingIsReadOrWritten) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr));
    std::unique_ptr<ProfileStore> store = new_store();
    store->count = 1;
    EXPECT_FALSE(profile_store_load(store.get()));
    EXPECT_EQ(0u, store->count);
    EXPECT_FALSE(profile_store_write(store.get()));
    Profile added = make_profile(L"Muzyka");
    EXPECT_EQ(PROFILE_UPDATE_FAILED, profile_store_update(store.get(), -1, &added));
}
