#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "common/text.h"
#include "operations/extract.h"
#include "operations/listing.h"
#include "test_support.h"

namespace {

// A scratch folder with the fixture archives; every test extracts into <folder>\out\<name>.
class Extraction : public testing::Test {
protected:
    void SetUp() override {
        folder_ = make_scratch_folder(L"extract");
        ASSERT_FALSE(folder_.empty());
        out_ = folder_ + L"\\out";
        ASSERT_TRUE(CreateDirectoryW(out_.c_str(), nullptr));
        cancel_ = 0;
        result_ = OperationResult();
        result_.cancel_flag = &cancel_;
    }
    void TearDown() override { remove_folder_tree(folder_); }

    std::wstring archive(const char* name) { return folder_ + L"\\" + std::wstring(name, name + strlen(name)); }

    bool extract(const std::wstring& archive_path, const std::wstring& target, const EntryList* listing = nullptr,
                 const uint8_t* selection = nullptr, const wchar_t* password = L"") {
        result_.code = RESULT_OK;
        result_.detail[0] = 0;
        return extract_archive(archive_path.c_str(), password, target.c_str(), listing, selection, &result_);
    }

    // Nothing but the finished targets may stand in the output folder: no work folder.
    void expect_output_folder_holds(std::vector<std::wstring> names) {
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, folder_names(out_));
    }

    std::wstring folder_, out_;
    volatile LONG cancel_;
    OperationResult result_;
};

const char kPlainTree[] = R"(
import sys, tarfile, io, os
os.chdir(sys.argv[1])
def add(t, name, data=None, kind=tarfile.REGTYPE, link=''):
    info = tarfile.TarInfo(name)
    info.type = kind
    info.mtime = 1700000000
    info.linkname = link
    if data is not None:
        info.size = len(data)
        t.addfile(info, io.BytesIO(data))
    else:
        t.addfile(info)
with tarfile.open('plain.tar', 'w', format=tarfile.PAX_FORMAT) as t:
    add(t, './', kind=tarfile.DIRTYPE)
    add(t, 'a/', kind=tarfile.DIRTYPE)
    add(t, 'a/one.txt', b'one')
    add(t, 'a/deep/', kind=tarfile.DIRTYPE)
    add(t, 'a/deep/two.txt', b'two' * 1000)
    add(t, 'ab/', kind=tarfile.DIRTYPE)
    add(t, 'ab/c.txt', b'c')
    add(t, 'empty.txt', b'')
    add(t, 'top.txt', b'top')
with tarfile.open('link.tar', 'w') as t:
    add(t, 'first.txt', b'1')
    add(t, 'evil', kind=tarfile.SYMTYPE, link='../../outside')
    add(t, 'last.txt', b'2')
with tarfile.open('hardlink.tar', 'w') as t:
    add(t, 'first.txt', b'1')
    add(t, 'again', kind=tarfile.LNKTYPE, link='first.txt')
with tarfile.open('fifo.tar', 'w') as t:
    add(t, 'pipe', kind=tarfile.FIFOTYPE)
with tarfile.open('file_then_folder.tar', 'w') as t:
    add(t, 'a', b'i am a file')
    add(t, 'a/b', b'below a file')
with tarfile.open('repeated_dir.tar', 'w') as t:
    add(t, 'd/', kind=tarfile.DIRTYPE)
    add(t, 'd/x.txt', b'x')
    add(t, 'd/', kind=tarfile.DIRTYPE)
with tarfile.open('times.tar', 'w', format=tarfile.PAX_FORMAT) as t:
    for name, when in (('old.txt', -12000000000), ('future.txt', 253402300800), ('fine.txt', 946684800)):
        info = tarfile.TarInfo(name); info.size = 1; info.mtime = when
        info.pax_headers = {'mtime': str(when)}
        t.addfile(info, io.BytesIO(b'x'))
    info = tarfile.TarInfo('dir'); info.type = tarfile.DIRTYPE; info.mtime = 946684800
    t.addfile(info)
    info = tarfile.TarInfo('dir/in.txt'); info.size = 2; info.mtime = 946684800
    t.addfile(info, io.BytesIO(b'in'))
