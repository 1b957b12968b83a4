// The controls of the main window: their roles in creation order, their command ids and the table
// they are created from.
#pragma once

#include <stdint.h>
#include <windows.h>

// One role per control, in creation order (which is also the Tab order).
enum ControlRole : int32_t {
    CTL_ICON,
    CTL_STATUS,
    CTL_TITLE,
    CTL_HINT,
    CTL_HELP,
    CTL_CONTACT,
    CTL_ABOUT,
    CTL_SETTINGS,
    CTL_TAB_CONTENTS,
    CTL_TAB_NEW_ARCHIVE,
    CTL_OPEN_ARCHIVE,
    CTL_EXTRACT,
    CTL_TEST,
    CTL_ARCHIVE_LABEL,
    CTL_CONTENTS_LIST,
    CTL_ADD_FILES,
    CTL_ADD_FOLDER,
    CTL_REMOVE_SOURCES,
    CTL_SOURCES_LIST,
    CTL_FORMAT_LABEL,
    CTL_FORMAT_LIST,
    CTL_COMPRESSION_LABEL,
    CTL_COMPRESSION_LIST,
    CTL_PASSWORD_LABEL,
    CTL_PASSWORD,
    CTL_CREATE_ARCHIVE,
    CTL_LANGUAGE_LABEL,
    CTL_LANGUAGE_LIST,
    CTL_DEFAULT_FORMAT_LABEL,
    CTL_DEFAULT_FORMAT_LIST,
    CTL_STARTUP_VIEW_LABEL,
    CTL_STARTUP_VIEW_LIST,
    CTL_DEFAULT_COMPRESSION_LABEL,
    CTL_DEFAULT_COMPRESSION_LIST,
    CTL_DEFAULT_FOLDER_LABEL,
    CTL_DEFAULT_FOLDER,
    CTL_BROWSE_DEFAULT_FOLDER,
    CTL_OPEN_FOLDER_CHECK,
    CTL_SILENT_FOLDER_CHECK,
    CTL_SAVE_SETTINGS,
    CTL_BACK,
    CTL_RESTORE_DEFAULTS,
    CTL_TAB_PROFILES,
    CTL_SAVED_PROFILE_LABEL,
    CTL_SAVED_PROFILE_LIST,
    CTL_PROFILE_NAME_LABEL,
    CTL_PROFILE_NAME,
    CTL_SOURCE_FOLDER_LABEL,
    CTL_SOURCE_FOLDER,
    CTL_BROWSE_SOURCE,
    CTL_DESTINATION_LABEL,
    CTL_DESTINATION,
    CTL_BROWSE_DESTINATION,
    CTL_EXTENSIONS_LABEL,
    CTL_EXTENSIONS,
    CTL_SKIP_FOLDERS_LABEL,
    CTL_SKIP_FOLDERS,
    CTL_PATTERN_LABEL,
    CTL_PATTERN,
    CTL_SAVE_PROFILE,
    CTL_DELETE_PROFILE,
    CTL_PREVIEW_FILES,
    CTL_CREATE_ZIP,
    CTL_PREVIEW_TARGET,
    CTL_PREVIEW_LIST,
    CTL_TAB_QUEUE,
    CTL_ADD_ARCHIVES,
    CTL_REMOVE_QUEUED,
    CTL_OPEN_PREVIEW,
    CTL_EXTRACT_QUEUE,
    CTL_OPEN_OUTPUT,
    CTL_QUEUE_LIST,
    CTL_INFO_TEXT,
    CTL_COPY_SUPPORT,
    CTL_COMPOSE_EMAIL,
    CTL_SUPPORT_SITE,
    CTL_CANCEL,
    CTL_PROGRESS,
    CONTROL_COUNT
};

// Command ids: the control ids that WM_COMMAND reports. 100 to 147 is the whole range.
enum CommandId : uint16_t {
    CMD_TAB_CONTENTS = 100,
    CMD_OPEN_ARCHIVE = 101,
    CMD_EXTRACT = 102,
    CMD_TEST = 103,
    CMD_SETTINGS = 104,
    CMD_TAB_NEW_ARCHIVE = 105,
    CMD_ADD_FILES = 106,
    CMD_ADD_FOLDER = 107,
    CMD_REMOVE_SOURCES = 108,
    CMD_CREATE_ARCHIVE = 109,
    CMD_FORMAT_LIST = 110,
    CMD_PASSWORD = 111,
    CMD_LANGUAGE_LIST = 112,
    CMD_DEFAULT_FOLDER = 113,
    CMD_SAVE_SETTINGS = 114,
    CMD_CANCEL = 115,
    CMD_BROWSE_DEFAULT_FOLDER = 116,
    CMD_BACK = 117,
    CMD_TAB_PROFILES = 118,
    CMD_SAVED_PROFILE_LIST = 119,
    CMD_PROFILE_NAME = 120,
    CMD_SOURCE_FOLDER = 121,
    CMD_BROWSE_SOURCE = 122,
    CMD_EXTENSIONS = 123,
    CMD_SKIP_FOLDERS = 124,
    CMD_DESTINATION = 125,
    CMD_BROWSE_DESTINATION = 126,
    CMD_PATTERN = 127,
    CMD_SAVE_PROFILE = 128,
    CMD_DELETE_PROFILE = 129,
    CMD_PREVIEW_FILES = 130,
    CMD_CREATE_ZIP = 131,
    CMD_TAB_QUEUE = 132,
    CMD_ADD_ARCHIVES = 133,
    CMD_REMOVE_QUEUED = 134,
    CMD_EXTRACT_QUEUE = 135,
    CMD_OPEN_PREVIEW = 136,
    CMD_OPEN_OUTPUT = 137,
    CMD_HELP = 138,
    CMD_ABOUT = 139,
    CMD_CONTACT = 140,
    CMD_COPY_SUPPORT = 141,
    CMD_COMPOSE_EMAIL = 142,
    CMD_SUPPORT_SITE = 143,
    CMD_STARTUP_VIEW_LIST = 144,
    CMD_SILENT_FOLDER_CHECK = 145,
    CMD_RESTORE_DEFAULTS = 146,
    CMD_INFO_TEXT = 147,
};

// The views a control is shown in: one bit per view 0 to 7, or one of the two special marks.
const uint32_t SHOWN_ALWAYS = 0x100;      // never hidden by a view switch
const uint32_t SHOWN_WHILE_BUSY = 0x200;  // shown and hidden by set_busy only
inline constexpr uint32_t shown_in(int32_t view) {
    return 1u << view;
}

struct ControlSpec {
    const wchar_t* class_name;
    DWORD style;  // WS_CHILD | WS_VISIBLE are added by create_child
    DWORD ex_style;
    uint16_t id;          // 0 for controls that send no command
    uint32_t shown;       // shown_in bits, SHOWN_ALWAYS, SHOWN_WHILE_BUSY, or 0 (never)
    uint32_t text_limit;  // EM_LIMITTEXT for edit fields; 0 = none set
};

extern const ControlSpec CONTROL_TABLE[CONTROL_COUNT];

// The contents list's column widths at creation (Name, Size, Type).
const int CONTENTS_NAME_WIDTH = 480;
const int CONTENTS_SIZE_WIDTH = 126;
const int CONTENTS_TYPE_WIDTH = 120;

// Creates every control of the main window in table order into controls (indexed by role), with
// fonts, limits, list settings and columns (their titles come with the interface texts); the cancel
// button and the progress bar start hidden.
void create_main_controls(HWND main, HWND controls[CONTROL_COUNT]);
