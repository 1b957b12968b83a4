// A stand-in for one running copy of the program with its own current profile store, driven by
// the profile tests through its standard input: one command per line, one answer line each.
//   load                          -> "true <count>" or "false <count>"
//   save <edited name|-> <name> <source folder>
//   delete <name>                 -> the update's result: OK, NAME_TAKEN, CHANGED_ELSEWHERE, FAILED
//   show                          -> "name=source" of every profile, separated by ","
//   hold / release                -> takes or gives back the profile lock: "held", "busy", "released"
//   stress <copy> <rounds>        -> adds, changes and deletes its own profiles, retrying each
//                                    failed update; "done <ok updates> <retries> <problems>"
//   churn <name>                  -> until the next line arrives (which it takes), replaces the
//                                    file again and again, in turn with the loaded store whose
//                                    profile <name> has a new source folder each time and with a
//                                    damaged file; ends with a whole file: "churned <rounds>"
// The store file is the one in LOCALAPPDATA, inherited from the test.
#include <windows.h>

#include <string>

#include "common/file_io.h"
#include "common/path.h"
#include "line_protocol.h"
#include "profiles/profile_lock.h"
#include "profiles/profile_store.h"

static ProfileStore g_store;
static HANDLE g_lock = INVALID_HANDLE_VALUE;

// The slot with exactly this name in the current store, -1 when none has it.
static int32_t slot_of(const std::wstring& name) {
    for (uint32_t i = 0; i < g_store.count; ++i)
        if (name == g_store.profiles[i].name) return (int32_t)i;
    return -1;
}

// What the profile fields give: a zeroed record with the texts filled in.
static void make_record(Profile* record, const std::wstring& name, const std::wstring& source) {
    ZeroMemory(record, sizeof(*record));
    wcscpy(record->name, name.c_str());
    wcscpy(record->name_pattern, L"{folder}_{date}");
    wcscpy(record->extensions, L"pdf; jpg");
    wcscpy(record->source_folder, source.c_str());
    wcscpy(record->destination_folder, L"C:\\Archiwum");
}

static const char* result_name(ProfileUpdateResult result) {
    switch (result) {
    case PROFILE_UPDATE_OK:
        return "OK";
    case PROFILE_NAME_TAKEN:
        return "NAME_TAKEN";
    case PROFILE_CHANGED_ELSEWHERE:
        return "CHANGED_ELSEWHERE";
    case PROFILE_UPDATE_FAILED:
        return "FAILED";
    }
    return "?";
}

static ProfileUpdateResult save(const std::wstring& edited, const std::wstring& name, const std::wstring& source) {
    static Profile record;
    make_record(&record, name, source);
    int32_t index = edited == L"-" ? -1 : slot_of(edited);
    return profile_store_update(&g_store, index, &record);
}

// This copy's own profiles must be in the current store exactly as its updates left them: round
// i's profile has source "a" after its addition and "b" after its change, and even rounds delete
// it again (stage 2).
static bool own_profiles_as_expected(int copy, int rounds, int current, int stage) {
    for (int i = 0; i < rounds; ++i) {
        std::wstring name = L"c" + std::to_wstring(copy) + L"-" + std::to_wstring(i);
        std::wstring expected;
        if (i < current)
            expected = i % 2 == 0 ? L"" : L"b";
        else if (i == current)
            expected = stage == 0 ? L"a" : stage == 1 ? L"b" : L"";
        int32_t slot = slot_of(name);
        if (expected.empty() != (slot == -1)) return false;
        if (slot != -1 && g_store.profiles[slot].source_folder != name + L"\\" + expected) return false;
    }
    return true;
}

