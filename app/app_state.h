// State of the main window, owned by the user-interface thread.
#pragma once

#include <stdint.h>
#include <windows.h>

#include "common/text.h"
#include "operations/entry_list.h"

const uint32_t STATUS_CAPACITY = 384;

struct AppState {
    HWND main;
    HWND status;
    bool engine_present;
    bool busy;
    wchar_t status_text[STATUS_CAPACITY];
    wchar_t archive_path[PATH_CAPACITY];  // the archive whose listing is entries; empty when none
    EntryList entries;
};

extern AppState g_app;
