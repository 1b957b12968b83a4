// The reliability suite's stand-in for a running copy of the program: it runs the operations
// through the operation runner with every input in the slot, as the window's commands start them,
// and saves the data files as the settings and profile views do. Driven through its standard
// input by the suite (tests/reliability/reliability.py), one command per line, fields separated
// by tabs, one answer line each (the operations and the loops print "begun" first):
//   env <name> <value>                    -> ok
//   open <archive>                        -> code=<n> entries=<n> sizes=<size,...> ms=<n>
//   test <archive>                        -> code=<n> ms=<n>
//   extract <archive> <target>            -> code=<n> ms=<n> [message=<text><tab>detail=<text>]
//   create <format> <level> <output> <source>...   -> the same
//   queue <output folder> <archive>...    -> code=<n> items=<code,...> ms=<n>
//   probe <archive> <target>              -> list=<n> entries=<n> test=<n> extract=<n> ms=<n>
//   remove-tree <path>                    -> exists=<0|1> (after the program's own remove_tree)
//   delete <path>                         -> exists=<0|1> (after DeleteFileW)
//   profile-save <n>                      -> result=<ProfileUpdateResult> (profile_save_once)
//   prefs-save <k> <n>                    -> saved=<0|1>
//   prefs-loop <k> <from> / profile-loop <from> / copies <k> <seconds>   (worker_data_files.h)
//   profile-zip <source folder> <zip> <level>  -> as create (the preview and ZIP of a profile taking
//                                            every file of the folder)
//   soak <rounds> <archive> <folder>      -> a "round=" line of the counters after rounds 1 and 3,
//                                            at every tenth and at the last
//   counters                              -> handles=<n> private=<n> heap=<n> gdi=<n> user=<n> windows=<n>
#include <windows.h>

#include <psapi.h>

#include <string>
#include <vector>

#include "common/path.h"
#include "common/text.h"
#include "engine/engine_api.h"
#include "engine/safe_paths.h"
#include "line_protocol.h"
#include "operations/entry_list.h"
#include "operations/extraction_queue.h"
#include "operations/result_codes.h"
#include "worker_data_files.h"
#include "worker_window.h"

static std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = line.find('\t', start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

static std::string number(uint64_t value) {
    return std::to_string(value);
}

static bool set_target(const std::string& path) {
    return text_copy(g_slot.target_path, PATH_CAPACITY, wide(path).c_str());
}

// ---- the operations, as the commands hand them over ------------------------------------------

static EntryList g_entries;
static std::wstring g_archive;

// Opens the archive; on success its listing is kept as the open archive's, like the window keeps it.
static int32_t open_archive(const std::wstring& archive) {
    entry_list_free(&g_entries);
    g_archive = archive;
    set_target(utf8(archive.c_str()));
    run_operation(OP_OPEN_ARCHIVE);
    if (g_slot.result.code == RESULT_OK)
        g_entries = g_slot.pending_listing;
    else
        entry_list_free(&g_slot.pending_listing);
    g_slot.pending_listing = EntryList();
    return g_slot.result.code;
}

static int32_t test_open_archive() {
    g_slot.archive_path = g_archive.c_str();
    run_operation(OP_TEST);
    return g_slot.result.code;
}

// The whole open archive into the new folder; its listing goes along when it was read.
static int32_t extract_open_archive(const std::wstring& target, bool listed) {
    g_slot.archive_path = g_archive.c_str();
    g_slot.listing = listed ? &g_entries : nullptr;
    g_slot.selection = nullptr;
    text_copy(g_slot.target_path, PATH_CAPACITY, target.c_str());
    run_operation(OP_EXTRACT);
    return g_slot.result.code;
}

static int32_t create(uint32_t format, int32_t level, const std::wstring& output, std::vector<std::wstring>* sources) {
    std::vector<wchar_t*> pointers;
    for (std::wstring& source : *sources) pointers.push_back(&source[0]);
    g_slot.sources = pointers.data();
    g_slot.source_count = (uint32_t)pointers.size();
    g_slot.format = format;
    g_slot.compression_level = level;
    text_copy(g_slot.target_path, PATH_CAPACITY, output.c_str());
    run_operation(OP_CREATE);
    g_slot.sources = nullptr;
    g_slot.source_count = 0;
    return g_slot.result.code;
}

// The code, the time taken, and for a failure the message the error box shows with its detail.
// A profile that takes every file of the source folder: its preview, then its ZIP, as the
// profiles view's Preview files and Create ZIP commands start them.
static int32_t profile_zip(const std::wstring& source, const std::wstring& zip, int32_t level) {
    ZeroMemory(&g_slot.profile_copy, sizeof(g_slot.profile_copy));
    text_copy(g_slot.profile_copy.name, PROFILE_NAME_CAPACITY, L"reliability");
    text_copy(g_slot.profile_copy.source_folder, PATH_CAPACITY, source.c_str());
    text_copy(g_slot.zip_path, PATH_CAPACITY, zip.c_str());
    run_operation(OP_PROFILE_PREVIEW);
    if (g_slot.result.code == RESULT_OK) {
        g_slot.compression_level = level;
        run_operation(OP_PROFILE_ZIP);
    }
    entry_list_free(&g_slot.profile_files);
    return g_slot.result.code;
}

static std::string outcome(int32_t code, ULONGLONG start) {
    std::string line = "code=" + std::to_string(code) + " ms=" + number(GetTickCount64() - start);
    if (code == RESULT_OK) return line;
    return line + " message=" + utf8(result_message(code)) + "\tdetail=" + utf8(g_slot.result.detail);
}

// ---- resource use --------------------------------------------------------------------------

// Open handles of this process, from the system's handle table (GetProcessHandleCount where that
// is larger: Wine answers it with 0).
struct SystemHandleEntry {
    ULONG process_id;
    UCHAR object_type;
    UCHAR flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
};

static uint64_t handle_count() {
    typedef LONG(WINAPI * QuerySystem)(ULONG, void*, ULONG, ULONG*);
    QuerySystem query = (QuerySystem)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
    DWORD reported = 0;
    GetProcessHandleCount(GetCurrentProcess(), &reported);
    uint64_t counted = 0;
    static std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    const ULONG SYSTEM_HANDLE_INFORMATION = 16;
    LONG status =
        query != nullptr ? query(SYSTEM_HANDLE_INFORMATION, buffer.data(), (ULONG)buffer.size(), &needed) : -1;
    while (status == (LONG)0xC0000004L && buffer.size() < (64u << 20)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
        status = query(SYSTEM_HANDLE_INFORMATION, buffer.data(), (ULONG)buffer.size(), &needed);
    }
    if (status == 0) {
        ULONG count = *(ULONG*)buffer.data();
        const SystemHandleEntry* entries = (const SystemHandleEntry*)(buffer.data() + sizeof(void*));
        for (ULONG i = 0; i < count; ++i) counted += entries[i].process_id == GetCurrentProcessId();
    }
    return counted > reported ? counted : reported;
}

// Committed private memory: every committed region of the address space that is not an image or
// a mapping.
static uint64_t private_bytes() {
    uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (unsigned char* at = nullptr; VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at = (unsigned char*)region.BaseAddress + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if ((unsigned char*)region.BaseAddress + region.RegionSize < at) break;
    }
    return total;
}

// Bytes in use in every heap of the process (the program's own blocks and the engine's).
static uint64_t heap_bytes() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    uint64_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        if (!HeapLock(heaps[i])) continue;
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

static BOOL CALLBACK count_window(HWND window, LPARAM counted) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) ++*(uint64_t*)counted;
    return TRUE;
}