// Every change of every round is retried while it fails (lock busy, file being read) and must end
// in OK.
static std::string stress(int copy, int rounds) {
    int ok = 0, retries = 0, problems = 0;
    for (int i = 0; i < rounds; ++i) {
        std::wstring name = L"c" + std::to_wstring(copy) + L"-" + std::to_wstring(i);
        for (int stage = 0; stage < 3; ++stage) {
            if (stage == 2 && i % 2 != 0) break;
            if (stage > 0 && slot_of(name) == -1) return "problem missing " + std::to_string(i);
            ProfileUpdateResult result;
            int attempts = 0;
            for (;;) {
                if (stage == 0)
                    result = save(L"-", name, name + L"\\a");
                else if (stage == 1)
                    result = save(name, name, name + L"\\b");
                else
                    result = profile_store_update(&g_store, slot_of(name), nullptr);
                if (result != PROFILE_UPDATE_FAILED || ++attempts > 20000) break;
                ++retries;
                Sleep((GetTickCount() + (DWORD)copy * 7) % 4);
            }
            if (result != PROFILE_UPDATE_OK) return "problem " + std::string(result_name(result));
            ++ok;
            if (!own_profiles_as_expected(copy, rounds, i, stage)) ++problems;
        }
    }
    return "done " + std::to_string(ok) + " " + std::to_string(retries) + " " + std::to_string(problems);
}

static bool line_waiting() {
    DWORD available = 0;
    return PeekNamedPipe(GetStdHandle(STD_INPUT_HANDLE), nullptr, 0, nullptr, &available, nullptr) && available > 0;
}

// Replaced without a flush and without the lock, as fast as the file system allows: a reader finds
// either the changed profile or a file that no load accepts.
static std::string churn(const std::wstring& name) {
    int32_t slot = slot_of(name);
    wchar_t path[PATH_CAPACITY];
    if (slot < 0 || !local_data_path(path, PROFILES_FILE_NAME)) return "no such profile";
    uint8_t header[PROFILES_HEADER_SIZE] = {'L', 'M', 'P', '1'};
    memcpy(header + 4, &g_store.count, 4);
    const uint8_t damaged[PROFILES_HEADER_SIZE] = {'L', 'M', 'P', '?'};
    uint32_t rounds = 0;
    std::string line;
    while (!line_waiting()) {
        Profile* profile = &g_store.profiles[slot];
        ZeroMemory(profile->source_folder, sizeof(profile->source_folder));
        wcscpy(profile->source_folder, (L"C:\\churn\\" + std::to_wstring(++rounds)).c_str());
        ByteBlock whole[2] = {{header, PROFILES_HEADER_SIZE}, {g_store.profiles, g_store.count * PROFILE_RECORD_SIZE}};
        ByteBlock broken[1] = {{damaged, PROFILES_HEADER_SIZE}};
        replace_file_atomically(path, whole, 2, false);
        replace_file_atomically(path, broken, 1, false);
    }
    read_line(&line);
    profile_store_write(&g_store);
    return "churned " + std::to_string(rounds);
}

int wmain() {
    std::string line;
    while (read_line(&line)) {
        std::string command = field(line, 0);
        if (command == "load") {
            bool loaded = profile_store_load(&g_store);
            answer(std::string(loaded ? "true " : "false ") + std::to_string(g_store.count));
        } else if (command == "save") {
            answer(result_name(save(wide(field(line, 1)), wide(field(line, 2)), wide(field(line, 3)))));
        } else if (command == "delete") {
            answer(result_name(profile_store_update(&g_store, slot_of(wide(field(line, 1))), nullptr)));
        } else if (command == "show") {
            std::string shown;
            for (uint32_t i = 0; i < g_store.count; ++i)
                shown +=
                    (i > 0 ? "," : "") + utf8(g_store.profiles[i].name) + "=" + utf8(g_store.profiles[i].source_folder);
            answer(shown);
        } else if (command == "hold") {
            if (g_lock == INVALID_HANDLE_VALUE) g_lock = profile_lock_take();
            answer(g_lock != INVALID_HANDLE_VALUE ? "held" : "busy");
        } else if (command == "release") {
            profile_lock_release(g_lock);
            g_lock = INVALID_HANDLE_VALUE;
            answer("released");
        } else if (command == "churn") {
            answer(churn(wide(field(line, 1))));
        } else if (command == "stress") {
            answer(stress(atoi(field(line, 1).c_str()), atoi(field(line, 2).c_str())));
        } else {
            answer("unknown " + command);
        }
    }
    profile_lock_release(g_lock);
    return 0;
}
