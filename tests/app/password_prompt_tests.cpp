#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/password_prompt.h"
#include "common/ui.h"
#include "settings/preferences.h"
#include "test_support.h"

namespace {

HWND wait_for_prompt() {
    for (int i = 0; i < 400; ++i) {
        HWND prompt = FindWindowW(L"LumarekPassword", nullptr);
        if (prompt != nullptr && IsWindowVisible(prompt)) return prompt;
        Sleep(10);
    }
    return nullptr;
}

// Shows the prompt on this thread while another thread plays the user.
class PasswordPromptTest : public testing::Test {
protected:
    void SetUp() override {
        static bool initialised = false;
        if (!initialised) ui_init();
        initialised = true;
        g_app.main = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 900, 600,
                                     nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, g_app.main);
        SecureZeroMemory(g_slot.password, sizeof(g_slot.password));
    }
    void TearDown() override { DestroyWindow(g_app.main); }

    bool ask(std::function<void(HWND prompt, HWND edit)> user) {
        std::thread player([&] {
            HWND prompt = wait_for_prompt();
            ASSERT_NE(nullptr, prompt);
            main_was_disabled_ = !IsWindowEnabled(g_app.main);
            user(prompt, GetDlgItem(prompt, 3));
        });
        bool accepted = ask_archive_password();
        player.join();
        return accepted;
    }

    static void type(HWND edit, const std::wstring& text) {
        for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 0);
    }
    bool main_was_disabled_ = false;
};

TEST_F(PasswordPromptTest, WaysToConfirmAndToCancel) {
    struct Case {
        const char* how;
        std::function<void(HWND, HWND)> user;
        bool accepted;
    };
    const Case cases[] = {
        {"Enter in the field",
         [](HWND, HWND edit) {
             type(edit, L"Tajne ąę");
             PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
         },
         true},
        {"OK button",
         [](HWND prompt, HWND edit) {
             type(edit, L"Tajne ąę");
             PostMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
         },
         true},
        {"OK with an empty field", [](HWND prompt, HWND) { PostMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0); },
         false},
        {"Cancel button",
         [](HWND prompt, HWND edit) {
             type(edit, L"x");
             PostMessageW(GetDlgItem(prompt, IDCANCEL), BM_CLICK, 0, 0);
         },
         false},
        {"Escape in the field",
         [](HWND, HWND edit) {
             type(edit, L"x");
             PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
         },
         false},
        {"close button", [](HWND prompt, HWND) { PostMessageW(prompt, WM_CLOSE, 0, 0); }, false},
    };
    for (const Case& c : cases) {
        SecureZeroMemory(g_slot.password, sizeof(g_slot.password));
        EXPECT_EQ(c.accepted, ask(c.user)) << c.how;
        EXPECT_TRUE(main_was_disabled_) << c.how;
        EXPECT_TRUE(IsWindowEnabled(g_app.main)) << c.how;
        // Without a window manager Wine may list a destroyed top-level window for a moment longer.
        HWND left = FindWindowW(L"LumarekPassword", nullptr);
        EXPECT_TRUE(left == nullptr || !IsWindowVisible(left)) << c.how;
        EXPECT_EQ(std::wstring(c.accepted ? L"Tajne ąę" : L""), g_slot.password) << c.how;
        for (wchar_t unit : g_password_prompt.text) ASSERT_EQ(0, unit) << "the prompt's copy is wiped: " << c.how;
    }
}

TEST_F(PasswordPromptTest, WindowLanguageAndLimit) {
    for (uint8_t polish : {0, 1}) {
        g_preferences.polish_ui = polish;
        std::wstring title, label, cancel;
        RECT client = {};
        LRESULT limit = 0;
        int typed = 0;
        EXPECT_TRUE(ask([&](HWND prompt, HWND edit) {
            wchar_t text[128];
            GetWindowTextW(prompt, text, 128);
            title = text;
            GetWindowTextW(GetDlgItem(prompt, IDCANCEL), text, 128);
            cancel = text;
            GetWindowTextW(GetWindow(prompt, GW_CHILD), text, 128);
            label = text;
            GetClientRect(prompt, &client);
            limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
            type(edit, std::wstring(520, L'€'));
            // The posted characters are handled by the prompt's loop on the other thread.
            for (int i = 0; i < 500 && GetWindowTextLengthW(edit) < 511; ++i) Sleep(20);
            Sleep(300);
            save_window_picture(prompt, polish ? L"password-prompt-pl" : L"password-prompt-en");
            typed = GetWindowTextLengthW(edit);
            PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        }));
        EXPECT_EQ(polish ? L"Hasło do archiwum" : L"Archive password", title);
        EXPECT_EQ(polish ? L"Wpisz hasło do archiwum." : L"Enter the archive password.", label);
        EXPECT_EQ(polish ? L"Anuluj" : L"Cancel", cancel);
        EXPECT_EQ(511, limit);
        EXPECT_EQ(511, typed) << "the field refuses a 512th character";
        EXPECT_EQ(std::wstring(511, L'€'), g_slot.password) << "511 characters are taken whole";
    }
    g_preferences.polish_ui = 0;
}

}  // namespace
