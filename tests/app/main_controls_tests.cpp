// The main window's 78 controls as the window itself reports them: class, styles, id, parent, text
// limit, creation order, font, list settings.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/ui.h"
#include "control_numbers.h"
#include "expected_controls.h"
#include "window_fixture.h"

namespace {

std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The class bits and the tab flag. Lists keep scroll flags in their styles only while their bars are
// shown, and a combo box hands them to its drop-down list, so scroll flags are compared for the edit
// fields only; the list boxes are checked by what they show when filled.
const DWORD STYLE_BITS = 0xFFFF | WS_TABSTOP;

class MainControls : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = open_main_window(false);
        ASSERT_NE(nullptr, main_);
    }
    HWND main_ = nullptr;
};

}  // namespace

TEST_F(MainControls, EveryControlInCreationOrderWithClassStyleIdAndParent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(main_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(78u, children.size());
    for (const Control& expected : CONTROLS) {
        HWND child = children[expected.number - 1];
        SCOPED_TRACE("control " + std::to_string(expected.number));
        EXPECT_EQ(0, _wcsicmp(expected.class_name, class_of(child).c_str()))
            << std::string(class_of(child).begin(), class_of(child).end());
        DWORD style = (DWORD)GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ(expected.style & STYLE_BITS, style & STYLE_BITS) << std::hex << style;
        if (_wcsicmp(expected.class_name, L"Edit") == 0) {
            EXPECT_EQ(expected.style & (WS_VSCROLL | WS_HSCROLL), style & (WS_VSCROLL | WS_HSCROLL))
                << std::hex << style;
        }
        EXPECT_TRUE(style & WS_CHILD);
        DWORD ex_style = (DWORD)GetWindowLongW(child, GWL_EXSTYLE);
        EXPECT_EQ(expected.ex_style, ex_style & WS_EX_CLIENTEDGE) << std::hex << ex_style;
        EXPECT_EQ(expected.id, GetDlgCtrlID(child));
        EXPECT_EQ(main_, GetParent(child));
    }
}

TEST_F(MainControls, ScrollBarsOfTheLists) {
    // Filled beyond their height (and, for the preview list, made wider than itself), the list
    // boxes show the bars their styles ask for.
    SendMessageW(main_, WM_COMMAND, 105, 0);
    HWND sources = nth_control(main_, N_SOURCES_LIST);
    for (int i = 0; i < 200; ++i) SendMessageW(sources, LB_ADDSTRING, 0, (LPARAM)L"C:\\Data\\file.txt");
    EXPECT_TRUE(has_style(sources, WS_VSCROLL));
    EXPECT_FALSE(has_style(sources, WS_HSCROLL));
    SendMessageW(main_, WM_COMMAND, 118, 0);
    HWND preview = nth_control(main_, N_PREVIEW_LIST);
    for (int i = 0; i < 200; ++i) SendMessageW(preview, LB_ADDSTRING, 0, (LPARAM)L"a.pdf");
    SendMessageW(preview, LB_SETHORIZONTALEXTENT, 5000, 0);
    EXPECT_TRUE(has_style(preview, WS_VSCROLL));
    EXPECT_TRUE(has_style(preview, WS_HSCROLL));
}

TEST_F(MainControls, TextLimitsOfTheEditFields) {
    // What an edit field allows when nobody set a limit, from one made the same way.
    HWND plain =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 10, 10, main_, nullptr, nullptr, nullptr);
    LRESULT default_limit = SendMessageW(plain, EM_GETLIMITTEXT, 0, 0);
    HWND multiline =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, main_, nullptr, nullptr, nullptr);
    LRESULT default_multiline_limit = SendMessageW(multiline, EM_GETLIMITTEXT, 0, 0);
    DestroyWindow(plain);
    DestroyWindow(multiline);
    for (const Control& expected : CONTROLS) {
        if (wcscmp(expected.class_name, L"Edit") != 0) continue;
        SCOPED_TRACE("control " + std::to_string(expected.number));
        HWND child = nth_control(main_, expected.number);
        LRESULT limit = SendMessageW(child, EM_GETLIMITTEXT, 0, 0);
        if (expected.limit == NO_LIMIT)
            EXPECT_EQ(expected.style & ES_MULTILINE ? default_multiline_limit : default_limit, limit);
        else
            EXPECT_EQ(expected.limit, limit);
    }
}

TEST_F(MainControls, FontsIconAndVisibilityAtStart) {
    for (const Control& expected : CONTROLS) {
        SCOPED_TRACE("control " + std::to_string(expected.number));
        HWND child = nth_control(main_, expected.number);
        HFONT font = (HFONT)SendMessageW(child, WM_GETFONT, 0, 0);
        if (expected.number == 1)
            ;  // an icon control keeps no font
        else if (expected.number == 3)
            EXPECT_EQ(g_ui.title_font, font) << "the title";
        else if (expected.number == 9)
            EXPECT_EQ(g_ui.emphasis_font, font) << "the tab of the start-up view";
        else
            EXPECT_EQ(g_ui.body_font, font);
        EXPECT_EQ(shown_in(expected, 0), has_style(child, WS_VISIBLE)) << "start-up view: Archive contents";
    }
    EXPECT_EQ(L"Lumarek", text_of(nth_control(main_, N_TITLE)));
    EXPECT_NE(nullptr, (HICON)SendMessageW(nth_control(main_, N_ICON), STM_GETICON, 0, 0)) << "the application icon";
}

