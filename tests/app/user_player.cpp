#include "user_player.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "app/app_state.h"
#include "test_support.h"

struct UserPlayer::State {
    std::vector<PlayerStep> steps;
    std::vector<SeenWindow> seen;
    std::mutex lock;
    std::thread thread;
    std::atomic<bool> done{false};
};

static bool is_player_class(const std::wstring& name) {
    return name == L"#32770" || name == L"LumarekPassword";
}

static BOOL CALLBACK collect(HWND window, LPARAM parameter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64];
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && GetClassNameW(window, name, 64) &&
        is_player_class(name))
        ((std::vector<HWND>*)parameter)->push_back(window);
    return TRUE;
}

std::vector<HWND> player_windows() {
    std::vector<HWND> found;
    EnumWindows(collect, (LPARAM)&found);
    return found;
}

static BOOL CALLBACK collect_static(HWND child, LPARAM parameter) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Static") == 0 && IsWindowVisible(child))
        ((std::vector<std::wstring>*)parameter)->push_back(window_text(child));
    return TRUE;
}

static std::wstring class_of(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

UserPlayer::UserPlayer(std::vector<PlayerStep> steps) : state(new State) {
    state->steps = std::move(steps);
    State* s = state;
    state->thread = std::thread([s]() {
        std::vector<HWND> handled;
        for (PlayerStep& step : s->steps) {
            HWND target = nullptr;
            for (ULONGLONG until = GetTickCount64() + 20000; target == nullptr && GetTickCount64() < until;) {
                for (HWND window : player_windows()) {
                    bool known = false;
                    for (HWND old : handled) known = known || old == window;
                    // A window that is still being built has no visible child yet.
                    if (!known && GetWindow(window, GW_CHILD) != nullptr) target = window;
                }
                if (target == nullptr) Sleep(20);
            }
            if (target == nullptr) break;
            handled.push_back(target);
            Sleep(150);  // let it finish its start-up and paint
            SeenWindow seen = {class_of(target),
                               window_text(target),
                               window_text(GetDlgItem(target, 0xFFFF)),
                               {},
                               GetWindow(target, GW_OWNER)};
            EnumChildWindows(target, collect_static, (LPARAM)&seen.statics);
            {
                std::lock_guard<std::mutex> guard(s->lock);
                s->seen.push_back(seen);
            }
            step(target);
            // The next step's window is a new one; wait until this one is gone.
            for (ULONGLONG until = GetTickCount64() + 20000; GetTickCount64() < until; Sleep(20))
                if (!IsWindow(target) || !IsWindowVisible(target)) break;
        }
        s->done = true;
    });
}

std::vector<SeenWindow> UserPlayer::seen(DWORD timeout_ms) {
    ULONGLONG until = GetTickCount64() + timeout_ms;
    while (!state->done && GetTickCount64() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    if (state->done && state->thread.joinable()) state->thread.join();
    std::lock_guard<std::mutex> guard(state->lock);
    return state->seen;
}

UserPlayer::~UserPlayer() {
    seen();
    // A player that is still waiting is left to its own timeout before the state goes away.
    if (state->thread.joinable()) state->thread.join();
    delete state;
}

bool shows_static(const SeenWindow& seen, const std::wstring& text) {
    for (const std::wstring& line : seen.statics)
        if (line == text) return true;
    return false;
}

PlayerStep press_button(int id) {
    return [id](HWND window) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
    };
}

static BOOL CALLBACK find_edit(HWND child, LPARAM parameter) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    if (_wcsicmp(name, L"Edit") != 0) return TRUE;
    *(HWND*)parameter = child;
    return FALSE;
}

// The file name field of Wine's file dialogs: the edit inside the file name box (cmb13), or a
// plain edit (edt1).
static HWND file_name_field(HWND dialog) {
    HWND field = nullptr;
    HWND box = GetDlgItem(dialog, 0x47C);
    if (box != nullptr) EnumChildWindows(box, find_edit, (LPARAM)&field);
    return field != nullptr ? field : GetDlgItem(dialog, 0x480);
}

PlayerStep choose_file(const std::wstring& name) {
    return [name](HWND dialog) {
        HWND field = file_name_field(dialog);
        if (field != nullptr) SendMessageW(field, WM_SETTEXT, 0, (LPARAM)name.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    };
}

PlayerStep choose_files(const std::wstring& folder, const std::vector<std::wstring>& names) {
    return [folder, names](HWND dialog) {
        choose_file(folder)(dialog);
        // The dialog moves into the folder; a loaded machine may take a while.
        for (int attempt = 0; attempt < 200; ++attempt) {
            Sleep(100);
            wchar_t current[MAX_PATH] = {};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, (LPARAM)current);
            if (_wcsicmp(current, folder.c_str()) == 0) break;
        }
        std::wstring quoted;
        for (const std::wstring& name : names) quoted += L"\"" + name + L"\" ";
        choose_file(quoted)(dialog);
    };
}

