// Extract, test and create started through the runner, with the window's inputs taken from the
// (recording) window, as the program's commands start them.
#include <gtest/gtest.h>

#include <string>

#include "common/memory.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "operations/archive_format.h"
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
        ASSERT_EQ(0, run_unix("cd " + shell_quote(unix_path(folder_)) +
                              " && mkdir -p src/d && printf one > src/d/one.txt && printf two > src/two.txt"));
    }
    void TearDown() override {
        entry_list_free(&g_recorder.entries);
        remove_folder_tree(folder_);
    }
    std::wstring folder_;
};

TEST_F(RunnerBodies, CreateThenListThenExtractSelectedThenTest) {
    std::wstring archive = folder_ + L"\\made.7z";
    g_recorder.sources = {folder_ + L"\\src\\d", folder_ + L"\\src\\two.txt"};
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
    g_recorder.entries = g_slot.pending_listing;
    g_slot.pending_listing = EntryList();
    g_recorder.archive_path = archive;

    // Only the row of two.txt is selected.
    g_slot.selection = (uint8_t*)mem_alloc(g_recorder.entries.count);
    for (uint32_t i = 0; i < g_recorder.entries.count; ++i)
        g_slot.selection[i] = wcscmp(g_recorder.entries.items[i].name, L"two.txt") == 0;
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

}  // namespace
