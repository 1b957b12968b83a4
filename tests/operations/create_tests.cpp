#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "operations/create.h"
#include "test_support.h"

namespace {

std::string narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, ' ');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

class Creation : public testing::Test {
protected:
    void SetUp() override {
        folder_ = make_scratch_folder(L"create");
        ASSERT_FALSE(folder_.empty());
        cancel_ = 0;
        result_ = OperationResult();
        result_.cancel_flag = &cancel_;
        out_ = folder_ + L"\\out";
        ASSERT_TRUE(CreateDirectoryW(out_.c_str(), nullptr));
    }
    void TearDown() override { remove_folder_tree(folder_); }

    bool create(const std::wstring& output, std::vector<std::wstring> sources, uint32_t format, int32_t level,
                const wchar_t* password = L"") {
        std::vector<wchar_t*> pointers;
        for (std::wstring& source : sources) pointers.push_back(&source[0]);
        result_.code = RESULT_OK;
        result_.detail[0] = 0;
        return create_archive(output.c_str(), pointers.data(), (uint32_t)pointers.size(), format, level, password,
                              &result_);
    }

    // Nothing may stand in the output folder but the given archives: no temporary file.
    void expect_output_folder_holds(std::vector<std::wstring> names) {
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, folder_names(out_));
    }

    std::string host(const std::wstring& path) { return shell_quote(unix_path(path)); }

    std::wstring folder_, out_;
    volatile LONG cancel_;
    OperationResult result_;
};

// A small tree with text, random data, an empty file, an empty folder and set times.
const char kTree[] =
    "mkdir -p src/docs/nested src/empty_dir && printf 'hello world' > src/docs/a.txt && "
    "head -c 150000 /dev/urandom > src/docs/nested/r.bin && : > src/docs/zero.txt && "
    "python3 -c \"import random; r = random.Random(7); w = ['archiwum', 'plik', 'folder', 'dane', 'kopia', "
    "'raport', 'zdjęcie', 'lista', 'tekst', 'wynik']; print(' '.join(r.choice(w) + str(r.randrange(100)) "
    "for _ in range(60000)))\" > src/numbers.txt && "
    "touch -d '2021-03-04 05:06:07 UTC' src/docs/a.txt src/numbers.txt";

