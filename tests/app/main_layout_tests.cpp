// The layout of the main window: every control's rectangle from the client size W x H and the busy
// state, at the smallest window, at the default size and at a wide size.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/startup.h"
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
    {1, n(24), n(23), n(32), n(32)},
    {3, n(67), n(16), n(152), n(42)},
    {4, n(25), n(64), W(-48), n(26)},
    {8, W(-146), n(24), n(122), n(34)},
    {7, W(-258), n(24), n(104), n(34)},
    {6, W(-359), n(24), n(93), n(34)},
    {5, W(-453), n(24), n(86), n(34)},
    {9, n(24), n(101), n(175), n(34)},
    {10, n(207), n(101), n(156), n(34)},
    {43, n(371), n(101), n(133), n(34)},
    {66, n(512), n(101), n(141), n(34)},
    // Archive contents
    {11, n(24), n(150), n(172), n(34)},
    {12, n(204), n(150), n(130), n(34)},
    {13, n(342), n(150), n(172), n(34)},
    {14, n(26), n(194), W(-52), n(24)},
    {15, n(24), n(224), W(-48), H(-297)},
    // New archive
    {16, n(24), n(150), n(145), n(34)},
    {17, n(177), n(150), n(145), n(34)},
    {18, n(330), n(150), n(165), n(34)},
    {19, n(24), n(196), W(-48), H(-384)},
    {20, n(24), H(-175), n(138), n(22)},
    {21, n(24), H(-151), n(138), n(150)},
    {22, n(175), H(-175), n(145), n(22)},
    {23, n(175), H(-151), n(145), n(150)},
    {24, n(334), H(-175), W(-357), n(22)},
    {25, n(334), H(-151), W(-358), n(29)},
    {26, W(-222), H(-109), n(198), n(34)},
    // Settings
    {27, n(24), n(153), n(270), n(22)},
    {28, n(24), n(177), n(180), n(150)},
    {31, n(231), n(153), n(260), n(22)},
    {32, n(231), n(177), n(205), n(150)},
    {29, n(24), n(225), n(195), n(22)},
    {30, n(24), n(250), n(180), n(145)},
    {33, n(231), n(225), n(220), n(22)},
    {34, n(231), n(250), n(180), n(145)},
    {35, n(24), n(303), W(-48), n(22)},
    {36, n(24), n(330), W(-174), n(30)},
    {37, W(-142), n(330), n(118), n(30)},
    {38, n(24), n(371), W(-48), n(29)},
    {39, n(24), n(403), W(-48), n(29)},
    {41, n(24), n(451), n(104), n(34)},
    {42, n(136), n(451), n(164), n(34)},
    {40, W(-208), n(451), n(184), n(34)},
    // ZIP profiles
    {44, n(24), n(146), half(1, -8), n(21)},
    {45, n(24), n(168), half(1, -8), n(178)},
    {46, half(1, 32), n(146), half(1, -8), n(21)},
    {47, half(1, 32), n(168), half(1, -8), n(28)},
    {48, n(24), n(206), half(1, -8), n(21)},
    {51, half(1, 32), n(206), half(1, -8), n(21)},
    {49, n(24), n(228), half(1, -108), n(28)},
    {50, half(1, -77), n(228), n(93), n(28)},
    {52, half(1, 32), n(228), half(1, -108), n(28)},
    {53, half(2, -69), n(228), n(93), n(28)},
    {54, n(24), n(266), half(1, -8), n(21)},
    {56, half(1, 32), n(266), half(1, -8), n(21)},
    {55, n(24), n(288), half(1, -8), n(28)},
    {57, half(1, 32), n(288), half(1, -8), n(28)},
    {58, n(24), n(326), W(-48), n(21)},
    {59, n(24), n(348), W(-48), n(28)},
    {60, n(24), n(385), n(130), n(32)},
    {61, n(162), n(385), n(130), n(32)},
    {62, W(-288), n(385), n(128), n(32)},
    {63, W(-152), n(385), n(128), n(32)},
    {64, n(24), n(425), W(-48), n(22)},
    {65, n(24), n(453), W(-48), H(-521)},
    // Extract queue
    {67, n(24), n(150), n(140), n(34)},
    {68, n(172), n(150), n(143), n(34)},
    {69, n(323), n(150), n(139), n(34)},
    {70, W(-206), n(150), n(182), n(34)},
    {72, n(24), n(198), W(-48), H(-306)},
    {71, n(24), H(-99), n(210), n(31)},
    // Help, about and contact
    {73, n(24), n(146), W(-48), H(-264)},
    {74, n(24), H(-106), n(220), n(34)},
    {75, n(252), H(-106), n(147), n(34)},
    {76, n(407), H(-106), n(199), n(34)},
    // bottom line (the status line, number 2, depends on the busy state)
    {77, W(-180), H(-47), n(156), n(34)},
    {78, n(24), H(-58), W(-214), n(12)},
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
    RECT status = child_rect(nth_control(main, 2));
    EXPECT_EQ(24, status.left);
    EXPECT_EQ(h - 42, status.top);
    EXPECT_EQ(busy ? w - 216 : w - 48, status.right - status.left);
    EXPECT_EQ(24, status.bottom - status.top);
    EXPECT_EQ(w - 288, SendMessageW(nth_control(main, 15), LVM_GETCOLUMNWIDTH, 0, 0)) << "Name in archive";
    EXPECT_EQ(126, SendMessageW(nth_control(main, 15), LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(120, SendMessageW(nth_control(main, 15), LVM_GETCOLUMNWIDTH, 2, 0));
    EXPECT_EQ(w - 298, SendMessageW(nth_control(main, 72), LVM_GETCOLUMNWIDTH, 0, 0)) << "Archive";
    EXPECT_EQ(220, SendMessageW(nth_control(main, 72), LVM_GETCOLUMNWIDTH, 1, 0));
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
    RECT left = child_rect(nth_control(main_, 55));
    RECT right = child_rect(nth_control(main_, 57));
    EXPECT_LT(left.right, right.left) << "the two profile columns do not overlap";
}

TEST_F(MainLayout, ColumnWidthsFollowTheWindowAfterTheUserDraggedThem) {
    SendMessageW(nth_control(main_, 15), LVM_SETCOLUMNWIDTH, 0, 100);
    SendMessageW(nth_control(main_, 72), LVM_SETCOLUMNWIDTH, 0, 100);
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
