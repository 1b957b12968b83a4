// Reading an archive's listing, against archives made here by bsdtar, tar with xz and zstd, zip,
// 7z, python3 and the engine itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "engine/engine_api.h"
#include "operations/listing.h"
#include "test_support.h"

struct Expected {
    std::wstring name;
    int64_t size;
    bool directory;
    bool encrypted;
};

static bool operator==(const Expected& a, const Expected& b) {
    return a.name == b.name && a.size == b.size && a.directory == b.directory && a.encrypted == b.encrypted;
}

static std::ostream& operator<<(std::ostream& out, const Expected& e) {
    std::string name;
    for (wchar_t c : e.name) name += c < 128 ? (char)c : '?';
    return out << "{" << name << ", " << e.size << (e.directory ? ", dir" : "") << (e.encrypted ? ", encrypted" : "")
               << "}";
}

static std::vector<Expected> entries_of(const EntryList& list) {
    std::vector<Expected> entries;
    for (uint32_t i = 0; i < list.count; ++i) {
        const ListEntry& item = list.items[i];
        EXPECT_EQ(0u, item.modified);
        entries.push_back({item.name, item.size, item.is_directory == 1, item.is_encrypted == 1});
    }
    return entries;
}

static OperationResult bare_result() {
    OperationResult result = {};
    result.code = RESULT_OK;
    return result;
}

class Listing : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_bind());
        folder = make_scratch_folder(L"listing");
        source = folder + L"\\src";
        CreateDirectoryW(source.c_str(), nullptr);
        CreateDirectoryW((source + L"\\docs").c_str(), nullptr);
        CreateDirectoryW((source + L"\\one").c_str(), nullptr);
        ASSERT_TRUE(write_bytes(source + L"\\a.txt", "hello", 5));
        ASSERT_TRUE(write_bytes(source + L"\\docs\\readme.txt", "read me\n", 8));
        ASSERT_TRUE(write_bytes(source + L"\\one\\a.txt", "hello", 5));
    }
    void TearDown() override { remove_folder_tree(folder); }
    std::wstring folder, source;
};

// How the detail of a case is checked.
enum DetailRule { NO_DETAIL, ENGINE_TEXT, EXACT_TEXT };

struct ListingCase {
    const char* label;
    // Makes the archive from the source folder.
    std::function<bool(const std::wstring& source, const std::wstring& archive)> make;
    int32_t code;
    std::vector<Expected> entries;
    DetailRule detail_rule;
    std::wstring detail;
};

static std::function<bool(const std::wstring&, const std::wstring&)> shell(const char* command) {
    // The first "{}" is the source folder, every later one the archive.
    return [command](const std::wstring& source, const std::wstring& archive) {
        std::vector<std::wstring> paths(8, archive);
        paths[0] = source;
        return host(command, paths);
    };
}

static std::function<bool(const std::wstring&, const std::wstring&)> script(const char* code) {
    return [code](const std::wstring&, const std::wstring& archive) { return python(code, {archive}); };
}

