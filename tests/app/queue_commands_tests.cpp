// The Extract queue view in the real window with real archives: Add archives…, Remove selected,
// Extract queue… with its folder choice, its rows and its summary, a second run, a cancel, Open
// preview and Open output folder, and what stays ignored while the queue runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_dialogs.h"
#include "app/queue_view.h"
#include "app/status_line.h"
#include "app/texts.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "queue_fixture.h"
#include "settings/preferences.h"
#include "shell_recorder.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class Queue : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        in_ = folder_ + L"\\in";
        out_ = folder_ + L"\\out";
        ASSERT_TRUE(CreateDirectoryW(in_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(out_.c_str(), nullptr));
        record_shell_calls();
    }
    // The archive in the input folder, made by the host tool its name calls for.
    std::wstring archive(const std::wstring& name) {
        std::wstring path = in_ + L"\\" + name;
        EXPECT_TRUE(make_small_archive(path)) << name.c_str();
        return path;
    }
    // The queue view with the archives added, as an addition by drop leaves it.
    void queue(const std::vector<std::wstring>& paths) {
        press(main_, 132);
        for (const std::wstring& path : paths) ASSERT_TRUE(queue_add(path.c_str()));
        queue_after_adding(true);
    }
    // Extract queue… with the steps answering whatever comes up; waits until the run is over.
    std::vector<SeenWindow> run(std::vector<PlayerStep> steps) {
        UserPlayer user(std::move(steps));
        press(main_, 135);
        EXPECT_TRUE(wait_until_idle(120000));
        return user.seen();
    }
    // The default folder, used without a question.
    void extract_into_out_silently() {
        wcscpy(g_preferences.default_extract_folder, out_.c_str());
        g_preferences.use_default_folder_silently = 1;
    }
    std::vector<std::wstring> statuses() { return queue_column(main_, 1); }
    std::vector<std::wstring> paths() { return queue_column(main_, 0); }
    std::wstring in_, out_;
};

}  // namespace

TEST_F(Queue, AddArchivesQueuesTheChosenFilesOnce) {
    std::wstring a = archive(L"a.zip");
    std::wstring b = archive(L"b.7z");
    std::wstring c = archive(L"c.tar.gz");
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        press(main_, 132);
        std::vector<std::wstring> filters;
        {
            UserPlayer user({[&](HWND dialog) {
                filters = dialog_filter_names(dialog);
                choose_files(in_, {L"a.zip", L"b.7z"})(dialog);
            }});
            press(main_, 133);
            std::vector<SeenWindow> seen = user.seen();
            ASSERT_EQ(1u, seen.size());
            EXPECT_EQ(main_, seen[0].owner);
        }
        EXPECT_EQ(polish ? (std::vector<std::wstring>{L"Pliki spakowane", L"Wszystkie pliki"})
                         : (std::vector<std::wstring>{L"Archives", L"All files"}),
                  filters);
        EXPECT_EQ((std::vector<std::wstring>{a, b}), paths());
        EXPECT_EQ(polish ? (std::vector<std::wstring>{L"Czeka", L"Czeka"})
                         : (std::vector<std::wstring>{L"Waiting", L"Waiting"}),
                  statuses());
        EXPECT_EQ(polish ? L"Rozpakowano: 0   Błędy: 0   Czeka: 2" : L"Extracted: 0   Errors: 0   Waiting: 2",
                  status());

        // The same archives in another letter case are already queued; one file alone is a full path.
        {
            UserPlayer user({choose_files(in_, {L"A.ZIP", L"B.7z"}), choose_file(c)});
            press(main_, 133);
            press(main_, 133);
            EXPECT_EQ(2u, user.seen().size());
        }
        EXPECT_EQ((std::vector<std::wstring>{a, b, c}), paths());

        // Cancel: nothing changes.
        set_status(L"before");
        {
            UserPlayer user({press_button(IDCANCEL)});
            press(main_, 133);
            EXPECT_EQ(1u, user.seen().size());
        }
        EXPECT_EQ(3u, g_queue.count);
        EXPECT_EQ(L"before", status());
        queue_free();
    }
}

