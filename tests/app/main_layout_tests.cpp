// The layout of the main window: every control's rectangle from the client size W x H and the busy
// state, at the smallest window, at the default size and at a wide size.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/startup.h"
#include "control_numbers.h"
#include "operations/window_seams.h"
#include "window_fixture.h"

namespace {

// A coordinate w * W + h * H + k * half + c, with half = (W - 48) / 2.
struct Coord {
    int w, h, k, c;
};
Coord n(int c) {
    return {0, 0, 0, c};
}
Coord W(int c) {
    return {1, 0, 0, c};
}
Coord H(int c) {
    return {0, 1, 0, c};
}
Coord half(int k, int c) {
    return {0, 0, k, c};
}

struct Place {
    int number;
    Coord x, y, width, height;
};

const Place PLACES[] = {
    // chrome
    {N_ICON, n(24), n(23), n(32), n(32)},
    {N_TITLE, n(67), n(16), n(152), n(42)},
    {N_HINT, n(25), n(64), W(-48), n(26)},
    {N_SETTINGS, W(-146), n(24), n(122), n(34)},
    {N_ABOUT, W(-258), n(24), n(104), n(34)},
    {N_CONTACT, W(-359), n(24), n(93), n(34)},
    {N_HELP, W(-453), n(24), n(86), n(34)},
    {N_TAB_CONTENTS, n(24), n(101), n(175), n(34)},
    {N_TAB_NEW_ARCHIVE, n(207), n(101), n(156), n(34)},
    {N_TAB_PROFILES, n(371), n(101), n(133), n(34)},
    {N_TAB_QUEUE, n(512), n(101), n(141), n(34)},
    // Archive contents
    {N_OPEN_ARCHIVE, n(24), n(150), n(172), n(34)},
    {N_EXTRACT, n(204), n(150), n(130), n(34)},
    {N_TEST, n(342), n(150), n(172), n(34)},
    {N_ARCHIVE_LABEL, n(26), n(194), W(-52), n(24)},
    {N_CONTENTS_LIST, n(24), n(224), W(-48), H(-297)},
    // New archive
    {N_ADD_FILES, n(24), n(150), n(145), n(34)},
    {N_ADD_FOLDER, n(177), n(150), n(145), n(34)},
    {N_REMOVE_SOURCES, n(330), n(150), n(165), n(34)},
    {N_SOURCES_LIST, n(24), n(196), W(-48), H(-384)},
    {N_FORMAT_LABEL, n(24), H(-175), n(138), n(22)},
    {N_FORMAT_LIST, n(24), H(-151), n(138), n(150)},
    {N_COMPRESSION_LABEL, n(175), H(-175), n(145), n(22)},
    {N_COMPRESSION_LIST, n(175), H(-151), n(145), n(150)},
    {N_PASSWORD_LABEL, n(334), H(-175), W(-357), n(22)},
    {N_PASSWORD, n(334), H(-151), W(-358), n(29)},
    {N_CREATE_ARCHIVE, W(-222), H(-109), n(198), n(34)},
    // Settings
    {N_LANGUAGE_LABEL, n(24), n(153), n(270), n(22)},
    {N_LANGUAGE_LIST, n(24), n(177), n(180), n(150)},
    {N_STARTUP_VIEW_LABEL, n(231), n(153), n(260), n(22)},
    {N_STARTUP_VIEW_LIST, n(231), n(177), n(205), n(150)},
    {N_DEFAULT_FORMAT_LABEL, n(24), n(225), n(195), n(22)},
    {N_DEFAULT_FORMAT_LIST, n(24), n(250), n(180), n(145)},
    {N_DEFAULT_COMPRESSION_LABEL, n(231), n(225), n(220), n(22)},
    {N_DEFAULT_COMPRESSION_LIST, n(231), n(250), n(180), n(145)},
    {N_DEFAULT_FOLDER_LABEL, n(24), n(303), W(-48), n(22)},
    {N_DEFAULT_FOLDER, n(24), n(330), W(-174), n(30)},
    {N_BROWSE_DEFAULT_FOLDER, W(-142), n(330), n(118), n(30)},
    {N_OPEN_FOLDER_CHECK, n(24), n(371), W(-48), n(29)},
    {N_SILENT_FOLDER_CHECK, n(24), n(403), W(-48), n(29)},
    {N_BACK, n(24), n(451), n(104), n(34)},
    {N_RESTORE_DEFAULTS, n(136), n(451), n(164), n(34)},
    {N_SAVE_SETTINGS, W(-208), n(451), n(184), n(34)},
    // ZIP profiles
    {N_SAVED_PROFILE_LABEL, n(24), n(146), half(1, -8), n(21)},
    {N_SAVED_PROFILE_LIST, n(24), n(168), half(1, -8), n(178)},
    {N_PROFILE_NAME_LABEL, half(1, 32), n(146), half(1, -8), n(21)},
    {N_PROFILE_NAME, half(1, 32), n(168), half(1, -8), n(28)},
    {N_SOURCE_FOLDER_LABEL, n(24), n(206), half(1, -8), n(21)},
    {N_DESTINATION_LABEL, half(1, 32), n(206), half(1, -8), n(21)},
    {N_SOURCE_FOLDER, n(24), n(228), half(1, -108), n(28)},
    {N_BROWSE_SOURCE, half(1, -77), n(228), n(93), n(28)},
    {N_DESTINATION, half(1, 32), n(228), half(1, -108), n(28)},
    {N_BROWSE_DESTINATION, half(2, -69), n(228), n(93), n(28)},
    {N_EXTENSIONS_LABEL, n(24), n(266), half(1, -8), n(21)},
    {N_SKIP_FOLDERS_LABEL, half(1, 32), n(266), half(1, -8), n(21)},
    {N_EXTENSIONS, n(24), n(288), half(1, -8), n(28)},
    {N_SKIP_FOLDERS, half(1, 32), n(288), half(1, -8), n(28)},
    {N_PATTERN_LABEL, n(24), n(326), W(-48), n(21)},
    {N_PATTERN, n(24), n(348), W(-48), n(28)},
    {N_SAVE_PROFILE, n(24), n(385), n(130), n(32)},
    {N_DELETE_PROFILE, n(162), n(385), n(130), n(32)},
    {N_PREVIEW_FILES, W(-288), n(385), n(128), n(32)},
    {N_CREATE_ZIP, W(-152), n(385), n(128), n(32)},
    {N_PREVIEW_TARGET, n(24), n(425), W(-48), n(22)},
    {N_PREVIEW_LIST, n(24), n(453), W(-48), H(-521)},
    // Extract queue
    {N_ADD_ARCHIVES, n(24), n(150), n(188), n(34)},
    {N_REMOVE_QUEUED, n(220), n(150), n(138), n(34)},
    {N_OPEN_PREVIEW, n(366), n(150), n(122), n(34)},
    {N_EXTRACT_QUEUE, W(-174), n(150), n(150), n(34)},
    {N_QUEUE_LIST, n(24), n(198), W(-48), H(-306)},
    {N_OPEN_OUTPUT, n(24), H(-99), n(210), n(31)},
    // Help, about and contact
    {N_INFO_TEXT, n(24), n(146), W(-48), H(-264)},
    {N_COPY_SUPPORT, n(24), H(-106), n(220), n(34)},
    {N_COMPOSE_EMAIL, n(252), H(-106), n(147), n(34)},
    {N_SUPPORT_SITE, n(407), H(-106), n(199), n(34)},
    // bottom line (the status line, number 2, depends on the busy state)
    {N_CANCEL, W(-180), H(-47), n(156), n(34)},
    {N_PROGRESS, n(24), H(-58), W(-214), n(12)},
};

int value(Coord coord, int width, int height) {
    return coord.w * width + coord.h * height + coord.k * ((width - 48) / 2) + coord.c;
}

bool is_combo(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return _wcsicmp(name, L"ComboBox") == 0;
}

// A combo box is placed with the height of its open list: its own window is only the closed part.
// Wine's dropped rectangle has the height of the list that opens below that part, so the two
// together are the height the combo box was given.
RECT placed_rect(HWND child) {
    RECT rect = child_rect(child);
    if (is_combo(child)) {
        RECT dropped;
        SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
        rect.bottom += dropped.bottom - dropped.top;
    }
    return rect;
}

void expect_layout(HWND main, bool busy) {
    SIZE client = client_size(main);
    int w = client.cx;
    int h = client.cy;
    for (const Place& place : PLACES) {
        RECT rect = placed_rect(nth_control(main, place.number));
        SCOPED_TRACE("control " + std::to_string(place.number) + " at " + std::to_string(w) + " x " +
                     std::to_string(h));
        EXPECT_EQ(value(place.x, w, h), rect.left);
        EXPECT_EQ(value(place.y, w, h), rect.top);
        EXPECT_EQ(value(place.width, w, h), rect.right - rect.left);
        EXPECT_EQ(value(place.height, w, h), rect.bottom - rect.top);
        EXPECT_GT(rect.right - rect.left, 0);
        EXPECT_GT(rect.bottom - rect.top, 0);
    }
    RECT status = child_rect(nth_control(main, N_STATUS));
    EXPECT_EQ(24, status.left);
    EXPECT_EQ(h - 42, status.top);
    EXPECT_EQ(busy ? w - 216 : w - 48, status.right - status.left);
    EXPECT_EQ(24, status.bottom - status.top);
    // The three columns fill the list's inside exactly: no horizontal scroll bar.
    HWND contents = nth_control(main, N_CONTENTS_LIST);
    RECT inside;
    GetClientRect(contents, &inside);
    EXPECT_EQ(inside.right - 246, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 0, 0)) << "Name in archive";
    EXPECT_EQ(126, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(120, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 2, 0));
    EXPECT_EQ(value(W(-52), w, h), inside.right) << "the list's edge takes 2 pixels on each side";
    EXPECT_FALSE(has_style(contents, WS_HSCROLL));
    EXPECT_EQ(w - 298, SendMessageW(nth_control(main, N_QUEUE_LIST), LVM_GETCOLUMNWIDTH, 0, 0)) << "Archive";
    EXPECT_EQ(220, SendMessageW(nth_control(main, N_QUEUE_LIST), LVM_GETCOLUMNWIDTH, 1, 0));
}

