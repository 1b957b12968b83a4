// The operation runner: start, worker, completion message, progress thinning, cancel and the
// error report, with a recording window in place of the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_fixtures.h"
#include "common/memory.h"
#include "engine/engine_api.h"
#include "operations/operation.h"
#include "recording_window.h"
#include "settings/preferences.h"
#include "test_support.h"

static const wchar_t kEngineMissing[] =
    L"This Windows version lacks a compatible archive engine. Use an up-to-date Windows 11.";
static const wchar_t kArchiveError[] =
    L"Could not process the archive. The file may be damaged or use an unsupported format.";

class Runner : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_bind());
        recorder_reset();
        g_preferences.polish_ui = 0;
        entry_list_free(&g_slot.pending_listing);
        folder = make_scratch_folder(L"runner");
    }
    void TearDown() override {
        entry_list_free(&g_slot.pending_listing);
        g_preferences.polish_ui = 0;
        remove_folder_tree(folder);
    }
    std::wstring folder;
};

static std::vector<WPARAM> counts(std::initializer_list<int> values) {
    std::vector<WPARAM> list;
    for (int value : values) list.push_back((WPARAM)value);
    return list;
}

TEST_F(Runner, ItemCountsArePostedOneToFifteenThenEverySixteenthAtMostOnceInTheInterval) {
    // Each step either happens at once after the previous one, or after moving the time of the last
    // items message back by the interval (as if 50 ms had passed).
    struct Step {
        uint32_t count;
        bool interval_passed;
        bool posted;
    } steps[] = {
        {0, true, false},    // 0 is never posted: nothing was counted yet
        {1, false, true},    // 1 to 15 go at once, however close together
        {2, false, true},    //
        {2, true, false},    // a count already posted is not posted again
        {15, false, true},   //
        {16, false, false},  // past 15 a multiple of 16 waits for the interval since the last message
        {17, true, false},   // and only multiples of 16 are posted
        {32, true, true},    //
        {48, false, false},  //
        {40, true, false},   //
        {64, true, true},    //
        {64, true, false},   // the same count twice is posted once
        {3, true, true},     // a smaller count (a new archive of the queue) goes at once again
    };
    g_slot.last_items_posted = 0;
    g_slot.last_items_time = GetTickCount64();
    for (const Step& step : steps) {
        if (step.interval_passed) g_slot.last_items_time = GetTickCount64() - ITEMS_POST_INTERVAL_MS;
        uint64_t last = g_slot.last_items_time;
        size_t before = g_recorder.items.size();
        EXPECT_TRUE(progress_items_hook(nullptr, step.count)) << step.count;
        pump_pending();
        if (step.posted) {
            ASSERT_EQ(before + 1, g_recorder.items.size()) << step.count;
            EXPECT_EQ((WPARAM)step.count, g_recorder.items.back()) << step.count;
        } else if (step.interval_passed || step.count < 16 || GetTickCount64() - last < ITEMS_POST_INTERVAL_MS) {
            // A step meant to fall inside the interval says nothing when the machine took longer.
            EXPECT_EQ(before, g_recorder.items.size()) << step.count;
        }
    }

    // With the real clock: a multiple of 16 after the interval is posted, the others meanwhile not.
    g_slot.last_items_posted = 0;
    progress_items_hook(nullptr, 15);
    uint64_t posted_at = GetTickCount64();
    while (GetTickCount64() - posted_at <= ITEMS_POST_INTERVAL_MS) Sleep(5);
    progress_items_hook(nullptr, 31);
    progress_items_hook(nullptr, 32);
    pump_for(50);
    std::vector<WPARAM> expected = {15, 32};
    EXPECT_EQ(expected, std::vector<WPARAM>(g_recorder.items.end() - 2, g_recorder.items.end()));
}