TEST_F(Queue, ALongSelectionIsQueuedWhole) {
    // More names than 32,768 units hold: the dialog's answer still fits, and every archive is queued.
    std::vector<std::wstring> names = files_with_long_names(in_, L".zip");
    const int count = (int)names.size();
    ASSERT_NE(nullptr, open_window());
    press(main_, 132);
    {
        UserPlayer user({choose_files(in_, names)});
        press(main_, 133);
        EXPECT_EQ(1u, user.seen(180000).size());
    }
    ASSERT_EQ((uint32_t)count, g_queue.count);
    EXPECT_EQ(in_ + L"\\" + names.back(), std::wstring(g_queue.items[count - 1].path));
    EXPECT_EQ(count, (int)paths().size());
    EXPECT_EQ(L"Extracted: 0   Errors: 0   Waiting: " + std::to_wstring(count), status());

    // A selection longer than the buffer is told apart from Cancel, and nothing is written past it.
    // (Wine's dialog checks the room for one file only, so one file shows it here.)
    const uint32_t capacity = 16;
    std::vector<wchar_t> buffer(4096, L'#');
    FilesChoice choice = FILES_CHOSEN;
    {
        UserPlayer user({choose_file(in_ + L"\\" + names[0])});
        choice = choose_files_to_open(buffer.data(), capacity, archive_filter(), true);
        EXPECT_EQ(1u, user.seen().size());
    }
    EXPECT_EQ(FILES_TOO_MANY, choice);
    EXPECT_EQ(std::wstring(buffer.size() - capacity, L'#'), std::wstring(buffer.begin() + capacity, buffer.end()));
}

TEST_F(Queue, EachArchiveIntoANewFolderOfItsOwnAndTheRunGoesOnAfterFailures) {
    // Output folder names against what is already in the parent folder.
    ASSERT_TRUE(CreateDirectoryW((out_ + L"\\Photos").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((out_ + L"\\Photos (2)").c_str(), nullptr));
    std::wstring locked = in_ + L"\\locked.zip";
    ASSERT_TRUE(write_zip_with_engine(locked, {{L"secret.txt", "hidden", false}}, "secret"));
    std::wstring damaged = in_ + L"\\damaged.zip";
    ASSERT_TRUE(make_damaged_zip(damaged));
    ASSERT_NE(nullptr, open_window());
    queue({archive(L"Photos.tar.gz"), archive(L"backup.7z.001"), locked, archive(L".tar.gz"), damaged,
           archive(L"Zdjęcia 2024.zip")});

    std::vector<SeenWindow> seen = run({choose_folder(out_)});
    ASSERT_EQ(1u, seen.size()) << "the folder browser, since there is no default folder";
    EXPECT_TRUE(shows_static(seen[0], kExtractParentTitle));
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Extracted", L"Password required", L"Extracted",
                                         L"Archive error", L"Extracted"}),
              statuses());
    EXPECT_EQ(L"Extracted: 4   Errors: 2   Waiting: 0", status());
    EXPECT_EQ(std::wstring(out_), std::wstring(g_queue_output_folder));
    EXPECT_TRUE(shell_calls().empty()) << "the folder is opened only when the preference says so";
    // Photos.tar.gz loses ".tar.gz" and finds Photos and Photos (2) taken; backup.7z.001 loses
    // ".001"; ".tar.gz" keeps ".tar", which starts its name. Nothing of the failed ones is left.
    EXPECT_EQ(
        (std::vector<std::wstring>{L".tar", L"Photos", L"Photos (2)", L"Photos (3)", L"Zdjęcia 2024", L"backup.7z"}),
        folder_names(out_));
    const struct {
        const wchar_t* folder;
        const char* archive;
    } made[] = {{L"Photos (3)", "Photos.tar.gz"},
                {L"backup.7z", "backup.7z.001"},
                {L".tar", ".tar.gz"},
                {L"Zdjęcia 2024", "Zdjęcia 2024.zip"}};
    for (const auto& m : made) {
        EXPECT_EQ(small_archive_tree(), folder_tree(out_ + L"\\" + m.folder)) << m.archive;
        EXPECT_EQ(m.archive, file_text(out_ + L"\\" + m.folder + L"\\inside.txt"));
    }
    EXPECT_TRUE(folder_tree(out_ + L"\\Photos").empty());

    // The statuses follow the language when the texts are applied again.
    g_preferences.polish_ui = 1;
    apply_interface_texts();
    EXPECT_EQ((std::vector<std::wstring>{L"Rozpakowano", L"Rozpakowano", L"Wymaga hasła", L"Rozpakowano",
                                         L"Błąd archiwum", L"Rozpakowano"}),
              statuses());
    g_preferences.polish_ui = 0;
    apply_interface_texts();

    // A second run extracts only the failed ones: the repaired archive now, the locked one again not.
    DeleteFileW(damaged.c_str());
    ASSERT_TRUE(make_small_archive(damaged));
    g_preferences.open_folder_after_extract = 1;
    seen = run({choose_folder(out_)});
    EXPECT_EQ(1u, seen.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Extracted", L"Password required", L"Extracted", L"Extracted",
                                         L"Extracted"}),
              statuses());
    EXPECT_EQ(L"Extracted: 5   Errors: 1   Waiting: 0", status());
    EXPECT_EQ((std::vector<std::wstring>{L".tar", L"Photos", L"Photos (2)", L"Photos (3)", L"Zdjęcia 2024",
                                         L"backup.7z", L"damaged"}),
              folder_names(out_));
    ASSERT_EQ(1u, shell_calls().size()) << "opened after a run that ended, even with a failure";
    EXPECT_EQ(out_, shell_calls()[0].file);
    EXPECT_EQ(L"open", shell_calls()[0].verb);

    // Open output folder: the same folder again.
    press(main_, 137);
    ASSERT_EQ(2u, shell_calls().size());
    EXPECT_EQ(out_, shell_calls()[1].file);
    EXPECT_EQ(main_, shell_calls()[1].window);
    EXPECT_EQ(SW_SHOWNORMAL, shell_calls()[1].show);
}

