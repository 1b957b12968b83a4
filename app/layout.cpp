#include "app/layout.h"

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/contents_view.h"
#include "common/ui.h"

static void place(ControlRole role, int x, int y, int width, int height) {
    move_child(control(role), x, y, width, height);
}

static void layout_chrome(int W) {
    place(CTL_ICON, 24, 23, 32, 32);
    place(CTL_TITLE, 67, 16, 152, 42);
    place(CTL_HINT, 25, 64, W - 48, 26);
    place(CTL_SETTINGS, W - 146, 24, 122, 34);
    place(CTL_ABOUT, W - 258, 24, 104, 34);
    place(CTL_CONTACT, W - 359, 24, 93, 34);
    place(CTL_HELP, W - 453, 24, 86, 34);
    place(CTL_TAB_CONTENTS, 24, 101, 175, 34);
    place(CTL_TAB_NEW_ARCHIVE, 207, 101, 156, 34);
    place(CTL_TAB_PROFILES, 371, 101, 133, 34);
    place(CTL_TAB_QUEUE, 512, 101, 141, 34);
}

static void layout_contents(int W, int H) {
    place(CTL_OPEN_ARCHIVE, 24, 150, 172, 34);
    place(CTL_EXTRACT, 204, 150, 130, 34);
    place(CTL_TEST, 342, 150, 172, 34);
    place(CTL_ARCHIVE_LABEL, 26, 194, W - 52, 24);
    place(CTL_CONTENTS_LIST, 24, 224, W - 48, H - 297);
    fit_contents_columns();
}

static void layout_new_archive(int W, int H) {
    place(CTL_ADD_FILES, 24, 150, 145, 34);
    place(CTL_ADD_FOLDER, 177, 150, 145, 34);
    place(CTL_REMOVE_SOURCES, 330, 150, 165, 34);
    place(CTL_SOURCES_LIST, 24, 196, W - 48, H - 384);
    place(CTL_FORMAT_LABEL, 24, H - 175, 138, 22);
    place(CTL_FORMAT_LIST, 24, H - 151, 138, 150);
    place(CTL_COMPRESSION_LABEL, 175, H - 175, 145, 22);
    place(CTL_COMPRESSION_LIST, 175, H - 151, 145, 150);
    place(CTL_PASSWORD_LABEL, 334, H - 175, W - 357, 22);
    place(CTL_PASSWORD, 334, H - 151, W - 358, 29);
    place(CTL_CREATE_ARCHIVE, W - 222, H - 109, 198, 34);
}

static void layout_settings(int W) {
    place(CTL_LANGUAGE_LABEL, 24, 153, 270, 22);
    place(CTL_LANGUAGE_LIST, 24, 177, 180, 150);
    place(CTL_STARTUP_VIEW_LABEL, 231, 153, 260, 22);
    place(CTL_STARTUP_VIEW_LIST, 231, 177, 205, 150);
    place(CTL_DEFAULT_FORMAT_LABEL, 24, 225, 195, 22);
    place(CTL_DEFAULT_FORMAT_LIST, 24, 250, 180, 145);
    place(CTL_DEFAULT_COMPRESSION_LABEL, 231, 225, 220, 22);
    place(CTL_DEFAULT_COMPRESSION_LIST, 231, 250, 180, 145);
    place(CTL_DEFAULT_FOLDER_LABEL, 24, 303, W - 48, 22);
    place(CTL_DEFAULT_FOLDER, 24, 330, W - 174, 30);
    place(CTL_BROWSE_DEFAULT_FOLDER, W - 142, 330, 118, 30);
    place(CTL_OPEN_FOLDER_CHECK, 24, 371, W - 48, 29);
    place(CTL_SILENT_FOLDER_CHECK, 24, 403, W - 48, 29);
    place(CTL_BACK, 24, 451, 104, 34);
    place(CTL_RESTORE_DEFAULTS, 136, 451, 164, 34);
    place(CTL_SAVE_SETTINGS, W - 208, 451, 184, 34);
}