TEST_F(Runner, PercentagesAreThinnedToOneEveryFiftyMilliseconds) {
    // Each step either happens at once after the previous one, or after moving the time of the
    // last post back by the interval (as if 50 ms had passed).
    struct Step {
        uint64_t done, total;
        bool interval_passed;
        int posted;  // -2: nothing posted
    } steps[] = {
        {0, 0, false, -1},                       // the very first value goes at once: unknown total
        {0, 0, true, -2},                        // the same value twice is posted once
        {1, 3, false, 33},                       // a change away from -1 goes at once
        {2, 3, false, -2},                       // inside the interval: dropped
        {3, 3, false, -2},                       // a final 100 inside the interval is dropped too
        {5, 3, true, 100},                       // done beyond the total
        {5, 3, true, -2},                        // unchanged
        {1, 2, true, 50},                        //
        {0, 0, false, -2},                       // a change to -1 waits for the interval like any other
        {0, 0, true, -1},                        //
        {1, 4, false, 25},                       // and away from it again at once
        {UINT64_MAX / 3, UINT64_MAX, true, 33},  // full 64-bit sizes
    };
    g_slot.last_percent_posted = -2;
    g_slot.last_percent_time = GetTickCount64();  // so that the first post is not due to the time
    for (const Step& step : steps) {
        if (step.interval_passed) g_slot.last_percent_time = GetTickCount64() - PERCENT_POST_INTERVAL_MS;
        size_t before = g_recorder.percents.size();
        progress_percent_hook(nullptr, step.done, step.total);
        pump_pending();
        std::string label = std::to_string(step.done) + "/" + std::to_string(step.total);
        if (step.posted == -2) {
            EXPECT_EQ(before, g_recorder.percents.size()) << label;
        } else {
            ASSERT_EQ(before + 1, g_recorder.percents.size()) << label;
            EXPECT_EQ(step.posted, g_recorder.percents.back()) << label;
            EXPECT_EQ(step.posted, g_slot.last_percent_posted) << label;
        }
    }

    // With the real clock: a new value waits until 50 ms have passed since the last post.
    g_slot.last_percent_posted = -2;
    progress_percent_hook(nullptr, 10, 100);
    progress_percent_hook(nullptr, 20, 100);
    Sleep(120);
    progress_percent_hook(nullptr, 30, 100);
    pump_for(50);
    std::vector<int> expected = {10, 30};
    EXPECT_EQ(expected, std::vector<int>(g_recorder.percents.end() - 2, g_recorder.percents.end()));
}

TEST_F(Runner, TheContinueCheckPollsTheFlagThenTheHook) {
    struct Hook {
        static bool stop_at_three(void*, uint32_t count) { return count < 3; }
    };
    volatile LONG flag = 0;
    OperationResult result = {};
    result.cancel_flag = &flag;
    result.on_items = Hook::stop_at_three;
    EXPECT_TRUE(operation_should_continue(&result, 2));
    EXPECT_EQ(RESULT_OK, result.code);
    EXPECT_FALSE(operation_should_continue(&result, 3));
    EXPECT_EQ(RESULT_CANCELED, result.code);

    result.code = RESULT_OK;
    flag = 1;
    EXPECT_FALSE(operation_should_continue(&result, 0));
    EXPECT_EQ(RESULT_CANCELED, result.code);

    // A body may run without flag and hooks.
    OperationResult bare = {};
    EXPECT_TRUE(operation_should_continue(&bare, 12345));
}

static OperationKind g_kind_to_start;

// Starts the operation from inside a message handler, as a command would, and keeps that handler
// busy until the worker has surely finished.
static void CALLBACK start_from_handler(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(g_recorder.window, id);
    operation_start(g_kind_to_start);
    Sleep(300);
    g_recorder.events.push_back(L"start returned");
}

