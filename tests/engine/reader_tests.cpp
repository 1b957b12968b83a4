// Opening readers with passwords, and engine failures turned into result codes with the engine's
// own text as the detail.
#include <gtest/gtest.h>

#include <string>

#include "archive_fixtures.h"
#include "engine/engine_errors.h"
#include "engine/reader.h"
#include "test_support.h"

class Reader : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_bind());
        folder = make_scratch_folder(L"reader");
    }
    void TearDown() override { remove_folder_tree(folder); }
    std::wstring folder;
};

static OperationResult fresh_result() {
    OperationResult result = {};
    result.code = RESULT_OK;
    return result;
}

// Opens the archive and reads the data of its first entry: the engine's status of that read, or
// the failure of the opening (no reader).
struct FirstRead {
    bool opened;
    la_ssize status;
    std::string data;
    OperationResult result;
};

static FirstRead read_first_entry(const std::wstring& archive, const std::wstring& password) {
    FirstRead read = {false, 0, "", fresh_result()};
    struct archive* reader = open_reader(archive.c_str(), password.c_str(), &read.result);
    if (reader == nullptr) return read;
    read.opened = true;
    struct archive_entry* entry = nullptr;
    EXPECT_EQ(ARCHIVE_OK, g_engine.archive_read_next_header(reader, &entry));
    char buffer[256];
    while ((read.status = g_engine.archive_read_data(reader, buffer, sizeof(buffer))) > 0)
        read.data.append(buffer, (size_t)read.status);
    if (read.status < 0) record_engine_error(&read.result, reader);
    g_engine.archive_read_free(reader);
    return read;
}

static std::string utf8_of(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

TEST_F(Reader, PasswordsReachTheEngineWholeAsUtf8) {
    // 511 euro signs: 1533 UTF-8 bytes, the longest password the slot can hold.
    std::wstring longest(511, L'\u20AC');
    struct Case {
        const char* label;
        std::wstring written;  // the password the archive was made with
        std::wstring given;
        bool data_read;
    } cases[] = {
        {"longest password", longest, longest, true},
        {"longest password less one", longest, std::wstring(510, L'\u20AC'), false},
        {"Polish password", L"zażółć gęślą", L"zażółć gęślą", true},
        {"wrong password", L"secret", L"Secret", false},
    };
    for (const Case& c : cases) {
        std::wstring archive = folder + L"\\aes.zip";
        DeleteFileW(archive.c_str());
        ASSERT_TRUE(write_zip_with_engine(archive, {{L"note.txt", "hidden words", false}}, utf8_of(c.written)))
            << c.label;
        FirstRead read = read_first_entry(archive, c.given);
        ASSERT_TRUE(read.opened) << c.label;
        if (c.data_read) {
            EXPECT_EQ(0, read.status) << c.label;
            EXPECT_EQ("hidden words", read.data) << c.label;
        } else {
            EXPECT_LT(read.status, 0) << c.label;
            EXPECT_EQ(RESULT_PASSWORD_REQUIRED, read.result.code) << c.label;
            EXPECT_STREQ(L"Incorrect passphrase", read.result.detail) << c.label;
        }
    }
}

TEST_F(Reader, PasswordsThatCannotBeHandedOver) {
    std::wstring archive = folder + L"\\aes.zip";
    ASSERT_TRUE(write_zip_with_engine(archive, {{L"note.txt", "hidden words", false}}, "secret"));

    // More than 2048 UTF-8 bytes: refused before the engine sees it, with no detail.
    OperationResult result = fresh_result();
    EXPECT_EQ(nullptr, open_reader(archive.c_str(), std::wstring(683, L'\u20AC').c_str(), &result));
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, result.code);
    EXPECT_STREQ(L"", result.detail);

    // An unpaired surrogate does not stop the conversion; the engine then judges the password.
    FirstRead read = read_first_entry(archive,
                                      L"se\xD800"
                                      L"cret");
    EXPECT_TRUE(read.opened);
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, read.result.code);
    EXPECT_STREQ(L"Incorrect passphrase", read.result.detail);

    // No password at all: the entry is read without one and the engine asks for it.
    read = read_first_entry(archive, L"");
    EXPECT_TRUE(read.opened);
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, read.result.code);
    EXPECT_STREQ(L"Passphrase required for this entry", read.result.detail);
}

