#include "profile_view_fixture.h"

#include "app/app_state.h"
#include "common/path.h"
#include "control_numbers.h"
#include "operations/operation.h"
#include "test_support.h"
#include "user_player.h"
#include "window_fixture.h"

static std::wstring store_file() {
    wchar_t path[PATH_CAPACITY];
    return local_data_path(path, PROFILES_FILE_NAME) ? path : L"";
}

void ProfileViewTest::SetUp() {
    CommandTest::SetUp();
    DeleteFileW(store_file().c_str());
    g_profile_store.count = 0;
    source_ = folder_ + L"\\Docs";
    destination_ = folder_ + L"\\Out";
    ASSERT_TRUE(CreateDirectoryW(source_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(destination_.c_str(), nullptr));
}

void ProfileViewTest::TearDown() {
    CommandTest::TearDown();
    entry_list_free(&g_slot.profile_files);
    DeleteFileW(store_file().c_str());
    g_profile_store.count = 0;
}

HWND ProfileViewTest::open_profiles(bool polish) {
    if (open_window(polish) != nullptr) press(main_, 118);
    return main_;
}

void ProfileViewTest::store_profiles(const std::vector<Profile>& profiles) {
    static ProfileStore store;
    ZeroMemory(&store, sizeof(store));
    for (const Profile& profile : profiles) store.profiles[store.count++] = profile;
    ASSERT_TRUE(profile_store_write(&store));
    ASSERT_TRUE(profile_store_load(&g_profile_store));
}

std::wstring ProfileViewTest::store_path() {
    return store_file();
}

std::string ProfileViewTest::file_profiles() {
    static ProfileStore store;
    if (!profile_store_load(&store)) return "(unreadable)";
    std::wstring shown;
    for (uint32_t i = 0; i < store.count; ++i)
        shown += (i > 0 ? L"," : L"") + std::wstring(store.profiles[i].name) + L"=" + store.profiles[i].source_folder;
    std::string utf8(shown.size() * 3 + 1, '\0');
    int bytes =
        WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), (int)shown.size(), &utf8[0], (int)utf8.size(), nullptr, nullptr);
    utf8.resize(bytes > 0 ? (size_t)bytes : 0);
    return utf8;
}

void ProfileViewTest::set_field(int number, const std::wstring& text) {
    SetWindowTextW(nth_control(main_, number), text.c_str());
}

std::wstring ProfileViewTest::field(int number) {
    return text_of(nth_control(main_, number));
}

void ProfileViewTest::set_rules(const std::wstring& source, const std::wstring& extensions,
                                const std::wstring& skip_folders, const std::wstring& destination,
                                const std::wstring& pattern) {
    set_field(N_SOURCE_FOLDER, source);
    set_field(N_EXTENSIONS, extensions);
    set_field(N_SKIP_FOLDERS, skip_folders);
    set_field(N_DESTINATION, destination);
    set_field(N_PATTERN, pattern);
}

void ProfileViewTest::select_profile_row(int row) {
    HWND list = nth_control(main_, N_SAVED_PROFILE_LIST);
    SendMessageW(list, CB_SETCURSEL, row, 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(119, CBN_SELCHANGE), (LPARAM)list);
}

int ProfileViewTest::selected_profile_row() {
    return (int)SendMessageW(nth_control(main_, N_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
}

std::vector<std::wstring> ProfileViewTest::profile_rows() {
    HWND list = nth_control(main_, N_SAVED_PROFILE_LIST);
    std::vector<std::wstring> rows;
    int count = (int)SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) rows.push_back(combo_item(list, i));
    return rows;
}

std::vector<std::wstring> ProfileViewTest::preview_rows() {
    HWND list = nth_control(main_, N_PREVIEW_LIST);
    std::vector<std::wstring> rows;
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[PATH_CAPACITY] = {};
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)text);
        rows.push_back(text);
    }
    return rows;
}

std::wstring ProfileViewTest::target_line() {
    return text_of(nth_control(main_, N_PREVIEW_TARGET));
}

bool ProfileViewTest::create_zip_enabled() {
    return IsWindowEnabled(nth_control(main_, N_CREATE_ZIP)) != FALSE;
}

std::wstring ProfileViewTest::press_and_answer(int id, int answer) {
    if (answer == 0) {
        press(main_, id);
        EXPECT_TRUE(wait_until_idle());
        return L"";
    }
    UserPlayer user({press_button(answer)});
    press(main_, id);
    EXPECT_TRUE(wait_until_idle());
    std::vector<SeenWindow> seen = user.seen();
    return seen.empty() ? L"(no box)" : seen[0].text;
}

std::vector<std::wstring> ProfileViewTest::preview(bool box_expected) {
    if (box_expected) return {L"box: " + press_and_answer(130, IDOK)};
    press_and_answer(130);
    return preview_rows();
}

Profile profile_record(const std::wstring& name, const std::wstring& source, const std::wstring& destination,
                       const std::wstring& extensions, const std::wstring& skip_folders, const std::wstring& pattern) {
    Profile record;
    ZeroMemory(&record, sizeof(record));
    wcscpy(record.name, name.c_str());
    wcscpy(record.name_pattern, pattern.c_str());
    wcscpy(record.extensions, extensions.c_str());
    wcscpy(record.skip_folders, skip_folders.c_str());
    wcscpy(record.source_folder, source.c_str());
    wcscpy(record.destination_folder, destination.c_str());
    return record;
}

std::wstring today() {
    // Read twice, so that a midnight between the two readings cannot go unnoticed.
    for (;;) {
        SYSTEMTIME first, second;
        GetLocalTime(&first);
        GetLocalTime(&second);
        if (first.wDay != second.wDay) continue;
        wchar_t text[16];
        swprintf(text, 16, L"%04u-%02u-%02u", first.wYear, first.wMonth, first.wDay);
        return text;
    }
}

bool put_files(const std::wstring& root, const std::vector<std::wstring>& names) {
    for (const std::wstring& name : names) {
        std::wstring path = root + L"\\" + name;
        // Every folder on the way, one by one (the shell's helper stops at MAX_PATH).
        for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
            std::wstring folder = path.substr(0, slash);
            if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        }
        if (path.back() == L'\\') continue;
        if (!write_bytes(path, name.c_str(), name.size() * sizeof(wchar_t))) return false;
    }
    return true;
}