TEST_F(Creation, RoundTripsThroughOtherTools) {
    ASSERT_TRUE(host_in(folder_, kTree));
    struct Format {
        uint32_t format;
        const wchar_t* extension;
    };
    const Format formats[] = {{FORMAT_ZIP, L".zip"}, {FORMAT_7Z, L".7z"}, {FORMAT_TAR_GZ, L".tar.gz"}};
    for (const Format& f : formats) {
        for (int32_t level : {1, 6, 9}) {
            std::wstring archive = out_ + L"\\level" + std::to_wstring(level) + f.extension;
            ASSERT_TRUE(create(
                archive, {folder_ + L"\\src\\docs", folder_ + L"\\src\\numbers.txt", folder_ + L"\\src\\empty_dir"},
                f.format, level))
                << archive << L" " << result_.code << L" " << result_.detail;
            std::string x = unix_path(folder_) + "/x" + std::to_string(f.format) + std::to_string(level);
            // 7-Zip and bsdtar both unpack what we wrote, with the same contents and times.
            for (const char* tool : {"7z x -bd -y -o", "bsdtar -xpf"}) {
                std::string into = x + (tool[0] == '7' ? "-7z" : "-bsdtar");
                // 7-Zip takes a .tar.gz in two steps: the gzip stream, then the tar inside.
                std::string command =
                    tool[0] != '7' ? "mkdir -p " + shell_quote(into) + " && bsdtar -xpf " + host(archive) + " -C " +
                                         shell_quote(into)
                    : f.format == FORMAT_TAR_GZ
                        ? "7z x -bd -so " + host(archive) + " | 7z x -bd -y -si -ttar -o" + shell_quote(into)
                        : std::string(tool) + shell_quote(into) + " " + host(archive);
                std::string output;
                ASSERT_EQ(0, run_unix(command + " >/dev/null 2>&1", &output)) << command;
                std::string diff;
                EXPECT_EQ(0, run_unix("diff -r " + shell_quote(into + "/docs") + " " +
                                          shell_quote(unix_path(folder_ + L"\\src\\docs")) + " && cmp " +
                                          shell_quote(into + "/numbers.txt") + " " +
                                          shell_quote(unix_path(folder_ + L"\\src\\numbers.txt")) + " && test -d " +
                                          shell_quote(into + "/empty_dir"),
                                      &diff))
                    << command << diff;
                std::string when;
                run_unix("date -u -r " + shell_quote(into + "/docs/a.txt") + " +%FT%T", &when);
                EXPECT_EQ("2021-03-04T05:06:07\n", when) << command;
            }
        }
    }
    expect_output_folder_holds({L"level1.zip", L"level6.zip", L"level9.zip", L"level1.7z", L"level6.7z", L"level9.7z",
                                L"level1.tar.gz", L"level6.tar.gz", L"level9.tar.gz"});

    // Folder entries come before their contents, sources in the order given.
    std::string order;
    run_unix("bsdtar -tf " + host(out_ + L"\\level6.zip"), &order);
    EXPECT_EQ(0u, order.find("docs/\n")) << order;
    EXPECT_LT(order.find("docs/nested/\n"), order.find("docs/nested/r.bin\n")) << order;
    EXPECT_LT(order.find("docs/nested/r.bin"), order.find("numbers.txt")) << order;
    EXPECT_LT(order.find("numbers.txt"), order.find("empty_dir/")) << order;
}

TEST_F(Creation, MethodsAndLevelsAsChosen) {
    ASSERT_TRUE(host_in(folder_, kTree));
    std::wstring source = folder_ + L"\\src\\numbers.txt";
    ASSERT_TRUE(create(out_ + L"\\max.7z", {source}, FORMAT_7Z, 9));
    ASSERT_TRUE(create(out_ + L"\\fast.7z", {source}, FORMAT_7Z, 1));
    std::string slt;
    run_unix("7z l -slt " + host(out_ + L"\\max.7z"), &slt);
    EXPECT_NE(std::string::npos, slt.find("Method = LZMA2")) << slt;

    // The gzip header's XFL byte (offset 8) says 2 for the slowest level and 4 for the fastest.
    for (int32_t level : {1, 6, 9}) {
        std::wstring archive = out_ + L"\\l" + std::to_wstring(level) + L".tar.gz";
        ASSERT_TRUE(create(archive, {source}, FORMAT_TAR_GZ, level));
        std::vector<unsigned char> bytes = read_bytes(archive);
        ASSERT_GT(bytes.size(), 10u);
        EXPECT_EQ(level == 9 ? 2 : level == 1 ? 4 : 0, bytes[8]) << level;
    }
    // Compressed sizes follow the strength.
    std::vector<size_t> zip_sizes;
    for (int32_t level : {1, 6, 9}) {
        std::wstring archive = out_ + L"\\l" + std::to_wstring(level) + L".zip";
        ASSERT_TRUE(create(archive, {source}, FORMAT_ZIP, level));
        zip_sizes.push_back(read_bytes(archive).size());
    }
    EXPECT_GT(zip_sizes[0], zip_sizes[1]);
    EXPECT_GE(zip_sizes[1], zip_sizes[2]);
}

