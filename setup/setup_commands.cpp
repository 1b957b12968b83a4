#include "setup/setup_commands.h"

#include <windows.h>

#include <shellapi.h>

#include "setup/install.h"
#include "setup/removal.h"
#include "setup/setup_paths.h"
#include "setup/setup_texts.h"

static int show_box(const wchar_t* text, UINT type) {
    return MessageBoxW(g_setup.window, text, L"Lumarek", type);
}

static void show_failure() {
    show_box(setup_text(L"Could not complete the operation. Close Lumarek if it is running and try again.",
                        L"Nie udało się zakończyć operacji. Zamknij Lumarek, jeśli jest uruchomione, i spróbuj "
                        L"ponownie."),
             MB_OK | MB_ICONERROR);
}

void run_install_command() {
    if (!archive_engine_present()) {
        show_box(setup_text(L"This version of the app requires an up-to-date Windows 11.",
                            L"Ta wersja aplikacji wymaga aktualnego Windows 11."),
                 MB_OK | MB_ICONERROR);
        return;
    }
    bool wanted = SendMessageW(g_setup.desktop_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    bool complete = false;
    if (!install(wanted, &complete)) {
        show_failure();
        return;
    }
    const wchar_t* question =
        complete ? setup_text(L"Lumarek is installed. Open the app?", L"Zainstalowano Lumarek. Otworzyć aplikację?")
                 : setup_text(
                       L"The app files are installed. Windows did not allow all shortcuts or the Installed "
                       L"apps entry. Open the app?",
                       L"Pliki aplikacji są zainstalowane. Windows nie zezwolił na dodanie wszystkich skrótów "
                       L"lub wpisu w Ustawieniach. Otworzyć aplikację?");
    if (show_box(question, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        ShellExecuteW(g_setup.window, L"open", g_setup_paths.program_path, nullptr, g_setup_paths.install_folder,
                      SW_SHOWNORMAL);
    DestroyWindow(g_setup.window);
}

void run_removal_command() {
    if (!remove_installation()) {
        show_failure();
        return;
    }
    show_box(setup_text(L"The app has been removed.", L"Aplikacja została usunięta."), MB_OK | MB_ICONINFORMATION);
    schedule_self_cleanup(g_setup.window);
    DestroyWindow(g_setup.window);
}