TEST_F(Runner, AnOperationEndingBeforeItsStartIsHandledGivesOneCompletion) {
    struct Case {
        const char* label;
        OperationKind kind;
        bool polish;
        const wchar_t* working;
    } cases[] = {
        {"a kind without a body", (OperationKind)999, false, L"Working…"},
        {"a listing that fails at once", OP_OPEN_ARCHIVE, true, L"Operacja w toku…"},
    };
    for (const Case& c : cases) {
        recorder_reset();
        g_preferences.polish_ui = c.polish ? 1 : 0;
        wcscpy(g_slot.target_path, (folder + L"\\missing.zip").c_str());
        g_kind_to_start = c.kind;
        SetTimer(g_recorder.window, 1, 0, start_from_handler);
        ASSERT_TRUE(pump_until_done(10000, 300)) << c.label;
        std::vector<std::wstring> expected = {L"busy on", std::wstring(L"status: ") + c.working, L"start returned",
                                              L"done"};
        EXPECT_EQ(expected, g_recorder.events) << c.label;
        EXPECT_EQ(1, g_recorder.done_count) << c.label;
        EXPECT_EQ(c.kind, g_slot.kind) << c.label;
        EXPECT_NE(RESULT_OK, g_slot.result.code) << c.label << ": nothing done is no success";
    }
}

TEST_F(Runner, WithoutTheEngineNothingStartsAndTheInputsAreCleared) {
    g_recorder.engine = false;
    g_slot.kind = OP_TEST;
    wcscpy(g_slot.password, L"secret");
    g_slot.password[PASSWORD_CAPACITY - 1] = L'x';
    g_slot.selection = (uint8_t*)mem_alloc(3);
    BoxWatcher watcher;
    operation_start(OP_OPEN_ARCHIVE);
    std::vector<SeenBox> boxes = watcher.boxes();
    pump_for(300);

    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kEngineMissing, boxes[0].text);
    EXPECT_EQ(L"Lumarek", boxes[0].caption);
    EXPECT_EQ(g_recorder.window, boxes[0].owner);
    std::vector<std::wstring> expected = {std::wstring(L"status: ") + kEngineMissing};
    EXPECT_EQ(expected, g_recorder.events) << "no busy state, no completion";
    EXPECT_EQ(OP_TEST, g_slot.kind);
    EXPECT_EQ(RESULT_ENGINE_MISSING, g_slot.result.code);
    EXPECT_EQ(nullptr, g_slot.selection);
    for (uint32_t i = 0; i < PASSWORD_CAPACITY; ++i) ASSERT_EQ(0, g_slot.password[i]) << i;
}

TEST_F(Runner, AListingReportsItsProgressAndCompletesOnce) {
    std::wstring archive = folder + L"\\forty.tar";
    ASSERT_TRUE(make_tar_of_small_files(archive, 40));
    wcscpy(g_slot.target_path, archive.c_str());
    BoxWatcher watcher;
    operation_start(OP_OPEN_ARCHIVE);
    ASSERT_TRUE(pump_until_done());
    EXPECT_TRUE(watcher.boxes().empty());

    EXPECT_EQ(RESULT_OK, g_slot.result.code);
    ASSERT_EQ(40u, g_slot.pending_listing.count);
    EXPECT_STREQ(L"39.txt", g_slot.pending_listing.items[39].name);
    // 1 to 15, then at most the multiples of 16 that fell 50 ms apart.
    ASSERT_GE(g_recorder.items.size(), 15u);
    EXPECT_EQ(counts({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}),
              std::vector<WPARAM>(g_recorder.items.begin(), g_recorder.items.begin() + 15));
    for (size_t i = 15; i < g_recorder.items.size(); ++i) {
        EXPECT_EQ(0u, g_recorder.items[i] % 16) << g_recorder.items[i];
        EXPECT_GT(g_recorder.items[i], g_recorder.items[i - 1]);
    }
    EXPECT_EQ(1, g_recorder.done_count);
    EXPECT_EQ(L"busy on", g_recorder.events.front());
    EXPECT_EQ(L"done", g_recorder.events.back());
}