// Windows of this process (USER objects that can be counted where GetGuiResources answers 0).
static uint64_t window_count() {
    uint64_t counted = 0;
    EnumWindows(count_window, (LPARAM)&counted);
    for (HWND message = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); message != nullptr;
         message = FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr))
        count_window(message, (LPARAM)&counted);
    return counted;
}

static std::string counters() {
    return "handles=" + number(handle_count()) + " private=" + number(private_bytes()) +
           " heap=" + number(heap_bytes()) + " gdi=" + number(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) +
           " user=" + number(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) +
           " windows=" + number(window_count());
}

// Each round opens the archive, extracts it, tests it and packs the extracted folder into a new
// archive (ZIP, 7z and TAR.GZ in turn); the outputs are removed again before the next round.
static void soak(uint32_t rounds, const std::wstring& archive, const std::wstring& folder) {
    std::wstring extracted = folder + L"\\extracted";
    static const wchar_t* const names[3] = {L"\\new.zip", L"\\new.7z", L"\\new.tar.gz"};
    uint32_t failures = 0;
    for (uint32_t round = 1; round <= rounds; ++round) {
        int32_t codes[4];
        codes[0] = open_archive(archive);
        codes[1] = extract_open_archive(extracted, codes[0] == RESULT_OK);
        codes[2] = test_open_archive();
        std::vector<std::wstring> sources = {extracted};
        std::wstring output = folder + names[round % 3];
        codes[3] = create(round % 3, 1, output, &sources);
        for (int32_t code : codes) failures += code != RESULT_OK;
        remove_tree(extracted.c_str(), 0);
        DeleteFileW(output.c_str());
        if (round == 1 || round == 3 || round % (rounds / 10 > 0 ? rounds / 10 : 1) == 0 || round == rounds)
            answer("round=" + number(round) + " failures=" + number(failures) + " " + counters());
    }
    entry_list_free(&g_entries);
}

// ---- the commands --------------------------------------------------------------------------

static std::string queue_run(const std::vector<std::string>& fields) {
    ULONGLONG start = GetTickCount64();
    for (size_t i = 2; i < fields.size(); ++i) queue_add(wide(fields[i]).c_str());
    text_copy(g_queue_output_folder, PATH_CAPACITY, wide(fields[1]).c_str());
    g_slot.queue = &g_queue;
    g_slot.queue_output_folder = g_queue_output_folder;
    g_slot.extract_beside_archives = false;
    std::vector<int32_t> codes;
    run_operation(OP_EXTRACT_QUEUE, &codes);
    std::string items;
    for (size_t i = 0; i < codes.size(); ++i) items += (i > 0 ? "," : "") + std::to_string(codes[i]);
    queue_free();
    return "code=" + std::to_string(g_slot.result.code) + " items=" + items + " ms=" + number(GetTickCount64() - start);
}