TEST_F(Queue, CancelDuringTheSecondOfThreeArchives) {
    std::wstring first = archive(L"first.zip");
    std::wstring many = in_ + L"\\many.tar";
    ASSERT_TRUE(make_tar_of_small_files(many, 2000, "many/"));
    std::wstring third = archive(L"third.7z");
    ASSERT_NE(nullptr, open_window());
    queue({first, many, third});
    extract_into_out_silently();

    press(main_, 135);
    ASSERT_TRUE(g_app.busy);
    ASSERT_TRUE(pump_through(WM_APP_QUEUE_ITEM_STARTED, 1));
    EXPECT_EQ(L"Extracting archive 2 of 3…", status());
    EXPECT_EQ(L"Extracted", statuses()[0]);

    // While the queue runs, its commands and drops change nothing.
    for (int command : {133, 134, 135, 136, 137}) press(main_, command);
    EXPECT_EQ(3u, g_queue.count);
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);
    EXPECT_TRUE(shell_calls().empty());
    EXPECT_TRUE(player_windows().empty()) << "no dialog was shown";

    press(main_, 115);
    EXPECT_EQ(L"Canceling…", status());
    ASSERT_TRUE(wait_until_idle(120000));
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Waiting", L"Waiting"}), statuses());
    EXPECT_EQ(L"Canceled. Extracted: 1   Errors: 0   Waiting: 2", status());
    EXPECT_EQ((std::vector<std::wstring>{L"first"}), folder_names(out_)) << "no partial output is left";

    // The next run goes on with the two that are still waiting.
    press(main_, 135);
    ASSERT_TRUE(wait_until_idle(300000));
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Extracted", L"Extracted"}), statuses());
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"many", L"third"}), folder_names(out_));
    EXPECT_EQ(2000u, folder_names(out_ + L"\\many\\many").size());
}