TEST_F(MainControls, ListSettingsAndColumns) {
    for (int number : {N_CONTENTS_LIST, N_QUEUE_LIST}) {
        HWND list = nth_control(main_, number);
        DWORD extended = (DWORD)SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        EXPECT_EQ((DWORD)(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER),
                  extended & (LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER))
            << number;
        EXPECT_FALSE(has_style(list, LVS_SINGLESEL)) << "multiple selection";
    }
    int width = client_size(main_).cx;
    HWND contents = nth_control(main_, N_CONTENTS_LIST);
    HWND header = (HWND)SendMessageW(contents, LVM_GETHEADER, 0, 0);
    EXPECT_EQ(3, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(width - 298, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 0, 0)) << "the three fill the list's inside";
    EXPECT_EQ(126, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 1, 0));
    EXPECT_EQ(120, SendMessageW(contents, LVM_GETCOLUMNWIDTH, 2, 0));
    HWND queue = nth_control(main_, N_QUEUE_LIST);
    EXPECT_EQ(2, SendMessageW((HWND)SendMessageW(queue, LVM_GETHEADER, 0, 0), HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(width - 298, SendMessageW(queue, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(220, SendMessageW(queue, LVM_GETCOLUMNWIDTH, 1, 0));

    HWND information = nth_control(main_, N_INFO_TEXT);
    LRESULT margins = SendMessageW(information, EM_GETMARGINS, 0, 0);
    EXPECT_EQ(12, LOWORD(margins));
    EXPECT_EQ(12, HIWORD(margins));

    HWND progress = nth_control(main_, N_PROGRESS);
    PBRANGE range = {};
    SendMessageW(progress, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(100, range.iHigh);
}

TEST_F(MainControls, ChoiceListsAtStart) {
    struct {
        int number;
        int count;
        int selected;
    } const lists[] = {{N_FORMAT_LIST, 3, 0},         {N_COMPRESSION_LIST, 3, 1},  {N_LANGUAGE_LIST, 2, 1},
                       {N_DEFAULT_FORMAT_LIST, 3, 0}, {N_STARTUP_VIEW_LIST, 4, 0}, {N_DEFAULT_COMPRESSION_LIST, 3, 1},
                       {N_SAVED_PROFILE_LIST, 1, 0}};
    for (const auto& list : lists) {
        HWND combo = nth_control(main_, list.number);
        EXPECT_EQ(list.count, SendMessageW(combo, CB_GETCOUNT, 0, 0)) << list.number;
        EXPECT_EQ(list.selected, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << list.number;
    }
    EXPECT_TRUE(IsWindowEnabled(nth_control(main_, N_PASSWORD)))
        << "ZIP is the default format: the password is allowed";
    EXPECT_FALSE(IsWindowEnabled(nth_control(main_, N_DELETE_PROFILE))) << "no stored profile is selected";
    EXPECT_EQ(L"{folder}_{date}", text_of(nth_control(main_, N_PATTERN))) << "a new profile's name pattern";
}

TEST_F(MainControls, TabMovesThroughTheVisibleControlsInCreationOrder) {
    for (int view : {0, 1, 2, 3, 4, 6}) {
        static const int BUTTONS[] = {100, 105, 104, 118, 132, 138, 139, 140};
        static const int VIEWS[] = {0, 1, 2, 3, 4, 5, 6, 7};
        for (int i = 0; i < 8; ++i)
            if (VIEWS[i] == view) SendMessageW(main_, WM_COMMAND, BUTTONS[i], 0);
        std::vector<int> expected;
        for (const Control& control : CONTROLS) {
            HWND child = nth_control(main_, control.number);
            if (shown_in(control, view) && (control.style & WS_TABSTOP) && IsWindowEnabled(child))
                expected.push_back(control.number);
        }
        std::vector<HWND> children;
        for (int n = 1; n <= 78; ++n) children.push_back(nth_control(main_, n));
        std::vector<int> order;
        HWND first = GetNextDlgTabItem(main_, nullptr, FALSE);
        for (HWND at = first; at != nullptr && order.size() < 80;) {
            int number = 0;
            for (int n = 1; n <= 78; ++n)
                if (children[n - 1] == at) number = n;
            order.push_back(number);
            at = GetNextDlgTabItem(main_, at, FALSE);
            if (at == first) break;
        }
        EXPECT_EQ(expected, order) << "view " << view;
    }
}
