#include "app/controls.h"

#include <windows.h>

#include <commctrl.h>

#include "common/ui.h"

static const DWORD BUTTON = BS_PUSHBUTTON | WS_TABSTOP;
static const DWORD LABEL = SS_LEFT;
static const DWORD DROP_LIST = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
static const DWORD FIELD = ES_AUTOHSCROLL | WS_TABSTOP;
static const DWORD LIST_VIEW = LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
static const DWORD CHECK_BOX = BS_AUTOCHECKBOX | WS_TABSTOP;
static const DWORD EDGE = WS_EX_CLIENTEDGE;

static const uint32_t CONTENTS = shown_in(0);
static const uint32_t NEW_ARCHIVE = shown_in(1);
static const uint32_t SETTINGS = shown_in(2);
static const uint32_t PROFILES = shown_in(3);
static const uint32_t QUEUE = shown_in(4);
static const uint32_t INFORMATION = shown_in(5) | shown_in(6) | shown_in(7);
static const uint32_t SUPPORT = shown_in(6) | shown_in(7);
static const uint32_t NEVER = 0;

const ControlSpec CONTROL_TABLE[CONTROL_COUNT] = {
    {L"STATIC", SS_ICON | SS_CENTERIMAGE, 0, 0, SHOWN_ALWAYS, 0},
    {L"STATIC", LABEL, 0, 0, SHOWN_ALWAYS, 0},
    {L"STATIC", LABEL, 0, 0, SHOWN_ALWAYS, 0},
    {L"STATIC", LABEL, 0, 0, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_HELP, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_CONTACT, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_ABOUT, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_SETTINGS, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_TAB_CONTENTS, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_TAB_NEW_ARCHIVE, SHOWN_ALWAYS, 0},
    // Archive contents
    {L"BUTTON", BUTTON, 0, CMD_OPEN_ARCHIVE, CONTENTS, 0},
    {L"BUTTON", BUTTON, 0, CMD_EXTRACT, CONTENTS, 0},
    {L"BUTTON", BUTTON, 0, CMD_TEST, CONTENTS, 0},
    {L"STATIC", SS_LEFT | SS_ENDELLIPSIS, 0, 0, CONTENTS, 0},
    {WC_LISTVIEWW, LIST_VIEW | LVS_OWNERDATA, EDGE, 0, CONTENTS, 0},
    // New archive
    {L"BUTTON", BUTTON, 0, CMD_ADD_FILES, NEW_ARCHIVE, 0},
    {L"BUTTON", BUTTON, 0, CMD_ADD_FOLDER, NEW_ARCHIVE, 0},
    {L"BUTTON", BUTTON, 0, CMD_REMOVE_SOURCES, NEW_ARCHIVE, 0},
    {L"LISTBOX", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, EDGE, 0, NEW_ARCHIVE, 0},
    {L"STATIC", LABEL, 0, 0, NEW_ARCHIVE, 0},
    {L"COMBOBOX", DROP_LIST, 0, CMD_FORMAT_LIST, NEW_ARCHIVE, 0},
    {L"STATIC", LABEL, 0, 0, NEW_ARCHIVE, 0},
    {L"COMBOBOX", DROP_LIST, 0, 0, NEW_ARCHIVE, 0},
    {L"STATIC", LABEL, 0, 0, NEW_ARCHIVE, 0},
    {L"EDIT", ES_PASSWORD | FIELD, EDGE, CMD_PASSWORD, NEW_ARCHIVE, 511},
    {L"BUTTON", BUTTON, 0, CMD_CREATE_ARCHIVE, NEW_ARCHIVE, 0},
    // Settings
    {L"STATIC", LABEL, 0, 0, SETTINGS, 0},
    {L"COMBOBOX", DROP_LIST, 0, CMD_LANGUAGE_LIST, SETTINGS, 0},
    {L"STATIC", LABEL, 0, 0, SETTINGS, 0},
    {L"COMBOBOX", DROP_LIST, 0, 0, SETTINGS, 0},
    {L"STATIC", LABEL, 0, 0, SETTINGS, 0},
    {L"COMBOBOX", DROP_LIST, 0, CMD_STARTUP_VIEW_LIST, SETTINGS, 0},
    {L"STATIC", LABEL, 0, 0, SETTINGS, 0},
    {L"COMBOBOX", DROP_LIST, 0, 0, SETTINGS, 0},
    {L"STATIC", LABEL, 0, 0, SETTINGS, 0},
    {L"EDIT", FIELD, EDGE, CMD_DEFAULT_FOLDER, SETTINGS, 0},
    {L"BUTTON", BUTTON, 0, CMD_BROWSE_DEFAULT_FOLDER, SETTINGS, 0},
    {L"BUTTON", CHECK_BOX, 0, 0, SETTINGS, 0},
    {L"BUTTON", CHECK_BOX, 0, CMD_SILENT_FOLDER_CHECK, SETTINGS, 0},
    {L"BUTTON", BUTTON, 0, CMD_SAVE_SETTINGS, SETTINGS, 0},
    {L"BUTTON", BUTTON, 0, CMD_BACK, SETTINGS, 0},
    {L"BUTTON", BUTTON, 0, CMD_RESTORE_DEFAULTS, SETTINGS, 0},
    // ZIP profiles
    {L"BUTTON", BUTTON, 0, CMD_TAB_PROFILES, SHOWN_ALWAYS, 0},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"COMBOBOX", DROP_LIST, 0, CMD_SAVED_PROFILE_LIST, PROFILES, 0},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_PROFILE_NAME, PROFILES, 95},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_SOURCE_FOLDER, PROFILES, 4095},
    {L"BUTTON", BUTTON, 0, CMD_BROWSE_SOURCE, PROFILES, 0},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_DESTINATION, PROFILES, 4095},
    {L"BUTTON", BUTTON, 0, CMD_BROWSE_DESTINATION, PROFILES, 0},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_EXTENSIONS, PROFILES, 255},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_SKIP_FOLDERS, PROFILES, 255},
    {L"STATIC", LABEL, 0, 0, PROFILES, 0},
    {L"EDIT", FIELD, EDGE, CMD_PATTERN, PROFILES, 191},
    {L"BUTTON", BUTTON, 0, CMD_SAVE_PROFILE, PROFILES, 0},
    {L"BUTTON", BUTTON, 0, CMD_DELETE_PROFILE, PROFILES, 0},
    {L"BUTTON", BUTTON, 0, CMD_PREVIEW_FILES, PROFILES, 0},
    {L"BUTTON", BUTTON, 0, CMD_CREATE_ZIP, PROFILES, 0},
    {L"STATIC", SS_LEFT | SS_PATHELLIPSIS, 0, 0, PROFILES, 0},
    {L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, EDGE, 0, PROFILES, 0},
    // Extract queue
    {L"BUTTON", BUTTON, 0, CMD_TAB_QUEUE, SHOWN_ALWAYS, 0},
    {L"BUTTON", BUTTON, 0, CMD_ADD_ARCHIVES, QUEUE, 0},
    {L"BUTTON", BUTTON, 0, CMD_REMOVE_QUEUED, QUEUE, 0},
    {L"BUTTON", BUTTON, 0, CMD_OPEN_PREVIEW, QUEUE, 0},
    {L"BUTTON", BUTTON, 0, CMD_EXTRACT_QUEUE, QUEUE, 0},
    {L"BUTTON", BUTTON, 0, CMD_OPEN_OUTPUT, QUEUE, 0},
    {WC_LISTVIEWW, LIST_VIEW, EDGE, 0, QUEUE, 0},
    // Help, about and contact
    {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP, EDGE, CMD_INFO_TEXT, INFORMATION,
     0},
    {L"BUTTON", BUTTON, 0, CMD_COPY_SUPPORT, SUPPORT, 0},
    {L"BUTTON", BUTTON, 0, CMD_COMPOSE_EMAIL, NEVER, 0},
    {L"BUTTON", BUTTON, 0, CMD_SUPPORT_SITE, NEVER, 0},
    // Busy state
    {L"BUTTON", BUTTON, 0, CMD_CANCEL, SHOWN_WHILE_BUSY, 0},
    {PROGRESS_CLASSW, PBS_MARQUEE, 0, 0, SHOWN_WHILE_BUSY, 0},
};

