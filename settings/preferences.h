// User settings: one fixed-size record, kept in "LumarekPreferences.dat" as its raw image.
#pragma once

#include <stdint.h>

#include "common/text.h"

#pragma pack(push, 1)
struct Preferences {
    uint8_t polish_ui;
    uint8_t open_folder_after_extract;
    uint8_t padding[2];
    uint32_t default_format;
    uint32_t default_compression;
    wchar_t default_extract_folder[PATH_CAPACITY];
    uint32_t startup_view;
    uint32_t use_default_folder_silently;
};
#pragma pack(pop)

const uint32_t PREFERENCES_FILE_SIZE = 8212;
const uint32_t PREFERENCES_FILE_SIZE_SHORT = 8204;
static_assert(sizeof(Preferences) == PREFERENCES_FILE_SIZE, "file layout");

// StartupView (the record's startup_view) to the main window's view: Archive contents, New
// archive, ZIP profiles, Extract queue.
const int32_t STARTUP_VIEW_TABLE[4] = {0, 1, 3, 4};

#define PREFERENCES_FILE_NAME L"LumarekPreferences.dat"

// The current preferences of the process.
extern Preferences g_preferences;

void preferences_default(Preferences* record);

// Defaults, replaced by the file's record when the file passes every check.
void preferences_load();

// Writes the complete record (zero padding, the folder's remainder zero-filled) by atomic
// replacement. The current preferences are not changed.
bool preferences_save(const Preferences* record);
