// Entry names: the engine's wide name as it stands, else the UTF-8 name decoded strictly.
#include <gtest/gtest.h>

#include <string>

#include "archive_fixtures.h"
#include "common/text.h"
#include "engine/entry_names.h"
#include "test_support.h"

class EntryNames : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine_bind()); }
};

// The names the engine gives for every entry of an archive (a failed decoding shows as "<none>").
static std::vector<std::wstring> decoded_names(const std::wstring& path) {
    std::vector<std::wstring> names;
    struct archive* reader = g_engine.archive_read_new();
    g_engine.archive_read_support_format_all(reader);
    EXPECT_EQ(ARCHIVE_OK, g_engine.archive_read_open_filename_w(reader, path.c_str(), 65536));
    struct archive_entry* entry = nullptr;
    wchar_t buffer[PATH_CAPACITY];
    while (g_engine.archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        const wchar_t* name = entry_name(entry, buffer);
        names.push_back(name != nullptr ? name : L"<none>");
    }
    g_engine.archive_read_free(reader);
    return names;
}

TEST_F(EntryNames, NamesStoredOnlyAsUtf8AreDecodedStrictly) {
    // RAR5 keeps names as UTF-8 only; the engine gives no wide name for one outside ASCII.
    std::wstring folder = make_scratch_folder(L"names");
    std::wstring archive = folder + L"\\names.rar";
    ASSERT_TRUE(make_rar5(archive, {"plain.txt", "zażółć/gęślą.txt", "bad\xff.txt", "half\xc5.txt", "日本.txt"}));
    std::vector<std::wstring> expected = {L"plain.txt", L"zażółć/gęślą.txt", L"<none>", L"<none>", L"日本.txt"};
    EXPECT_EQ(expected, decoded_names(archive));
    remove_folder_tree(folder);
}

TEST_F(EntryNames, WideNamesAreTakenAsTheyStand) {
    std::wstring folder = make_scratch_folder(L"names");
    std::wstring archive = folder + L"\\names.tar";
    ASSERT_TRUE(python(R"PY(
import io, sys, tarfile
with tarfile.open(sys.argv[1], 'w', format=tarfile.PAX_FORMAT) as t:
    for name in ['./Lead.TXT', 'dir\\file.txt', 'zażółć.txt']:
        t.addfile(tarfile.TarInfo(name), io.BytesIO(b''))
)PY",
                       {archive}));
    std::vector<std::wstring> expected = {L"./Lead.TXT", L"dir\\file.txt", L"zażółć.txt"};
    EXPECT_EQ(expected, decoded_names(archive));

    // The wide name is the engine's own text, not a copy.
    struct archive_entry* entry = g_engine.archive_entry_new();
    g_engine.archive_entry_copy_pathname_w(entry, L"x/y.txt");
    wchar_t buffer[PATH_CAPACITY] = L"untouched";
    const wchar_t* name = entry_name(entry, buffer);
    EXPECT_EQ(g_engine.archive_entry_pathname_w(entry), name);
    EXPECT_STREQ(L"untouched", buffer);
    g_engine.archive_entry_free(entry);
    remove_folder_tree(folder);
}

TEST_F(EntryNames, AnEntryWithoutANameHasNone) {
    struct archive_entry* entry = g_engine.archive_entry_new();
    wchar_t buffer[PATH_CAPACITY];
    EXPECT_EQ(nullptr, entry_name(entry, buffer));
    g_engine.archive_entry_free(entry);
}

TEST_F(EntryNames, AUtf8NameMustFitInPathCapacity) {
    // Set through the engine's own UTF-8 setter (not one of the program's entry points): outside
    // ASCII the engine keeps such a name as UTF-8 only, as its RAR5 reader does.
    typedef int (*UpdateUtf8)(struct archive_entry*, const char*);
    UpdateUtf8 update =
        (UpdateUtf8)(void*)GetProcAddress(GetModuleHandleW(L"archiveint.dll"), "archive_entry_update_pathname_utf8");
    ASSERT_NE(nullptr, update);
    struct Case {
        uint32_t letters;
        bool fits;
    } cases[] = {{1, true}, {PATH_CAPACITY - 1, true}, {PATH_CAPACITY, false}};
    for (const Case& c : cases) {
        std::string utf8;
        for (uint32_t i = 0; i < c.letters; ++i) utf8 += "ą";
        struct archive_entry* entry = g_engine.archive_entry_new();
        update(entry, utf8.c_str());
        ASSERT_EQ(nullptr, g_engine.archive_entry_pathname_w(entry)) << c.letters;
        wchar_t buffer[PATH_CAPACITY];
        const wchar_t* name = entry_name(entry, buffer);
        if (c.fits) {
            ASSERT_EQ(buffer, name) << c.letters;
            EXPECT_EQ(std::wstring(c.letters, L'ą'), std::wstring(name)) << c.letters;
        } else {
            EXPECT_EQ(nullptr, name) << c.letters;
        }
        g_engine.archive_entry_free(entry);
    }
}
