#include "setup/setup_texts.h"

#include "common/ui.h"

void apply_setup_texts() {
    const SetupState* s = &g_setup;
    if (s->removal_mode) {
        set_text(s->window, setup_text(L"Uninstall Lumarek", L"Odinstaluj Lumarek"));
        set_text(s->heading, setup_text(L"Uninstall Lumarek", L"Usuń Lumarek"));
        set_text(s->description,
                 setup_text(L"Remove the app from this Windows account.", L"Usuń aplikację z tego konta Windows."));
        set_text(s->main_button, setup_text(L"Uninstall", L"Odinstaluj"));
    } else {
        set_text(s->window, setup_text(L"Lumarek Setup", L"Instalator Lumarek"));
        set_text(s->heading, setup_text(L"Install Lumarek", L"Zainstaluj Lumarek"));
        set_text(s->description, setup_text(L"Install the app for the current Windows user.",
                                            L"Zainstaluj aplikację dla bieżącego użytkownika."));
        set_text(s->main_button, setup_text(L"Install", L"Zainstaluj"));
    }
    set_text(s->desktop_box, setup_text(L"Create a desktop shortcut", L"Utwórz skrót na pulpicie"));
    set_text(s->cancel_button, setup_text(L"Cancel", L"Anuluj"));
}
