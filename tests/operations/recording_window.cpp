#include "recording_window.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "operations/operation.h"
#include "operations/window_seams.h"
#include "test_support.h"

Recorder g_recorder;

HWND operation_window() {
    return g_recorder.window;
}

void set_status(const wchar_t* text) {
    g_recorder.events.push_back(std::wstring(L"status: ") + text);
}

void set_busy(bool busy) {
    g_recorder.events.push_back(busy ? L"busy on" : L"busy off");
    if (busy && g_recorder.cancel_when_busy) InterlockedExchange(&g_slot.cancel_requested, 1);
}

bool engine_present() {
    return g_recorder.engine;
}

static LRESULT CALLBACK recorder_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP_OPERATION_DONE) {
        ++g_recorder.done_count;
        g_recorder.events.push_back(L"done");
        return 0;
    }
    if (message == WM_APP_PROGRESS_ITEMS) {
        g_recorder.items.push_back(wparam);
        g_recorder.events.push_back(L"items " + std::to_wstring(wparam));
        if (g_recorder.cancel_at_items != 0 && wparam >= g_recorder.cancel_at_items)
            InterlockedExchange(&g_slot.cancel_requested, 1);
        return 0;
    }
    if (message == WM_APP_PROGRESS_PERCENT) {
        g_recorder.percents.push_back((int)(INT_PTR)wparam);
        g_recorder.events.push_back(L"percent " + std::to_wstring((int)(INT_PTR)wparam));
        return 0;
    }
    if (message == WM_APP_QUEUE_ITEM_STARTED) {
        g_recorder.events.push_back(L"started " + std::to_wstring(wparam));
        return 0;
    }
    if (message == WM_APP_QUEUE_ITEM_DONE) {
        g_recorder.events.push_back(L"finished " + std::to_wstring(wparam) + L": " + std::to_wstring((int)lparam));
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void recorder_reset() {
    if (g_recorder.window == nullptr) {
        WNDCLASSW window_class = {};
        window_class.lpfnWndProc = recorder_proc;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"LumarekRecorder";
        RegisterClassW(&window_class);
        g_recorder.window = CreateWindowExW(0, L"LumarekRecorder", L"Recorder", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300,
                                            nullptr, nullptr, window_class.hInstance, nullptr);
        ShowWindow(g_recorder.window, SW_SHOWNOACTIVATE);
    }
    pump_for(50);
    HWND window = g_recorder.window;
    g_recorder = Recorder();
    g_recorder.window = window;
    g_recorder.engine = true;
}

void pump_pending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void pump_for(DWORD ms) {
    ULONGLONG until = GetTickCount64() + ms;
    do {
        pump_pending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount64() < until);
    pump_pending();
}

bool pump_until_done(DWORD timeout_ms, DWORD settle_ms) {
    ULONGLONG until = GetTickCount64() + timeout_ms;
    while (g_recorder.done_count == 0) {
        if (GetTickCount64() > until) return false;
        pump_pending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    pump_for(settle_ms);
    return true;
}

struct BoxWatcher::State {
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::vector<SeenBox> boxes;
    std::vector<HWND> handled;
    std::thread thread;
};

BoxWatcher::BoxWatcher() : state(new State) {
    State* watched = state;
    state->thread = std::thread([watched]() {
        while (!watched->stop) {
            for (HWND box : top_level_windows(GetCurrentProcessId(), L"#32770")) {
                bool known = false;
                for (HWND handled : watched->handled) known = known || handled == box;
                if (known) continue;
                watched->handled.push_back(box);
                SeenBox seen = {window_text(box), window_text(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER)};
                {
                    std::lock_guard<std::mutex> guard(watched->lock);
                    watched->boxes.push_back(seen);
                }
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
            }
            Sleep(20);
        }
    });
}

std::vector<SeenBox> BoxWatcher::boxes() {
    if (state->thread.joinable()) {
        state->stop = true;
        state->thread.join();
    }
    std::lock_guard<std::mutex> guard(state->lock);
    return state->boxes;
}

BoxWatcher::~BoxWatcher() {
    boxes();
    delete state;
}