TEST_F(Listing, ArchivesOfEveryKind) {
    const ListingCase cases[] = {
        {"empty tar by bsdtar", shell("cd {} && bsdtar -cf {} -T /dev/null"), RESULT_OK, {}, NO_DETAIL, L""},
        {"empty zip by python",
         script("import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').close()"),
         RESULT_OK,
         {},
         NO_DETAIL,
         L""},
        {"tar whose first entry is ./",
         shell("cd {}/one && bsdtar -cf {} ."),
         RESULT_OK,
         {{L"./a.txt", 5, false, false}},
         NO_DETAIL,
         L""},
        {"names kept as stored, root entries left out",
         script(R"PY(
import io, sys, tarfile
with tarfile.open(sys.argv[1], 'w', format=tarfile.PAX_FORMAT) as t:
    for name, data in [('.', None), ('./lead.txt', b'lead'), ('.\\', b''), ('dir\\file.txt', b''),
                       ('Mixed/Case.TXT', b'ab'), ('.', b''), ('sub/', None), ('sub/.', None)]:
        info = tarfile.TarInfo(name)
        if data is None:
            info.type = tarfile.DIRTYPE
        else:
            info.size = len(data)
        t.addfile(info, io.BytesIO(data or b''))
)PY"),
         RESULT_OK,
         {{L"./lead.txt", 4, false, false},
          {L"dir\\file.txt", 0, false, false},
          {L"Mixed/Case.TXT", 2, false, false},
          {L"sub/", 0, true, false},
          {L"sub/./", 0, true, false}},
         NO_DETAIL,
         L""},
        {"tar.xz by tar and xz",
         shell("cd {} && tar -cf - docs | xz -c >{}"),
         RESULT_OK,
         {{L"docs/", 0, true, false}, {L"docs/readme.txt", 8, false, false}},
         NO_DETAIL,
         L""},
        {"tar.zst by tar and zstd",
         shell("cd {} && tar -cf - docs | zstd -q -o {}"),
         RESULT_OK,
         {{L"docs/", 0, true, false}, {L"docs/readme.txt", 8, false, false}},
         NO_DETAIL,
         L""},
        {"directories with a trailing / by zip",
         shell("cd {} && zip -qr {} docs"),
         RESULT_OK,
         {{L"docs/", 0, true, false}, {L"docs/readme.txt", 8, false, false}},
         NO_DETAIL,
         L""},
        {"unknown sizes",
         script(R"PY(
import sys
open(sys.argv[1], 'w').write('#mtree\n./unknown-size.bin type=file size=-1\n./no-size.bin type=file\n'
                             './big.bin type=file size=5000000000\n')
)PY"),
         RESULT_OK,
         {{L"./unknown-size.bin", 0, false, false},
          {L"./no-size.bin", 0, false, false},
          {L"./big.bin", 5000000000, false, false}},
         NO_DETAIL,
         L""},
        {"ZipCrypto entries by zip",
         shell("cd {} && zip -q -P secret {} a.txt docs/readme.txt"),
         RESULT_OK,
         {{L"a.txt", 5, false, true}, {L"docs/readme.txt", 8, false, true}},
         NO_DETAIL,
         L""},
        {"AES entries by 7z",
         shell("cd {} && 7z a -bd -y -tzip -psecret -mem=AES256 {} a.txt >/dev/null"),
         RESULT_OK,
         {{L"a.txt", 5, false, true}},
         NO_DETAIL,
         L""},
        {"AES entries by the engine",
         [](const std::wstring&, const std::wstring& archive) {
             return write_zip_with_engine(archive, {{L"zażółć/", "", true}, {L"zażółć/plik.txt", "abc", false}},
                                          "secret");
         },
         RESULT_OK,
         {{L"zażółć/", 0, true, false}, {L"zażółć/plik.txt", 3, false, true}},
         NO_DETAIL,
         L""},
        {"encrypted content in a 7z",
         shell("cd {} && 7z a -bd -y -psecret {} a.txt >/dev/null"),
         RESULT_OK,
         {{L"a.txt", 5, false, true}},
         NO_DETAIL,
         L""},
        {"encrypted headers in a 7z",
         shell("cd {} && 7z a -bd -y -psecret -mhe=on {} a.txt >/dev/null"),
         RESULT_UNSUPPORTED_ENCRYPTION,
         {},
         EXACT_TEXT,
         L"The archive header is encrypted, but currently not supported"},
        {"a name only as UTF-8",
         [](const std::wstring&, const std::wstring& archive) { return make_rar5(archive, {"zażółć.txt"}); },
         RESULT_OK,
         {{L"zażółć.txt", 4, false, false}},
         NO_DETAIL,
         L""},
        {"a name only as invalid UTF-8",
         [](const std::wstring&, const std::wstring& archive) {
             return make_rar5(archive, {"first.txt", "bad\xff.txt", "last.txt"});
         },
         RESULT_UNSAFE_PATH,
         {},
         NO_DETAIL,
         L""},
        {"a damaged tar header",
         script(R"PY(
import io, sys, tarfile
buffer = io.BytesIO()
with tarfile.open(fileobj=buffer, mode='w', format=tarfile.USTAR_FORMAT) as t:
    for name in ['a.txt', 'b.txt', 'c.txt']:
        info = tarfile.TarInfo(name)
        info.size = 5
        t.addfile(info, io.BytesIO(b'hello'))
data = bytearray(buffer.getvalue())
data[1024 + 100] ^= 0x55
open(sys.argv[1], 'wb').write(data)
)PY"),
         RESULT_ARCHIVE_ERROR,
         {},
         EXACT_TEXT,
         L"Damaged tar archive"},
        {"a truncated 7z (the engine fails without a text)",
         shell("cd {} && 7z a -bd -y -mx=0 {}.full a.txt docs >/dev/null && head -c 60 {}.full >{}"
               " && rm {}.full"),
         RESULT_ARCHIVE_ERROR,
         {},
         NO_DETAIL,
         L""},
        {"a truncated zip",
         shell("cd {} && zip -q -0 {}.full a.txt docs/readme.txt && head -c 100 {}.full >{} && rm {}.full"),
         RESULT_ARCHIVE_ERROR,
         {},
         ENGINE_TEXT,
         L""},
        {"damaged gzip data",
         script(R"PY(
import gzip, io, sys, tarfile
buffer = io.BytesIO()
with tarfile.open(fileobj=buffer, mode='w') as t:
    for i in range(50):
        info = tarfile.TarInfo('file%d.txt' % i)
        data = ('%d' % i).encode() * 3000
        info.size = len(data)
        t.addfile(info, io.BytesIO(data))
data = bytearray(gzip.compress(buffer.getvalue()))
for i in range(len(data) // 2, len(data) // 2 + 64):
    data[i] ^= 0xA5
open(sys.argv[1], 'wb').write(data)
)PY"),
         RESULT_ARCHIVE_ERROR,
         {},
         ENGINE_TEXT,
         L""},
        {"a file that is no archive",
         [](const std::wstring&, const std::wstring& archive) {
             return write_bytes(archive, "Just some words, not an archive.\n", 33);
         },
         RESULT_ARCHIVE_ERROR,
         {},
         EXACT_TEXT,
         L"Unrecognized archive format"},
        {"a missing file",
         [](const std::wstring&, const std::wstring&) { return true; },
         RESULT_ARCHIVE_ERROR,
         {},
         ENGINE_TEXT,
         L""},
    };
    for (const ListingCase& c : cases) {
        std::wstring archive = folder + L"\\archive.dat";
        DeleteFileW(archive.c_str());
        ASSERT_TRUE(c.make(source, archive)) << c.label;
        EntryList list = {};
        OperationResult result = bare_result();
        EXPECT_EQ(c.code == RESULT_OK, list_archive(archive.c_str(), L"", &list, &result)) << c.label;
        EXPECT_EQ(c.code, result.code) << c.label;
        EXPECT_EQ(c.entries, entries_of(list)) << c.label;
        if (c.code != RESULT_OK) {
            EXPECT_EQ(nullptr, list.items) << c.label;
            EXPECT_EQ(0u, list.capacity) << c.label;
        }
        if (c.detail_rule == NO_DETAIL) {
            EXPECT_STREQ(L"", result.detail) << c.label;
        } else if (c.detail_rule == EXACT_TEXT) {
            EXPECT_EQ(c.detail, std::wstring(result.detail)) << c.label;
        } else {
            std::wstring engine_text = from_system_code_page(engine_listing_failure(archive));
            EXPECT_FALSE(engine_text.empty()) << c.label;
            EXPECT_EQ(engine_text, std::wstring(result.detail)) << c.label;
        }
        entry_list_free(&list);
    }
}

TEST_F(Listing, TheListGrowsByDoubling) {
    std::wstring archive = folder + L"\\many.tar";
    for (int count : {256, 257}) {
        ASSERT_TRUE(python("n = " + std::to_string(count) + R"PY(
import io, sys, tarfile
with tarfile.open(sys.argv[1], 'w') as t:
    for i in range(n):
        t.addfile(tarfile.TarInfo('%d' % i), io.BytesIO(b''))
)PY",
                           {archive}));
        EntryList list = {};
        OperationResult result = bare_result();
        ASSERT_TRUE(list_archive(archive.c_str(), L"", &list, &result)) << count;
        EXPECT_EQ((uint32_t)count, list.count);
        EXPECT_EQ(count == 256 ? 256u : 512u, list.capacity);
        EXPECT_STREQ(std::to_wstring(count - 1).c_str(), list.items[count - 1].name);
        if (list.count < list.capacity) {
            EXPECT_EQ(nullptr, list.items[list.count].name) << "records beyond count are zero";
        }
        entry_list_free(&list);
        EXPECT_EQ(nullptr, list.items);
        EXPECT_EQ(0u, list.count);
        EXPECT_EQ(0u, list.capacity);
    }
}