TEST_F(Creation, PasswordProtectedZipIsAes256) {
    ASSERT_TRUE(host_in(folder_, kTree));
    ASSERT_TRUE(create(out_ + L"\\secret.zip", {folder_ + L"\\src\\docs"}, FORMAT_ZIP, 6, L"Hasło-ąę€"))
        << result_.detail;
    std::string slt;
    run_unix("7z l -slt " + host(out_ + L"\\secret.zip"), &slt);
    EXPECT_NE(std::string::npos, slt.find("Method = AES-256")) << slt;
    EXPECT_NE(std::string::npos, slt.find("Encrypted = +")) << slt;
    std::string into = unix_path(folder_) + "/opened";
    EXPECT_EQ(0, run_unix("7z x -bd -y -p'Hasło-ąę€' -o" + shell_quote(into) + " " + host(out_ + L"\\secret.zip")));
    std::string text;
    run_unix("cat " + shell_quote(into + "/docs/a.txt"), &text);
    EXPECT_EQ("hello world", text);
    EXPECT_NE(0, run_unix("7z t -bd -pwrong " + host(out_ + L"\\secret.zip")));

    // No passphrase reaches a 7z archive, and none is needed to read it.
    ASSERT_TRUE(create(out_ + L"\\open.7z", {folder_ + L"\\src\\docs"}, FORMAT_7Z, 6, L"ignored"));
    EXPECT_EQ(0, run_unix("7z t -bd -p " + host(out_ + L"\\open.7z")));
}

TEST_F(Creation, NamesBeyondAscii) {
    std::wstring src = folder_ + L"\\src";
    ASSERT_TRUE(CreateDirectoryW(src.c_str(), nullptr));
    std::wstring polish = src + L"\\Zażółć gęślą jaźń";
    ASSERT_TRUE(CreateDirectoryW(polish.c_str(), nullptr));
    ASSERT_TRUE(write_bytes(polish + L"\\Łódź.txt", "pl", 2));
    ASSERT_TRUE(write_bytes(polish + L"\\日本語.txt", "ja", 2));
    for (const wchar_t* name : {L"\\names.zip", L"\\names.7z"}) {
        ASSERT_TRUE(create(out_ + name, {polish}, wcsstr(name, L".zip") ? FORMAT_ZIP : FORMAT_7Z, 6))
            << name << L" " << result_.detail;
        std::string listing;
        run_unix("7z l -ba " + host(out_ + name), &listing);
        EXPECT_NE(std::string::npos, listing.find(narrow(L"Zażółć gęślą jaźń/Łódź.txt"))) << listing;
        EXPECT_NE(std::string::npos, listing.find(narrow(L"Zażółć gęślą jaźń/日本語.txt"))) << listing;
    }
    // The tar writer refuses such names: the engine's words, no output, no temporary file.
    EXPECT_FALSE(create(out_ + L"\\names.tar.gz", {polish}, FORMAT_TAR_GZ, 6));
    EXPECT_EQ(RESULT_ARCHIVE_ERROR, result_.code);
    EXPECT_NE(nullptr, wcsstr(result_.detail, L"pathname")) << result_.detail;
    expect_output_folder_holds({L"names.zip", L"names.7z"});
}