with tarfile.open('traversal.tar', 'w') as t:
    add(t, 'ok.txt', b'ok')
    add(t, '../escaped.txt', b'bad')
import zipfile
with zipfile.ZipFile('dup.zip', 'w') as z:
    z.writestr('same.txt', 'first')
    z.writestr('other.txt', 'x')
    import warnings
    warnings.simplefilter('ignore')
    z.writestr('same.txt', 'second')
with zipfile.ZipFile('case.zip', 'w') as z:
    z.writestr('Readme.TXT', 'upper')
    z.writestr('readme.txt', 'lower')
)";

TEST_F(Extraction, WholeArchiveIntoANewFolder) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    std::wstring target = out_ + L"\\plain";
    ASSERT_TRUE(extract(archive("plain.tar"), target)) << result_.code << L" " << result_.detail;
    std::vector<std::wstring> expected = {L"a\\",  L"a\\deep\\", L"a\\deep\\two.txt", L"a\\one.txt",
                                          L"ab\\", L"ab\\c.txt", L"empty.txt",        L"top.txt"};
    EXPECT_EQ(expected, folder_tree(target, L'\\'));
    EXPECT_EQ(std::string(3000, 't').size(), file_text(target + L"\\a\\deep\\two.txt").size());
    EXPECT_EQ("one", file_text(target + L"\\a\\one.txt"));
    EXPECT_EQ(0u, read_bytes(target + L"\\empty.txt").size());
    expect_output_folder_holds({L"plain"});
}

TEST_F(Extraction, AnExistingTargetFailsAtOnce) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    std::wstring target = out_ + L"\\taken";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    EXPECT_FALSE(extract(archive("plain.tar"), target));
    EXPECT_EQ(RESULT_OUTPUT_EXISTS, result_.code);
    EXPECT_EQ(target, result_.detail);
    EXPECT_TRUE(folder_tree(target, L'\\').empty());
    expect_output_folder_holds({L"taken"});
}

TEST_F(Extraction, RefusedArchivesLeaveNoTrace) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    struct Case {
        const char* archive;
        int32_t code;
        const wchar_t* detail;
    };
    const Case cases[] = {
        {"link.tar", RESULT_UNSAFE_PATH, L"evil"},          {"hardlink.tar", RESULT_UNSAFE_PATH, L"again"},
        {"fifo.tar", RESULT_UNSAFE_PATH, L"pipe"},          {"traversal.tar", RESULT_UNSAFE_PATH, L".."},
        {"file_then_folder.tar", RESULT_IO_ERROR, nullptr},  // detail: the path built so far
        {"dup.zip", RESULT_OUTPUT_EXISTS, L"same.txt"},     {"case.zip", RESULT_OUTPUT_EXISTS, L"readme.txt"},
    };
    for (const Case& c : cases) {
        std::wstring target = out_ + L"\\result";
        EXPECT_FALSE(extract(archive(c.archive), target)) << c.archive;
        EXPECT_EQ(c.code, result_.code) << c.archive;
        if (c.detail != nullptr) {
            EXPECT_STREQ(c.detail, result_.detail) << c.archive;
        } else {
            std::wstring detail = result_.detail;
            EXPECT_NE(std::wstring::npos, detail.find(L"\\.lumarek-")) << detail;
            EXPECT_EQ(L"\\a", detail.substr(detail.size() - 2)) << detail;
        }
        expect_output_folder_holds({});
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder_ + L"\\escaped.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((out_ + L"\\escaped.txt").c_str()));
}