TEST_F(Runner, CancelingRightAfterTheStartStopsAtTheFirstCheck) {
    std::wstring archive = folder + L"\\forty.tar";
    ASSERT_TRUE(make_tar_of_small_files(archive, 40));
    wcscpy(g_slot.target_path, archive.c_str());
    g_recorder.cancel_when_busy = true;
    BoxWatcher watcher;
    operation_start(OP_OPEN_ARCHIVE);
    ASSERT_TRUE(pump_until_done());
    EXPECT_TRUE(watcher.boxes().empty()) << "a cancel shows no message box";
    EXPECT_EQ(RESULT_CANCELED, g_slot.result.code);
    EXPECT_STREQ(L"", g_slot.result.detail);
    EXPECT_TRUE(g_recorder.items.empty()) << "not one entry was read";
    EXPECT_EQ(nullptr, g_slot.pending_listing.items);
    EXPECT_EQ(0u, g_slot.pending_listing.count);
    EXPECT_EQ(1, g_recorder.done_count);
}

TEST_F(Runner, CancelingDuringALongListingKeepsNothing) {
    std::wstring archive = folder + L"\\long.tar";
    ASSERT_TRUE(make_tar_of_small_files(archive, 100000));
    wcscpy(g_slot.target_path, archive.c_str());
    g_recorder.cancel_at_items = 16;
    operation_start(OP_OPEN_ARCHIVE);
    ASSERT_TRUE(pump_until_done());
    EXPECT_EQ(RESULT_CANCELED, g_slot.result.code);
    ASSERT_FALSE(g_recorder.items.empty());
    EXPECT_LT(g_recorder.items.back(), 100000u) << "the listing stopped before its end";
    EXPECT_EQ(nullptr, g_slot.pending_listing.items);
    EXPECT_EQ(0u, g_slot.pending_listing.count);
    EXPECT_EQ(0u, g_slot.pending_listing.capacity);
}

TEST_F(Runner, ErrorsShowTheMessageABlankLineAndTheDetail) {
    std::wstring longest_detail(DETAIL_CAPACITY - 1, L'd');
    struct Case {
        int32_t code;
        const wchar_t* detail;
        bool polish;
        std::wstring message;
    } cases[] = {
        {RESULT_ARCHIVE_ERROR, L"Damaged tar archive", false, kArchiveError},
        {RESULT_PASSWORD_REQUIRED, L"", false, L"The archive requires the correct password."},
        {RESULT_UNSAFE_PATH, L"..", true, L"Archiwum zawiera niedozwoloną nazwę lub dowiązanie."},
        {RESULT_UNSUPPORTED_ENCRYPTION, longest_detail.c_str(), false,
         L"The archive engine does not support this archive\u2019s encryption."},
        {RESULT_FILES_CHANGED, L"", true, L"Pliki zmieniły się od podglądu. Pokaż listę ponownie."},
        {RESULT_CANCELED, L"", false, kArchiveError},
        {RESULT_OK, L"", false, kArchiveError},
        {14, L"", false, kArchiveError},
        {-1, L"", true,
         L"Nie udało się przetworzyć archiwum. Plik może być uszkodzony lub mieć nieobsługiwany format."},
    };
    for (const Case& c : cases) {
        recorder_reset();
        g_preferences.polish_ui = c.polish ? 1 : 0;
        ZeroMemory(&g_slot.result, sizeof(g_slot.result));
        g_slot.result.code = c.code;
        wcscpy(g_slot.result.detail, c.detail);
        BoxWatcher watcher;
        report_error();
        std::vector<SeenBox> boxes = watcher.boxes();
        ASSERT_EQ(1u, boxes.size()) << c.code;
        std::wstring expected = c.message;
        if (c.detail[0] != 0) expected += std::wstring(L"\n\n") + c.detail;
        EXPECT_EQ(expected, boxes[0].text) << c.code;
        EXPECT_EQ(L"Lumarek", boxes[0].caption) << c.code;
        EXPECT_EQ(g_recorder.window, boxes[0].owner) << c.code;
        std::vector<std::wstring> status = {L"status: " + c.message};
        EXPECT_EQ(status, g_recorder.events) << c.code;
    }
}