TEST_F(Creation, RefusalsLeaveNothing) {
    ASSERT_TRUE(host_in(folder_, kTree + std::string(" && mkdir -p a/Report b/report data data2 && "
                                                     "printf x > a/Report/f && printf y > b/report/g && "
                                                     "printf z > data/d.txt")));
    struct Case {
        std::wstring output;
        std::vector<std::wstring> sources;
        int32_t code;
        std::wstring detail;
    };
    std::wstring report_a = folder_ + L"\\a\\Report", report_b = folder_ + L"\\b\\report";
    const Case cases[] = {
        {out_ + L"\\dup.zip", {report_a, report_b}, RESULT_DUPLICATE_NAME, L"report"},
        {out_ + L"\\dup2.zip", {report_a, folder_ + L"\\src\\numbers.txt", report_a}, RESULT_DUPLICATE_NAME, L"Report"},
        {folder_ + L"\\data\\out.zip", {folder_ + L"\\data"}, RESULT_IO_ERROR, folder_ + L"\\data\\out.zip"},
        {folder_ + L"\\DATA\\sub\\out.zip", {folder_ + L"\\data"}, RESULT_IO_ERROR, folder_ + L"\\DATA\\sub\\out.zip"},
        {out_ + L"\\root.zip", {L"C:\\"}, RESULT_IO_ERROR, L"C:\\"},
        {out_ + L"\\slash.zip", {folder_ + L"\\data\\"}, RESULT_IO_ERROR, folder_ + L"\\data\\"},
        {out_ + L"\\missing.zip", {folder_ + L"\\nothing-here"}, RESULT_IO_ERROR, folder_ + L"\\nothing-here"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(create(c.output, c.sources, FORMAT_ZIP, 6)) << c.output;
        EXPECT_EQ(c.code, result_.code) << c.output;
        EXPECT_EQ(c.detail, result_.detail) << c.output;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(c.output.c_str()));
    }
    expect_output_folder_holds({});
    std::vector<unsigned char> untouched = read_bytes(folder_ + L"\\data\\d.txt");
    EXPECT_EQ(1u, untouched.size());

    // A sibling folder whose name only begins like the source is fine.
    EXPECT_TRUE(create(folder_ + L"\\data2\\out.zip", {folder_ + L"\\data"}, FORMAT_ZIP, 6)) << result_.detail;
    // An existing output is never replaced.
    EXPECT_FALSE(create(folder_ + L"\\data2\\out.zip", {folder_ + L"\\data"}, FORMAT_7Z, 6));
    EXPECT_EQ(RESULT_OUTPUT_EXISTS, result_.code);
}

TEST_F(Creation, NestingLimit) {
    for (int levels : {100, 101}) {
        std::wstring top = folder_ + L"\\deep" + std::to_wstring(levels);
        std::wstring path = top;
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        // levels - 1 folders below the source, and a file at the deepest level.
        for (int i = 0; i < levels - 1; ++i) {
            path += L"\\d";
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        }
        ASSERT_TRUE(write_bytes(path + L"\\leaf.txt", "x", 1));
        std::wstring archive = out_ + L"\\deep" + std::to_wstring(levels) + L".zip";
        bool made = create(archive, {top}, FORMAT_ZIP, 6);
        if (levels == 100) {
            EXPECT_TRUE(made) << result_.detail;
        } else {
            EXPECT_FALSE(made);
            EXPECT_EQ(RESULT_IO_ERROR, result_.code);
            EXPECT_EQ(path + L"\\leaf.txt", result_.detail);
        }
    }
    expect_output_folder_holds({L"deep100.zip"});
}

