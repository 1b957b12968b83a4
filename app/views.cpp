#include "app/views.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/help_texts.h"
#include "app/layout.h"
#include "app/queue_view.h"
#include "app/status_line.h"
#include "common/ui.h"
#include "settings/language.h"

static const wchar_t* hint_text(int32_t view) {
    switch (view) {
    case VIEW_CONTENTS:
        return ui_text(L"Open an archive or drop it into this window.", L"Otwórz archiwum lub przeciągnij je do okna.");
    case VIEW_NEW_ARCHIVE:
        return ui_text(L"Add files and folders or drop them into this window.",
                       L"Dodaj pliki i foldery lub przeciągnij je do okna.");
    case VIEW_SETTINGS:
        return ui_text(L"Choose your language and defaults.", L"Zmień język i domyślne opcje pracy.");
    case VIEW_PROFILES:
        return ui_text(L"Save your rules and review the files before packing.",
                       L"Zapisz reguły i sprawdź listę plików przed pakowaniem.");
    case VIEW_QUEUE:
        return ui_text(L"Drop archives to extract each into its own folder.",
                       L"Przeciągnij spakowane pliki. Każdy trafi do osobnego folderu.");
    case VIEW_HELP:
        return ui_text(L"Help", L"Pomoc");
    case VIEW_ABOUT:
        return ui_text(L"About Lumarek", L"Informacje o programie");
    default:
        return ui_text(L"Contact the publisher", L"Kontakt z wydawcą");
    }
}

static void show_information_text(int32_t view) {
    wchar_t text[INFO_TEXT_CAPACITY];
    if (view == VIEW_HELP)
        build_help_text(text);
    else if (view == VIEW_ABOUT)
        build_about_text(text);
    else
        build_contact_text(text);
    HWND field = control(CTL_INFO_TEXT);
    set_text(field, text);
    SendMessageW(field, EM_SETSEL, 0, 0);
    SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

static void set_view_status(int32_t view) {
    switch (view) {
    case VIEW_CONTENTS:
    case VIEW_NEW_ARCHIVE:
        update_count_status();
        break;
    case VIEW_SETTINGS:
        set_status(
            ui_text(L"Click Save settings to keep your changes.", L"Ustawienia są zapisywane po kliknięciu Zapisz."));
        break;
    case VIEW_PROFILES:
        set_status(g_app.preview_ready ? ui_text(L"Preview is ready.", L"Podgląd jest gotowy.")
                                       : ui_text(L"Leave extensions blank to include all files.",
                                                 L"Puste pole rozszerzeń uwzględnia wszystkie pliki."));
        break;
    case VIEW_QUEUE:
        queue_show_summary();
        break;
    default:
        set_status(L"");
        break;
    }
}

void show_view(int32_t view) {
    if (view == VIEW_SETTINGS && g_app.current_view != VIEW_SETTINGS) g_app.view_before_settings = g_app.current_view;
    g_app.current_view = view;

    // Controls of the views (the information text and the support buttons included) follow the
    // table; the chrome and the busy-state controls are left alone.
    for (int32_t role = 0; role < CONTROL_COUNT; ++role) {
        uint32_t shown = CONTROL_TABLE[role].shown;
        if (shown & (SHOWN_ALWAYS | SHOWN_WHILE_BUSY)) continue;
        ShowWindow(g_app.controls[role], (shown & shown_in(view)) ? SW_SHOW : SW_HIDE);
    }
    if (view == VIEW_HELP || view == VIEW_ABOUT || view == VIEW_CONTACT) show_information_text(view);

    static const struct {
        ControlRole tab;
        int32_t view;
    } TABS[4] = {{CTL_TAB_CONTENTS, VIEW_CONTENTS},
                 {CTL_TAB_NEW_ARCHIVE, VIEW_NEW_ARCHIVE},
                 {CTL_TAB_PROFILES, VIEW_PROFILES},
                 {CTL_TAB_QUEUE, VIEW_QUEUE}};
    for (const auto& tab : TABS)
        SendMessageW(control(tab.tab), WM_SETFONT, (WPARAM)(tab.view == view ? g_ui.emphasis_font : g_ui.body_font),
                     TRUE);

    set_text(control(CTL_HINT), hint_text(view));
    set_view_status(view);
    layout_main_window();
}