TEST_F(Reader, ReadersAreOpenedForEveryFormatAndFilter) {
    std::wstring source = folder + L"\\hello.txt";
    ASSERT_TRUE(write_bytes(source, "hello\n", 6));
    const char* commands[] = {
        "cd \"$(dirname {})\" && bsdtar -czf {} hello.txt",
        "cd \"$(dirname {})\" && bsdtar -cjf {} hello.txt",
        "cd \"$(dirname {})\" && bsdtar -cJf {} hello.txt",
        "cd \"$(dirname {})\" && 7z a -bd -y {} hello.txt >/dev/null",
        "cd \"$(dirname {})\" && zip -q {} hello.txt",
    };
    // The program never picks a format by the name: every archive here is called ".dat".
    for (const char* command : commands) {
        std::wstring archive = folder + L"\\archive.dat";
        DeleteFileW(archive.c_str());
        ASSERT_TRUE(host(command, {source, archive})) << command;
        FirstRead read = read_first_entry(archive, L"");
        ASSERT_TRUE(read.opened) << command;
        EXPECT_EQ("hello\n", read.data) << command;
    }
}

TEST_F(Reader, FilesThatCannotBeOpenedGiveTheEngineText) {
    std::wstring text_file = folder + L"\\notes.zip";
    ASSERT_TRUE(write_bytes(text_file, "This is a plain text file, not an archive.\n", 43));
    struct Case {
        const char* label;
        std::wstring path;
    } cases[] = {{"no archive", text_file}, {"missing file", folder + L"\\missing.zip"}};
    for (const Case& c : cases) {
        OperationResult result = fresh_result();
        EXPECT_EQ(nullptr, open_reader(c.path.c_str(), L"", &result)) << c.label;
        EXPECT_EQ(RESULT_ARCHIVE_ERROR, result.code) << c.label;
        EXPECT_EQ(from_system_code_page(engine_listing_failure(c.path)), std::wstring(result.detail)) << c.label;
        EXPECT_NE(L'\0', result.detail[0]) << c.label;
    }
    OperationResult result = fresh_result();
    open_reader(text_file.c_str(), L"", &result);
    EXPECT_STREQ(L"Unrecognized archive format", result.detail);
}

TEST_F(Reader, EngineTextsOfEncryptedArchives) {
    // Real texts, from archives made by 7z: AES content in a 7z archive is read by no engine call.
    std::wstring source = folder + L"\\hello.txt";
    ASSERT_TRUE(write_bytes(source, "hello\n", 6));
    std::wstring archive = folder + L"\\content.7z";
    ASSERT_TRUE(host("cd \"$(dirname {})\" && 7z a -bd -y -psecret {} hello.txt >/dev/null", {source, archive}));
    FirstRead read = read_first_entry(archive, L"secret");
    ASSERT_TRUE(read.opened);
    EXPECT_EQ(RESULT_UNSUPPORTED_ENCRYPTION, read.result.code);
    EXPECT_STREQ(L"The file content is encrypted, but currently not supported", read.result.detail);

    std::wstring zip = folder + L"\\zipcrypto.zip";
    ASSERT_TRUE(host("cd \"$(dirname {})\" && zip -q -P secret {} hello.txt", {source, zip}));
    read = read_first_entry(zip, L"");
    EXPECT_EQ(RESULT_PASSWORD_REQUIRED, read.result.code);
    EXPECT_STREQ(L"Passphrase required for this entry", read.result.detail);
    read = read_first_entry(zip, L"secret");
    EXPECT_EQ("hello\n", read.data);
}