// Two columns: the left one at 24, the right one at half + 32, both half - 8 wide.
static void layout_profiles(int W, int H) {
    int half = (W - 48) / 2;
    place(CTL_SAVED_PROFILE_LABEL, 24, 146, half - 8, 21);
    place(CTL_SAVED_PROFILE_LIST, 24, 168, half - 8, 178);
    place(CTL_PROFILE_NAME_LABEL, half + 32, 146, half - 8, 21);
    place(CTL_PROFILE_NAME, half + 32, 168, half - 8, 28);
    place(CTL_SOURCE_FOLDER_LABEL, 24, 206, half - 8, 21);
    place(CTL_DESTINATION_LABEL, half + 32, 206, half - 8, 21);
    place(CTL_SOURCE_FOLDER, 24, 228, half - 108, 28);
    place(CTL_BROWSE_SOURCE, half - 77, 228, 93, 28);
    place(CTL_DESTINATION, half + 32, 228, half - 108, 28);
    place(CTL_BROWSE_DESTINATION, 2 * half - 69, 228, 93, 28);
    place(CTL_EXTENSIONS_LABEL, 24, 266, half - 8, 21);
    place(CTL_SKIP_FOLDERS_LABEL, half + 32, 266, half - 8, 21);
    place(CTL_EXTENSIONS, 24, 288, half - 8, 28);
    place(CTL_SKIP_FOLDERS, half + 32, 288, half - 8, 28);
    place(CTL_PATTERN_LABEL, 24, 326, W - 48, 21);
    place(CTL_PATTERN, 24, 348, W - 48, 28);
    place(CTL_SAVE_PROFILE, 24, 385, 130, 32);
    place(CTL_DELETE_PROFILE, 162, 385, 130, 32);
    place(CTL_PREVIEW_FILES, W - 288, 385, 128, 32);
    place(CTL_CREATE_ZIP, W - 152, 385, 128, 32);
    place(CTL_PREVIEW_TARGET, 24, 425, W - 48, 22);
    place(CTL_PREVIEW_LIST, 24, 453, W - 48, H - 521);
}

static void layout_queue(int W, int H) {
    // Wide enough for the longest caption of each, "Dodaj spakowane pliki…" above all, and still
    // apart at the smallest window.
    place(CTL_ADD_ARCHIVES, 24, 150, 188, 34);
    place(CTL_REMOVE_QUEUED, 220, 150, 138, 34);
    place(CTL_OPEN_PREVIEW, 366, 150, 122, 34);
    place(CTL_EXTRACT_QUEUE, W - 174, 150, 150, 34);
    place(CTL_QUEUE_LIST, 24, 198, W - 48, H - 306);
    SendMessageW(control(CTL_QUEUE_LIST), LVM_SETCOLUMNWIDTH, 0, W - 298);
    place(CTL_OPEN_OUTPUT, 24, H - 99, 210, 31);
}

static void layout_information(int W, int H) {
    place(CTL_INFO_TEXT, 24, 146, W - 48, H - 264);
    place(CTL_COPY_SUPPORT, 24, H - 106, 220, 34);
    place(CTL_COMPOSE_EMAIL, 252, H - 106, 147, 34);
    place(CTL_SUPPORT_SITE, 407, H - 106, 199, 34);
}

// While busy the status line ends left of the cancel button; the progress bar lies above it.
static void layout_bottom_line(int W, int H) {
    place(CTL_STATUS, 24, H - 42, g_app.busy ? W - 216 : W - 48, 24);
    place(CTL_CANCEL, W - 180, H - 47, 156, 34);
    place(CTL_PROGRESS, 24, H - 58, W - 214, 12);
}

void layout_main_window() {
    if (control(CTL_TITLE) == nullptr) return;
    RECT client;
    GetClientRect(g_app.main, &client);
    int W = client.right;
    int H = client.bottom;
    layout_chrome(W);
    layout_contents(W, H);
    layout_new_archive(W, H);
    layout_settings(W);
    layout_profiles(W, H);
    layout_queue(W, H);
    layout_information(W, H);
    layout_bottom_line(W, H);
}