class MainLayout : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = open_main_window(false);
        ASSERT_NE(nullptr, main_);
    }
    void TearDown() override { set_busy(false); }
    HWND main_ = nullptr;
};

}  // namespace

TEST_F(MainLayout, AtTheSmallestWindow) {
    SetWindowPos(main_, nullptr, 0, 0, 690, 630, SWP_NOMOVE | SWP_NOZORDER);
    pump_messages(20);
    SIZE client = client_size(main_);
    ASSERT_LE(client.cx, 690);
    ASSERT_LE(client.cy, 630);
    expect_layout(main_, false);
    // The first size to reach zero when the client area shrinks further is the preview list's.
    EXPECT_GT(client.cy - 521, 0);
}

TEST_F(MainLayout, AtTheDefaultSizeIdleAndBusy) {
    set_client_size(main_, 940, 730);
    ASSERT_EQ(940, client_size(main_).cx);
    ASSERT_EQ(730, client_size(main_).cy);
    expect_layout(main_, false);
    set_busy(true);
    expect_layout(main_, true);
    set_busy(false);
    expect_layout(main_, false);
}

TEST_F(MainLayout, AtAWideSizeWithAnOddHalf) {
    // W - 48 is odd here, so each profile column is one pixel short of its room.
    set_client_size(main_, 1245, 900);
    ASSERT_EQ(1245, client_size(main_).cx);
    ASSERT_EQ(900, client_size(main_).cy);
    expect_layout(main_, false);
    RECT left = child_rect(nth_control(main_, N_EXTENSIONS));
    RECT right = child_rect(nth_control(main_, N_SKIP_FOLDERS));
    EXPECT_LT(left.right, right.left) << "the two profile columns do not overlap";
}