TEST_F(Creation, SourcesThatChangeOrAreHeld) {
    ASSERT_TRUE(host_in(folder_, "mkdir src && head -c 400000 /dev/urandom > src/big.bin && printf a > src/a.txt"));
    // A file held open for writing by another handle.
    HANDLE held = CreateFileW((folder_ + L"\\src\\a.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_FALSE(create(out_ + L"\\held.zip", {folder_ + L"\\src"}, FORMAT_ZIP, 6));
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_EQ(folder_ + L"\\src\\a.txt", result_.detail);
    CloseHandle(held);

    // A file that becomes shorter while it is read (cut by a host process, which Windows sharing
    // rules do not stop).
    static std::string big;
    big = unix_path(folder_ + L"\\src\\big.bin");
    result_.on_percent = [](void*, uint64_t done, uint64_t total) {
        if (total == 400000 && done == 65536) run_unix("truncate -s 100000 " + shell_quote(big));
    };
    EXPECT_FALSE(create(out_ + L"\\shrunk.7z", {folder_ + L"\\src\\big.bin"}, FORMAT_7Z, 6));
    EXPECT_EQ(RESULT_IO_ERROR, result_.code);
    EXPECT_EQ(folder_ + L"\\src\\big.bin", result_.detail);

    // A file created at the output path while the archive is written.
    static std::wstring output;
    output = out_ + L"\\raced.zip";
    result_.on_percent = [](void*, uint64_t done, uint64_t) {
        if (done == 0) write_bytes(output, "mine", 4);
    };
    EXPECT_FALSE(create(output, {folder_ + L"\\src\\a.txt"}, FORMAT_ZIP, 6));
    EXPECT_EQ(RESULT_OUTPUT_EXISTS, result_.code);
    EXPECT_EQ(output, result_.detail);
    EXPECT_EQ(4u, read_bytes(output).size()) << "the other file is kept as it was";
    DeleteFileW(output.c_str());
    result_.on_percent = nullptr;
    expect_output_folder_holds({});
}

TEST_F(Creation, CancelAfterTheLastItemLeavesNothing) {
    ASSERT_TRUE(host_in(folder_, kTree));
    static int calls, cancel_at;
    result_.on_items = [](void*, uint32_t) { return ++calls != cancel_at; };
    calls = 0;
    cancel_at = -1;
    ASSERT_TRUE(create(out_ + L"\\counted.zip", {folder_ + L"\\src"}, FORMAT_ZIP, 6));
    int total = calls;
    for (int at : {total, total - 1, 1}) {
        calls = 0;
        cancel_at = at;
        EXPECT_FALSE(create(out_ + L"\\canceled.zip", {folder_ + L"\\src"}, FORMAT_ZIP, 6)) << at;
        EXPECT_EQ(RESULT_CANCELED, result_.code);
    }
    expect_output_folder_holds({L"counted.zip"});
}

TEST_F(Creation, LinkedFoldersAreRefused) {
    // Wine shows a host symbolic link to a folder as a directory reparse point (a link to a file
    // it shows as a plain file, so that case cannot be produced here).
    ASSERT_TRUE(host_in(folder_, "mkdir -p src/real target && printf t > target/t.txt && ln -s ../target src/link"));
    EXPECT_FALSE(create(out_ + L"\\links.zip", {folder_ + L"\\src"}, FORMAT_ZIP, 6));
    EXPECT_EQ(RESULT_LINK_OR_CLOUD_SOURCE, result_.code);
    EXPECT_EQ(folder_ + L"\\src\\link", result_.detail);
    EXPECT_FALSE(create(out_ + L"\\link.zip", {folder_ + L"\\src\\link"}, FORMAT_ZIP, 6));
    EXPECT_EQ(RESULT_LINK_OR_CLOUD_SOURCE, result_.code);
    expect_output_folder_holds({});
}

// Counts the engine's data calls by wrapping the entry in the bound table.
la_ssize (*real_write_data)(struct archive*, const void*, size_t);
std::vector<size_t> data_calls;
la_ssize counting_write_data(struct archive* writer, const void* data, size_t size) {
    data_calls.push_back(size);
    return real_write_data(writer, data, size);
}

TEST_F(Creation, DataGoesToTheEngineInChunksOf64KiB) {
    std::vector<unsigned char> bytes(65537, 'q');
    struct Case {
        size_t size;
        std::vector<size_t> calls;
    };
    const Case cases[] = {{0, {}}, {65536, {65536}}, {65537, {65536, 1}}};
    real_write_data = g_engine.archive_write_data;
    g_engine.archive_write_data = counting_write_data;
    for (const Case& c : cases) {
        std::wstring file = folder_ + L"\\f" + std::to_wstring(c.size);
        ASSERT_TRUE(write_bytes(file, bytes.data(), c.size));
        data_calls.clear();
        EXPECT_TRUE(create(out_ + L"\\f" + std::to_wstring(c.size) + L".zip", {file}, FORMAT_ZIP, 6));
        EXPECT_EQ(c.calls, data_calls) << c.size;
    }
    g_engine.archive_write_data = real_write_data;
}

}  // namespace
