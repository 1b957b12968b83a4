// Pictures of the window at work: a real listing, sources of a new archive, the password prompt
// over the window, an error box, and the extraction queue during and after a run. They land in the build folder's
// screenshots/ to be looked at.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/queue_view.h"
#include "app/status_line.h"
#include "archive_fixtures.h"
#include "command_fixture.h"
#include "control_numbers.h"
#include "operations/extraction_queue.h"
#include "operations/operation.h"
#include "queue_fixture.h"
#include "settings/preferences.h"
#include "test_support.h"
#include "user_player.h"
#include "window_archives.h"
#include "window_fixture.h"

namespace {

class CommandPictures : public CommandTest {
protected:
    // A picture of the main window with the dialog in front of it, then of the dialog alone.
    PlayerStep pictures_then(const std::wstring& name, PlayerStep then) {
        HWND main = main_;
        return [main, name, then](HWND dialog) {
            Sleep(400);
            save_window_picture(main, (name + L"-over-window").c_str());
            save_window_picture(dialog, name.c_str());
            then(dialog);
        };
    }
};

}  // namespace

TEST_F(CommandPictures, ContentsSourcesPromptAndErrorBox) {
    std::wstring archive = folder_ + L"\\Wakacje 2024.zip";
    ASSERT_TRUE(make_zip(archive, {{"Zdjęcia/", "", false},
                                   {"Zdjęcia/plaża.jpg", std::string(734003, 'j'), false},
                                   {"Zdjęcia/góry.jpg", std::string(1201554, 'g'), false},
                                   {"Dokumenty/", "", false},
                                   {"Dokumenty/bilety.pdf", std::string(88213, 'p'), true},
                                   {"Dokumenty/pusty.txt", "", false},
                                   {"notatki.txt", "Lista rzeczy do zabrania", false}}));
    std::wstring locked = folder_ + L"\\Faktury.zip";
    ASSERT_TRUE(make_streamed_encrypted_zip(locked, "secret"));
    std::wstring broken = folder_ + L"\\broken.zip";
    ASSERT_TRUE(make_damaged_zip(broken));

    for (bool polish : {false, true}) {
        std::wstring language = polish ? L"-pl" : L"-en";
        ASSERT_NE(nullptr, open_window(polish));
        open_path(archive);
        ASSERT_EQ(7, rows());
        select_rows({1, 2});
        picture(L"contents-listing" + language);

        press(main_, 105);
        add_source((folder_ + L"\\Zdjęcia z wakacji").c_str());
        add_source(L"C:\\Users\\Ola\\Documents\\Faktury 2024");
        add_source(L"C:\\Users\\Ola\\Desktop\\notatki.txt");
        update_count_status();
        picture(L"new-archive-sources" + language);

        press(main_, 100);
        {
            UserPlayer user({pictures_then(L"password-prompt-window" + language, press_button(IDCANCEL))});
            open_path(locked);
            EXPECT_EQ(1u, user.seen().size());
        }
        open_path(broken);
        {
            UserPlayer user({pictures_then(L"error-box" + language, press_button(IDOK))});
            press(main_, 103);
            ASSERT_TRUE(wait_until_idle());
            EXPECT_EQ(1u, user.seen().size());
        }
    }
}

TEST_F(CommandPictures, AMillionEntriesScrolledToTheMiddleAndTheEnd) {
    // Every thousandth entry is a folder ahead of its files.
    std::vector<EngineEntry> entries;
    entries.reserve(1000000);
    for (int i = 0; i < 1000000; ++i) {
        std::wstring folder = L"folder" + std::to_wstring(i / 1000);
        if (i % 1000 == 0)
            entries.push_back({folder + L"/", "", true});
        else
            entries.push_back({folder + L"/file" + std::to_wstring(i) + L".txt", "", false});
    }
    std::wstring archive = folder_ + L"\\million.zip";
    ASSERT_TRUE(write_zip_with_engine(archive, entries, "", true));
    entries.clear();
    entries.shrink_to_fit();

    for (bool polish : {false, true}) {
        std::wstring language = polish ? L"-pl" : L"-en";
        ASSERT_NE(nullptr, open_window(polish));
        open_path(archive);
        ASSERT_EQ(1000000, rows());
        HWND list = contents_list();
        for (int row : {500000, 999999}) {
            SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
            int top = (int)SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
            int shown = (int)SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0);
            EXPECT_TRUE(row >= top && row < top + shown + 1) << row << " top " << top;
            std::wstring folder = L"folder" + std::to_wstring(row / 1000);
            EXPECT_EQ(row % 1000 == 0 ? folder + L"/" : folder + L"/file" + std::to_wstring(row) + L".txt",
                      list_cell(list, row, 0));
            picture((row == 999999 ? L"contents-million-end" : L"contents-million-middle") + language);
        }
    }
}

