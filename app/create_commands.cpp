// The New archive view: its sources and the Create archive… command.
#include "app/commands.h"

#include "app/app_state.h"
#include "app/file_dialogs.h"
#include "app/folder_browser.h"
#include "app/status_line.h"
#include "common/memory.h"
#include "common/text.h"
#include "operations/archive_format.h"
#include "operations/operation.h"
#include "settings/language.h"

// The ZIP password is for ZIP only; no selection counts as ZIP.
bool password_allowed() {
    uint32_t format = (uint32_t)SendMessageW(control(CTL_FORMAT_LIST), CB_GETCURSEL, 0, 0);
    return format == 0 || format > 2;
}

void add_source(const wchar_t* path) {
    for (uint32_t i = 0; i < g_app.source_count; ++i)
        if (text_equal_nocase(g_app.sources[i], path)) return;
    wchar_t** sources = (wchar_t**)mem_grow_array(g_app.sources, g_app.source_count, &g_app.source_capacity,
                                                  sizeof(wchar_t*), SOURCES_INITIAL_CAPACITY, SOURCES_LIMIT);
    if (sources == nullptr) return;
    g_app.sources = sources;
    wchar_t* copy = text_duplicate(path);
    if (copy == nullptr) return;
    if (SendMessageW(control(CTL_SOURCES_LIST), LB_ADDSTRING, 0, (LPARAM)copy) < 0) {
        mem_free(copy);
        return;
    }
    g_app.sources[g_app.source_count++] = copy;
}

static bool add_chosen_source(const wchar_t* path, void*) {
    // A name whose path does not fit is skipped; the others still come.
    if (path != nullptr) add_source(path);
    return true;
}

void command_add_files() {
    // More files than the sources can hold add nothing; the count shown tells that.
    FilesChoice choice = for_each_file_to_open(ui_text(L"All files\0*.*\0", L"Wszystkie pliki\0*.*\0"), SOURCES_LIMIT,
                                               add_chosen_source, nullptr);
    if (choice != FILES_CANCELED) update_count_status();
}

void command_add_folder() {
    wchar_t folder[PATH_CAPACITY];
    if (!browse_for_folder(folder, ui_text(L"Choose a folder to archive.", L"Wybierz folder do spakowania."))) return;
    add_source(folder);
    update_count_status();
}

void command_remove_sources() {
    HWND list = control(CTL_SOURCES_LIST);
    // Backwards, so the rows still to visit keep their indexes.
    for (uint32_t index = g_app.source_count; index-- > 0;) {
        if (SendMessageW(list, LB_GETSEL, index, 0) <= 0) continue;
        mem_free(g_app.sources[index]);
        for (uint32_t i = index + 1; i < g_app.source_count; ++i) g_app.sources[i - 1] = g_app.sources[i];
        g_app.sources[--g_app.source_count] = nullptr;
        SendMessageW(list, LB_DELETESTRING, index, 0);
    }
    update_count_status();
}

bool archive_name_with_extension(wchar_t* name, uint32_t capacity, uint32_t format) {
    static const wchar_t* const EXTENSIONS[3] = {L".zip", L".7z", L".tar.gz"};
    const wchar_t* dotted = EXTENSIONS[format <= FORMAT_TAR_GZ ? format : FORMAT_TAR_GZ];
    const wchar_t* extension = dotted + 1;
    uint32_t length = text_length(name);
    uint32_t extension_length = text_length(extension);
    if (length > extension_length && name[length - extension_length - 1] == L'.' &&
        text_equal_nocase(name + length - extension_length, extension))
        return true;
    return text_append(name, capacity, dotted);
}

void command_create_archive() {
    if (g_app.source_count == 0) {
        set_status(ui_text(L"Add at least one file or folder.", L"Dodaj co najmniej jeden plik lub folder."));
        return;
    }
    uint32_t format = (uint32_t)SendMessageW(control(CTL_FORMAT_LIST), CB_GETCURSEL, 0, 0);
    if (format > FORMAT_TAR_GZ) format = FORMAT_ZIP;
    wchar_t name[PATH_CAPACITY];
    if (!choose_archive_to_save(name, format)) return;
    if (!archive_name_with_extension(name, PATH_CAPACITY, format)) return;
    if (!text_copy(g_slot.target_path, PATH_CAPACITY, name)) return;
    g_slot.format = format;
    g_slot.compression_level =
        compression_level_for((uint32_t)SendMessageW(control(CTL_COMPRESSION_LIST), CB_GETCURSEL, 0, 0));
    // Only a ZIP takes a password; for the others the slot's password stays all zeros.
    if (format == FORMAT_ZIP) GetWindowTextW(control(CTL_PASSWORD), g_slot.password, PASSWORD_CAPACITY);
    g_slot.sources = g_app.sources;
    g_slot.source_count = g_app.source_count;
    operation_start(OP_CREATE);
}