// Lists, tests and extracts one (possibly damaged) archive, as a user who opens it would.
static std::string probe(const std::wstring& archive, const std::wstring& target) {
    ULONGLONG start = GetTickCount64();
    int32_t listed = open_archive(archive);
    uint32_t entries = g_entries.count;
    int32_t tested = test_open_archive();
    int32_t extracted = extract_open_archive(target, listed == RESULT_OK);
    entry_list_free(&g_entries);
    return "list=" + std::to_string(listed) + " entries=" + number(entries) + " test=" + std::to_string(tested) +
           " extract=" + std::to_string(extracted) + " ms=" + number(GetTickCount64() - start);
}

static bool is_operation(const std::string& command) {
    return command == "open" || command == "test" || command == "extract" || command == "create" ||
           command == "queue" || command == "profile-zip";
}

static std::string act(const std::vector<std::string>& f) {
    const std::string& command = f[0];
    // The moment the operation starts, for the suite's kills.
    if (is_operation(command)) answer("begun");
    ULONGLONG start = GetTickCount64();
    if (command == "env" && f.size() == 3) {
        SetEnvironmentVariableW(wide(f[1]).c_str(), wide(f[2]).c_str());
        return "ok";
    }
    if (command == "open" && f.size() == 2) {
        int32_t code = open_archive(wide(f[1]));
        std::string sizes;
        for (uint32_t i = 0; i < g_entries.count; ++i)
            sizes += (i > 0 ? "," : "") + std::to_string(g_entries.items[i].size);
        std::string line = "code=" + std::to_string(code) + " entries=" + number(g_entries.count) + " sizes=" + sizes +
                           " ms=" + number(GetTickCount64() - start);
        return line;
    }
    if (command == "test" && f.size() == 2) {
        g_archive = wide(f[1]);
        return outcome(test_open_archive(), start);
    }
    if (command == "extract" && f.size() == 3) {
        g_archive = wide(f[1]);
        return outcome(extract_open_archive(wide(f[2]), false), start);
    }
    if (command == "create" && f.size() >= 5) {
        std::vector<std::wstring> sources;
        for (size_t i = 4; i < f.size(); ++i) sources.push_back(wide(f[i]));
        return outcome(create((uint32_t)atoi(f[1].c_str()), atoi(f[2].c_str()), wide(f[3]), &sources), start);
    }
    if (command == "queue" && f.size() >= 3) return queue_run(f);
    if (command == "probe" && f.size() == 3) return probe(wide(f[1]), wide(f[2]));
    if (command == "remove-tree" && f.size() == 2) {
        remove_tree(wide(f[1]).c_str(), 0);
        return std::string("exists=") + (path_exists(wide(f[1]).c_str()) ? "1" : "0");
    }
    if (command == "delete" && f.size() == 2) {
        DeleteFileW(wide(f[1]).c_str());
        return std::string("exists=") + (path_exists(wide(f[1]).c_str()) ? "1" : "0");
    }
    if (command == "profile-save" && f.size() == 2) {
        static ProfileStore store;
        profile_store_load(&store);
        return std::string("result=") + std::to_string(profile_save_once(&store, (uint32_t)atoi(f[1].c_str())));
    }
    if (command == "prefs-save" && f.size() == 3) {
        Preferences record;
        preferences_version(&record, (uint32_t)atoi(f[1].c_str()), (uint32_t)atoi(f[2].c_str()));
        return std::string("saved=") + (preferences_save(&record) ? "1" : "0");
    }
    if (command == "prefs-loop" && f.size() == 3)
        preferences_save_loop((uint32_t)atoi(f[1].c_str()), (uint32_t)atoi(f[2].c_str()));
    if (command == "profile-loop" && f.size() == 2) profile_save_loop((uint32_t)atoi(f[1].c_str()));
    if (command == "copies" && f.size() == 3) {
        many_copies_loop((uint32_t)atoi(f[1].c_str()), (uint32_t)atoi(f[2].c_str()));
        return "";
    }
    if (command == "profile-zip" && f.size() == 4)
        return outcome(profile_zip(wide(f[1]), wide(f[2]), atoi(f[3].c_str())), start);
    if (command == "soak" && f.size() == 4) {
        soak((uint32_t)atoi(f[1].c_str()), wide(f[2]), wide(f[3]));
        return "done";
    }
    if (command == "counters") return counters();
    return "unknown " + command;
}

int wmain() {
    if (!engine_bind() || !worker_window_create()) {
        answer("no engine or window");
        return 1;
    }
    answer("ready pid=" + number(GetCurrentProcessId()));
    std::string line;
    while (read_line(&line)) {
        if (line == "quit") break;
        std::string reply = act(fields_of(line));
        if (!reply.empty()) answer(reply);
    }
    return 0;
}