static void prepare_list_view(HWND list) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

// Columns with their widths; their titles come with the interface texts.
static void insert_columns(HWND list, const int* widths, int count) {
    for (int column = 0; column < count; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_WIDTH;
        info.cx = widths[column];
        SendMessageW(list, LVM_INSERTCOLUMNW, column, (LPARAM)&info);
    }
}

void create_main_controls(HWND main, HWND controls[CONTROL_COUNT]) {
    for (int32_t role = 0; role < CONTROL_COUNT; ++role) {
        const ControlSpec* spec = &CONTROL_TABLE[role];
        HWND child = create_child(main, spec->class_name, role == CTL_TITLE ? L"Lumarek" : L"", spec->style,
                                  spec->ex_style, spec->id);
        controls[role] = child;
        if (spec->text_limit != 0) SendMessageW(child, EM_LIMITTEXT, spec->text_limit, 0);
    }

    HANDLE icon = LoadImageW(g_ui.instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED);
    SendMessageW(controls[CTL_ICON], STM_SETICON, (WPARAM)icon, 0);
    SendMessageW(controls[CTL_TITLE], WM_SETFONT, (WPARAM)g_ui.title_font, TRUE);

    static const int CONTENTS_WIDTHS[3] = {CONTENTS_NAME_WIDTH, CONTENTS_SIZE_WIDTH, CONTENTS_TYPE_WIDTH};
    static const int QUEUE_WIDTHS[2] = {360, 220};
    prepare_list_view(controls[CTL_CONTENTS_LIST]);
    insert_columns(controls[CTL_CONTENTS_LIST], CONTENTS_WIDTHS, 3);
    prepare_list_view(controls[CTL_QUEUE_LIST]);
    insert_columns(controls[CTL_QUEUE_LIST], QUEUE_WIDTHS, 2);

    SendMessageW(controls[CTL_INFO_TEXT], EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(12, 12));
    SendMessageW(controls[CTL_PROGRESS], PBM_SETRANGE32, 0, 100);
    ShowWindow(controls[CTL_CANCEL], SW_HIDE);
    ShowWindow(controls[CTL_PROGRESS], SW_HIDE);
}