TEST_F(Listing, AStopFromTheItemsHookKeepsNothing) {
    struct Hook {
        static bool stop_at_three(void*, uint32_t count) { return count < 3; }
    };
    std::wstring archive = folder + L"\\docs.zip";
    ASSERT_TRUE(host("cd {} && zip -qr {} a.txt docs one", {source, archive}));
    EntryList list = {};
    OperationResult result = bare_result();
    result.on_items = Hook::stop_at_three;
    EXPECT_FALSE(list_archive(archive.c_str(), L"", &list, &result));
    EXPECT_EQ(RESULT_CANCELED, result.code);
    EXPECT_EQ(nullptr, list.items);
    EXPECT_EQ(0u, list.count);

    // Without hooks the same archive lists whole; a password is harmless for entries without one.
    result = bare_result();
    EXPECT_TRUE(list_archive(archive.c_str(), L"unused password", &list, &result));
    EXPECT_EQ(5u, list.count);
    entry_list_free(&list);
}

TEST_F(Listing, AListingHoldsAtMostLIST_MAX_CAPACITYEntries) {
    // Tars of empty entries, written as gzip members that each hold 4096 identical headers: a few
    // megabytes on disk for millions of entries.
    struct Case {
        uint32_t entries;
        int32_t code;
    } cases[] = {{LIST_MAX_CAPACITY, RESULT_OK}, {LIST_MAX_CAPACITY + 1, RESULT_OUT_OF_MEMORY}};
    for (const Case& c : cases) {
        std::wstring archive = folder + L"\\huge.tar.gz";
        ASSERT_TRUE(python("n = " + std::to_string(c.entries) + R"PY(
import gzip, sys, tarfile
header = tarfile.TarInfo('f').tobuf(tarfile.USTAR_FORMAT)
member = gzip.compress(header * 4096)
with open(sys.argv[1], 'wb') as out:
    for _ in range(n // 4096):
        out.write(member)
    out.write(gzip.compress(header * (n % 4096) + b'\0' * 1024))
)PY",
                           {archive}));
        EntryList list = {};
        OperationResult result = bare_result();
        EXPECT_EQ(c.code == RESULT_OK, list_archive(archive.c_str(), L"", &list, &result)) << c.entries;
        EXPECT_EQ(c.code, result.code) << c.entries;
        if (c.code == RESULT_OK) {
            EXPECT_EQ(c.entries, list.count);
            EXPECT_EQ(LIST_MAX_CAPACITY, list.capacity);
        } else {
            EXPECT_EQ(nullptr, list.items);
            EXPECT_EQ(0u, list.count);
        }
        entry_list_free(&list);
    }
}