TEST_F(Extraction, ARepeatedDirectoryEntryIsFine) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    std::wstring target = out_ + L"\\dirs";
    ASSERT_TRUE(extract(archive("repeated_dir.tar"), target)) << result_.detail;
    EXPECT_EQ((std::vector<std::wstring>{L"d\\", L"d\\x.txt"}), folder_tree(target, L'\\'));
}

TEST_F(Extraction, ModificationTimesWithinTheRangeOnly) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    std::wstring target = out_ + L"\\times";
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    ASSERT_TRUE(extract(archive("times.tar"), target)) << result_.detail;
    auto written = [&](const wchar_t* name) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW((target + L"\\" + name).c_str(), GetFileExInfoStandard, &data);
        return (uint64_t)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
    };
    uint64_t now = (uint64_t)before.dwHighDateTime << 32 | before.dwLowDateTime;
    const uint64_t year_2000 = (946684800ull + 11644473600ull) * 10000000ull;
    EXPECT_EQ(year_2000, written(L"fine.txt"));
    EXPECT_EQ(year_2000, written(L"dir\\in.txt"));
    EXPECT_GE(written(L"old.txt") + 20000000ull, now) << "a time before 1601 is not applied";
    EXPECT_GE(written(L"future.txt") + 20000000ull, now) << "a time after 9999 is not applied";
    EXPECT_GE(written(L"dir") + 20000000ull, now) << "folders never get the archive's time";
}

TEST_F(Extraction, EngineArchivesMadeByOtherTools) {
    ASSERT_TRUE(host_in(folder_,
                        "mkdir -p src/sub && printf hello > src/sub/h.txt && printf '' > src/zero && "
                        "head -c 200000 /dev/urandom > src/random.bin && "
                        "7z a -bd -t7z seven.7z ./src/* >/dev/null && (cd src && zip -qr ../zipped.zip .) && "
                        "bsdtar -czf tgz.tar.gz -C src . && tar -cf - -C src . | xz -c >xz.tar.xz && "
                        "tar -cf - -C src . | zstd -q -o zst.tar.zst"));
    for (const char* name : {"seven.7z", "zipped.zip", "tgz.tar.gz", "xz.tar.xz", "zst.tar.zst"}) {
        std::wstring target = out_ + L"\\" + std::wstring(name, name + strlen(name)) + L".d";
        ASSERT_TRUE(extract(archive(name), target)) << name << " " << result_.code << " " << result_.detail;
        EXPECT_EQ("hello", file_text(target + L"\\sub\\h.txt")) << name;
        EXPECT_EQ(0u, read_bytes(target + L"\\zero").size()) << name;
        EXPECT_EQ(read_bytes(folder_ + L"\\src\\random.bin"), read_bytes(target + L"\\random.bin")) << name;
    }
}

// Cancelling at any continue check, the last ones included, leaves neither target nor work folder.
TEST_F(Extraction, CancelAtTheEndLeavesNothing) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    static int calls, cancel_at;
    result_.on_items = [](void*, uint32_t) { return ++calls != cancel_at; };
    calls = 0;
    cancel_at = -1;
    ASSERT_TRUE(extract(archive("plain.tar"), out_ + L"\\counting"));
    int total = calls;
    ASSERT_GT(total, 3);
    for (int at : {total, total - 1, total - 2}) {
        calls = 0;
        cancel_at = at;
        std::wstring target = out_ + L"\\canceled";
        EXPECT_FALSE(extract(archive("plain.tar"), target)) << at;
        EXPECT_EQ(RESULT_CANCELED, result_.code);
        expect_output_folder_holds({L"counting"});
    }
}

TEST_F(Extraction, CancelDuringTheLastEntrysData) {
    ASSERT_TRUE(host_in(folder_,
                        "mkdir src && printf small > src/a.txt && head -c 3000000 /dev/urandom > src/z.bin "
                        "&& tar -cf big.tar -C src a.txt z.bin"));
    static volatile LONG* flag;
    flag = &cancel_;
    result_.on_percent = [](void*, uint64_t done, uint64_t total) {
        if (total == 3000000 && done > 0 && done < total) InterlockedExchange(flag, 1);
    };
    EXPECT_FALSE(extract(archive("big.tar"), out_ + L"\\big"));
    EXPECT_EQ(RESULT_CANCELED, result_.code);
    expect_output_folder_holds({});
}

