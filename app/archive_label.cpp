#include "app/archive_label.h"

#include "app/app_state.h"
#include "common/ui.h"
#include "settings/language.h"

void show_archive_label() {
    set_text(control(CTL_ARCHIVE_LABEL),
             g_app.archive_path[0] != 0 ? g_app.archive_path : ui_text(L"No archive open", L"Brak otwartego archiwum"));
}