TEST_F(MainLayout, ColumnWidthsFollowTheWindowAfterTheUserDraggedThem) {
    SendMessageW(nth_control(main_, N_CONTENTS_LIST), LVM_SETCOLUMNWIDTH, 0, 100);
    SendMessageW(nth_control(main_, N_QUEUE_LIST), LVM_SETCOLUMNWIDTH, 0, 100);
    set_client_size(main_, 1000, 700);
    expect_layout(main_, false);
}

// The computation of the start-up size and place; the display of the tests has one screen only.
TEST(MainWindowPlacement, FromTheWorkArea) {
    const struct {
        RECT work;
        RECT expected;
    } cases[] = {
        {{0, 0, 1366, 728}, {213, 0, 1153, 728}},     {{0, 0, 1920, 1040}, {490, 155, 1430, 885}},
        {{0, 40, 1920, 1080}, {490, 195, 1430, 925}}, {{100, 0, 900, 600}, {100, 0, 900, 600}},
        {{-1366, 0, 0, 728}, {-1153, 0, -213, 728}},  {{0, 0, 941, 731}, {0, 0, 940, 730}},
    };
    for (const auto& item : cases) {
        RECT placement = main_window_placement(&item.work);
        EXPECT_EQ(item.expected.left, placement.left) << item.work.right << " x " << item.work.bottom;
        EXPECT_EQ(item.expected.top, placement.top) << item.work.right << " x " << item.work.bottom;
        EXPECT_EQ(item.expected.right, placement.right) << item.work.right << " x " << item.work.bottom;
        EXPECT_EQ(item.expected.bottom, placement.bottom) << item.work.right << " x " << item.work.bottom;
    }
}

