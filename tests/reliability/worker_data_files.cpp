#include "worker_data_files.h"

#include <windows.h>

#include <map>
#include <memory>

#include "common/path.h"
#include "line_protocol.h"

void preferences_version(Preferences* record, uint32_t k, uint32_t n) {
    ZeroMemory(record, sizeof(*record));
    record->polish_ui = (uint8_t)(k & 1);
    record->open_folder_after_extract = 1;
    record->default_format = n % 3;
    record->default_compression = (n / 3) % 3;
    std::wstring folder = L"C:\\copy" + std::to_wstring(k) + L"\\save" + std::to_wstring(n);
    wcscpy(record->default_extract_folder, folder.c_str());
    record->startup_view = n % 4;
    record->use_default_folder_silently = (n / 4) % 2;
}

void profile_record(Profile* record, const std::wstring& name, const std::wstring& source,
                    const std::wstring& skip_folders) {
    ZeroMemory(record, sizeof(*record));
    wcscpy(record->name, name.c_str());
    wcscpy(record->name_pattern, L"{folder}_{date}");
    wcscpy(record->extensions, L"pdf; jpg");
    wcscpy(record->skip_folders, skip_folders.c_str());
    wcscpy(record->source_folder, source.c_str());
    wcscpy(record->destination_folder, L"C:\\Archiwum");
}

static Profile g_record;

static int32_t slot_of(const ProfileStore* store, const std::wstring& name) {
    for (uint32_t i = 0; i < store->count; ++i)
        if (name == store->profiles[i].name) return (int32_t)i;
    return -1;
}

void preferences_save_loop(uint32_t k, uint32_t from) {
    answer("begun");
    Preferences record;
    for (uint32_t n = from;; ++n) {
        preferences_version(&record, k, n);
        preferences_save(&record);
    }
}

ProfileUpdateResult profile_save_once(ProfileStore* store, uint32_t n) {
    profile_record(&g_record, L"kill", L"C:\\kill\\" + std::to_wstring(n), L"");
    ProfileUpdateResult result = profile_store_update(store, slot_of(store, L"kill"), &g_record);
    if (result != PROFILE_UPDATE_OK) profile_store_load(store);
    return result;
}

void profile_save_loop(uint32_t from) {
    static ProfileStore store;
    profile_store_load(&store);
    answer("begun");
    for (uint32_t n = from;; ++n) profile_save_once(&store, n);
}

// ---- many copies at once -------------------------------------------------------------------

struct CopyFigures {
    uint32_t rounds, own_updates, retries, refused, lost, shared_saves, conflicts, busy, prefs_saves, prefs_refused,
        torn, unreadable;
};

static ProfileStore g_store;

// The copy's own profiles in its current store must be exactly those its updates left.
static bool own_profiles_match(const std::wstring& prefix, const std::map<std::wstring, std::wstring>& expected) {
    uint32_t own = 0;
    for (uint32_t i = 0; i < g_store.count; ++i) {
        std::wstring name = g_store.profiles[i].name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        ++own;
        auto found = expected.find(name);
        if (found == expected.end() || found->second != g_store.profiles[i].source_folder) return false;
    }
    return own == expected.size();
}

// One update of an own profile, retried while another copy holds the lock or reads the file (as a
// user told "Could not save profiles." saves again), for up to half a minute.
static ProfileUpdateResult own_update(const std::wstring& name, const std::wstring& source, bool remove,
                                      CopyFigures* figures) {
    ULONGLONG until = GetTickCount64() + 30000;
    for (;;) {
        int32_t slot = slot_of(&g_store, name);
        ProfileUpdateResult result;
        if (remove) {
            result = profile_store_update(&g_store, slot, nullptr);
        } else {
            profile_record(&g_record, name, source, L"");
            result = profile_store_update(&g_store, slot, &g_record);
        }
        if (result != PROFILE_UPDATE_FAILED || GetTickCount64() > until) return result;
        ++figures->retries;
        Sleep(1 + GetTickCount() % 4);
    }
}

