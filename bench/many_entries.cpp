#include "many_entries.h"

#include <stdio.h>

#include "engine/engine_api.h"

bool write_many_entries(const wchar_t* path, bool zip, bool folders, uint32_t count) {
    struct archive* writer = g_engine.archive_write_new();
    if (writer == nullptr) return false;
    // Stored ZIP entries: deflating hundreds of thousands of tiny files would only make the set-up slow.
    bool ok = (zip ? g_engine.archive_write_set_format_zip(writer) == ARCHIVE_OK &&
                         g_engine.archive_write_set_options(writer, "zip:compression=store") == ARCHIVE_OK
                   : g_engine.archive_write_set_format_pax_restricted(writer) == ARCHIVE_OK) &&
              g_engine.archive_write_open_filename_w(writer, path) == ARCHIVE_OK;
    static const char data[] = "entry data\n";
    for (uint32_t i = 0; ok && i < count; ++i) {
        wchar_t name[64];
        bool folder = folders && i % 1000 == 0;
        if (folder)
            swprintf(name, 64, L"folder%03u/", i / 1000);
        else
            swprintf(name, 64, L"folder%03u/file%07u.txt", i / 1000, i);
        struct archive_entry* entry = g_engine.archive_entry_new();
        g_engine.archive_entry_copy_pathname_w(entry, name);
        g_engine.archive_entry_set_filetype(entry, folder ? AE_IFDIR : AE_IFREG);
        g_engine.archive_entry_set_perm(entry, folder ? 0755 : 0644);
        g_engine.archive_entry_set_size(entry, folder ? 0 : sizeof(data) - 1);
        g_engine.archive_entry_set_mtime(entry, 1700000000, 0);
        ok = g_engine.archive_write_header(writer, entry) == ARCHIVE_OK &&
             (folder || g_engine.archive_write_data(writer, data, sizeof(data) - 1) == (la_ssize)(sizeof(data) - 1));
        g_engine.archive_entry_free(entry);
    }
    if (g_engine.archive_write_close(writer) != ARCHIVE_OK) ok = false;
    g_engine.archive_write_free(writer);
    return ok;
}

bool run_self_child(const wchar_t* arguments) {
    wchar_t self[MAX_PATH];
    if (GetModuleFileNameW(nullptr, self, MAX_PATH) >= MAX_PATH) return false;
    wchar_t line[2 * MAX_PATH + 64];
    if (swprintf(line, sizeof(line) / sizeof(line[0]), L"\"%ls\" %ls", self, arguments) < 0) return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code == 0;
}

double megabytes(SIZE_T bytes) {
    return (double)bytes / (1024.0 * 1024.0);
}
