// State of the main window, owned by the user-interface thread.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "app/controls.h"
#include "common/text.h"
#include "operations/entry_list.h"
#include "profiles/profile_store.h"

const uint32_t STATUS_CAPACITY = 384;
const uint32_t SOURCES_LIMIT = 16384;
const uint32_t SOURCES_INITIAL_CAPACITY = 32;

// The eight views of the main window. Values 0 to 4 are also the views the controls table names.
enum ViewId : int32_t {
    VIEW_CONTENTS = 0,
    VIEW_NEW_ARCHIVE = 1,
    VIEW_SETTINGS = 2,
    VIEW_PROFILES = 3,
    VIEW_QUEUE = 4,
    VIEW_HELP = 5,
    VIEW_ABOUT = 6,
    VIEW_CONTACT = 7,
};
const int32_t VIEW_COUNT = 8;

struct AppState {
    HWND main;
    HWND controls[CONTROL_COUNT];  // indexed by ControlRole, in creation order
    int32_t current_view;
    int32_t view_before_settings;
    bool engine_present;
    bool busy;
    bool preview_ready;
    bool extract_beside_archives;  // read by the queue worker
    wchar_t archive_path[PATH_CAPACITY];
    wchar_t status_text[STATUS_CAPACITY];
    wchar_t** sources;  // owned path copies, in the order added
    uint32_t source_count;
    uint32_t source_capacity;
    EntryList entries;  // listing of the archive in archive_path
    wchar_t source_folder_override[PATH_CAPACITY];
};

extern AppState g_app;

// The current profile store, shown and edited by the ZIP profiles view.
extern ProfileStore g_profile_store;

inline HWND control(ControlRole role) {
    return g_app.controls[role];
}