std::vector<std::wstring> dialog_filter_names(HWND dialog) {
    std::vector<std::wstring> names;
    HWND types = GetDlgItem(dialog, 0x470);
    LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t name[256] = {};
        SendMessageW(types, CB_GETLBTEXT, i, (LPARAM)name);
        names.push_back(name);
    }
    return names;
}

static BOOL CALLBACK find_tree(HWND child, LPARAM parameter) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (wcscmp(name, WC_TREEVIEWW) != 0) return TRUE;
    *(HWND*)parameter = child;
    return FALSE;
}

static std::wstring item_text(HWND tree, HTREEITEM item) {
    if (item == nullptr) return L"";
    wchar_t text[MAX_PATH] = {};
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = MAX_PATH;
    SendMessageW(tree, TVM_GETITEMW, 0, (LPARAM)&info);
    return text;
}

static HTREEITEM next_item(HWND tree, HTREEITEM item, UINT how) {
    return (HTREEITEM)SendMessageW(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

// A drive shows as "C:" or with its label, as in "System (C:)".
static bool names_drive(const std::wstring& text, const std::wstring& drive) {
    return _wcsicmp(text.c_str(), drive.c_str()) == 0 || text.find(L"(" + drive + L")") != std::wstring::npos;
}

// Selects the folder the way a user does: the drive, then one folder after another by name.
static bool select_by_names(HWND dialog, HWND tree, const std::wstring& folder) {
    size_t at = folder.find(L'\\');
    if (at == std::wstring::npos) return false;
    const std::wstring drive = folder.substr(0, at);
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, (LPARAM)(drive + L"\\").c_str());
    HTREEITEM item = next_item(tree, nullptr, TVGN_CARET);
    if (!names_drive(item_text(tree, item), drive)) return false;
    while (item != nullptr && at < folder.size()) {
        size_t end = folder.find(L'\\', at + 1);
        if (end == std::wstring::npos) end = folder.size();
        std::wstring name = folder.substr(at + 1, end - at - 1);
        at = end;
        if (name.empty()) continue;
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)item);
        HTREEITEM child = next_item(tree, item, TVGN_CHILD);
        while (child != nullptr && _wcsicmp(item_text(tree, child).c_str(), name.c_str()) != 0)
            child = next_item(tree, child, TVGN_NEXT);
        item = child;
    }
    return item != nullptr && SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item) != FALSE;
}

PlayerStep choose_folder(const std::wstring& folder) {
    return [folder](HWND dialog) {
        // Not BFFM_SETSELECTION with the whole path: the browser matches each folder on the way
        // against the entry it read when it filled the tree, modification time included, and
        // fills each folder once. Other tests add and remove folders in the same temporary
        // folder all the time, so it can miss the path for good. The tree fills slowly on a
        // loaded machine (it reads every drive), so keep trying for a while; if the folder
        // never gets selected, cancel rather than confirm whatever else is.
        HWND tree = nullptr;
        EnumChildWindows(dialog, find_tree, (LPARAM)&tree);
        bool selected = false;
        for (ULONGLONG until = GetTickCount64() + 60000; !selected && GetTickCount64() < until; Sleep(200))
            selected = select_by_names(dialog, tree, folder);
        if (!selected)
            fprintf(stderr, "folder browser: could not select %ls; selected: %ls\n", folder.c_str(),
                    item_text(tree, next_item(tree, nullptr, TVGN_CARET)).c_str());
        int button = selected ? IDOK : IDCANCEL;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
    };
}

PlayerStep type_password(const std::wstring& text, bool enter) {
    return [text, enter](HWND prompt) {
        HWND edit = GetDlgItem(prompt, 3);
        for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 0);
        if (enter)
            PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        else
            PostMessageW(GetDlgItem(prompt, IDOK), BM_CLICK, 0, 0);
    };
}

PlayerStep picture_of(const wchar_t* name, PlayerStep then) {
    std::wstring picture = name;
    return [picture, then](HWND window) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(300);
        save_window_picture(window, picture.c_str());
        then(window);
    };
}

bool pump_until(const std::function<bool()>& condition, DWORD timeout_ms) {
    ULONGLONG until = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() > until) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

bool wait_until_idle(DWORD timeout_ms) {
    return pump_until([] { return !g_app.busy; }, timeout_ms);
}