static void shared_update(uint32_t k, uint32_t round, CopyFigures* figures) {
    int32_t slot = slot_of(&g_store, L"shared");
    if (slot < 0) return;
    std::wstring previous = g_store.profiles[slot].source_folder;
    std::wstring next = std::to_wstring(k) + L"-" + std::to_wstring(round);
    // A moment between what the copy saw and its save, as a user editing the profile takes.
    Sleep(GetTickCount() % 3);
    profile_record(&g_record, L"shared", next, previous);
    ProfileUpdateResult result = profile_store_update(&g_store, slot, &g_record);
    if (result == PROFILE_UPDATE_OK) {
        ++figures->shared_saves;
        answer("chain " + utf8(previous.c_str()) + " " + utf8(next.c_str()));
    } else if (result == PROFILE_CHANGED_ELSEWHERE) {
        // The window tells the user and selects the profile again: the store is read anew.
        ++figures->conflicts;
        profile_store_load(&g_store);
    } else {
        ++figures->busy;
    }
}

// The preferences file as another copy would read it at start-up: whole, and one of the versions.
static void check_preferences_file(CopyFigures* figures) {
    wchar_t path[PATH_CAPACITY];
    if (!local_data_path(path, PREFERENCES_FILE_NAME)) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ++figures->unreadable;
        return;
    }
    Preferences seen, expected;
    DWORD got = 0;
    bool read = ReadFile(file, &seen, sizeof(seen), &got, nullptr) != 0;
    CloseHandle(file);
    uint32_t k = 0, n = 0;
    bool whole =
        read && got == sizeof(seen) && swscanf(seen.default_extract_folder, L"C:\\copy%u\\save%u", &k, &n) == 2;
    if (whole) {
        preferences_version(&expected, k, n);
        whole = memcmp(&seen, &expected, sizeof(seen)) == 0;
    }
    if (!whole) ++figures->torn;
}

static void check_profiles_file(CopyFigures* figures) {
    std::unique_ptr<ProfileStore> seen(new ProfileStore());
    if (!profile_store_load(seen.get()) || slot_of(seen.get(), L"shared") < 0) ++figures->torn;
}

void many_copies_loop(uint32_t k, uint32_t seconds) {
    CopyFigures figures = {};
    profile_store_load(&g_store);
    std::wstring prefix = L"c" + std::to_wstring(k) + L"-";
    std::map<std::wstring, std::wstring> expected;
    ULONGLONG until = GetTickCount64() + (ULONGLONG)seconds * 1000;
    for (uint32_t round = 0; GetTickCount64() < until; ++round) {
        // The shared profile first, on top of what the store showed since the last round.
        shared_update(k, round, &figures);
        // Adds this round's profile, changes it, and deletes the one of three rounds before, so
        // that the store never fills up.
        std::wstring name = prefix + std::to_wstring(round);
        std::wstring old_name = prefix + std::to_wstring(round - 3);
        for (int stage = 0; stage < 3; ++stage) {
            if (stage == 2 && round < 3) break;
            std::wstring changed = stage == 2 ? old_name : name;
            std::wstring source = name + (stage == 0 ? L"\\a" : L"\\b");
            ProfileUpdateResult result = own_update(changed, source, stage == 2, &figures);
            if (result != PROFILE_UPDATE_OK) {
                // Refused, and the user told so: the round's later changes are not made.
                ++figures.refused;
                break;
            }
            ++figures.own_updates;
            if (stage == 2)
                expected.erase(changed);
            else
                expected[changed] = source;
            if (!own_profiles_match(prefix, expected)) ++figures.lost;
        }

        Preferences record;
        preferences_version(&record, k, round);
        if (preferences_save(&record))
            ++figures.prefs_saves;
        else
            ++figures.prefs_refused;
        check_preferences_file(&figures);
        check_profiles_file(&figures);
        ++figures.rounds;
    }
    // What this copy's updates left, for the comparison with the file after every copy has ended.
    std::string own = "own";
    for (const auto& profile : expected) own += " " + utf8(profile.first.c_str()) + "=" + utf8(profile.second.c_str());
    answer(own);
    char line[400];
    snprintf(line, sizeof(line),
             "done rounds=%u own_updates=%u retries=%u refused=%u lost=%u shared_saves=%u conflicts=%u busy=%u "
             "prefs_saves=%u "
             "prefs_refused=%u torn=%u unreadable=%u",
             figures.rounds, figures.own_updates, figures.retries, figures.refused, figures.lost, figures.shared_saves,
             figures.conflicts, figures.busy, figures.prefs_saves, figures.prefs_refused, figures.torn,
             figures.unreadable);
    answer(line);
}
