// Plays the user of the real window's dialogs from another thread: the message boxes, the file
// dialogs, the folder browser and the password prompt that the window shows modally on the test's
// own thread. Each step waits for the next such window of this process and acts on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What a step saw: the window's class, caption, its text (for a message box), the texts of all its
// static controls and its owner.
struct SeenWindow {
    std::wstring class_name;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> statics;
    HWND owner;
};

// Whether one of the window's static texts is exactly the text.
bool shows_static(const SeenWindow& seen, const std::wstring& text);

// The title of the folder browser in which the user picks where extractions go.
const wchar_t kExtractParentTitle[] = L"Choose a parent folder. Each archive will be extracted to its own folder.";

using PlayerStep = std::function<void(HWND window)>;

struct UserPlayer {
    explicit UserPlayer(std::vector<PlayerStep> steps);
    ~UserPlayer();
    // Waits for the steps to finish (at most timeout_ms) and returns what each saw; a step that
    // found no window within its time is missing from the list.
    std::vector<SeenWindow> seen(DWORD timeout_ms = 90000);
    struct State;
    State* state;
};

// Steps.
PlayerStep press_button(int id);                   // a message box or dialog button (IDOK, IDYES, ...)
PlayerStep choose_file(const std::wstring& name);  // the open or save dialog: the file name, then OK
// The open dialog with several files allowed: into the folder first, then the quoted names.
PlayerStep choose_files(const std::wstring& folder, const std::vector<std::wstring>& names);
PlayerStep choose_folder(const std::wstring& folder);            // the folder browser: select it, then OK
PlayerStep type_password(const std::wstring& text, bool enter);  // the prompt: text, then Enter or OK
PlayerStep picture_of(const wchar_t* name, PlayerStep then);     // a picture of the window first

// The names in a file dialog's file-type list, in order.
std::vector<std::wstring> dialog_filter_names(HWND dialog);

// Pumps the test thread's messages until the window is idle (no operation running); false after
// the timeout.
bool wait_until_idle(DWORD timeout_ms = 60000);

// Pumps until the condition holds; false after the timeout.
bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms = 30000);

// The visible top-level windows of this process that a step would act on.
std::vector<HWND> player_windows();
