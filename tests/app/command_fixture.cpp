#include "command_fixture.h"

#include <commctrl.h>

#include <algorithm>

#include "app/app_state.h"
#include "archive_fixtures.h"
#include "control_numbers.h"
#include "operations/extraction_queue.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

void CommandTest::SetUp() {
    // The engine too: fixtures may be written with it before the window opens.
    prepare_program_once();
    folder_ = make_scratch_folder(L"commands");
    ASSERT_FALSE(folder_.empty());
}

void CommandTest::TearDown() {
    wait_until_idle();
    close_main_window();
    queue_free();
    remove_folder_tree(folder_);
}

HWND CommandTest::open_window(bool polish) {
    main_ = open_main_window(polish);
    return main_;
}

void CommandTest::open_path(const std::wstring& path) {
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(101, 1), (LPARAM)path.c_str());
    ASSERT_TRUE(wait_until_idle());
}

std::wstring CommandTest::status() {
    return text_of(nth_control(main_, N_STATUS));
}

std::wstring CommandTest::label() {
    return text_of(nth_control(main_, N_ARCHIVE_LABEL));
}

HWND CommandTest::contents_list() {
    return nth_control(main_, N_CONTENTS_LIST);
}

int CommandTest::rows() {
    return (int)SendMessageW(contents_list(), LVM_GETITEMCOUNT, 0, 0);
}

void CommandTest::select_rows(const std::vector<int>& rows) {
    HWND list = contents_list();
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    state.state = LVIS_SELECTED;
    for (int row : rows) SendMessageW(list, LVM_SETITEMSTATE, row, (LPARAM)&state);
}

void CommandTest::picture(const std::wstring& name) {
    RedrawWindow(main_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump_messages(300);
    std::wstring path = save_window_picture(main_, name.c_str());
    EXPECT_GT(read_bytes(path).size(), 940u * 600u * 3u) << path;
}

std::vector<std::wstring> CommandTest::files_with_long_names(const std::wstring& folder,
                                                             const std::wstring& extension) {
    const int first = 1000, count = 1500;
    std::vector<std::wstring> names;
    size_t units = folder.size() + 1;
    for (int i = first; i < first + count; ++i) {
        names.push_back(L"a-file-with-a-longer-name-" + std::to_wstring(i) + extension);
        units += names.back().size() + 1;
    }
    EXPECT_GT(units, 32768u);
    std::string extension_bytes(extension.begin(), extension.end());
    EXPECT_TRUE(host("cd {} && for i in $(seq " + std::to_string(first) + " " + std::to_string(first + count - 1) +
                         "); do : > a-file-with-a-longer-name-$i" + extension_bytes + "; done",
                     {folder}));
    return names;
}
