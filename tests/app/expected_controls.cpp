#include "expected_controls.h"

#include <commctrl.h>

#include <string>

static const DWORD BUTTON = BS_PUSHBUTTON | WS_TABSTOP;
static const DWORD LABEL = SS_LEFT;
static const DWORD DROP_LIST = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
static const DWORD FIELD = ES_AUTOHSCROLL | WS_TABSTOP;
static const DWORD LIST_VIEW = LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
static const DWORD EDGE = WS_EX_CLIENTEDGE;

const Control CONTROLS[78] = {
    {1, L"Static", SS_ICON | SS_CENTERIMAGE, 0, 0, "always", 0},
    {2, L"Static", LABEL, 0, 0, "always", 0},
    {3, L"Static", LABEL, 0, 0, "always", 0},
    {4, L"Static", LABEL, 0, 0, "always", 0},
    {5, L"Button", BUTTON, 0, 138, "always", 0},
    {6, L"Button", BUTTON, 0, 140, "always", 0},
    {7, L"Button", BUTTON, 0, 139, "always", 0},
    {8, L"Button", BUTTON, 0, 104, "always", 0},
    {9, L"Button", BUTTON, 0, 100, "always", 0},
    {10, L"Button", BUTTON, 0, 105, "always", 0},
    {11, L"Button", BUTTON, 0, 101, "0", 0},
    {12, L"Button", BUTTON, 0, 102, "0", 0},
    {13, L"Button", BUTTON, 0, 103, "0", 0},
    {14, L"Static", SS_LEFT | SS_ENDELLIPSIS, 0, 0, "0", 0},
    {15, L"SysListView32", LIST_VIEW | LVS_OWNERDATA, EDGE, 0, "0", 0},
    {16, L"Button", BUTTON, 0, 106, "1", 0},
    {17, L"Button", BUTTON, 0, 107, "1", 0},
    {18, L"Button", BUTTON, 0, 108, "1", 0},
    {19, L"ListBox", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, EDGE, 0, "1", 0},
    {20, L"Static", LABEL, 0, 0, "1", 0},
    {21, L"ComboBox", DROP_LIST, 0, 110, "1", 0},
    {22, L"Static", LABEL, 0, 0, "1", 0},
    {23, L"ComboBox", DROP_LIST, 0, 0, "1", 0},
    {24, L"Static", LABEL, 0, 0, "1", 0},
    {25, L"Edit", ES_PASSWORD | FIELD, EDGE, 111, "1", 511},
    {26, L"Button", BUTTON, 0, 109, "1", 0},
    {27, L"Static", LABEL, 0, 0, "2", 0},
    {28, L"ComboBox", DROP_LIST, 0, 112, "2", 0},
    {29, L"Static", LABEL, 0, 0, "2", 0},
    {30, L"ComboBox", DROP_LIST, 0, 0, "2", 0},
    {31, L"Static", LABEL, 0, 0, "2", 0},
    {32, L"ComboBox", DROP_LIST, 0, 144, "2", 0},
    {33, L"Static", LABEL, 0, 0, "2", 0},
    {34, L"ComboBox", DROP_LIST, 0, 0, "2", 0},
    {35, L"Static", LABEL, 0, 0, "2", 0},
    {36, L"Edit", FIELD, EDGE, 113, "2", NO_LIMIT},
    {37, L"Button", BUTTON, 0, 116, "2", 0},
    {38, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, "2", 0},
    {39, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 145, "2", 0},
    {40, L"Button", BUTTON, 0, 114, "2", 0},
    {41, L"Button", BUTTON, 0, 117, "2", 0},
    {42, L"Button", BUTTON, 0, 146, "2", 0},
    {43, L"Button", BUTTON, 0, 118, "always", 0},
    {44, L"Static", LABEL, 0, 0, "3", 0},
    {45, L"ComboBox", DROP_LIST, 0, 119, "3", 0},
    {46, L"Static", LABEL, 0, 0, "3", 0},
    {47, L"Edit", FIELD, EDGE, 120, "3", 95},
    {48, L"Static", LABEL, 0, 0, "3", 0},
    {49, L"Edit", FIELD, EDGE, 121, "3", 4095},
    {50, L"Button", BUTTON, 0, 122, "3", 0},
    {51, L"Static", LABEL, 0, 0, "3", 0},
    {52, L"Edit", FIELD, EDGE, 125, "3", 4095},
    {53, L"Button", BUTTON, 0, 126, "3", 0},
    {54, L"Static", LABEL, 0, 0, "3", 0},
    {55, L"Edit", FIELD, EDGE, 123, "3", 255},
    {56, L"Static", LABEL, 0, 0, "3", 0},
    {57, L"Edit", FIELD, EDGE, 124, "3", 255},
    {58, L"Static", LABEL, 0, 0, "3", 0},
    {59, L"Edit", FIELD, EDGE, 127, "3", 191},
    {60, L"Button", BUTTON, 0, 128, "3", 0},
    {61, L"Button", BUTTON, 0, 129, "3", 0},
    {62, L"Button", BUTTON, 0, 130, "3", 0},
    {63, L"Button", BUTTON, 0, 131, "3", 0},
    {64, L"Static", SS_LEFT | SS_PATHELLIPSIS, 0, 0, "3", 0},
    {65, L"ListBox", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, EDGE, 0, "3", 0},
    {66, L"Button", BUTTON, 0, 132, "always", 0},
    {67, L"Button", BUTTON, 0, 133, "4", 0},
    {68, L"Button", BUTTON, 0, 134, "4", 0},
    {69, L"Button", BUTTON, 0, 136, "4", 0},
    {70, L"Button", BUTTON, 0, 135, "4", 0},
    {71, L"Button", BUTTON, 0, 137, "4", 0},
    {72, L"SysListView32", LIST_VIEW, EDGE, 0, "4", 0},
    {73, L"Edit", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_TABSTOP, EDGE, 147, "567", NO_LIMIT},
    {74, L"Button", BUTTON, 0, 141, "67", 0},
    {75, L"Button", BUTTON, 0, 142, "never", 0},
    {76, L"Button", BUTTON, 0, 143, "never", 0},
    {77, L"Button", BUTTON, 0, 115, "busy", 0},
    {78, L"msctls_progress32", PBS_MARQUEE, 0, 0, "busy", 0},
};

bool shown_in(const Control& control, int view) {
    std::string shown = control.shown;
    if (shown == "always") return true;
    if (shown == "busy" || shown == "never") return false;
    return shown.find((char)('0' + view)) != std::string::npos;
}
