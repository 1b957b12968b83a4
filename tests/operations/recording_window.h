// A stand-in for the main window: implements what the operations need from the window and records
// everything it receives, in order, so that tests can check what an operation told the window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Recorder {
    HWND window;
    bool engine;                       // what engine_present() answers
    bool cancel_when_busy;             // set_busy(true) requests a cancel, as a user at once would
    uint32_t cancel_at_items;          // an items message of at least this count requests a cancel (0: never)
    std::vector<std::wstring> events;  // "busy on", "busy off", "status: ...", "items 16", "percent -1", "started 2",
                                       // "finished 2: 5", "done", ...
    std::vector<WPARAM> items;         // wParam of every WM_APP_PROGRESS_ITEMS
    std::vector<int> percents;         // wParam of every WM_APP_PROGRESS_PERCENT, as signed
    int done_count;
};

extern Recorder g_recorder;

// Creates the window once and clears every record (engine present, no cancel).
void recorder_reset();

// Pumps messages until WM_APP_OPERATION_DONE arrives (false after timeout_ms), then settle_ms more
// so that anything posted after it is seen too.
bool pump_until_done(DWORD timeout_ms = 60000, DWORD settle_ms = 200);
void pump_for(DWORD ms);
// Handles what is already queued, without waiting.
void pump_pending();

// An error box seen while a test ran: its caption, text and owner. The watcher closes each box.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};

// Watches for message boxes of this process from another thread while it exists.
struct BoxWatcher {
    BoxWatcher();
    ~BoxWatcher();
    std::vector<SeenBox> boxes();  // stops watching; the boxes seen so far
    struct State;
    State* state;
};