// Lists the archive as the window does before an extraction of selected rows.
class Selection : public Extraction {
protected:
    void SetUp() override {
        Extraction::SetUp();
        ASSERT_TRUE(python(kPlainTree, {folder_}));
        listing_ = EntryList();
        OperationResult listed = OperationResult();
        ASSERT_TRUE(list_archive(archive("plain.tar").c_str(), L"", &listing_, &listed));
    }
    void TearDown() override {
        entry_list_free(&listing_);
        Extraction::TearDown();
    }
    std::vector<uint8_t> select(std::vector<std::wstring> names) {
        std::vector<uint8_t> bytes(listing_.count, 0);
        for (uint32_t i = 0; i < listing_.count; ++i)
            for (const std::wstring& name : names)
                if (name == listing_.items[i].name) bytes[i] = 1;
        return bytes;
    }
    EntryList listing_;
};

TEST_F(Selection, RowsAndWholeFolders) {
    struct Case {
        std::vector<std::wstring> rows;
        std::vector<std::wstring> tree;
    };
    const Case cases[] = {
        // a folder row takes everything below it, at any depth, but not "ab/" beside it
        {{L"a/"}, {L"a\\", L"a\\deep\\", L"a\\deep\\two.txt", L"a\\one.txt"}},
        // a file inside a folder brings only its parent folders
        {{L"a/deep/two.txt"}, {L"a\\", L"a\\deep\\", L"a\\deep\\two.txt"}},
        {{L"top.txt", L"empty.txt", L"ab/c.txt"}, {L"ab\\", L"ab\\c.txt", L"empty.txt", L"top.txt"}},
        {{L"a/deep/"}, {L"a\\", L"a\\deep\\", L"a\\deep\\two.txt"}},
        {{}, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::vector<uint8_t> selection = select(c.rows);
        std::wstring target = out_ + L"\\sel" + std::to_wstring(++n);
        ASSERT_TRUE(extract(archive("plain.tar"), target, &listing_, selection.data())) << n << L" " << result_.detail;
        EXPECT_EQ(c.tree, folder_tree(target, L'\\')) << n;
    }
}

TEST_F(Selection, AnArchiveReplacedAfterTheListingExtractsNothing) {
    // The same entries in another order, written over the listed archive.
    ASSERT_TRUE(python(R"(
import sys, tarfile, io, os
os.chdir(sys.argv[1])
with tarfile.open('plain.tar', 'w') as t:
    for name, data in (('top.txt', b'top'), ('a/one.txt', b'one')):
        info = tarfile.TarInfo(name); info.size = len(data); t.addfile(info, io.BytesIO(data))
)",
                       {folder_}));
    std::vector<uint8_t> selection = select({L"top.txt"});
    EXPECT_FALSE(extract(archive("plain.tar"), out_ + L"\\replaced", &listing_, selection.data()));
    EXPECT_EQ(RESULT_ARCHIVE_ERROR, result_.code);
    expect_output_folder_holds({});

    // An archive that ends early: every entry matches, but some are missing.
    ASSERT_TRUE(python(R"(
import sys, tarfile, io, os
os.chdir(sys.argv[1])
with tarfile.open('plain.tar', 'w') as t:
    info = tarfile.TarInfo('./'); info.type = tarfile.DIRTYPE; t.addfile(info)
    info = tarfile.TarInfo('a/'); info.type = tarfile.DIRTYPE; t.addfile(info)
)",
                       {folder_}));
    selection = select({L"a/"});
    EXPECT_FALSE(extract(archive("plain.tar"), out_ + L"\\short", &listing_, selection.data()));
    EXPECT_EQ(RESULT_ARCHIVE_ERROR, result_.code);
    EXPECT_STREQ(L"", result_.detail);
    expect_output_folder_holds({});
}

