// The busy state: while an operation runs, every control that could start or change anything is
// disabled and the cancel button and progress bar are shown.
#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/layout.h"
#include "operations/window_seams.h"

static const ControlRole DISABLED_WHILE_BUSY[] = {
    CTL_OPEN_ARCHIVE,
    CTL_EXTRACT,
    CTL_TEST,
    CTL_ADD_FILES,
    CTL_ADD_FOLDER,
    CTL_REMOVE_SOURCES,
    CTL_CREATE_ARCHIVE,
    CTL_FORMAT_LIST,
    CTL_COMPRESSION_LIST,
    CTL_PASSWORD,
    CTL_CONTENTS_LIST,
    CTL_SOURCES_LIST,
    CTL_TAB_CONTENTS,
    CTL_TAB_NEW_ARCHIVE,
    CTL_TAB_PROFILES,
    CTL_TAB_QUEUE,
    CTL_SETTINGS,
    CTL_HELP,
    CTL_ABOUT,
    CTL_CONTACT,
    CTL_SAVED_PROFILE_LIST,
    CTL_PROFILE_NAME,
    CTL_SOURCE_FOLDER,
    CTL_EXTENSIONS,
    CTL_SKIP_FOLDERS,
    CTL_DESTINATION,
    CTL_PATTERN,
    CTL_BROWSE_SOURCE,
    CTL_BROWSE_DESTINATION,
    CTL_SAVE_PROFILE,
    CTL_PREVIEW_FILES,
    CTL_CREATE_ZIP,
    CTL_PREVIEW_LIST,
    CTL_ADD_ARCHIVES,
    CTL_REMOVE_QUEUED,
    CTL_EXTRACT_QUEUE,
    CTL_OPEN_PREVIEW,
    CTL_OPEN_OUTPUT,
    CTL_QUEUE_LIST,
};

// The ZIP password is for ZIP only; no selection counts as ZIP.
bool password_allowed() {
    uint32_t format = (uint32_t)SendMessageW(control(CTL_FORMAT_LIST), CB_GETCURSEL, 0, 0);
    return format == 0 || format > 2;
}

void set_busy(bool busy) {
    g_app.busy = busy;
    for (ControlRole role : DISABLED_WHILE_BUSY) EnableWindow(control(role), !busy);

    EnableWindow(control(CTL_PASSWORD), !busy && password_allowed());
    int32_t row = (int32_t)SendMessageW(control(CTL_SAVED_PROFILE_LIST), CB_GETCURSEL, 0, 0);
    EnableWindow(control(CTL_DELETE_PROFILE), !busy && row > 0 && row < (int32_t)g_profile_store.count + 1);
    EnableWindow(control(CTL_CREATE_ZIP), !busy && g_app.preview_ready);

    HWND cancel = control(CTL_CANCEL);
    ShowWindow(cancel, busy ? SW_SHOW : SW_HIDE);
    EnableWindow(cancel, TRUE);

    // Every operation starts with a moving marquee until its first percentage arrives.
    HWND progress = control(CTL_PROGRESS);
    ShowWindow(progress, busy ? SW_SHOW : SW_HIDE);
    SendMessageW(progress, PBM_SETMARQUEE, FALSE, 0);
    SetWindowLongW(progress, GWL_STYLE, GetWindowLongW(progress, GWL_STYLE) | PBS_MARQUEE);
    if (busy) SendMessageW(progress, PBM_SETMARQUEE, TRUE, 42);

    layout_main_window();
}