// Every view right after the language was switched in the settings view and saved: to Polish from
// an English interface, then back to English.
TEST_F(CommandPictures, EveryViewAfterALanguageSwitch) {
    std::wstring archive = folder_ + L"\\Projekt.zip";
    ASSERT_TRUE(make_zip(archive, {{"plan/", "", false},
                                   {"plan/harmonogram.txt", std::string(4211, 'h'), false},
                                   {"umowa.pdf", std::string(90412, 'u'), true}}));
    ASSERT_NE(nullptr, open_window(false));
    open_path(archive);
    ASSERT_EQ(3, rows());
    press(main_, 105);
    add_source((folder_ + L"\\Zdjęcia z wakacji").c_str());
    update_count_status();
    ASSERT_TRUE(queue_add(archive.c_str()));
    queue_refresh_list();
    HWND folder_field = nth_control(main_, N_DEFAULT_FOLDER);
    for (bool polish : {true, false}) {
        const std::wstring language = polish ? L"pl" : L"en";
        press(main_, 100);
        press(main_, 104);
        SendMessageW(nth_control(main_, N_LANGUAGE_LIST), CB_SETCURSEL, polish ? 0 : 1, 0);
        // A folder that does not exist is refused first.
        SetWindowTextW(folder_field, (folder_ + L"\\Rozpakowane").c_str());
        {
            UserPlayer user({pictures_then(L"settings-folder-refused-" + language, press_button(IDOK))});
            press(main_, 114);
            EXPECT_EQ(1u, user.seen().size());
        }
        SetWindowTextW(folder_field, folder_.c_str());
        press(main_, 114);
        ASSERT_EQ(polish ? L"Zapisano ustawienia." : L"Settings saved.", status());
        picture(L"switched-" + language + L"-saved");
        for (const ViewButton& view : VIEW_BUTTONS) {
            press(main_, view.button);
            picture(L"switched-" + language + L"-" + view.name);
        }
    }
    DeleteFileW(preferences_file().c_str());
}

TEST_F(CommandPictures, TheQueueDuringAndAfterARun) {
    std::wstring in = folder_ + L"\\Pobrane";
    ASSERT_TRUE(CreateDirectoryW(in.c_str(), nullptr));
    std::wstring many = in + L"\\Archiwum skanów.tar";
    ASSERT_TRUE(make_tar_of_small_files(many, 3000, "many/"));
    std::wstring locked = in + L"\\Faktury.zip";
    ASSERT_TRUE(make_streamed_encrypted_zip(locked, "secret"));
    std::wstring broken = in + L"\\uszkodzone.zip";
    ASSERT_TRUE(make_damaged_zip(broken));
    std::vector<std::wstring> queued = {in + L"\\Wakacje 2024.zip", many, locked, broken, in + L"\\backup.7z",
                                        in + L"\\Zdjęcia.tar.gz"};
    for (const std::wstring& path : {queued[0], queued[4], queued[5]}) ASSERT_TRUE(make_small_archive(path));

    for (bool polish : {false, true}) {
        std::wstring language = polish ? L"-pl" : L"-en";
        std::wstring out = folder_ + L"\\Rozpakowane" + language;
        ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
        ASSERT_NE(nullptr, open_window(polish));
        wcscpy(g_preferences.default_extract_folder, out.c_str());
        g_preferences.use_default_folder_silently = 1;
        press(main_, 132);
        for (const std::wstring& path : queued) ASSERT_TRUE(queue_add(path.c_str()));
        queue_after_adding(true);
        press(main_, 135);
        ASSERT_TRUE(pump_through(WM_APP_QUEUE_ITEM_STARTED, 1));
        picture(L"queue-during-run" + language);
        ASSERT_TRUE(wait_until_idle(300000));
        picture(L"queue-after-run" + language);
        EXPECT_EQ(polish ? L"Rozpakowano: 4   Błędy: 2   Czeka: 0" : L"Extracted: 4   Errors: 2   Waiting: 0",
                  status());
        queue_free();
    }
}