class Encrypted : public Extraction {};

TEST_F(Encrypted, PasswordsThroughTheEngine) {
    ASSERT_TRUE(host_in(folder_,
                        "mkdir src && printf secret-data > src/s.txt && "
                        "7z a -bd -tzip -mem=AES256 -pTajne123 aes.zip ./src/s.txt >/dev/null && "
                        "(cd src && zip -q -P Tajne123 ../zipcrypto.zip s.txt) && "
                        "7z a -bd -t7z -pTajne123 aes.7z ./src/s.txt >/dev/null"));
    std::vector<std::wstring> extracted;
    for (const char* name : {"aes.zip", "zipcrypto.zip"}) {
        EXPECT_FALSE(extract(archive(name), out_ + L"\\x")) << name;
        EXPECT_EQ(RESULT_PASSWORD_REQUIRED, result_.code) << name;
        expect_output_folder_holds(extracted);
        EXPECT_FALSE(extract(archive(name), out_ + L"\\x", nullptr, nullptr, L"wrong")) << name;
        EXPECT_EQ(RESULT_PASSWORD_REQUIRED, result_.code) << name;
        std::wstring target = out_ + L"\\" + std::wstring(name, name + strlen(name)) + L".d";
        ASSERT_TRUE(extract(archive(name), target, nullptr, nullptr, L"Tajne123")) << name << " " << result_.detail;
        EXPECT_EQ("secret-data", file_text(target + L"\\s.txt"));
        extracted.push_back(std::wstring(name, name + strlen(name)) + L".d");
    }
    EXPECT_FALSE(extract(archive("aes.7z"), out_ + L"\\seven", nullptr, nullptr, L"Tajne123"));
    EXPECT_EQ(RESULT_UNSUPPORTED_ENCRYPTION, result_.code);
    EXPECT_NE(nullptr, wcsstr(result_.detail, L"encrypted")) << result_.detail;
    expect_output_folder_holds({L"aes.zip.d", L"zipcrypto.zip.d"});

    result_.code = RESULT_OK;
    EXPECT_FALSE(test_archive(archive("aes.zip").c_str(), L"", &result_));
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, result_.code);
    result_.code = RESULT_OK;
    EXPECT_TRUE(test_archive(archive("aes.zip").c_str(), L"Tajne123", &result_)) << result_.detail;
}

TEST_F(Extraction, TestingReadsDataOnly) {
    ASSERT_TRUE(python(kPlainTree, {folder_}));
    ASSERT_TRUE(host_in(folder_,
                        "mkdir r && head -c 300000 /dev/urandom > r/r.bin && tar -czf r.tar.gz -C r r.bin && "
                        "(cd r && zip -q ../damaged.zip r.bin) && printf 'XXXXXXXX' | dd of=damaged.zip bs=1 "
                        "seek=150000 conv=notrunc 2>/dev/null && printf 'not an archive at all' > text.txt"));
    // Links and unsafe names do not matter when nothing is written.
    for (const char* name : {"plain.tar", "link.tar", "traversal.tar", "dup.zip", "r.tar.gz"}) {
        result_.code = RESULT_OK;
        EXPECT_TRUE(test_archive(archive(name).c_str(), L"", &result_)) << name << " " << result_.detail;
    }
    // Data that no longer matches its checksum, and a file that is no archive.
    for (const char* name : {"damaged.zip", "text.txt"}) {
        result_.code = RESULT_OK;
        result_.detail[0] = 0;
        EXPECT_FALSE(test_archive(archive(name).c_str(), L"", &result_)) << name;
        EXPECT_EQ(RESULT_ARCHIVE_ERROR, result_.code) << name;
        EXPECT_NE(0, result_.detail[0]) << "the engine's own words: " << name;
    }
    expect_output_folder_holds({});
}

}  // namespace
