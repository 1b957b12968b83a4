// The window toolkit: fonts and brush, child controls, centring and the message loop's exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/ui.h"

namespace {

void init_once() {
    static bool done = false;
    if (!done) ui_init();
    done = true;
}

LRESULT CALLBACK plain_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

// A plain top-level window of the given size at the given place.
HWND make_window(int x, int y, int width, int height) {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = plain_window_proc;
    window_class.hInstance = g_ui.instance;
    window_class.lpszClassName = L"UiTestWindow";
    RegisterClassExW(&window_class);
    return CreateWindowExW(0, L"UiTestWindow", L"test", WS_POPUP, x, y, width, height, nullptr, nullptr, g_ui.instance,
                           nullptr);
}

}  // namespace

TEST(UiToolkit, FontsAndBrush) {
    init_once();
    EXPECT_EQ(GetModuleHandleW(nullptr), g_ui.instance);
    const struct {
        HFONT font;
        LONG height;
        LONG weight;
    } fonts[] = {{g_ui.body_font, -16, 400}, {g_ui.emphasis_font, -16, 600}, {g_ui.title_font, -31, 650}};
    for (const auto& expected : fonts) {
        LOGFONTW font = {};
        ASSERT_EQ((int)sizeof(font), GetObjectW(expected.font, sizeof(font), &font));
        EXPECT_EQ(expected.height, font.lfHeight);
        EXPECT_EQ(expected.weight, font.lfWeight);
        EXPECT_EQ(0, font.lfWidth);
        EXPECT_EQ(0, font.lfEscapement);
        EXPECT_EQ(0, font.lfOrientation);
        EXPECT_EQ(0, font.lfItalic);
        EXPECT_EQ(0, font.lfUnderline);
        EXPECT_EQ(0, font.lfStrikeOut);
        EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
        EXPECT_EQ(CLEARTYPE_QUALITY, font.lfQuality);
        EXPECT_EQ(DEFAULT_PITCH | FF_DONTCARE, font.lfPitchAndFamily);
        EXPECT_EQ(std::wstring(L"Segoe UI"), font.lfFaceName);
    }
    LOGBRUSH brush = {};
    ASSERT_EQ((int)sizeof(brush), GetObjectW(g_ui.background_brush, sizeof(brush), &brush));
    EXPECT_EQ((UINT)BS_SOLID, brush.lbStyle);
    EXPECT_EQ(0x00FBF7F4u, brush.lbColor);
    EXPECT_EQ(0x00FBF7F4u, BACKGROUND_COLOR);
    EXPECT_EQ(0x004E3521u, TEXT_COLOR);
}

TEST(UiToolkit, ChildStartsVisibleAtTheOriginWithTheBodyFont) {
    init_once();
    HWND parent = make_window(0, 0, 300, 200);
    ASSERT_NE(nullptr, parent);
    HWND child = create_child(parent, L"BUTTON", L"Caption", BS_PUSHBUTTON | WS_TABSTOP, WS_EX_CLIENTEDGE, 123);
    ASSERT_NE(nullptr, child);
    DWORD style = (DWORD)GetWindowLongW(child, GWL_STYLE);
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_TABSTOP), style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    EXPECT_TRUE(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(123, GetDlgCtrlID(child));
    EXPECT_EQ(parent, GetParent(child));
    EXPECT_EQ(g_ui.body_font, (HFONT)SendMessageW(child, WM_GETFONT, 0, 0));
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(10, rect.right - rect.left);
    EXPECT_EQ(10, rect.bottom - rect.top);

    EXPECT_TRUE(move_child(child, 24, 30, 120, 34));
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, (POINT*)&rect, 2);
    EXPECT_EQ(24, rect.left);
    EXPECT_EQ(30, rect.top);
    EXPECT_EQ(120, rect.right - rect.left);
    EXPECT_EQ(34, rect.bottom - rect.top);
    EXPECT_TRUE(set_text(child, L"Zażółć"));
    wchar_t text[32];
    GetWindowTextW(child, text, 32);
    EXPECT_EQ(std::wstring(L"Zażółć"), text);

    EXPECT_EQ(nullptr, create_child(parent, L"NoSuchClass", L"", 0, 0, 1)) << "a failed creation is a null handle";
    DestroyWindow(parent);
}

TEST(UiToolkit, CentringOverTheScreenOrTheOwner) {
    init_once();
    HWND window = make_window(5, 5, 400, 300);
    ASSERT_NE(nullptr, window);
    RECT rect;
    center_window(window, nullptr);
    GetWindowRect(window, &rect);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 400) / 2, rect.left) << "the whole primary screen";
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 300) / 2, rect.top);
    EXPECT_EQ(400, rect.right - rect.left);

    // An owner narrower than the window: a negative offset, rounded toward zero.
    HWND owner = make_window(100, 50, 301, 200);
    ASSERT_NE(nullptr, owner);
    center_window(window, owner);
    GetWindowRect(window, &rect);
    EXPECT_EQ(100 + (-99) / 2, rect.left);
    EXPECT_EQ(51, rect.left);
    EXPECT_EQ(50 - 50, rect.top);
    DestroyWindow(owner);
    DestroyWindow(window);
}

TEST(UiToolkit, MessageLoopReturnsTheQuitCode) {
    init_once();
    HWND window = make_window(0, 0, 100, 100);
    ASSERT_NE(nullptr, window);
    PostQuitMessage(42);
    EXPECT_EQ(42, run_message_loop(window));
    // Destroying the window posts quit code 0.
    DestroyWindow(window);
    EXPECT_EQ(0, run_message_loop(window));
}
