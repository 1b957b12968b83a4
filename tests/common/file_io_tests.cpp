#include <gtest/gtest.h>

#include <string>

#include "common/file_io.h"
#include "common/text.h"
#include "test_support.h"

static std::wstring temporary_name_of(const std::wstring& target) {
    return target + L"." + std::to_wstring(GetCurrentProcessId());
}

class AtomicReplace : public testing::Test {
protected:
    void SetUp() override {
        folder_ = make_scratch_folder(L"replace");
        ASSERT_FALSE(folder_.empty());
        target_ = folder_ + L"\\Dane.dat";
    }
    void TearDown() override { remove_folder_tree(folder_); }
    std::wstring folder_;
    std::wstring target_;
};

TEST_F(AtomicReplace, WritesEveryBlockInOrderAndReplacesTheTarget) {
    ASSERT_TRUE(write_bytes(target_, "old contents", 12));
    const char first[] = "LMP1";
    const unsigned char second[3] = {0, 1, 2};
    ByteBlock blocks[] = {{first, 4}, {second, 3}, {"", 0}};
    for (bool flush : {true, false}) {
        ASSERT_TRUE(replace_file_atomically(target_.c_str(), blocks, 3, flush));
        std::vector<unsigned char> bytes = read_bytes(target_);
        ASSERT_EQ(7u, bytes.size());
        EXPECT_EQ(0, memcmp(bytes.data(), "LMP1\0\1\2", 7));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(temporary_name_of(target_).c_str()))
            << "no temporary file is left";
    }
}

TEST_F(AtomicReplace, CreatesAMissingTarget) {
    ByteBlock block = {"abc", 3};
    ASSERT_TRUE(replace_file_atomically(target_.c_str(), &block, 1, false));
    EXPECT_EQ(3u, read_bytes(target_).size());
}

TEST_F(AtomicReplace, LeftoverTemporaryFileFailsWithoutTouchingAnything) {
    ASSERT_TRUE(write_bytes(target_, "target", 6));
    std::wstring leftover = temporary_name_of(target_);
    ASSERT_TRUE(write_bytes(leftover, "leftover", 8));
    ByteBlock block = {"new", 3};
    EXPECT_FALSE(replace_file_atomically(target_.c_str(), &block, 1, true));
    std::vector<unsigned char> target_bytes = read_bytes(target_);
    std::vector<unsigned char> leftover_bytes = read_bytes(leftover);
    EXPECT_EQ(std::string("target"), std::string(target_bytes.begin(), target_bytes.end()));
    EXPECT_EQ(std::string("leftover"), std::string(leftover_bytes.begin(), leftover_bytes.end()));
}

TEST_F(AtomicReplace, TargetThatCannotBeReplacedKeepsItsContentsAndLosesTheTemporaryFile) {
    // A folder of the target's name cannot be replaced by a file.
    ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));
    ByteBlock block = {"new", 3};
    EXPECT_FALSE(replace_file_atomically(target_.c_str(), &block, 1, false));
    EXPECT_TRUE(GetFileAttributesW(target_.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(temporary_name_of(target_).c_str()));
}

TEST_F(AtomicReplace, TargetPathTooLongForTheTemporaryName) {
    std::wstring too_long = folder_ + L"\\" + std::wstring(4090 - folder_.size(), L'a');
    ASSERT_LT(too_long.size(), 4096u);
    ByteBlock block = {"x", 1};
    EXPECT_FALSE(replace_file_atomically(too_long.c_str(), &block, 1, false));
}

TEST(WriteAll, ReportsOnlyCompleteWrites) {
    std::wstring folder = make_scratch_folder(L"write");
    std::wstring path = folder + L"\\out.bin";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    static unsigned char data[70000];
    for (size_t i = 0; i < sizeof(data); ++i) data[i] = (unsigned char)i;
    EXPECT_TRUE(write_all(file, data, sizeof(data)));
    EXPECT_TRUE(write_all(file, data, 0));
    CloseHandle(file);
    EXPECT_EQ(sizeof(data), read_bytes(path).size());

    // A handle opened for reading only cannot be written.
    file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_FALSE(write_all(file, data, 10));
    CloseHandle(file);
    remove_folder_tree(folder);
}