TEST_F(Queue, NothingToExtractOrNoFolderChosen) {
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        press(main_, 132);
        press(main_, 135);
        EXPECT_FALSE(g_app.busy);
        EXPECT_EQ(polish ? L"Dodaj spakowane pliki do rozpakowania." : L"Add archives to extract.", status());
    }
    // Every archive extracted already counts as nothing to extract.
    std::wstring a = archive(L"a.zip");
    queue({a});
    queue_item_finished(&g_queue.items[0], RESULT_OK);
    press(main_, 135);
    EXPECT_EQ(L"Dodaj spakowane pliki do rozpakowania.", status());

    // A canceled folder browser starts nothing.
    queue_item_finished(&g_queue.items[0], RESULT_ARCHIVE_ERROR);
    set_status(L"before");
    std::vector<SeenWindow> seen = run({press_button(IDCANCEL)});
    EXPECT_EQ(1u, seen.size());
    EXPECT_EQ(L"before", status());
    EXPECT_TRUE(folder_names(out_).empty());
    EXPECT_EQ(L"", std::wstring(g_queue_output_folder));
}

TEST_F(Queue, OpenPreviewOpensTheSelectedArchive) {
    std::wstring a = archive(L"a.zip");
    std::wstring b = archive(L"b.tar.gz");
    ASSERT_NE(nullptr, open_window());
    queue({a, b});
    press(main_, 136);
    EXPECT_EQ(L"Select an archive in the list.", status());
    EXPECT_EQ(VIEW_QUEUE, g_app.current_view);

    HWND list = nth_control(main_, N_QUEUE_LIST);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, (LPARAM)&state);
    press(main_, 136);
    EXPECT_EQ(VIEW_CONTENTS, g_app.current_view);
    ASSERT_TRUE(wait_until_idle());
    EXPECT_EQ(b, label());
    EXPECT_EQ(3, rows());

    g_preferences.polish_ui = 1;
    press(main_, 132);
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    press(main_, 136);
    EXPECT_EQ(L"Zaznacz archiwum na liście.", status());
}

TEST_F(Queue, OpenOutputFolderNeedsARunFirst) {
    for (bool polish : {false, true}) {
        ASSERT_NE(nullptr, open_window(polish));
        press(main_, 132);
        press(main_, 137);
        EXPECT_EQ(polish ? L"Najpierw uruchom rozpakowywanie." : L"Run the extraction queue first.", status());
    }
    // A folder of a run that has gone since is not opened either.
    wcscpy(g_queue_output_folder, (folder_ + L"\\removed").c_str());
    press(main_, 137);
    EXPECT_EQ(L"Najpierw uruchom rozpakowywanie.", status());
    EXPECT_TRUE(shell_calls().empty());
    g_queue_output_folder[0] = 0;
}

TEST_F(Queue, RemoveSelectedKeepsEachRowsStatusWithItsArchive) {
    ASSERT_NE(nullptr, open_window());
    std::vector<std::wstring> queued;
    for (int i = 0; i < 5; ++i) queued.push_back(in_ + L"\\" + std::to_wstring(i) + L".zip");
    queue(queued);
    // Results as the worker reports them.
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 0, RESULT_OK);
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 1, RESULT_PASSWORD_REQUIRED);
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 2, RESULT_UNSAFE_PATH);
    SendMessageW(main_, WM_APP_QUEUE_ITEM_DONE, 3, RESULT_OK);
    HWND list = nth_control(main_, N_QUEUE_LIST);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, (LPARAM)&state);
    SendMessageW(list, LVM_SETITEMSTATE, 3, (LPARAM)&state);
    press(main_, 134);
    EXPECT_EQ((std::vector<std::wstring>{queued[0], queued[2], queued[4]}), paths());
    EXPECT_EQ((std::vector<std::wstring>{L"Extracted", L"Invalid archive path", L"Waiting"}), statuses());
    ASSERT_EQ(3u, g_queue.count);
    EXPECT_EQ(RESULT_UNSAFE_PATH, g_queue.items[1].result);
    EXPECT_EQ(L"Extracted: 1   Errors: 1   Waiting: 1", status());

    // Nothing selected: nothing removed, the summary written again.
    set_status(L"");
    press(main_, 134);
    EXPECT_EQ(3u, g_queue.count);
    EXPECT_EQ(L"Extracted: 1   Errors: 1   Waiting: 1", status());
}