TEST(MainWindowPlacement, TheWindowStartsThere) {
    prepare_program_once();
    HWND main = open_main_window(false);
    ASSERT_NE(nullptr, main);
    // open_main_window moved it to the origin for the pictures; a new one is placed by the rule.
    close_main_window();
    HWND second = create_main_window();
    ASSERT_NE(nullptr, second);
    RECT work = primary_work_area();
    RECT expected = main_window_placement(&work);
    RECT actual;
    GetWindowRect(second, &actual);
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right - expected.left, actual.right - actual.left);
    EXPECT_EQ(expected.bottom - expected.top, actual.bottom - actual.top);
}

// The captions of the queue view's buttons fit inside them in both languages, at the smallest
// window too, and the buttons of its top row do not overlap.
TEST_F(MainLayout, TheQueueButtonsHoldTheirCaptions) {
    for (bool polish : {false, true}) {
        HWND main = open_main_window(polish);
        SetWindowPos(main, nullptr, 0, 0, 690, 630, SWP_NOMOVE | SWP_NOZORDER);
        pump_messages(20);
        int previous_right = 0;
        for (int number : {N_ADD_ARCHIVES, N_REMOVE_QUEUED, N_OPEN_PREVIEW, N_EXTRACT_QUEUE, N_OPEN_OUTPUT}) {
            HWND button = nth_control(main, number);
            std::wstring caption = text_of(button);
            HDC dc = GetDC(button);
            HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(button, WM_GETFONT, 0, 0));
            SIZE extent = {};
            GetTextExtentPoint32W(dc, caption.c_str(), (int)caption.size(), &extent);
            SelectObject(dc, old);
            ReleaseDC(button, dc);
            RECT rect = child_rect(button);
            EXPECT_LE(extent.cx + 10, rect.right - rect.left) << number << (polish ? " Polish" : " English");
            if (number != N_OPEN_OUTPUT) {
                EXPECT_GT(rect.left, previous_right) << number;
                previous_right = rect.right;
            }
        }
    }
}