TEST(EngineErrors, TextsAreClassifiedByTheirWords) {
    ASSERT_TRUE(engine_bind());
    // The engine's own setter puts a crafted text on a real reader.
    typedef void (*SetError)(struct archive*, int, const char*, ...);
    SetError set_error = (SetError)(void*)GetProcAddress(GetModuleHandleW(L"archiveint.dll"), "archive_set_error");
    ASSERT_NE(nullptr, set_error);
    struct Case {
        const char* text;
        int32_t code;
    } cases[] = {
        {"The file content is encrypted, but currently not supported", RESULT_UNSUPPORTED_ENCRYPTION},
        {"The archive header is encrypted, but currently not supported", RESULT_UNSUPPORTED_ENCRYPTION},
        {"Encryption method not supported", RESULT_UNSUPPORTED_ENCRYPTION},
        {"Password protection is not supported", RESULT_UNSUPPORTED_ENCRYPTION},
        {"Incorrect passphrase", RESULT_PASSWORD_REQUIRED},
        {"Passphrase required for this entry", RESULT_PASSWORD_REQUIRED},
        {"Wrong password", RESULT_PASSWORD_REQUIRED},
        {"passphrase is not supported", RESULT_PASSWORD_REQUIRED},  // neither "ncrypt" nor "assword"
        {"Feature not supported", RESULT_ARCHIVE_ERROR},
        {"ENCRYPTED data not supported", RESULT_ARCHIVE_ERROR},  // the search is case-sensitive
        {"PASSPHRASE wanted", RESULT_ARCHIVE_ERROR},
        {"Damaged tar archive", RESULT_ARCHIVE_ERROR},
        // A failed write of the engine's output (a full disk) or of its temporary file.
        {"Write error", RESULT_IO_ERROR},
        {"fwrite function failed", RESULT_IO_ERROR},
        {"Couldn't create temporary file", RESULT_IO_ERROR},
        {"Can't read temporary file(-1)", RESULT_IO_ERROR},
        {"write error", RESULT_ARCHIVE_ERROR},
    };
    for (const Case& c : cases) {
        struct archive* reader = g_engine.archive_read_new();
        set_error(reader, -1, "%s", c.text);
        ASSERT_STREQ(c.text, g_engine.archive_error_string(reader));
        OperationResult result = fresh_result();
        wcscpy(result.detail, L"earlier detail");
        EXPECT_FALSE(record_engine_error(&result, reader)) << c.text;
        EXPECT_EQ(c.code, result.code) << c.text;
        EXPECT_EQ(from_system_code_page(c.text), std::wstring(result.detail)) << c.text;
        g_engine.archive_read_free(reader);
    }

    // No text at all (the engine gives none rather than an empty one): an archive error, and the
    // detail stays as it was.
    struct archive* reader = g_engine.archive_read_new();
    ASSERT_EQ(nullptr, g_engine.archive_error_string(reader));
    OperationResult result = fresh_result();
    wcscpy(result.detail, L"earlier detail");
    EXPECT_FALSE(record_engine_error(&result, reader));
    EXPECT_EQ(RESULT_ARCHIVE_ERROR, result.code);
    EXPECT_STREQ(L"earlier detail", result.detail);

    // A text longer than the detail keeps its first 383 characters.
    std::string longest(DETAIL_CAPACITY - 1, 'x');
    std::string longer = longest + "tail beyond the detail";
    for (const std::string& text : {longest, longer}) {
        set_error(reader, -1, "%s", text.c_str());
        result = fresh_result();
        record_engine_error(&result, reader);
        EXPECT_EQ(RESULT_ARCHIVE_ERROR, result.code);
        EXPECT_EQ(std::wstring(DETAIL_CAPACITY - 1, L'x'), std::wstring(result.detail)) << text.size();
    }
    g_engine.archive_read_free(reader);
}
