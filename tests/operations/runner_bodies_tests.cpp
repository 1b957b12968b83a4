// Extract, test and create started through the runner, with every input in the slot, as the
// program's commands start them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "common/memory.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "operations/archive_format.h"
#include "operations/extraction_queue.h"
#include "operations/listing.h"
#include "operations/operation.h"
#include "recording_window.h"
#include "test_support.h"

namespace {

class RunnerBodies : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_bind());
        recorder_reset();
        folder_ = make_scratch_folder(L"bodies");
        ASSERT_TRUE(host_in(folder_, "mkdir -p src/d && printf one > src/d/one.txt && printf two > src/two.txt"));
    }
    void TearDown() override {
        entry_list_free(&entries_);
        remove_folder_tree(folder_);
    }
    // The sources of a new archive, in the slot as the Create archive command puts them.
    void hand_over_sources(const std::vector<std::wstring>& paths) {
        sources_ = paths;
        source_pointers_.clear();
        for (std::wstring& source : sources_) source_pointers_.push_back(&source[0]);
        g_slot.sources = source_pointers_.data();
        g_slot.source_count = (uint32_t)source_pointers_.size();
    }
    std::wstring folder_;
    std::wstring archive_path_;
    EntryList entries_ = {};
    std::vector<std::wstring> sources_;
    std::vector<wchar_t*> source_pointers_;
};

TEST_F(RunnerBodies, CreateThenListThenExtractSelectedThenTest) {
    std::wstring archive = folder_ + L"\\made.7z";
    hand_over_sources({folder_ + L"\\src\\d", folder_ + L"\\src\\two.txt"});
    text_copy(g_slot.target_path, PATH_CAPACITY, archive.c_str());
    g_slot.format = FORMAT_7Z;
    g_slot.compression_level = 9;
    operation_start(OP_CREATE);
    ASSERT_TRUE(pump_until_done());
    ASSERT_EQ(RESULT_OK, g_slot.result.code) << g_slot.result.detail;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(archive.c_str()));

    text_copy(g_slot.target_path, PATH_CAPACITY, archive.c_str());
    operation_start(OP_OPEN_ARCHIVE);
    ASSERT_TRUE(pump_until_done());
    ASSERT_EQ(RESULT_OK, g_slot.result.code);
    ASSERT_EQ(3u, g_slot.pending_listing.count);  // d/, d/one.txt, two.txt
    entries_ = g_slot.pending_listing;
    g_slot.pending_listing = EntryList();
    archive_path_ = archive;
    g_slot.archive_path = archive_path_.c_str();
    g_slot.listing = &entries_;

    // Only the row of two.txt is selected.
    g_slot.selection = (uint8_t*)mem_alloc(entries_.count);
    for (uint32_t i = 0; i < entries_.count; ++i) g_slot.selection[i] = wcscmp(entries_.items[i].name, L"two.txt") == 0;
    std::wstring target = folder_ + L"\\out";
    text_copy(g_slot.target_path, PATH_CAPACITY, target.c_str());
    operation_start(OP_EXTRACT);
    ASSERT_TRUE(pump_until_done());
    EXPECT_EQ(RESULT_OK, g_slot.result.code) << g_slot.result.detail;
    EXPECT_EQ(3u, read_bytes(target + L"\\two.txt").size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((target + L"\\d").c_str()));
    operation_release_inputs();

    operation_start(OP_TEST);
    ASSERT_TRUE(pump_until_done());
    EXPECT_EQ(RESULT_OK, g_slot.result.code) << g_slot.result.detail;
    EXPECT_EQ(4, g_recorder.done_count);
}

TEST_F(RunnerBodies, CreationWritesTheFormatAndLevelOfTheSlot) {
    // 7-Zip names the method of the stored file: LZMA2 only at level 9 of a 7z, and the engine's
    // deflate in a ZIP; a TAR.GZ is recognised by its gzip header.
    struct Case {
        const wchar_t* name;
        uint32_t format;
        int32_t level;
        std::string magic;
        const char* method;
    } cases[] = {
        {L"fast.zip", FORMAT_ZIP, 1, "PK\x03\x04", "Method = Deflate"},
        {L"normal.7z", FORMAT_7Z, 6, "7z\xBC\xAF\x27\x1C", "Method = LZMA:"},
        {L"maximum.7z", FORMAT_7Z, 9, "7z\xBC\xAF\x27\x1C", "Method = LZMA2"},
        {L"normal.tar.gz", FORMAT_TAR_GZ, 6, "\x1F\x8B", nullptr},
    };
    hand_over_sources({folder_ + L"\\src\\d", folder_ + L"\\src\\two.txt"});
    for (const Case& c : cases) {
        std::wstring archive = folder_ + L"\\" + c.name;
        text_copy(g_slot.target_path, PATH_CAPACITY, archive.c_str());
        g_slot.format = c.format;
        g_slot.compression_level = c.level;
        g_recorder.done_count = 0;
        operation_start(OP_CREATE);
        ASSERT_TRUE(pump_until_done()) << c.name;
        ASSERT_EQ(RESULT_OK, g_slot.result.code) << c.name << " " << g_slot.result.detail;
        std::vector<unsigned char> bytes = read_bytes(archive);
        ASSERT_GE(bytes.size(), c.magic.size()) << c.name;
        EXPECT_EQ(c.magic, std::string(bytes.begin(), bytes.begin() + c.magic.size())) << c.name;
        std::string listing;
        EXPECT_EQ(0, run_unix("bsdtar -tf " + shell_quote(unix_path(archive)) + " | sort", &listing)) << c.name;
        EXPECT_EQ("d/\nd/one.txt\ntwo.txt\n", listing) << c.name;
        if (c.method == nullptr) continue;
        std::string details;
        EXPECT_EQ(0, run_unix("7z l -slt " + shell_quote(unix_path(archive)) + " d/one.txt", &details)) << c.name;
        EXPECT_NE(std::string::npos, details.find(c.method)) << c.name << "\n" << details;
    }
}

// The queue's events without the progress in between.
std::vector<std::wstring> queue_events() {
    std::vector<std::wstring> events;
    for (const std::wstring& event : g_recorder.events)
        if (event.rfind(L"items", 0) != 0 && event.rfind(L"percent", 0) != 0 && event.rfind(L"status", 0) != 0)
            events.push_back(event);
    return events;
}

TEST_F(RunnerBodies, TheQueueRunsFromTheSlotEveryArchiveNotExtractedYet) {
    ASSERT_EQ(0,
              run_unix("cd " + shell_quote(unix_path(folder_)) +
                       " && mkdir in other out && cd src && zip -q -r ../in/a.zip d && 7z a -bd ../other/b.7z two.txt "
                       ">/dev/null && bsdtar -czf ../in/c.tar.gz d two.txt"));
    std::wstring paths[4] = {folder_ + L"\\in\\a.zip", folder_ + L"\\other\\b.7z", folder_ + L"\\in\\missing.zip",
                             folder_ + L"\\in\\c.tar.gz"};
    QueueItem items[4] = {{&paths[0][0], QUEUE_EXTRACTED, RESULT_OK},
                          {&paths[1][0], QUEUE_WAITING, RESULT_OK},
                          {&paths[2][0], QUEUE_WAITING, RESULT_OK},
                          {&paths[3][0], QUEUE_FAILED, RESULT_ARCHIVE_ERROR}};
    ExtractionQueue queue = {items, 4, 4};
    std::wstring out = folder_ + L"\\out";
    struct Case {
        const char* label;
        bool beside;
        const wchar_t* output_folder;
        bool cancel;
        std::vector<std::wstring> events;
    } cases[] = {
        {"into the output folder",
         false,
         out.c_str(),
         false,
         {L"busy on", L"started 1", L"finished 1: 0", L"started 2", L"finished 2: 2", L"started 3", L"finished 3: 0",
          L"done"}},
        {"beside each archive",
         true,
         L"",
         false,
         {L"busy on", L"started 1", L"finished 1: 0", L"started 2", L"finished 2: 2", L"started 3", L"finished 3: 0",
          L"done"}},
        {"no folder to put them in",
         false,
         L"",
         false,
         {L"busy on", L"started 1", L"finished 1: 3", L"started 2", L"finished 2: 3", L"started 3", L"finished 3: 3",
          L"done"}},
        {"canceled before the first", false, out.c_str(), true, {L"busy on", L"done"}},
    };
    for (const Case& c : cases) {
        recorder_reset();
        g_recorder.cancel_when_busy = c.cancel;
        g_slot.queue = &queue;
        g_slot.queue_output_folder = c.output_folder;
        g_slot.extract_beside_archives = c.beside;
        operation_start(OP_EXTRACT_QUEUE);
        ASSERT_TRUE(pump_until_done()) << c.label;
        EXPECT_EQ(c.cancel ? RESULT_CANCELED : RESULT_OK, g_slot.result.code)
            << c.label << ": a failed item is no failed run";
        EXPECT_EQ(c.events, queue_events()) << c.label;
    }
    // The worker leaves the items' statuses to the window.
    EXPECT_EQ(QUEUE_WAITING, items[1].status);
    EXPECT_EQ(QUEUE_FAILED, items[3].status);
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"c"}), folder_names(out));
    EXPECT_EQ((std::vector<std::wstring>{L"two.txt"}), folder_tree(out + L"\\b"));
    EXPECT_EQ((std::vector<std::wstring>{L"d/", L"d/one.txt", L"two.txt"}), folder_tree(out + L"\\c"));
    EXPECT_EQ((std::vector<std::wstring>{L"a.zip", L"c", L"c.tar.gz"}), folder_names(folder_ + L"\\in"));
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"b.7z"}), folder_names(folder_ + L"\\other"));
    EXPECT_EQ("two", file_text(folder_ + L"\\other\\b\\two.txt"));
}

}  // namespace
